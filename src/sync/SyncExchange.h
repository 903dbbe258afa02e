#pragma once

#include "sync/wire/SyncRequest.h"
#include "sync/wire/SyncResponse.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QSslCertificate>
#include <QUrl>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <variant>

namespace furrow {

// One HTTP exchange with the sync server: posts a request document and hands back the decoded
// response, or the status message that explains why there is none. Redirects are never
// followed, and an answer that grows past its size limit or outlasts its deadline is cut off.
class SyncExchange
{
public:
    struct Limits
    {
        // How long the connection may stay silent.
        std::chrono::milliseconds transferTimeout{30'000};
        // How long one request may take from its start, however steadily bytes arrive.
        std::chrono::milliseconds deadline{60'000};
        // The most body bytes one answer may carry.
        qint64 answerBytes = 32 * 1024 * 1024;
    };
    // A decoded answer and the size of its body.
    struct Answer
    {
        SyncResponse response;
        qint64 bytes = 0;
    };
    // The answer, or the failure message.
    using Outcome = std::variant<Answer, QString>;
    using Handler = std::function<void(Outcome)>;

    explicit SyncExchange(Limits limits);
    ~SyncExchange();
    SyncExchange(const SyncExchange &) = delete;
    SyncExchange &operator=(const SyncExchange &) = delete;

    // Posts `request` with the bearer token; `done` runs on the event loop when it ends. At most
    // one exchange is in flight; dropping the object drops its answer. A token that cannot be
    // sent in a header, or a URL that is not safe, fails without anything being sent.
    void send(const SyncRequest &request, const QUrl &url, const QString &token, Handler done);

    // The SHA-256 fingerprint (64 hex digits) of the one certificate that is accepted although
    // the system does not trust it; empty for none.
    void setTrustedCertificate(const QString &fingerprint) { m_trusted = fingerprint; }
    // The fingerprint of the certificate that the last exchange refused as untrusted; empty
    // when it met none.
    QString untrustedCertificate() const { return m_untrusted; }
    // 64 lower-case hex digits of the SHA-256 digest of a certificate's DER form.
    static QString fingerprint(const QSslCertificate &certificate);
    // A fingerprint as typed (any case, with or without colons or spaces) in its stored form;
    // empty when it is not 64 hex digits.
    static QString normalizedFingerprint(const QString &typed);

    // The URL an address typed by the user stands for: "https://" is assumed when no scheme is
    // given, and "/v1/sync" when there is no path. None when the address is blank or no URL.
    static std::optional<QUrl> endpoint(const QString &address);

    // Whether the token and the records may travel to `url`: over https://, or over plain
    // http:// only to a loopback address or "localhost".
    static bool isSafeEndpoint(const QUrl &url);
    // Why nothing goes to a URL that is not safe.
    static QString unsafeEndpointMessage();

    static QString explainStatus(int status);
    // Why a token with a line break or another control character is not sent.
    static QString unsendableTokenMessage();
    // `handshakePending` tells whether a TLS connection was closed before it was established.
    static QString explainError(QNetworkReply::NetworkError error, const QString &description,
                                bool handshakePending);
    // A size or a duration for the limit messages: "32 МиБ", "500 Б", "60 с", "300 мс".
    static QString sizeText(qint64 bytes);
    static QString durationText(std::chrono::milliseconds duration);

private:
    struct Transfer;

    void watch(QNetworkReply &reply, bool secure, Handler done);
    static Outcome outcome(QNetworkReply &reply, Transfer &transfer, bool secure);

    // Why an https exchange failed before the server showed any certificate: nothing there
    // speaks TLS. Empty when that is not what happened.
    static QString explainMissingTls(const QNetworkReply &reply, bool handshakePending,
                                     const Transfer &transfer);
    void watchCertificates(QNetworkReply &reply, const std::shared_ptr<Transfer> &transfer);

    QNetworkAccessManager m_manager;
    Limits m_limits;
    QPointer<QNetworkReply> m_reply;
    QString m_trusted;
    QString m_untrusted;
};

} // namespace furrow
