#include "views/widgets/KeyboardFocus.h"

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

namespace furrow {

KeyboardFocus::KeyboardFocus(QWidget *owner)
    : QObject(owner)
    , m_owner(owner)
{
    owner->installEventFilter(this);
}

void KeyboardFocus::watch(QWidget *part)
{
    part->installEventFilter(this);
}

bool KeyboardFocus::isActive() const
{
    const QWidget *focus = QApplication::focusWidget();
    return m_fromKeyboard && focus && (focus == m_owner || m_owner->isAncestorOf(focus));
}

void KeyboardFocus::restore()
{
    m_owner->setFocus(m_fromKeyboard ? Qt::OtherFocusReason : Qt::MouseFocusReason);
}

bool KeyboardFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        switch (static_cast<QFocusEvent *>(event)->reason()) {
        case Qt::MouseFocusReason:
            m_fromKeyboard = false;
            break;
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
        case Qt::OtherFocusReason:
            m_fromKeyboard = true;
            break;
        case Qt::ActiveWindowFocusReason:
        case Qt::PopupFocusReason:
        case Qt::MenuBarFocusReason:
        case Qt::NoFocusReason:
            break;
        }
        Q_EMIT changed();
    } else if (event->type() == QEvent::FocusOut) {
        Q_EMIT changed();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace furrow
