#include "PortalRequest.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

namespace furrow {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString kResponse = QStringLiteral("Response");

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

PortalRequest::PortalRequest(QDBusConnection bus, const QString &path,
                             std::function<void(const Answer &)> done, QObject *owner)
    : QObject(owner)
    , m_bus(std::move(bus))
    , m_path(path)
    , m_done(std::move(done))
{}

void PortalRequest::send(QDBusConnection bus, const QDBusMessage &call, const QString &token,
                         QObject *owner, std::function<void(const Answer &)> done)
{
    auto *request = new PortalRequest(bus, requestPath(bus, token), std::move(done), owner);
    if (!bus.connect(kService, request->m_path, kRequestInterface, kResponse, request,
                     SLOT(onResponse(uint, QVariantMap)))) {
        request->finish({});
        return;
    }
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), request);
    connect(watcher, &QDBusPendingCallWatcher::finished, request, [request, watcher] {
        watcher->deleteLater();
        if (watcher->isError())
            request->finish({});
    });
}

void PortalRequest::onResponse(uint code, const QVariantMap &results)
{
    finish({code, results});
}

void PortalRequest::finish(const Answer &answer)
{
    if (m_finished)
        return;
    m_finished = true;
    m_bus.disconnect(kService, m_path, kRequestInterface, kResponse, this,
                     SLOT(onResponse(uint, QVariantMap)));
    deleteLater();
    // The callback may start the next request or let the owner go; this one is done first.
    const auto done = std::move(m_done);
    done(answer);
}

} // namespace furrow
