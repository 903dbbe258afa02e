#include "SyncExchange.h"

#include "sync/wire/SyncWireError.h"

#include <QNetworkRequest>
#include <QSslCipher>
#include <QSslConfiguration>

#include <algorithm>

namespace furrow {

namespace {

// Errors of the connection itself (and of a proxy), as opposed to an answer the server gave.
bool isTransportError(QNetworkReply::NetworkError error)
{
    return error != QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied;
}

// Header values cannot carry line breaks or other control characters: sent as they are, they
// would end the header early and corrupt the request.
bool isSendableHeaderValue(QByteArrayView value)
{
    return std::none_of(value.begin(), value.end(),
                        [](char c) { return (uchar(c) < 0x20 && c != '\t') || uchar(c) == 0x7f; });
}

} // namespace

SyncExchange::SyncExchange(std::chrono::milliseconds transferTimeout)
    : m_transferTimeout(transferTimeout)
{}

SyncExchange::~SyncExchange()
{
    // A reply aborted during destruction would still report to its handler.
    if (m_reply) {
        m_reply->disconnect();
        m_reply->abort();
        delete m_reply;
    }
}

void SyncExchange::send(const SyncRequest &request, const QUrl &url, const QString &token,
                        Handler done)
{
    const QByteArray authorization = "Bearer " + token.toUtf8();
    if (!isSendableHeaderValue(authorization)) {
        QMetaObject::invokeMethod(
            &m_manager, [done] { done(unsendableTokenMessage()); }, Qt::QueuedConnection);
        return;
    }
    QNetworkRequest http(url);
    http.setTransferTimeout(int(m_transferTimeout.count()));
    http.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    http.setRawHeader("Authorization", authorization);
    QNetworkReply *reply = m_manager.post(http, request.encode());
    m_reply = reply;
    const bool secure = url.scheme().compare(u"https", Qt::CaseInsensitive) == 0;
    QObject::connect(reply, &QNetworkReply::finished, reply, [this, reply, secure, done] {
        reply->deleteLater();
        // A connection that failed (a refused certificate above all) must not be reused by the
        // next cycle, which would fail the same way after the user fixed the cause.
        if (isTransportError(reply->error()))
            m_manager.clearConnectionCache();
        done(outcome(*reply, secure));
    });
}

SyncExchange::Outcome SyncExchange::outcome(QNetworkReply &reply, bool secure)
{
    const QNetworkReply::NetworkError error = reply.error();
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (isTransportError(error) || !status.isValid()) {
        if (error == QNetworkReply::NoError)
            return QStringLiteral("сервер ответил непонятно");
        const bool handshakePending = secure && reply.sslConfiguration().sessionCipher().isNull();
        return explainError(error, reply.errorString(), handshakePending);
    }
    if (status.toInt() != 200)
        return explainStatus(status.toInt());
    try {
        return SyncResponse::decode(reply.readAll());
    } catch (const SyncWireError &decodeError) {
        return decodeError.description();
    }
}

std::optional<QUrl> SyncExchange::endpoint(const QString &address)
{
    QString text = address.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (!text.contains(u"://"))
        text.prepend(u"https://");
    QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    if (url.path().isEmpty() || url.path() == u"/")
        url.setPath(QStringLiteral("/v1/sync"));
    if (!url.isValid())
        return std::nullopt;
    return url;
}

QString SyncExchange::unsendableTokenMessage()
{
    return QStringLiteral(
        "в токене недопустимые символы — проверьте, не попал ли в него перевод строки");
}

QString SyncExchange::explainStatus(int status)
{
    switch (status) {
    case 401:
        return QStringLiteral("сервер не принял токен");
    case 404:
        return QStringLiteral("адрес не тот — сервер не знает такого пути");
    case 413:
        return QStringLiteral("слишком большая посылка");
    }
    if (status >= 500 && status <= 599)
        return QStringLiteral("сервер ответил ошибкой ") + QString::number(status);
    return QStringLiteral("сервер ответил ") + QString::number(status);
}

QString SyncExchange::explainError(QNetworkReply::NetworkError error, const QString &description,
                                   bool handshakePending)
{
    switch (error) {
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("не сошёлся сертификат");
    case QNetworkReply::RemoteHostClosedError:
        // An https request to a plain-HTTP port ends this way, before any TLS session exists.
        return handshakePending ? QStringLiteral("не сошёлся сертификат") : description;
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
        return QStringLiteral("нет сети");
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("сервер недоступен по этому адресу");
    // A request past its transfer timeout is cancelled rather than timed out.
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return QStringLiteral("сервер не ответил вовремя");
    default:
        return description;
    }
}

} // namespace furrow
