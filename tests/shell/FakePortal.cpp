// A stand-in for the desktop portal's GlobalShortcuts interface on a private session bus, for
// the hotkey tests. Beside the portal calls it answers a control interface: Activate() emits
// Activated for the last bound session, LastTrigger() and ClosedCount() report what it saw,
// SetMode("refuse" | "silent" | "") makes binding fail or never answer.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>

#include <cstdio>

struct Shortcut
{
    QString id;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(Shortcut)

QDBusArgument &operator<<(QDBusArgument &argument, const Shortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, Shortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

namespace {

const QString kRoot = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

// The portal's fake object tree: the desktop object, its requests and its sessions.
class FakePortal : public QDBusVirtualObject
{
public:
    QString introspect(const QString &) const override { return {}; }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        QDBusConnection bus(connection);
        const QString member = message.member();
        if (member == QLatin1String("Get") && message.arguments().value(0) == kShortcuts)
            return reply(bus, message, QVariant::fromValue(QDBusVariant(uint(1))));
        if (member == QLatin1String("CreateSession"))
            return createSession(bus, message);
        if (member == QLatin1String("BindShortcuts"))
            return bindShortcuts(bus, message);
        if (member == QLatin1String("Close") && message.path() == m_session) {
            ++m_closed;
            return reply(bus, message, {});
        }
        return control(bus, message);
    }

private:
    static bool reply(QDBusConnection &bus, const QDBusMessage &message, const QVariant &value)
    {
        bus.send(value.isValid() ? message.createReply(value) : message.createReply());
        return true;
    }

    static QString callerPath(const QString &kind, const QDBusMessage &message,
                              const QString &token)
    {
        QString sender = message.service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        return kRoot + QLatin1Char('/') + kind + QLatin1Char('/') + sender + QLatin1Char('/')
               + token;
    }

    void respond(QDBusConnection &bus, const QDBusMessage &message, const QVariantMap &options,
                 uint code, const QVariantMap &results)
    {
        const QString request
            = callerPath(QStringLiteral("request"), message,
                         options.value(QStringLiteral("handle_token")).toString());
        reply(bus, message, QVariant::fromValue(QDBusObjectPath(request)));
        if (m_mode == QLatin1String("silent"))
            return;
        QDBusMessage response = QDBusMessage::createSignal(
            request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        response << code << results;
        bus.send(response);
    }

    bool createSession(QDBusConnection &bus, const QDBusMessage &message)
    {
        const auto options = qdbus_cast<QVariantMap>(message.arguments().value(0));
        const QString session
            = callerPath(QStringLiteral("session"), message,
                         options.value(QStringLiteral("session_handle_token")).toString());
        respond(bus, message, options, 0, {{QStringLiteral("session_handle"), session}});
        return true;
    }

    bool bindShortcuts(QDBusConnection &bus, const QDBusMessage &message)
    {
        const QVariantList arguments = message.arguments();
        m_session = qdbus_cast<QDBusObjectPath>(arguments.value(0)).path();
        const auto shortcuts = qdbus_cast<QList<Shortcut>>(arguments.value(1));
        m_lastTrigger = shortcuts.isEmpty()
                            ? QString()
                            : shortcuts.constFirst()
                                  .properties.value(QStringLiteral("preferred_trigger"))
                                  .toString();
        const auto options = qdbus_cast<QVariantMap>(arguments.value(3));
        const bool refuse = m_mode == QLatin1String("refuse");
        respond(bus, message, options, refuse ? 2 : 0,
                {{QStringLiteral("shortcuts"), QVariant::fromValue(shortcuts)}});
        return true;
    }

    bool control(QDBusConnection &bus, const QDBusMessage &message)
    {
        const QString member = message.member();
        if (member == QLatin1String("SetMode")) {
            m_mode = message.arguments().value(0).toString();
            return reply(bus, message, {});
        }
        if (member == QLatin1String("LastTrigger"))
            return reply(bus, message, m_lastTrigger);
        if (member == QLatin1String("ClosedCount"))
            return reply(bus, message, m_closed);
        if (member == QLatin1String("Activate")) {
            QDBusMessage activated
                = QDBusMessage::createSignal(kRoot, kShortcuts, QStringLiteral("Activated"));
            activated << QVariant::fromValue(QDBusObjectPath(m_session))
                      << QStringLiteral("quick-capture") << qulonglong(1) << QVariantMap();
            bus.send(activated);
            return reply(bus, message, {});
        }
        return false;
    }

    QString m_mode;
    QString m_session = kRoot;
    QString m_lastTrigger;
    int m_closed = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    FakePortal portal;
    if (!bus.registerVirtualObject(kRoot, &portal, QDBusConnection::SubPath)
        || !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
        std::fputs("fake portal: cannot register\n", stderr);
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}
