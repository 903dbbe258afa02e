#include "views/board/TitleText.h"

#include "views/theme/Theme.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace furrow {

namespace {
constexpr qreal kDot = 4;
constexpr qreal kDotGap = 6;
} // namespace

TitleText::TitleText(QWidget *parent)
    : QWidget(parent)
{
    setFont(Theme::taskQuick());
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    m_heights.fill({-1, 0});
}

void TitleText::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    invalidate();
}

void TitleText::setDone(bool done)
{
    if (done == m_done)
        return;
    m_done = done;
    // A done title takes no clicks and cannot be dragged: its row gets them.
    setAttribute(Qt::WA_TransparentForMouseEvents, done);
    update();
}

void TitleText::setNoteDot(bool shown)
{
    if (shown == m_noteDot)
        return;
    m_noteDot = shown;
    invalidate();
}

void TitleText::invalidate()
{
    m_laidOutWidth = -1;
    m_heights.fill({-1, 0});
    m_naturalWidth = -1;
    updateGeometry();
    update();
}

qreal TitleText::lay(QTextLayout &layout, qreal width) const
{
    // The note dot follows the last word, so leave room for it at the end of every line.
    const qreal lineWidth = std::max<qreal>(1, width - (m_noteDot ? kDot + kDotGap : 0));
    layout.setText(m_text);
    layout.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return std::max(y, QFontMetricsF(font()).height());
}

void TitleText::layoutForPaint()
{
    if (width() == m_laidOutWidth)
        return;
    lay(m_layout, width());
    m_laidOutWidth = width();
}

qreal TitleText::naturalWidth() const
{
    if (m_naturalWidth < 0)
        m_naturalWidth = QFontMetricsF(font()).horizontalAdvance(m_text) + kDot + kDotGap;
    return m_naturalWidth;
}

int TitleText::heightForWidth(int width) const
{
    // Most titles fit on one line, which needs no layout at all.
    if (width >= naturalWidth())
        return qCeil(QFontMetricsF(font()).height());
    for (const auto &[knownWidth, height] : m_heights) {
        if (knownWidth == width)
            return height;
    }
    QTextLayout layout;
    const int height = qCeil(lay(layout, width));
    m_heights[m_nextHeight] = {width, height};
    m_nextHeight = (m_nextHeight + 1) % m_heights.size();
    return height;
}

QSize TitleText::sizeHint() const
{
    const int width = qCeil(std::min<qreal>(naturalWidth(), 480));
    return {width, heightForWidth(width)};
}

QSize TitleText::minimumSizeHint() const
{
    return {40, qCeil(QFontMetricsF(font()).height())};
}

void TitleText::paintEvent(QPaintEvent *)
{
    layoutForPaint();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(m_done ? Theme::muted : Theme::ink);
    m_layout.draw(&painter, QPointF(0, 0));
    if (m_layout.lineCount() == 0)
        return;
    const qreal xHeight = QFontMetricsF(font()).xHeight();
    if (m_done) {
        painter.setPen(QPen(Theme::line, 1.2));
        for (int i = 0; i < m_layout.lineCount(); ++i) {
            const QTextLine line = m_layout.lineAt(i);
            const qreal y = line.y() + line.ascent() - xHeight / 2;
            painter.drawLine(QPointF(0, y), QPointF(line.naturalTextWidth(), y));
        }
    } else if (m_noteDot) {
        const QTextLine last = m_layout.lineAt(m_layout.lineCount() - 1);
        const QPointF centre(last.naturalTextWidth() + kDotGap + kDot / 2,
                             last.y() + last.ascent() - xHeight / 2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::line);
        painter.drawEllipse(centre, kDot / 2, kDot / 2);
    }
}

void TitleText::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    m_pressPos = event->position().toPoint();
}

void TitleText::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed)
        return;
    const QPoint travel = event->position().toPoint() - m_pressPos;
    if (travel.manhattanLength() >= QApplication::startDragDistance()) {
        m_pressed = false;
        Q_EMIT dragRequested();
    }
}

void TitleText::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_pressed || event->button() != Qt::LeftButton)
        return;
    m_pressed = false;
    if (rect().contains(event->position().toPoint()))
        Q_EMIT clicked(positionAt(event->position()));
}

int TitleText::positionAt(const QPointF &point)
{
    layoutForPaint();
    for (int i = 0; i < m_layout.lineCount(); ++i) {
        const QTextLine line = m_layout.lineAt(i);
        if (point.y() < line.y() + line.height() || i + 1 == m_layout.lineCount())
            return line.xToCursor(point.x());
    }
    return 0;
}

} // namespace furrow
