#pragma once

#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QObject>
#include <QVariantMap>

#include <optional>

class QDBusMessage;

namespace furrow {

// One portal call that answers through a Request object: sends the call and waits, in a local
// event loop until the deadline, for that request's Response signal.
class PortalRequest : public QObject
{
    Q_OBJECT

public:
    // A fresh token for "handle_token" and "session_handle_token" options.
    static QString nextToken();
    // The results of a successful response; nothing on an error, a refusal or a time-out.
    static std::optional<QVariantMap> run(QDBusConnection bus, const QDBusMessage &call,
                                          const QString &token, const QDeadlineTimer &deadline);

private Q_SLOTS:
    void onResponse(uint code, const QVariantMap &results);

private:
    QEventLoop m_loop;
    std::optional<uint> m_code;
    QVariantMap m_results;
};

} // namespace furrow
