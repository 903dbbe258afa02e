#include "views/sidebar/SidebarRow.h"

#include "views/theme/Theme.h"
#include "views/widgets/KeyboardFocus.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>

namespace furrow {

namespace {
constexpr qreal kRadius = 8;
} // namespace

SidebarRow::SidebarRow(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
    , m_keyFocus(new KeyboardFocus(this))
{
    m_layout->setContentsMargins(8, 0, 6, 0);
    m_layout->setSpacing(8);
    setFixedHeight(kHeight);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    connect(m_keyFocus, &KeyboardFocus::changed, this, [this] {
        update();
        Q_EMIT focusLookChanged();
    });
}

SidebarRow::~SidebarRow()
{
    // The focus leaving a row as it goes must not reach the parts already destroyed.
    delete m_keyFocus;
}

void SidebarRow::setSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    update();
    Q_EMIT selectedChanged(selected);
}

bool SidebarRow::hasFocusWithin() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

bool SidebarRow::hasKeyboardFocus() const
{
    return m_keyFocus->isActive();
}

void SidebarRow::watchFocus(QWidget *control)
{
    m_keyFocus->watch(control);
}

void SidebarRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_selected) {
        painter.setPen(QPen(Theme::hair, 1));
        painter.setBrush(Theme::card);
        painter.drawRoundedRect(shape, kRadius, kRadius);
    }
    if (m_hovered || m_pressed) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_pressed ? Theme::hoverDeep : Theme::hover);
        painter.drawRoundedRect(shape, kRadius, kRadius);
    }
    if (hasFocus() && hasKeyboardFocus()) {
        painter.setPen(QPen(Theme::withOpacity(Theme::pine, 0.45), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(shape.adjusted(1, 1, -1, -1), kRadius - 1, kRadius - 1);
    }
}

void SidebarRow::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    Q_EMIT hoveredChanged(true);
    QWidget::enterEvent(event);
}

void SidebarRow::leaveEvent(QEvent *event)
{
    m_hovered = false;
    m_pressed = false;
    update();
    Q_EMIT hoveredChanged(false);
    QWidget::leaveEvent(event);
}

void SidebarRow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    update();
}

void SidebarRow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    update();
    if (rect().contains(event->position().toPoint()))
        Q_EMIT activated();
}

void SidebarRow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Q_EMIT activated();
        return;
    case Qt::Key_Up:
        Q_EMIT stepRequested(-1);
        return;
    case Qt::Key_Down:
        Q_EMIT stepRequested(1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace furrow
