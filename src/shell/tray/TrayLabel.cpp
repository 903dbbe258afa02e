#include "shell/tray/TrayLabel.h"

#include "views/theme/Theme.h"

#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <algorithm>

namespace furrow::TrayLabel {

namespace {

// The row in its own units: three 8-wide squares 3 apart, then a 3-wide mark, centred in a
// row 14 high.
constexpr qreal kSquare = 8;
constexpr qreal kGap = 3;
constexpr qreal kMarkGap = 2.5;
constexpr qreal kMark = 3;
constexpr qreal kRowWidth = 3 * kSquare + 2 * kGap + kMarkGap + kMark;
constexpr qreal kCornerRatio = 0.32;
constexpr qreal kStroke = 1.5;

// The row scaled into a square image `pixels` wide, on whole pixels: at 16 or 22 pixels a
// square is only four or five wide, and edges between pixels would blur it into a dot.
struct Layout
{
    int square, gap, markGap, mark, stroke, left, top;
};

Layout layoutFor(int pixels)
{
    const qreal unit = pixels / kRowWidth;
    const auto atLeast = [unit](int least, qreal length) {
        return std::max(least, qRound(length * unit));
    };
    Layout layout{atLeast(3, kSquare),
                  atLeast(1, kGap),
                  atLeast(1, kMarkGap),
                  atLeast(1, kMark),
                  atLeast(1, kStroke),
                  0,
                  0};
    const auto width = [&layout] {
        return 3 * layout.square + 2 * layout.gap + layout.markGap + layout.mark;
    };
    // Rounding up may overflow the image: the gaps give way before the squares do.
    while (width() > pixels) {
        if (layout.gap > 1)
            --layout.gap;
        else if (layout.markGap > 1)
            --layout.markGap;
        else
            --layout.square;
    }
    layout.left = (pixels - width()) / 2;
    layout.top = (pixels - layout.square) / 2;
    return layout;
}

QRect squareIn(const Layout &layout, int index)
{
    return QRect(layout.left + index * (layout.square + layout.gap), layout.top, layout.square,
                 layout.square);
}

QRect markIn(const Layout &layout)
{
    const int left = layout.left + 3 * layout.square + 2 * layout.gap + layout.markGap;
    return QRect(left, layout.top + (layout.square - layout.mark) / 2, layout.mark, layout.mark);
}

QColor colorOf(Tone tone)
{
    switch (tone) {
    case Tone::ForLightPanel:
        return Theme::ink;
    case Tone::ForDarkPanel:
        return Theme::paper;
    }
    return Theme::ink;
}

} // namespace

Tone toneFor(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightnessF() < 0.5 ? Tone::ForDarkPanel
                                                              : Tone::ForLightPanel;
}

QRect squareRect(int index, int side)
{
    return squareIn(layoutFor(side), index);
}

QRect markRect(int side)
{
    return markIn(layoutFor(side));
}

QPixmap render(qint64 closed, int side, qreal dpr, Tone tone)
{
    const int pixels = qRound(side * dpr);
    const Layout layout = layoutFor(pixels);
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor color = colorOf(tone);
    const qint64 filled = std::clamp<qint64>(closed, 0, 3);
    for (int i = 0; i < 3; ++i) {
        const QRectF box = squareIn(layout, i);
        const qreal radius = kCornerRatio * box.width();
        if (i < filled) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(color);
            painter.drawRoundedRect(box, radius, radius);
        } else {
            const qreal inset = layout.stroke / 2.0;
            painter.setPen(QPen(color, layout.stroke));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(box.adjusted(inset, inset, -inset, -inset), radius - inset,
                                    radius - inset);
        }
    }
    if (closed >= 4) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        const QRectF mark = markIn(layout);
        painter.drawRoundedRect(mark, mark.width() / 3, mark.width() / 3);
    }
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(dpr);
    return pixmap;
}

QIcon icon(qint64 closed, Tone tone, qreal dpr)
{
    QIcon result;
    for (int side : {16, 22, 24, 32, 48}) {
        result.addPixmap(render(closed, side, 1, tone));
        if (dpr > 1)
            result.addPixmap(render(closed, side, dpr, tone));
    }
    return result;
}

} // namespace furrow::TrayLabel
