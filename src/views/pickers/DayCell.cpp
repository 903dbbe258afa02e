#include "views/pickers/DayCell.h"

#include "views/theme/Theme.h"

#include <QPainter>

namespace furrow {

DayCell::DayCell(QWidget *parent)
    : QAbstractButton(parent)
{
    setAttribute(Qt::WA_Hover);
    // The calendar gives one cell at a time a place in the Tab order.
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setMinimumSize(28, 28);
}

void DayCell::setDay(QDate date, bool inMonth, bool selected, bool today)
{
    m_date = date;
    m_inMonth = inMonth;
    m_selected = selected;
    m_today = today;
    setText(QString::number(date.day()));
    setFont(Theme::sans(14, selected || today ? QFont::Medium : QFont::Normal));
    update();
}

QColor DayCell::textColor() const
{
    if (m_selected)
        return Theme::pine;
    if (!m_inMonth)
        return Theme::withOpacity(Theme::line, 0.7);
    if (m_today)
        return Theme::clay;
    return Theme::ink;
}

void DayCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height()) - 2;
    const QRectF circle(QPointF(width() - side, height() - side) / 2, QSizeF(side, side));
    painter.setPen(Qt::NoPen);
    if (m_selected) {
        painter.setBrush(Theme::bright);
        painter.drawEllipse(circle);
    } else if (underMouse()) {
        painter.setBrush(Theme::hover);
        painter.drawEllipse(circle);
    }
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setPen(QPen(Theme::withOpacity(Theme::pine, 0.45), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(circle.adjusted(1, 1, -1, -1));
    }
    painter.setPen(textColor());
    painter.drawText(rect(), Qt::AlignCenter, text());
}

} // namespace furrow
