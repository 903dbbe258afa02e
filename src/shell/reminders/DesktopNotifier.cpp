#include "DesktopNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>

namespace furrow {

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kAppName = QStringLiteral("Furrow");
} // namespace

DesktopNotifier::DesktopNotifier(QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(onClosed(uint, uint)));
}

void DesktopNotifier::probe()
{
    const QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                             QStringLiteral("GetCapabilities"));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        const QDBusPendingReply<QStringList> reply = *w;
        if (!reply.isError())
            m_actions = reply.value().contains(QStringLiteral("actions"));
        w->deleteLater();
    });
}

void DesktopNotifier::notify(const QString &title, const QString &body,
                             const QList<Action> &actions, std::function<void(uint id)> sent)
{
    QStringList flatActions;
    for (const Action &action : actions)
        flatActions << action.key << action.text;
    QDBusMessage call
        = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    // A reminder stays until the user acts on it: expire timeout 0 means "never".
    // The icon and the desktop entry are both named by the application id.
    const QString appId = QGuiApplication::desktopFileName();
    call << kAppName << uint(0) << appId << title << body << flatActions
         << QVariantMap{{QStringLiteral("desktop-entry"), appId}} << 0;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [sent = std::move(sent)](QDBusPendingCallWatcher *w) {
                const QDBusPendingReply<uint> reply = *w;
                sent(reply.isError() ? 0 : reply.value());
                w->deleteLater();
            });
}

void DesktopNotifier::onActionInvoked(uint id, const QString &key)
{
    Q_EMIT actionInvoked(id, key);
}

void DesktopNotifier::onClosed(uint id, uint)
{
    Q_EMIT closed(id);
}

} // namespace furrow
