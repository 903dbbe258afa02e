#include "views/menus/MenuController.h"

#include "views/menus/MenuHost.h"

namespace furrow {

MenuController::MenuController(QWidget *window)
    : QObject(window)
    , m_window(window)
    , m_host(new MenuHost(*this, window))
{}

void MenuController::show(int width, const QRect &anchor, QWidget *content)
{
    m_open = MenuPresentation{QUuid::createUuid(), anchor, width, content};
    Q_EMIT opened();
}

void MenuController::show(int width, const QWidget *control, QWidget *content)
{
    show(width, anchorRect(control), content);
}

void MenuController::close()
{
    if (!m_open)
        return;
    m_open.reset();
    Q_EMIT closed();
}

QRect MenuController::anchorRect(const QWidget *control) const
{
    return QRect(control->mapTo(m_window, QPoint(0, 0)), control->size());
}

} // namespace furrow
