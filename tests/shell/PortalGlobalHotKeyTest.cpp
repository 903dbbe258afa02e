#include "hotkey/PortalGlobalHotKey.h"
#include "HotkeyTestSupport.h"
#include "hotkey/HotkeyPreference.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace furrow;
using furrow::test::ScopedEnv;

namespace {

const HotkeyCombo kCtrlAltSpace{49, HotkeyCombo::kControl | HotkeyCombo::kAlt};
const HotkeyCombo kCtrlShiftK{40, HotkeyCombo::kControl | HotkeyCombo::kShift};

// A private session bus with no service directories, so nothing on it is started on demand,
// and, per test, the fake portal on that bus.
class PortalGlobalHotKeyTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return;
        s_folder = new QTemporaryDir;
        const QString config = s_folder->filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write("<busconfig><type>session</type><listen>unix:dir=" + s_folder->path().toUtf8()
                   + "</listen><policy context=\"default\"><allow send_destination=\"*\"/>"
                     "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
        file.close();
        s_daemon = new QProcess;
        s_daemon->start(daemon, {QStringLiteral("--config-file=") + config,
                                 QStringLiteral("--print-address"), QStringLiteral("--nofork")});
        if (s_daemon->waitForReadyRead(5000))
            s_address = QString::fromUtf8(s_daemon->readLine().trimmed());
    }

    static void TearDownTestSuite()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("hotkey-test"));
        if (s_daemon) {
            s_daemon->kill();
            s_daemon->waitForFinished();
        }
        delete s_daemon;
        delete s_folder;
        s_daemon = nullptr;
        s_folder = nullptr;
    }

    void SetUp() override
    {
        if (s_address.isEmpty())
            GTEST_SKIP() << "no dbus-daemon";
        HotkeyPreference::setPortalTrigger({});
    }

    void TearDown() override
    {
        m_portal.kill();
        m_portal.waitForFinished();
    }

    static QDBusConnection bus()
    {
        return QDBusConnection::connectToBus(s_address, QStringLiteral("hotkey-test"));
    }

    void startPortal()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), s_address);
        m_portal.setProcessEnvironment(environment);
        m_portal.start(QStringLiteral(FURROW_FAKE_PORTAL), {});
        ASSERT_TRUE(m_portal.waitForReadyRead(5000));
        ASSERT_EQ(m_portal.readLine().trimmed(), "ready");
    }

    static QVariant control(const QString &method, const QVariantList &arguments = {})
    {
        QDBusMessage call
            = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.portal.Desktop"),
                                             QStringLiteral("/org/freedesktop/portal/desktop"),
                                             QStringLiteral("org.furrow.test.FakePortal"), method);
        call.setArguments(arguments);
        return bus().call(call).arguments().value(0);
    }

    static int count(const char *what) { return control(QLatin1String(what)).toInt(); }

    // What the registration came to, once the portal has answered.
    static HotkeyStatus settled(const GlobalHotKey &hotkey)
    {
        return QTest::qWaitFor([&hotkey] { return hotkey.status() != HotkeyStatus::Waiting; }, 3000)
                   ? hotkey.status()
                   : HotkeyStatus::Waiting;
    }

    // Asks the portal for a press and lets its signal arrive; the control call's reply comes
    // after the signal.
    static void press()
    {
        control(QStringLiteral("Activate"));
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    QProcess m_portal;
    static inline QTemporaryDir *s_folder = nullptr;
    static inline QProcess *s_daemon = nullptr;
    static inline QString s_address;
};

} // namespace

TEST_F(PortalGlobalHotKeyTest, desktopThatAsks_isWaitedForWithoutBlocking_andTheLatestAskCounts)
{
    startPortal();
    control(QStringLiteral("SetMode"), {QStringLiteral("ask")});
    PortalGlobalHotKey hotkey(bus());
    std::vector<HotkeyStatus> answers;
    QObject::connect(&hotkey, &GlobalHotKey::statusSettled,
                     [&answers](HotkeyStatus status) { answers.push_back(status); });
    int presses = 0;

    EXPECT_FALSE(hotkey.registerCombo(kCtrlAltSpace, [&presses] { ++presses; }));
    EXPECT_EQ(hotkey.status(), HotkeyStatus::Waiting);
    ASSERT_TRUE(QTest::qWaitFor([] { return count("BindCount") == 1; }, 3000));
    // While the first dialog is open the user records another combination.
    EXPECT_FALSE(hotkey.registerCombo(kCtrlShiftK, [&presses] { ++presses; }));
    ASSERT_TRUE(QTest::qWaitFor([] { return count("BindCount") == 2; }, 3000));
    EXPECT_EQ(hotkey.status(), HotkeyStatus::Waiting);
    EXPECT_TRUE(answers.empty());

    control(QStringLiteral("Answer"), {uint(0)});
    EXPECT_EQ(settled(hotkey), HotkeyStatus::Registered);
    EXPECT_EQ(answers, std::vector<HotkeyStatus>{HotkeyStatus::Registered});
    EXPECT_EQ(HotkeyPreference::portalTrigger(), QStringLiteral("CTRL+SHIFT+k"));
    press();
    EXPECT_TRUE(QTest::qWaitFor([&presses] { return presses == 1; }, 3000));
}

