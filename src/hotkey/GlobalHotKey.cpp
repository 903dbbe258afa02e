#include "GlobalHotKey.h"

#include "PortalGlobalHotKey.h"
#include "UnsupportedGlobalHotKey.h"
#include "X11GlobalHotKey.h"

#include <QDBusConnection>

namespace furrow {

namespace {

bool isWaylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || qEnvironmentVariable("XDG_SESSION_TYPE")
                      .compare(QLatin1String("wayland"), Qt::CaseInsensitive)
                  == 0;
}

} // namespace

GlobalHotKey::GlobalHotKey(QObject *parent)
    : QObject(parent)
{}

GlobalHotKey::~GlobalHotKey() = default;

std::unique_ptr<GlobalHotKey> GlobalHotKey::create()
{
    // Decided by the session, not by Qt's platform plugin: under XWayland an X11 grab succeeds
    // but only fires while an X11 window has the focus.
    return isWaylandSession() ? createForWayland(QDBusConnection::sessionBus()) : createForX11();
}

std::unique_ptr<GlobalHotKey> GlobalHotKey::create(const QDBusConnection &sessionBus)
{
    return isWaylandSession() ? createForWayland(sessionBus) : createForX11();
}

std::unique_ptr<GlobalHotKey> GlobalHotKey::createForWayland(const QDBusConnection &sessionBus)
{
    if (PortalGlobalHotKey::isOffered(sessionBus))
        return std::make_unique<PortalGlobalHotKey>(sessionBus);
    return std::make_unique<UnsupportedGlobalHotKey>();
}

std::unique_ptr<GlobalHotKey> GlobalHotKey::createForX11()
{
    if (xcb_connection_t *connection = X11GlobalHotKey::applicationConnection())
        return std::make_unique<X11GlobalHotKey>(connection);
    return std::make_unique<UnsupportedGlobalHotKey>();
}

void GlobalHotKey::setAction(std::function<void()> action)
{
    m_action = std::move(action);
}

void GlobalHotKey::settle(HotkeyStatus status)
{
    m_status = status;
    Q_EMIT statusSettled(status);
}

void GlobalHotKey::fire()
{
    if (!m_action)
        return;
    QMetaObject::invokeMethod(
        this, [action = m_action] { action(); }, Qt::QueuedConnection);
}

} // namespace furrow
