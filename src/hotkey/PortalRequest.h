#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

#include <functional>
#include <optional>

class QDBusMessage;

namespace furrow {

// One portal call that answers through a Request object: sends the call and hands the
// request's Response, or the call's failure, to a callback. Nothing waits: a portal that asks
// the user answers whenever the user does.
class PortalRequest : public QObject
{
    Q_OBJECT

public:
    struct Answer
    {
        // The portal's response code (0 success, 1 cancelled by the user, 2 ended otherwise);
        // nothing when the call itself failed.
        std::optional<uint> code;
        QVariantMap results;

        bool succeeded() const { return code == 0u; }
    };

    // A fresh token for "handle_token" and "session_handle_token" options.
    static QString nextToken();
    // Sends `call`, whose options carry `token` as their "handle_token"; `done` runs once with
    // the answer, unless `owner` is gone by then.
    static void send(QDBusConnection bus, const QDBusMessage &call, const QString &token,
                     QObject *owner, std::function<void(const Answer &)> done);

private Q_SLOTS:
    void onResponse(uint code, const QVariantMap &results);

private:
    PortalRequest(QDBusConnection bus, const QString &path,
                  std::function<void(const Answer &)> done, QObject *owner);
    void finish(const Answer &answer);

    QDBusConnection m_bus;
    QString m_path;
    std::function<void(const Answer &)> m_done;
    bool m_finished = false;
};

} // namespace furrow
