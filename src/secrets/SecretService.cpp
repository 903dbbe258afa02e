#include "SecretService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusVariant>

namespace furrow::SecretService {

namespace {
const QString kService = QStringLiteral("org.freedesktop.secrets");
} // namespace

bool isRunning()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    // Only a present owner counts: the bus could start a keyring daemon on demand, but that is
    // not a keyring the user runs.
    return bus.isConnected() && bus.interface()->isServiceRegistered(kService).value();
}

bool isLocked()
{
    QDBusInterface properties(kService, QStringLiteral("/org/freedesktop/secrets/aliases/default"),
                              QStringLiteral("org.freedesktop.DBus.Properties"),
                              QDBusConnection::sessionBus());
    const QDBusReply<QDBusVariant> locked = properties.call(
        QStringLiteral("Get"), QStringLiteral("org.freedesktop.Secret.Collection"),
        QStringLiteral("Locked"));
    // No answer counts as locked: whatever stands in the way may ask the user.
    return !locked.isValid() || locked.value().variant().toBool();
}

} // namespace furrow::SecretService
