#include "SyncExchange.h"

#include "sync/wire/SyncWireError.h"

#include <QHostAddress>
#include <QNetworkRequest>
#include <QSslCipher>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>

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

// "…/v1/sync/" names the same place as "…/v1/sync".
void dropTrailingSlashes(QUrl &url)
{
    QString path = url.path(QUrl::FullyEncoded);
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    url.setPath(path, QUrl::StrictMode);
}

} // namespace

// What one reply has delivered so far, and why the exchange cut it off, if it did.
struct SyncExchange::Transfer
{
    qint64 limit = 0;
    QString tooLarge;
    QByteArray body;
    QString failure;
    // The fingerprint of a certificate refused as untrusted.
    QString untrusted;

    // Takes what the reply holds, never more than one byte past the limit, so an endless body
    // costs no more memory than a full one. False once the body is past the limit.
    bool receive(QNetworkReply &reply)
    {
        body += reply.read(limit + 1 - body.size());
        return body.size() <= limit;
    }
    void cutOff(QNetworkReply &reply, const QString &message)
    {
        if (reply.isFinished())
            return;
        failure = message;
        reply.abort();
    }
};

SyncExchange::SyncExchange(Limits limits)
    : m_limits(limits)
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
    const QString refusal = !isSafeEndpoint(url)                    ? unsafeEndpointMessage()
                            : !isSendableHeaderValue(authorization) ? unsendableTokenMessage()
                                                                    : QString();
    if (!refusal.isEmpty()) {
        QMetaObject::invokeMethod(
            &m_manager, [done, refusal] { done(refusal); }, Qt::QueuedConnection);
        return;
    }
    QNetworkRequest http(url);
    http.setTransferTimeout(int(m_limits.transferTimeout.count()));
    // Following a redirect would hand the token, and after 307 or 308 the sealed changes, to
    // whatever origin it names, and 301 to 303 would turn the post into a get whose answer
    // passes for a completed cycle.
    http.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                      QNetworkRequest::ManualRedirectPolicy);
    http.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    http.setRawHeader("Authorization", authorization);
    QNetworkReply *reply = m_manager.post(http, request.encode());
    m_reply = reply;
    m_untrusted.clear();
    const bool secure = url.scheme().compare(u"https", Qt::CaseInsensitive) == 0;
    watch(*reply, secure, std::move(done));
}

void SyncExchange::watch(QNetworkReply &reply, bool secure, Handler done)
{
    auto transfer = std::make_shared<Transfer>();
    transfer->limit = m_limits.answerBytes;
    transfer->tooLarge = QStringLiteral("ответ сервера превысил предел (%1) — обмен прерван")
                             .arg(sizeText(m_limits.answerBytes));
    watchCertificates(reply, transfer);
    QObject::connect(&reply, &QNetworkReply::metaDataChanged, &reply, [&reply, transfer] {
        const QVariant declared = reply.header(QNetworkRequest::ContentLengthHeader);
        if (declared.isValid() && declared.toLongLong() > transfer->limit)
            transfer->cutOff(reply, transfer->tooLarge);
    });
    QObject::connect(&reply, &QNetworkReply::readyRead, &reply, [&reply, transfer] {
        if (!transfer->receive(reply))
            transfer->cutOff(reply, transfer->tooLarge);
    });
    // The transfer timeout only measures silence; a body that drips a byte at a time would
    // never reach it.
    const QString late = QStringLiteral("сервер отвечал дольше предела (%1) — обмен прерван")
                             .arg(durationText(m_limits.deadline));
    QTimer::singleShot(m_limits.deadline, &reply,
                       [&reply, transfer, late] { transfer->cutOff(reply, late); });
    QObject::connect(&reply, &QNetworkReply::finished, &reply,
                     [this, &reply, transfer, secure, done] {
                         reply.deleteLater();
                         // A connection that failed (a refused certificate above all) must not be
                         // reused by the next cycle, which would fail the same way after the user
                         // fixed the cause.
                         if (isTransportError(reply.error()))
                             m_manager.clearConnectionCache();
                         m_untrusted = transfer->untrusted;
                         done(outcome(reply, *transfer, secure));
                     });
}

