#pragma once

#include "model/Clock.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace furrow::test {

// A notification server on a private bus: keeps what it was asked to show and sends the
// signals a user's clicks would.
class FakeNotificationServer : public QDBusVirtualObject
{
public:
    struct Shown
    {
        QString title;
        QString body;
        QStringList actions;
    };
    static inline const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
    static inline const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

    explicit FakeNotificationServer(QDBusConnection bus)
        : m_bus(std::move(bus))
    {}

    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        const QVariantList arguments = message.arguments();
        if (message.member() == QLatin1String("GetCapabilities")) {
            connection.send(message.createReply(QVariant(capabilities)));
        } else if (message.member() == QLatin1String("Notify") && arguments.size() == 8) {
            shown.push_back(
                {arguments[3].toString(), arguments[4].toString(), arguments[5].toStringList()});
            connection.send(message.createReply(QVariant::fromValue(uint(shown.size()))));
        } else {
            return false;
        }
        return true;
    }
    // The user clicks `key` on the notification numbered `id`.
    void invoke(uint id, const QString &key)
    {
        QDBusMessage signal
            = QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("ActionInvoked"));
        signal << id << key;
        m_bus.send(signal);
    }

    QStringList capabilities{QStringLiteral("actions"), QStringLiteral("body")};
    std::vector<Shown> shown;

private:
    QDBusConnection m_bus;
};

// A private session bus, started once for the suite, with the fake notification server on it
// for each test; `clientBus()` is the connection the planner's side uses.
class NotificationServerFixture : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return;
        s_daemon = new QProcess;
        s_daemon->start(daemon, {QStringLiteral("--session"), QStringLiteral("--print-address"),
                                 QStringLiteral("--nofork")});
        if (s_daemon->waitForReadyRead(5000))
            s_address = QString::fromUtf8(s_daemon->readLine().trimmed());
    }
    static void TearDownTestSuite()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("notification-server"));
        QDBusConnection::disconnectFromBus(QStringLiteral("notification-client"));
        if (s_daemon) {
            s_daemon->kill();
            s_daemon->waitForFinished();
        }
        delete s_daemon;
        s_daemon = nullptr;
    }
    static QDBusConnection clientBus()
    {
        return QDBusConnection::connectToBus(s_address, QStringLiteral("notification-client"));
    }

    void SetUp() override
    {
        if (s_address.isEmpty())
            GTEST_SKIP() << "no dbus-daemon";
        QDBusConnection bus
            = QDBusConnection::connectToBus(s_address, QStringLiteral("notification-server"));
        server = std::make_unique<FakeNotificationServer>(bus);
        ASSERT_TRUE(bus.registerVirtualObject(FakeNotificationServer::kPath, server.get()));
        ASSERT_TRUE(bus.registerService(FakeNotificationServer::kInterface));
    }
    void TearDown() override
    {
        QDBusConnection bus(QStringLiteral("notification-server"));
        bus.unregisterService(FakeNotificationServer::kInterface);
        bus.unregisterObject(FakeNotificationServer::kPath);
        Clock::useSystemTime();
    }

    static inline QProcess *s_daemon = nullptr;
    static inline QString s_address;
    std::unique_ptr<FakeNotificationServer> server;
};

} // namespace furrow::test
