#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

class QPainter;

namespace furrow {

// The row and toolbar icons that views name by case.
enum class PhIcon {
    sunHorizon,
    caretLeft,
    caretRight,
    caretDown,
    caretUp,
    arrowUp,
    arrowDown,
    x,
    plus,
    trash,
    trayArrowDown,
    squaresFour,
    timer,
    calendar,
    note,
    dots,
};

// Draws monochrome icons tinted with one colour: the symbols views name ("chevron.left",
// "checkmark", …), which map to Phosphor artwork through one table, and the page icons, which
// are Phosphor names themselves. Images are rendered at the device pixel ratio and cached.
namespace Icon {

enum class Weight { Regular, Bold };

// The symbol name a PhIcon case stands for.
QString symbolName(PhIcon icon);
// Every symbol name the table knows.
QStringList symbolNames();

// The resource of a symbol, or an empty text for a name the table does not know. A bold
// request falls back to the regular artwork where no bold one is bundled.
QString symbolResource(const QString &symbol, Weight weight = Weight::Regular);
// The resource of a page icon name; it may not exist.
QString pageIconResource(const QString &name);

// The SVG resource drawn in `color`, filling size × size device-independent pixels at the
// given device pixel ratio; a null pixmap when the resource cannot be drawn.
QPixmap tinted(const QString &resource, qreal size, const QColor &color, qreal dpr);
QPixmap symbol(const QString &symbol, qreal size, const QColor &color, qreal dpr,
               Weight weight = Weight::Regular);
QPixmap symbol(PhIcon icon, qreal size, const QColor &color, qreal dpr);
QPixmap pageIcon(const QString &name, qreal size, const QColor &color, qreal dpr);

// Draws an icon of `size` centred in `rect`, crisp at the painter's device pixel ratio.
void paintSymbol(QPainter &painter, const QRectF &rect, const QString &symbol, qreal size,
                 const QColor &color, Weight weight = Weight::Regular);
void paintPageIcon(QPainter &painter, const QRectF &rect, const QString &name, qreal size,
                   const QColor &color);

} // namespace Icon
} // namespace furrow
