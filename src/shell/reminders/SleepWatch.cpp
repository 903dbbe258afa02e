#include "SleepWatch.h"

#include <QDBusConnection>

namespace furrow {

SleepWatch::SleepWatch(QObject *parent)
    : QObject(parent)
{
    QDBusConnection::systemBus().connect(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
        SLOT(onPrepareForSleep(bool)));
}

void SleepWatch::onPrepareForSleep(bool sleeping)
{
    if (!sleeping)
        Q_EMIT resumed();
}

} // namespace furrow
