#include "views/widgets/IconButton.h"

#include "views/theme/Icon.h"
#include "views/theme/Theme.h"

#include <QPainter>

namespace furrow {

IconButton::IconButton(const QString &symbol, qreal iconSize, QWidget *parent)
    : QAbstractButton(parent)
    , m_name(symbol)
    , m_iconSize(iconSize)
    , m_side(qCeil(iconSize) + 8)
    , m_rest(Theme::gray)
    , m_hovered(Theme::ink)
{
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void IconButton::setSymbol(const QString &symbol)
{
    m_name = symbol;
    m_isPageIcon = false;
    update();
}

void IconButton::setPageIcon(const QString &name)
{
    m_name = name;
    m_isPageIcon = true;
    update();
}

void IconButton::setIconSize(qreal size)
{
    m_iconSize = size;
    update();
}

void IconButton::setColors(const QColor &rest, const QColor &hovered)
{
    m_rest = rest;
    m_hovered = hovered;
    update();
}

void IconButton::setSide(int side)
{
    m_side = side;
    updateGeometry();
}

QSize IconButton::sizeHint() const
{
    return {m_side, m_side};
}

void IconButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool keyboardFocus = hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
    const bool lit = isEnabled() && (underMouse() || isDown() || keyboardFocus);
    if (lit) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(isDown() ? Theme::hoverDeep : Theme::hover);
        painter.drawRoundedRect(QRectF(rect()), 7, 7);
    }
    if (!isEnabled())
        painter.setOpacity(0.4);
    const QColor color = lit ? m_hovered : m_rest;
    if (m_isPageIcon)
        Icon::paintPageIcon(painter, rect(), m_name, m_iconSize, color);
    else
        Icon::paintSymbol(painter, rect(), m_name, m_iconSize, color);
}

} // namespace furrow