SyncExchange::Outcome SyncExchange::outcome(QNetworkReply &reply, Transfer &transfer, bool secure)
{
    if (!transfer.failure.isEmpty())
        return transfer.failure;
    const QNetworkReply::NetworkError error = reply.error();
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (isTransportError(error) || !status.isValid()) {
        if (error == QNetworkReply::NoError)
            return QStringLiteral("сервер ответил непонятно");
        const bool handshakePending = secure && reply.sslConfiguration().sessionCipher().isNull();
        if (const QString noTls = explainMissingTls(reply, handshakePending, transfer);
            !noTls.isEmpty())
            return noTls;
        return explainError(error, reply.errorString(), handshakePending);
    }
    if (status.toInt() != 200)
        return explainStatus(status.toInt());
    if (!transfer.receive(reply))
        return transfer.tooLarge;
    try {
        return Answer{SyncResponse::decode(transfer.body), transfer.body.size()};
    } catch (const SyncWireError &decodeError) {
        return decodeError.description();
    }
}

void SyncExchange::watchCertificates(QNetworkReply &reply,
                                     const std::shared_ptr<Transfer> &transfer)
{
    QObject::connect(&reply, &QNetworkReply::sslErrors, &reply,
                     [&reply, transfer, trusted = m_trusted](const QList<QSslError> &errors) {
                         QSslCertificate shown = reply.sslConfiguration().peerCertificate();
                         for (qsizetype i = 0; shown.isNull() && i < errors.size(); ++i)
                             shown = errors[i].certificate();
                         const QString seen = fingerprint(shown);
                         // Exactly the certificate the user trusted, whatever else is wrong
                         // with it: a home server's certificate rarely names its address.
                         if (!trusted.isEmpty() && seen == trusted)
                             reply.ignoreSslErrors(errors);
                         else
                             transfer->untrusted = seen;
                     });
}

QString SyncExchange::explainMissingTls(const QNetworkReply &reply, bool handshakePending,
                                        const Transfer &transfer)
{
    const QNetworkReply::NetworkError error = reply.error();
    const bool endedInHandshake
        = error == QNetworkReply::SslHandshakeFailedError
          || (error == QNetworkReply::RemoteHostClosedError && handshakePending);
    if (!endedInHandshake || !transfer.untrusted.isEmpty()
        || !reply.sslConfiguration().peerCertificate().isNull())
        return {};
    const QString host = reply.url().host();
    const QString message = QStringLiteral("сервер по этому адресу не говорит по HTTPS");
    if (host == u"localhost" || QHostAddress(host).isLoopback())
        return message
               + QStringLiteral(" — для сервера на этом компьютере напишите адрес с http://");
    return message;
}

QString SyncExchange::fingerprint(const QSslCertificate &certificate)
{
    if (certificate.isNull())
        return {};
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex());
}

QString SyncExchange::normalizedFingerprint(const QString &typed)
{
    QString hex = typed.toLower();
    hex.remove(u':');
    hex.remove(u' ');
    const bool valid = hex.size() == 64 && std::all_of(hex.begin(), hex.end(), [](QChar c) {
                           return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
                       });
    return valid ? hex : QString();
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
    dropTrailingSlashes(url);
    if (url.path().isEmpty() || url.path() == u"/")
        url.setPath(QStringLiteral("/v1/sync"));
    if (!url.isValid())
        return std::nullopt;
    return url;
}

bool SyncExchange::isSafeEndpoint(const QUrl &url)
{
    if (url.scheme().compare(u"https", Qt::CaseInsensitive) == 0)
        return true;
    if (url.scheme().compare(u"http", Qt::CaseInsensitive) != 0)
        return false;
    QString host = url.host();
    if (host.endsWith(u'.'))
        host.chop(1);
    // Host names are not resolved here: a name that a resolver maps to this computer could
    // as well be mapped elsewhere, and only "localhost" is this computer by definition.
    if (host.compare(u"localhost", Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

QString SyncExchange::unsafeEndpointMessage()
{
    return QStringLiteral("без https:// токен и записи ушли бы открытыми — http:// годится "
                          "только для сервера на этом компьютере; ничего не отправлено");
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
    if (status >= 300 && status <= 399)
        return QStringLiteral("сервер ответил перенаправлением (код %1) — укажите точный адрес "
                              "сервера")
            .arg(status);
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

QString SyncExchange::sizeText(qint64 bytes)
{
    constexpr qint64 mebibyte = 1024 * 1024;
    if (bytes >= mebibyte && bytes % mebibyte == 0)
        return QString::number(bytes / mebibyte) + QStringLiteral(" МиБ");
    return QString::number(bytes) + QStringLiteral(" Б");
}

QString SyncExchange::durationText(std::chrono::milliseconds duration)
{
    if (duration.count() % 1000 == 0)
        return QString::number(duration.count() / 1000) + QStringLiteral(" с");
    return QString::number(duration.count()) + QStringLiteral(" мс");
}

} // namespace furrow
