#include "PortalGlobalHotKey.h"

#include "HotkeyPreference.h"
#include "KeyTable.h"

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
const QString kHandleToken = QStringLiteral("handle_token");
// For the calls answered at once (the version, the host registry).
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
    call << QStringLiteral(FURROW_APP_ID) << QVariantMap();
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

// Whether a response's shortcut list holds ours with a trigger: a shortcut listed without one
// was bound to no key, because another holds it. A response without a list (older portals)
// counts as holding it only where `unlisted` says so.
bool holdsShortcut(const QVariantMap &results, bool unlisted)
{
    if (!results.contains(QStringLiteral("shortcuts")))
        return unlisted;
    const QVariant value = results.value(QStringLiteral("shortcuts"));
    if (value.metaType() != QMetaType::fromType<QDBusArgument>())
        return false;
    QList<PortalShortcut> shortcuts;
    value.value<QDBusArgument>() >> shortcuts;
    return std::any_of(shortcuts.cbegin(), shortcuts.cend(), [](const PortalShortcut &shortcut) {
        const QVariant trigger = shortcut.properties.value(QStringLiteral("trigger_description"));
        return shortcut.id == PortalGlobalHotKey::kShortcutId
               && (!trigger.isValid() || !trigger.toString().isEmpty());
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
    unregister();
    setAction(std::move(action));
    m_combo = combo;
    setStatus(HotkeyStatus::Waiting);
    registerHostApplication(m_bus);
    createSession(++m_attempt);
    return false;
}

void PortalGlobalHotKey::unregister()
{
    ++m_attempt;
    if (!m_session.isEmpty()) {
        closeSession(m_bus, m_session);
        m_session.clear();
    }
    setAction({});
    setStatus(HotkeyStatus::Unregistered);
}

void PortalGlobalHotKey::onActivated(const QDBusMessage &message)
{
    const QVariantList arguments = message.arguments();
    if (!isRegistered() || arguments.size() < 2)
        return;
    if (pathText(arguments.at(0)) == m_session && arguments.at(1).toString() == kShortcutId)
        fire();
}

void PortalGlobalHotKey::createSession(int attempt)
{
    const QString token = PortalRequest::nextToken();
    QDBusMessage call = portalCall(kInterface, QStringLiteral("CreateSession"));
    call << QVariantMap{{kHandleToken, token},
                        {QStringLiteral("session_handle_token"), PortalRequest::nextToken()}};
    PortalRequest::send(m_bus, call, token, this, [this, attempt](const auto &answer) {
        const QString session
            = answer.succeeded() ? pathText(answer.results.value(QStringLiteral("session_handle")))
                                 : QString();
        if (attempt != m_attempt) {
            if (!session.isEmpty())
                closeSession(m_bus, session);
            return;
        }
        if (session.isEmpty())
            return fail(HotkeyStatus::Refused);
        m_session = session;
        listShortcuts(attempt);
    });
}

void PortalGlobalHotKey::listShortcuts(int attempt)
{
    const QString token = PortalRequest::nextToken();
    QDBusMessage call = portalCall(kInterface, QStringLiteral("ListShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariantMap{{kHandleToken, token}};
    PortalRequest::send(m_bus, call, token, this, [this, attempt](const auto &answer) {
        if (attempt != m_attempt)
            return;
        // The desktop restored the shortcut it bound in an earlier run: asking again would show
        // its dialog at every start.
        const bool restored = answer.succeeded() && holdsShortcut(answer.results, false)
                              && HotkeyPreference::portalTrigger() == triggerText(m_combo);
        if (restored)
            settle(HotkeyStatus::Registered);
        else
            bindShortcuts(attempt);
    });
}

void PortalGlobalHotKey::bindShortcuts(int attempt)
{
    QVariantMap properties{{QStringLiteral("description"), QStringLiteral("Quick capture")}};
    if (const QString trigger = triggerText(m_combo); !trigger.isEmpty())
        properties.insert(QStringLiteral("preferred_trigger"), trigger);
    const QList<PortalShortcut> shortcuts{{kShortcutId, properties}};
    const QString token = PortalRequest::nextToken();
    QDBusMessage call = portalCall(kInterface, QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariant::fromValue(shortcuts)
         << QString() << QVariantMap{{kHandleToken, token}};
    PortalRequest::send(m_bus, call, token, this,
                        [this, attempt](const auto &answer) { bound(attempt, answer); });
}

void PortalGlobalHotKey::bound(int attempt, const PortalRequest::Answer &answer)
{
    if (attempt != m_attempt)
        return;
    // A cancelled or failed request is the desktop saying no; a success without our shortcut
    // bound to a key means the key is held elsewhere.
    if (!answer.succeeded())
        return fail(HotkeyStatus::Refused);
    if (!holdsShortcut(answer.results, true))
        return fail(HotkeyStatus::Taken);
    HotkeyPreference::setPortalTrigger(triggerText(m_combo));
    settle(HotkeyStatus::Registered);
}

void PortalGlobalHotKey::fail(HotkeyStatus status)
{
    if (!m_session.isEmpty()) {
        closeSession(m_bus, m_session);
        m_session.clear();
    }
    settle(status);
}

} // namespace furrow
