#include "views/pickers/IconCell.h"

#include "views/theme/Icon.h"
#include "views/theme/Theme.h"

#include <QPainter>

namespace furrow {

IconCell::IconCell(const QString &name, bool selected, QWidget *parent)
    : QAbstractButton(parent)
    , m_name(name)
    , m_selected(selected)
{
    setToolTip(name);
    setAccessibleName(name);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setMinimumSize(30, 30);
}

void IconCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF square = QRectF(rect()).adjusted(1, 1, -1, -1);
    const bool keyboardFocus = hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
    painter.setPen(keyboardFocus ? QPen(Theme::pine, 1.5) : Qt::NoPen);
    if (m_selected)
        painter.setBrush(Theme::bright);
    else if (underMouse() || isDown())
        painter.setBrush(isDown() ? Theme::hoverDeep : Theme::hover);
    else
        painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(square, 8, 8);
    const bool dark = m_selected || underMouse() || keyboardFocus;
    Icon::paintPageIcon(painter, rect(), m_name, 20, dark ? Theme::ink : Theme::gray);
}

} // namespace furrow
