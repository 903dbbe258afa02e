#include "FindResultDelegate.h"

#include "views/find/FindResultModel.h"
#include "views/find/FindRowText.h"
#include "views/theme/Theme.h"

#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

namespace furrow {

namespace {

constexpr int kPadX = 12;
constexpr int kPadY = 8;
constexpr int kLineGap = 3;
constexpr int kDot = 7;
constexpr qreal kRadius = 8;

const FindResult &resultAt(const QModelIndex &index)
{
    return static_cast<const FindResultModel *>(index.model())->result(index.row());
}

// One line of text cut to `width`, with the ranges washed in lime.
void drawMarked(QPainter *painter, const QString &text,
                const std::vector<FindResult::Range> &ranges, const QFont &font,
                const QColor &color, QPoint topLeft, int width)
{
    const QFontMetrics metrics(font);
    const QString shown = metrics.elidedText(text, Qt::ElideRight, width);
    QList<QTextLayout::FormatRange> formats;
    for (const auto &[from, to] : ranges) {
        if (from >= shown.size())
            continue;
        QTextLayout::FormatRange range;
        range.start = int(from);
        range.length = int(std::min(to, shown.size()) - from);
        range.format.setBackground(Theme::withOpacity(Theme::bright, 0.7));
        range.format.setForeground(Theme::ink);
        formats.append(range);
    }
    QTextLayout layout(shown, font);
    layout.setFormats(formats);
    layout.beginLayout();
    layout.createLine().setLineWidth(width);
    layout.endLayout();
    painter->setPen(color);
    layout.draw(painter, topLeft);
}

// Where the result lives, then its project's dot and name, then its due day.
void drawPlaceLine(QPainter *painter, const FindResult &result, Instant now, QPoint at, int width)
{
    const QFontMetrics metrics(Theme::small());
    painter->setFont(Theme::small());
    const int baseline = at.y() + metrics.ascent();
    int x = at.x();
    const auto drawText = [&](const QString &text, const QColor &color) {
        painter->setPen(color);
        painter->drawText(x, baseline, text);
        x += metrics.horizontalAdvance(text) + 10;
    };
    const QString place = FindRowText::place(result, now);
    drawText(metrics.elidedText(place, Qt::ElideRight, width / 2), Theme::muted);
    if (!result.projectName.isEmpty()) {
        const QColor dot = Theme::colorFromHex(result.projectColor).value_or(Theme::line);
        painter->setPen(Qt::NoPen);
        painter->setBrush(dot);
        painter->drawEllipse(QRectF(x, at.y() + (metrics.height() - kDot) / 2.0, kDot, kDot));
        x += kDot + 5;
        drawText(metrics.elidedText(result.projectName, Qt::ElideRight, width / 4), Theme::gray);
    }
    if (const QString due = FindRowText::due(result, now); !due.isEmpty())
        drawText(due, Theme::muted);
}

} // namespace

QSize FindResultDelegate::sizeHint(const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    const int title = QFontMetrics(Theme::body()).height();
    const int small = QFontMetrics(Theme::small()).height();
    const int lines = resultAt(index).snippet.isEmpty() ? 1 : 2;
    return {option.rect.width(), kPadY * 2 + title + lines * (small + kLineGap)};
}

void FindResultDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    const FindResult &result = resultAt(index);
    const Instant now = static_cast<const FindResultModel *>(index.model())->now();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (option.state & QStyle::State_Selected) {
        QPainterPath path;
        path.addRoundedRect(QRectF(option.rect).adjusted(2, 1, -2, -1), kRadius, kRadius);
        painter->fillPath(path, Theme::hair);
    }
    const int width = option.rect.width() - 2 * kPadX;
    QPoint at = option.rect.topLeft() + QPoint(kPadX, kPadY);
    drawMarked(painter, result.title, result.titleRanges, Theme::body(), Theme::ink, at, width);
    at.ry() += QFontMetrics(Theme::body()).height() + kLineGap;

    drawPlaceLine(painter, result, now, at, width);
    if (!result.snippet.isEmpty()) {
        at.ry() += QFontMetrics(Theme::small()).height() + kLineGap;
        drawMarked(painter, result.snippet, result.snippetRanges, Theme::small(), Theme::gray, at,
                   width);
    }
    painter->restore();
}

} // namespace furrow
