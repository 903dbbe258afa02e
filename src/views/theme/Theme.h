#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

#include <optional>

namespace furrow {

// The planner's colours and fonts: warm paper, dark green ink and one bright lime accent.
// Sizes are device-independent pixels.
namespace Theme {

constexpr QColor pine{0x12, 0x29, 0x1E};
constexpr QColor bright{0xB4, 0xEA, 0x4C};
constexpr QColor brightDeep{0x9F, 0xD6, 0x3F};
constexpr QColor paper{0xF4, 0xF2, 0xE9};
constexpr QColor card{0xFF, 0xFD, 0xF8};
constexpr QColor ink{0x1F, 0x24, 0x1C};
constexpr QColor gray{0x5C, 0x60, 0x55};
constexpr QColor muted{0x68, 0x6B, 0x60};
constexpr QColor line{0x8E, 0x8B, 0x7C};
constexpr QColor hair{0xE5, 0xE2, 0xD6};
constexpr QColor clay{0xA9, 0x4E, 0x27};
constexpr QColor backdrop{0xE6, 0xE4, 0xD9};
constexpr QColor hover{0x1F, 0x24, 0x1C, 18};     // ink at 0.07
constexpr QColor hoverDeep{0x1F, 0x24, 0x1C, 41}; // ink at 0.16

// The colour at the given opacity (0…1), multiplied into its own.
QColor withOpacity(QColor color, qreal opacity);
// The colour between `from` (at 0) and `to` (at 1), for animated state changes.
QColor blend(const QColor &from, const QColor &to, qreal progress);

// Colour from hex text such as "#2563EB": surrounding white space and one leading "#" are
// dropped, and the rest must be six hexadecimal digits; none otherwise.
std::optional<QColor> colorFromHex(const QString &text);

// Zilla Slab: the medium face for exactly medium weight, the regular face for any other.
QFont slab(qreal size, QFont::Weight weight = QFont::Normal);
// Instrument Sans: semibold for semibold and heavier, medium for medium, regular otherwise.
QFont sans(qreal size, QFont::Weight weight = QFont::Normal);
// The bundled face of that PostScript name, or the system font of the same size and weight.
QFont face(const QString &postScriptName, qreal size, QFont::Weight weight);

// The application's palette: paper windows, card fields, ink text, lime selection.
QPalette palette();
// Sets that palette and the body font as the application's defaults; call once the bundled
// fonts are registered.
void applyToApplication();

QFont panelTitle();
QFont stepTitle();
QFont taskQuick();
QFont body();
QFont small();
QFont stepLabel();

} // namespace Theme
} // namespace furrow
