#pragma once

#include "sync/wire/SyncRequest.h"
#include "sync/wire/SyncResponse.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>
#include <variant>

namespace furrow {

// One HTTP exchange with the sync server: posts a request document and hands back the decoded
// response, or the status message that explains why there is none.
class SyncExchange
{
public:
    // The decoded response, or the failure message.
    using Outcome = std::variant<SyncResponse, QString>;
    using Handler = std::function<void(Outcome)>;

    explicit SyncExchange(std::chrono::milliseconds transferTimeout);
    ~SyncExchange();
    SyncExchange(const SyncExchange &) = delete;
    SyncExchange &operator=(const SyncExchange &) = delete;

    // Posts `request` with the bearer token; `done` runs on the event loop when it ends. At most
    // one exchange is in flight; dropping the object drops its answer. A token that cannot be
    // sent in a header fails without anything being sent.
    void send(const SyncRequest &request, const QUrl &url, const QString &token, Handler done);

    // The URL an address typed by the user stands for: "https://" is assumed when no scheme is
    // given, and "/v1/sync" when there is no path. None when the address is blank or no URL.
    static std::optional<QUrl> endpoint(const QString &address);

    static QString explainStatus(int status);
    // Why a token with a line break or another control character is not sent.
    static QString unsendableTokenMessage();
    // `handshakePending` tells whether a TLS connection was closed before it was established.
    static QString explainError(QNetworkReply::NetworkError error, const QString &description,
                                bool handshakePending);

private:
    static Outcome outcome(QNetworkReply &reply, bool secure);

    QNetworkAccessManager m_manager;
    std::chrono::milliseconds m_transferTimeout;
    QPointer<QNetworkReply> m_reply;
};

} // namespace furrow
