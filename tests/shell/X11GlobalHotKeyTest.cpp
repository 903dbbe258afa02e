#include "hotkey/X11GlobalHotKey.h"
#include "HotkeyTestSupport.h"
#include "OtherX11Client.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace furrow;

namespace {

const HotkeyCombo kCtrlAltSpace{49, HotkeyCombo::kControl | HotkeyCombo::kAlt};
const HotkeyCombo kCtrlAltK{40, HotkeyCombo::kControl | HotkeyCombo::kAlt};
constexpr quint16 kXCtrlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
constexpr quint16 kXNumLock = XCB_MOD_MASK_2;

// Runs on Qt's xcb platform (under Xvfb: ctest's shell_hotkey_x11); skipped elsewhere. A second
// X connection plays the other application that competes for the same keys.
class X11GlobalHotKeyTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_connection = X11GlobalHotKey::applicationConnection();
        if (!m_connection)
            GTEST_SKIP() << "Qt does not run on X11";
        ASSERT_TRUE(m_other.isConnected());
    }

    static void xdotool(const QStringList &arguments)
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        ASSERT_FALSE(program.isEmpty()) << "xdotool is missing";
        ASSERT_EQ(QProcess::execute(program, arguments), 0);
    }

    bool numLockIsOn() const
    {
        auto *reply = xcb_query_pointer_reply(
            m_other.connection, xcb_query_pointer(m_other.connection, m_other.root), nullptr);
        const bool on = reply && (reply->mask & kXNumLock);
        std::free(reply);
        return on;
    }

    xcb_connection_t *m_connection = nullptr;
    test::OtherX11Client m_other;
};

} // namespace

TEST_F(X11GlobalHotKeyTest, pressingTheCombination_runsTheActionOnceOnALaterTurn)
{
    X11GlobalHotKey hotkey(m_connection);
    int presses = 0;
    ASSERT_TRUE(hotkey.registerCombo(kCtrlAltSpace, [&presses] { ++presses; }));
    EXPECT_TRUE(hotkey.isRegistered());

    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+space")});
    EXPECT_TRUE(QTest::qWaitFor([&presses] { return presses > 0; }, 3000));
    QTest::qWait(100);
    EXPECT_EQ(presses, 1);

    // The filter only queues the action; X's auto-repeat pairs (one timestamp) are not presses.
    xcb_key_press_event_t event{};
    event.response_type = XCB_KEY_PRESS;
    event.detail = m_other.keycodeOf(' ');
    event.state = kXCtrlAlt | XCB_MOD_MASK_LOCK;
    event.time = 5000;
    EXPECT_TRUE(hotkey.nativeEventFilter("xcb_generic_event_t", &event, nullptr));
    EXPECT_EQ(presses, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(presses, 2);
    event.response_type = XCB_KEY_RELEASE;
    event.time = 5040;
    EXPECT_TRUE(hotkey.nativeEventFilter("xcb_generic_event_t", &event, nullptr));
    event.response_type = XCB_KEY_PRESS;
    EXPECT_TRUE(hotkey.nativeEventFilter("xcb_generic_event_t", &event, nullptr));
    event.state = XCB_MOD_MASK_CONTROL;
    event.time = 6000;
    EXPECT_FALSE(hotkey.nativeEventFilter("xcb_generic_event_t", &event, nullptr));
    QCoreApplication::processEvents();
    EXPECT_EQ(presses, 2);
}

TEST_F(X11GlobalHotKeyTest, withNumLockOn_theCombinationStillFires)
{
    X11GlobalHotKey hotkey(m_connection);
    int presses = 0;
    ASSERT_TRUE(hotkey.registerCombo(kCtrlAltSpace, [&presses] { ++presses; }));
    xdotool({QStringLiteral("key"), QStringLiteral("Num_Lock")});
    const bool numLock = numLockIsOn();
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+space")});
    EXPECT_TRUE(QTest::qWaitFor([&presses] { return presses == 1; }, 3000));
    xdotool({QStringLiteral("key"), QStringLiteral("Num_Lock")});
    EXPECT_TRUE(numLock);
}

TEST_F(X11GlobalHotKeyTest, combinationHeldByAnotherClient_isTakenAndLeavesNoGrabBehind)
{
    const xcb_keycode_t space = m_other.keycodeOf(' ');
    X11GlobalHotKey hotkey(m_connection);
    ASSERT_TRUE(m_other.grabs(space, kXCtrlAlt));
    EXPECT_FALSE(hotkey.registerCombo(kCtrlAltSpace, [] {}));
    EXPECT_FALSE(hotkey.isRegistered());
    m_other.releases(space, kXCtrlAlt);

    // Only the NumLock variant is held elsewhere: the variants already granted are given back.
    ASSERT_TRUE(m_other.grabs(space, kXCtrlAlt | kXNumLock));
    EXPECT_FALSE(hotkey.registerCombo(kCtrlAltSpace, [] {}));
    EXPECT_TRUE(m_other.grabs(space, kXCtrlAlt));
    EXPECT_TRUE(m_other.grabs(space, kXCtrlAlt | XCB_MOD_MASK_LOCK));
}

TEST_F(X11GlobalHotKeyTest, unregisterAndRegisteringAgain_releaseTheEarlierGrabs)
{
    const xcb_keycode_t space = m_other.keycodeOf(' ');
    const xcb_keycode_t k = m_other.keycodeOf('k');
    X11GlobalHotKey hotkey(m_connection);
    ASSERT_TRUE(hotkey.registerCombo(kCtrlAltSpace, [] {}));
    EXPECT_FALSE(m_other.grabs(space, kXCtrlAlt | XCB_MOD_MASK_LOCK | kXNumLock));

    ASSERT_TRUE(hotkey.registerCombo(kCtrlAltK, [] {}));
    ASSERT_TRUE(hotkey.registerCombo(kCtrlAltK, [] {}));
    EXPECT_TRUE(m_other.grabs(space, kXCtrlAlt));
    EXPECT_TRUE(m_other.grabs(space, kXCtrlAlt | XCB_MOD_MASK_LOCK | kXNumLock));
    EXPECT_FALSE(m_other.grabs(k, kXCtrlAlt));

    hotkey.unregister();
    EXPECT_FALSE(hotkey.isRegistered());
    EXPECT_TRUE(m_other.grabs(k, kXCtrlAlt));
    EXPECT_TRUE(m_other.grabs(k, kXCtrlAlt | kXNumLock));
}

TEST_F(X11GlobalHotKeyTest, x11Session_usesTheKeyGrab)
{
    const furrow::test::ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
    const furrow::test::ScopedEnv type("XDG_SESSION_TYPE", QByteArray("x11"));
    const auto hotkey = GlobalHotKey::create();
    EXPECT_NE(dynamic_cast<X11GlobalHotKey *>(hotkey.get()), nullptr);
    EXPECT_TRUE(hotkey->isSupported());
}

TEST_F(X11GlobalHotKeyTest, shiftWithADigit_grabsTheDigitsKey)
{
    X11GlobalHotKey hotkey(m_connection);
    int presses = 0;
    ASSERT_TRUE(hotkey.registerCombo(HotkeyCombo{18, HotkeyCombo::kControl | HotkeyCombo::kShift},
                                     [&presses] { ++presses; }));
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+1")});
    EXPECT_TRUE(QTest::qWaitFor([&presses] { return presses == 1; }, 3000));
}
