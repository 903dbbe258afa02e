// A stand-in for the desktop portal's GlobalShortcuts interface on a private session bus, for
// the hotkey tests. Like KDE's, it keeps what was bound and lists it to later sessions. Beside
// the portal calls it answers a control interface: Activate() emits Activated for the latest
// session, LastTrigger(), BindCount() and ClosedCount() report what it saw, and
// SetMode("ask" | "refuse" | "taken" | "silent" | "") makes binding wait for Answer(code) as
// if asking the user, fail, bind no key, or never answer (session creation too).
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
        if (member == QLatin1String("ListShortcuts"))
            return listShortcuts(bus, message);
        if (member == QLatin1String("Close") && message.path().startsWith(kRoot + "/session/")) {
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

    // Replies with the request's path and, unless silent or `asking` the user, sends its
    // Response.
    QString respond(QDBusConnection &bus, const QDBusMessage &message, const QVariantMap &options,
                    uint code, const QVariantMap &results, bool asking = false)
    {
        const QString request
            = callerPath(QStringLiteral("request"), message,
                         options.value(QStringLiteral("handle_token")).toString());
        reply(bus, message, QVariant::fromValue(QDBusObjectPath(request)));
        if (m_mode != QLatin1String("silent") && !asking)
            sendResponse(bus, request, code, results);
        return request;
    }

    static void sendResponse(QDBusConnection &bus, const QString &request, uint code,
                             const QVariantMap &results)
    {
        QDBusMessage response = QDBusMessage::createSignal(
            request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        response << code << results;
        bus.send(response);
    }

    static QVariantMap listed(const QList<Shortcut> &shortcuts)
    {
        return {{QStringLiteral("shortcuts"), QVariant::fromValue(shortcuts)}};
    }

    bool createSession(QDBusConnection &bus, const QDBusMessage &message)
    {
        const auto options = qdbus_cast<QVariantMap>(message.arguments().value(0));
        m_session = callerPath(QStringLiteral("session"), message,
                               options.value(QStringLiteral("session_handle_token")).toString());
        respond(bus, message, options, 0, {{QStringLiteral("session_handle"), m_session}});
        return true;
    }

    bool listShortcuts(QDBusConnection &bus, const QDBusMessage &message)
    {
        const auto options = qdbus_cast<QVariantMap>(message.arguments().value(1));
        respond(bus, message, options, 0, listed(m_bound));
        return true;
    }

    bool bindShortcuts(QDBusConnection &bus, const QDBusMessage &message)
    {
        ++m_binds;
        const QVariantList arguments = message.arguments();
        auto shortcuts = qdbus_cast<QList<Shortcut>>(arguments.value(1));
        m_lastTrigger = shortcuts.isEmpty()
                            ? QString()
                            : shortcuts.constFirst()
                                  .properties.value(QStringLiteral("preferred_trigger"))
                                  .toString();
        const bool taken = m_mode == QLatin1String("taken");
        for (Shortcut &shortcut : shortcuts) {
            shortcut.properties.insert(QStringLiteral("trigger_description"),
                                       taken ? QString() : m_lastTrigger);
        }
        const auto options = qdbus_cast<QVariantMap>(arguments.value(3));
        const bool refuse = m_mode == QLatin1String("refuse");
        const bool ask = m_mode == QLatin1String("ask");
        const QString request
            = respond(bus, message, options, refuse ? 2 : 0, listed(shortcuts), ask);
        if (ask)
            m_asked.append({request, shortcuts});
        else if (!refuse && !taken)
            m_bound = shortcuts;
        return true;
    }

    // The user's answers to every dialog still open.
    void answer(QDBusConnection &bus, uint code)
    {
        for (const auto &[request, shortcuts] : std::as_const(m_asked)) {
            sendResponse(bus, request, code, code == 0 ? listed(shortcuts) : QVariantMap());
            if (code == 0)
                m_bound = shortcuts;
        }
        m_asked.clear();
    }

    bool control(QDBusConnection &bus, const QDBusMessage &message)
    {
        const QString member = message.member();
        if (member == QLatin1String("SetMode")) {
            m_mode = message.arguments().value(0).toString();
            return reply(bus, message, {});
        }
        if (member == QLatin1String("Answer")) {
            answer(bus, message.arguments().value(0).toUInt());
            return reply(bus, message, {});
        }
        if (member == QLatin1String("LastTrigger"))
            return reply(bus, message, m_lastTrigger);
        if (member == QLatin1String("BindCount"))
            return reply(bus, message, m_binds);
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
    QList<Shortcut> m_bound;
    QList<std::pair<QString, QList<Shortcut>>> m_asked;
    int m_binds = 0;
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
