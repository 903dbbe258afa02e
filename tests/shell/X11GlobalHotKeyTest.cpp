#include "shell/hotkey/X11GlobalHotKey.h"
#include "HotkeyTestSupport.h"

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
        m_other = xcb_connect(nullptr, nullptr);
        ASSERT_EQ(xcb_connection_has_error(m_other), 0);
        m_otherRoot = xcb_setup_roots_iterator(xcb_get_setup(m_other)).data->root;
    }

    void TearDown() override
    {
        if (m_other)
            xcb_disconnect(m_other);
    }

    xcb_keycode_t keycodeOf(xcb_keysym_t keysym) const
    {
        const xcb_setup_t *setup = xcb_get_setup(m_other);
        const auto count = quint8(setup->max_keycode - setup->min_keycode + 1);
        auto *reply = xcb_get_keyboard_mapping_reply(
            m_other, xcb_get_keyboard_mapping(m_other, setup->min_keycode, count), nullptr);
        xcb_keycode_t found = 0;
        const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(reply);
        const int per = reply->keysyms_per_keycode;
        for (int i = 0; i < count * per && found == 0; ++i) {
            if (keysyms[i] == keysym)
                found = xcb_keycode_t(setup->min_keycode + i / per);
        }
        std::free(reply);
        return found;
    }

    // Whether the other client can grab the key; it holds the grab when it can.
    bool otherGrabs(xcb_keycode_t keycode, quint16 modifiers) const
    {
        xcb_generic_error_t *error = xcb_request_check(
            m_other, xcb_grab_key_checked(m_other, 0, m_otherRoot, modifiers, keycode,
                                          XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }

    void otherReleases(xcb_keycode_t keycode, quint16 modifiers) const
    {
        xcb_ungrab_key(m_other, keycode, m_otherRoot, modifiers);
        xcb_flush(m_other);
    }

    static void xdotool(const QStringList &arguments)
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        ASSERT_FALSE(program.isEmpty()) << "xdotool is missing";
        ASSERT_EQ(QProcess::execute(program, arguments), 0);
    }

    bool numLockIsOn() const
    {
        auto *reply
            = xcb_query_pointer_reply(m_other, xcb_query_pointer(m_other, m_otherRoot), nullptr);
        const bool on = reply && (reply->mask & kXNumLock);
        std::free(reply);
        return on;
    }

    xcb_connection_t *m_connection = nullptr;
    xcb_connection_t *m_other = nullptr;
    xcb_window_t m_otherRoot = XCB_NONE;
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
    event.detail = keycodeOf(' ');
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
    const xcb_keycode_t space = keycodeOf(' ');
    X11GlobalHotKey hotkey(m_connection);
    ASSERT_TRUE(otherGrabs(space, kXCtrlAlt));
    EXPECT_FALSE(hotkey.registerCombo(kCtrlAltSpace, [] {}));
    EXPECT_FALSE(hotkey.isRegistered());
    otherReleases(space, kXCtrlAlt);

    // Only the NumLock variant is held elsewhere: the variants already granted are given back.
    ASSERT_TRUE(otherGrabs(space, kXCtrlAlt | kXNumLock));
    EXPECT_FALSE(hotkey.registerCombo(kCtrlAltSpace, [] {}));
    EXPECT_TRUE(otherGrabs(space, kXCtrlAlt));
    EXPECT_TRUE(otherGrabs(space, kXCtrlAlt | XCB_MOD_MASK_LOCK));
}

TEST_F(X11GlobalHotKeyTest, unregisterAndRegisteringAgain_releaseTheEarlierGrabs)
{
    const xcb_keycode_t space = keycodeOf(' ');
    const xcb_keycode_t k = keycodeOf('k');
    X11GlobalHotKey hotkey(m_connection);
    ASSERT_TRUE(hotkey.registerCombo(kCtrlAltSpace, [] {}));
    EXPECT_FALSE(otherGrabs(space, kXCtrlAlt | XCB_MOD_MASK_LOCK | kXNumLock));

    ASSERT_TRUE(hotkey.registerCombo(kCtrlAltK, [] {}));
    ASSERT_TRUE(hotkey.registerCombo(kCtrlAltK, [] {}));
    EXPECT_TRUE(otherGrabs(space, kXCtrlAlt));
    EXPECT_TRUE(otherGrabs(space, kXCtrlAlt | XCB_MOD_MASK_LOCK | kXNumLock));
    EXPECT_FALSE(otherGrabs(k, kXCtrlAlt));

    hotkey.unregister();
    EXPECT_FALSE(hotkey.isRegistered());
    EXPECT_TRUE(otherGrabs(k, kXCtrlAlt));
    EXPECT_TRUE(otherGrabs(k, kXCtrlAlt | kXNumLock));
}

TEST_F(X11GlobalHotKeyTest, x11Session_usesTheKeyGrab)
{
    const furrow::test::ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
    const furrow::test::ScopedEnv type("XDG_SESSION_TYPE", QByteArray("x11"));
    const auto hotkey = GlobalHotKey::create();
    EXPECT_NE(dynamic_cast<X11GlobalHotKey *>(hotkey.get()), nullptr);
    EXPECT_TRUE(hotkey->isSupported());
}
