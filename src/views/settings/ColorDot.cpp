#include "views/settings/ColorDot.h"

#include "views/theme/Theme.h"

#include <QPainter>

namespace furrow {

ColorDot::ColorDot(QWidget *parent)
    : QAbstractButton(parent)
{
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

void ColorDot::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void ColorDot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    const bool focused = hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
    if (underMouse() || focused) {
        painter.setPen(QPen(focused ? Theme::ink : Theme::withOpacity(Theme::ink, 0.35), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, 9.5, 9.5);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_color);
    painter.drawEllipse(centre, 6, 6);
}

} // namespace furrow
