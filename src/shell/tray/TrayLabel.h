#pragma once

#include <QIcon>
#include <QPixmap>
#include <QRect>

class QPalette;

namespace furrow {

// Draws the tray's label of today's progress: three rounded squares, the first min(closed, 3)
// filled and the rest outlined, and a small mark after them from four closed tasks on. One
// colour throughout, dark for light panels and light for dark ones.
namespace TrayLabel {

enum class Tone { ForLightPanel, ForDarkPanel };

// The tone for a panel drawn in the palette's window colour: a dark window asks for the
// light label.
Tone toneFor(const QPalette &palette);

// Where the squares and the mark sit in a square image `side` pixels wide, the row centred.
QRect squareRect(int index, int side);
QRect markRect(int side);

// The label in a `side` × `side` image at the device pixel ratio.
QPixmap render(qint64 closed, int side, qreal dpr, Tone tone);
// The label at the sizes tray hosts ask for (16, 22, 24, 32 and 48), at ratio 1 and `dpr`.
QIcon icon(qint64 closed, Tone tone, qreal dpr = 1);

} // namespace TrayLabel
} // namespace furrow
