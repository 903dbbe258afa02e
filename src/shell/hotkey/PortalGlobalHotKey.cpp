#include "PortalGlobalHotKey.h"

#include "KeyTable.h"
#include "PortalRequest.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QSet>
#include <QStringList>

#include <algorithm>

namespace furrow {

// One entry of the portal's shortcut list, a(sa{sv}).
struct PortalShortcut
{
    QString id;
    QVariantMap properties;
};

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace furrow

Q_DECLARE_METATYPE(furrow::PortalShortcut)

namespace furrow {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
constexpr int kTimeoutMs = 2000;

QDBusMessage portalCall(const QString &interface, const QString &method)
{
    return QDBusMessage::createMethodCall(kService, kPath, interface, method);
}

// An unsandboxed application tells the portal its application id before its first portal call,
// where the portal has the host registry. Older portals lack it; any error is of no consequence.
void registerHostApplication(QDBusConnection bus)
{
    static QSet<QString> done;
    if (done.contains(bus.name()))
        return;
    done.insert(bus.name());
    QDBusMessage call = portalCall(QStringLiteral("org.freedesktop.host.portal.Registry"),
                                   QStringLiteral("Register"));
    call << QStringLiteral("furrow") << QVariantMap();
    bus.call(call, QDBus::Block, kTimeoutMs);
}

void closeSession(QDBusConnection bus, const QString &session)
{
    bus.asyncCall(QDBusMessage::createMethodCall(kService, session,
                                                 QStringLiteral("org.freedesktop.portal.Session"),
                                                 QStringLiteral("Close")));
}

QString pathText(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

// A response may list the shortcuts the portal bound; when it does, ours must be among them.
bool listsShortcut(const QVariantMap &results)
{
    if (!results.contains(QStringLiteral("shortcuts")))
        return true;
    const QVariant value = results.value(QStringLiteral("shortcuts"));
    if (value.metaType() != QMetaType::fromType<QDBusArgument>())
        return false;
    QList<PortalShortcut> shortcuts;
    value.value<QDBusArgument>() >> shortcuts;
    return std::any_of(shortcuts.cbegin(), shortcuts.cend(), [](const PortalShortcut &shortcut) {
        return shortcut.id == PortalGlobalHotKey::kShortcutId;
    });
}

} // namespace

PortalGlobalHotKey::PortalGlobalHotKey(const QDBusConnection &bus, QObject *parent)
    : GlobalHotKey(parent)
    , m_bus(bus)
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("Activated"), this,
                  SLOT(onActivated(QDBusMessage)));
}

PortalGlobalHotKey::~PortalGlobalHotKey()
{
    unregister();
    m_bus.disconnect(kService, kPath, kInterface, QStringLiteral("Activated"), this,
                     SLOT(onActivated(QDBusMessage)));
}

bool PortalGlobalHotKey::isOffered(const QDBusConnection &bus)
{
    if (!bus.isConnected())
        return false;
    registerHostApplication(bus);
    QDBusMessage call
        = portalCall(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << kInterface << QStringLiteral("version");
    const QDBusMessage reply = QDBusConnection(bus).call(call, QDBus::Block, kTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toUInt() >= 1;
}

QString PortalGlobalHotKey::triggerText(const HotkeyCombo &combo)
{
    const QString key = KeyTable::keysymName(combo.keyCode);
    if (key.isEmpty())
        return {};
    QStringList parts;
    if (combo.modifiers & HotkeyCombo::kControl)
        parts.append(QStringLiteral("CTRL"));
    if (combo.modifiers & HotkeyCombo::kAlt)
        parts.append(QStringLiteral("ALT"));
    if (combo.modifiers & HotkeyCombo::kShift)
        parts.append(QStringLiteral("SHIFT"));
    if (combo.modifiers & HotkeyCombo::kSuper)
        parts.append(QStringLiteral("LOGO"));
    parts.append(key);
    return parts.join(QLatin1Char('+'));
}

bool PortalGlobalHotKey::registerCombo(const HotkeyCombo &combo, std::function<void()> action)
{
    // The local event loop below could let a second registration start inside the first.
    if (m_busy)
        return false;
    m_busy = true;
    unregister();
    setAction(std::move(action));
    const QDeadlineTimer deadline(kTimeoutMs);
    registerHostApplication(m_bus);
    const QString session = createSession(deadline);
    const bool bound = !session.isEmpty() && bindShortcut(session, combo, deadline);
    if (bound)
        m_session = session;
    else if (!session.isEmpty())
        closeSession(m_bus, session);
    setRegistered(bound);
    m_busy = false;
    return bound;
}

void PortalGlobalHotKey::unregister()
{
    if (!m_session.isEmpty()) {
        closeSession(m_bus, m_session);
        m_session.clear();
    }
    setAction({});
    setRegistered(false);
}

void PortalGlobalHotKey::onActivated(const QDBusMessage &message)
{
    const QVariantList arguments = message.arguments();
    if (m_session.isEmpty() || arguments.size() < 2)
        return;
    if (pathText(arguments.at(0)) == m_session && arguments.at(1).toString() == kShortcutId)
        fire();
}

QString PortalGlobalHotKey::createSession(const QDeadlineTimer &deadline)
{
    const QString token = PortalRequest::nextToken();
    QDBusMessage call = portalCall(kInterface, QStringLiteral("CreateSession"));
    call << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("session_handle_token"), PortalRequest::nextToken()}};
    const std::optional<QVariantMap> results = PortalRequest::run(m_bus, call, token, deadline);
    return results ? pathText(results->value(QStringLiteral("session_handle"))) : QString();
}

bool PortalGlobalHotKey::bindShortcut(const QString &session, const HotkeyCombo &combo,
                                      const QDeadlineTimer &deadline)
{
    QVariantMap properties{{QStringLiteral("description"), QStringLiteral("Quick capture")}};
    if (const QString trigger = triggerText(combo); !trigger.isEmpty())
        properties.insert(QStringLiteral("preferred_trigger"), trigger);
    const QList<PortalShortcut> shortcuts{{kShortcutId, properties}};
    const QString token = PortalRequest::nextToken();
    QDBusMessage call = portalCall(kInterface, QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(session)) << QVariant::fromValue(shortcuts)
         << QString() << QVariantMap{{QStringLiteral("handle_token"), token}};
    const std::optional<QVariantMap> results = PortalRequest::run(m_bus, call, token, deadline);
    return results && listsShortcut(*results);
}

} // namespace furrow
