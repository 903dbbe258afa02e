#include "PortalRequest.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QTimer>

namespace furrow {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");

// The portal puts a request at a path made of the caller's unique name and the token, so the
// Response can be subscribed to before the call, with no race.
QString requestPath(const QDBusConnection &bus, const QString &token)
{
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender + QLatin1Char('/')
           + token;
}

} // namespace

QString PortalRequest::nextToken()
{
    static int counter = 0;
    return QStringLiteral("furrow%1").arg(++counter);
}

std::optional<QVariantMap> PortalRequest::run(QDBusConnection bus, const QDBusMessage &call,
                                              const QString &token, const QDeadlineTimer &deadline)
{
    PortalRequest request;
    const QString path = requestPath(bus, token);
    const QString member = QStringLiteral("Response");
    if (!bus.connect(kService, path, kRequestInterface, member, &request,
                     SLOT(onResponse(uint, QVariantMap))))
        return std::nullopt;

    const int remaining = int(std::max<qint64>(deadline.remainingTime(), 0));
    QDBusPendingCallWatcher watcher(bus.asyncCall(call, remaining));
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &request, [&request, &watcher] {
        if (watcher.isError())
            request.m_loop.quit();
    });
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &request.m_loop, &QEventLoop::quit);
    timer.start(remaining);
    request.m_loop.exec();

    bus.disconnect(kService, path, kRequestInterface, member, &request,
                   SLOT(onResponse(uint, QVariantMap)));
    if (request.m_code != 0u)
        return std::nullopt;
    return request.m_results;
}

void PortalRequest::onResponse(uint code, const QVariantMap &results)
{
    m_code = code;
    m_results = results;
    m_loop.quit();
}

} // namespace furrow