TEST_F(PortalGlobalHotKeyTest, refusalAndTakenKey_areToldApart_andNeitherRunsTheAction)
{
    startPortal();
    PortalGlobalHotKey hotkey(bus());
    int presses = 0;
    const struct
    {
        const char *mode;
        HotkeyStatus status;
    } cases[] = {
        {"ask", HotkeyStatus::Refused}, // the user cancels the dialog
        {"refuse", HotkeyStatus::Refused},
        {"taken", HotkeyStatus::Taken},
    };
    for (const auto &[mode, status] : cases) {
        SCOPED_TRACE(mode);
        control(QStringLiteral("SetMode"), {QLatin1String(mode)});
        const int binds = count("BindCount");
        hotkey.registerCombo(kCtrlAltSpace, [&presses] { ++presses; });
        ASSERT_TRUE(QTest::qWaitFor([binds] { return count("BindCount") == binds + 1; }, 3000));
        control(QStringLiteral("Answer"), {uint(1)});
        EXPECT_EQ(settled(hotkey), status);
        EXPECT_FALSE(hotkey.isRegistered());
        press();
    }
    EXPECT_EQ(presses, 0);
    EXPECT_TRUE(HotkeyPreference::portalTrigger().isEmpty());
}

TEST_F(PortalGlobalHotKeyTest, restart_takesOverTheBindingTheDesktopKept_withoutAskingAgain)
{
    startPortal();
    {
        PortalGlobalHotKey before(bus());
        before.registerCombo(kCtrlShiftK, [] {});
        ASSERT_EQ(settled(before), HotkeyStatus::Registered);
    }
    // Asking again would leave the registration waiting for an answer that never comes.
    control(QStringLiteral("SetMode"), {QStringLiteral("ask")});
    PortalGlobalHotKey hotkey(bus());
    int presses = 0;
    hotkey.registerCombo(kCtrlShiftK, [&presses] { ++presses; });
    EXPECT_EQ(settled(hotkey), HotkeyStatus::Registered);
    EXPECT_EQ(count("BindCount"), 1);
    press();
    EXPECT_TRUE(QTest::qWaitFor([&presses] { return presses == 1; }, 3000));

    // Another combination is the user's to confirm.
    hotkey.registerCombo(kCtrlAltSpace, [] {});
    EXPECT_TRUE(QTest::qWaitFor([] { return count("BindCount") == 2; }, 3000));
    EXPECT_EQ(hotkey.status(), HotkeyStatus::Waiting);
}

TEST_F(PortalGlobalHotKeyTest,
       boundShortcut_runsTheAction_andRegisteringAgainOrUnregisteringCloseTheSessions)
{
    startPortal();
    ASSERT_TRUE(PortalGlobalHotKey::isOffered(bus()));
    PortalGlobalHotKey hotkey(bus());
    int presses = 0;
    hotkey.registerCombo(kCtrlAltSpace, [] {});
    ASSERT_EQ(settled(hotkey), HotkeyStatus::Registered);
    EXPECT_EQ(control(QStringLiteral("LastTrigger")).toString(), QStringLiteral("CTRL+ALT+space"));
    hotkey.registerCombo(kCtrlShiftK, [&presses] { ++presses; });
    ASSERT_EQ(settled(hotkey), HotkeyStatus::Registered);
    EXPECT_EQ(count("ClosedCount"), 1);
    EXPECT_EQ(control(QStringLiteral("LastTrigger")).toString(), QStringLiteral("CTRL+SHIFT+k"));

    press();
    EXPECT_TRUE(QTest::qWaitFor([&presses] { return presses == 1; }, 3000));

    hotkey.unregister();
    EXPECT_FALSE(hotkey.isRegistered());
    EXPECT_TRUE(QTest::qWaitFor([] { return count("ClosedCount") == 2; }, 3000));
    press();
    EXPECT_EQ(presses, 1);
}

TEST_F(PortalGlobalHotKeyTest, waylandSession_usesThePortalWhenOffered)
{
    startPortal();
    const ScopedEnv wayland("WAYLAND_DISPLAY", QByteArray("wayland-0"));
    const auto hotkey = GlobalHotKey::create(bus());
    EXPECT_TRUE(hotkey->isSupported());
    EXPECT_NE(dynamic_cast<PortalGlobalHotKey *>(hotkey.get()), nullptr);
}

// Also run under Xvfb on the xcb platform: an X11 grab there would seem to work under XWayland.
TEST_F(PortalGlobalHotKeyTest, waylandSessionWithoutPortal_isNotSupportedWhateverTheQtPlatform)
{
    EXPECT_FALSE(PortalGlobalHotKey::isOffered(bus()));
    for (const auto &[display, session] :
         {std::pair<const char *, const char *>{"wayland-0", "x11"}, {nullptr, "wayland"}}) {
        SCOPED_TRACE(session);
        const ScopedEnv wayland("WAYLAND_DISPLAY",
                                display ? std::optional<QByteArray>(display) : std::nullopt);
        const ScopedEnv type("XDG_SESSION_TYPE", QByteArray(session));
        const auto hotkey = GlobalHotKey::create(bus());
        EXPECT_FALSE(hotkey->isSupported());
        EXPECT_FALSE(hotkey->registerCombo(kCtrlAltSpace, [] {}));
        EXPECT_FALSE(hotkey->isRegistered());
    }
}
