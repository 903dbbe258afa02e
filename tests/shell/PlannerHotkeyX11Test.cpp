#include "shell/PlannerApplication.h"
#include "shell/hotkey/X11GlobalHotKey.h"

#include "model/PlannerNotifications.h"
#include "persistence/PlannerContainer.h"
#include "views/main/MainWindow.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <cstdlib>

namespace furrow {
namespace {

constexpr quint16 kCtrlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
constexpr xcb_keysym_t kSpace = 0x20;

// The planner's start-up and quit with its global hotkey, on Qt's xcb platform (under Xvfb:
// ctest's shell_hotkey_x11); skipped elsewhere. A second X connection plays another application.
class PlannerHotkeyX11Test : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!X11GlobalHotKey::applicationConnection())
            GTEST_SKIP() << "Qt does not run on X11";
        m_other = xcb_connect(nullptr, nullptr);
        ASSERT_EQ(xcb_connection_has_error(m_other), 0);
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_other)).data->root;
        m_space = keycodeOf(kSpace);
        ASSERT_NE(m_space, 0);
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
        const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(reply);
        xcb_keycode_t found = 0;
        for (int i = 0; i < count * reply->keysyms_per_keycode && !found; ++i) {
            if (keysyms[i] == keysym)
                found = xcb_keycode_t(setup->min_keycode + i / reply->keysyms_per_keycode);
        }
        std::free(reply);
        return found;
    }
    // Whether the other application can grab Ctrl+Alt+Space; it keeps the grab when it can.
    bool otherGrabs() const
    {
        xcb_generic_error_t *error = xcb_request_check(
            m_other, xcb_grab_key_checked(m_other, 0, m_root, kCtrlAlt, m_space,
                                          XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }

    // Starts a planner on a store of its own and answers what it announced about the hotkey.
    QList<QVariant> startPlanner(const std::function<void(PlannerApplication &)> &meanwhile = {})
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("furrow.store"));
        QSignalSpy announced(&PlannerNotifications::center(),
                             &PlannerNotifications::plannerHotkeyChanged);
        PlannerApplication planner(PlannerContainer::open(path), path);
        planner.start(false, {});
        if (meanwhile)
            meanwhile(planner);
        return announced.isEmpty() ? QList<QVariant>() : announced.takeFirst();
    }

    xcb_connection_t *m_other = nullptr;
    xcb_window_t m_root = 0;
    xcb_keycode_t m_space = 0;
};

TEST_F(PlannerHotkeyX11Test, hotkeyTakenByAnotherApp_startUpCompletes_andAnnouncesFalse)
{
    ASSERT_TRUE(otherGrabs());
    bool mainWindowShown = false;
    const auto announced = startPlanner([&](PlannerApplication &planner) {
        mainWindowShown = planner.mainWindow() && planner.mainWindow()->isVisible();
    });
    EXPECT_EQ(announced, QList<QVariant>{false});
    EXPECT_TRUE(mainWindowShown);
}

TEST_F(PlannerHotkeyX11Test, freeHotkey_isAnnouncedAndReleasedAtQuit)
{
    bool heldWhileRunning = false;
    const auto announced = startPlanner([&](PlannerApplication &) {
        heldWhileRunning = !otherGrabs();
        QTimer::singleShot(0, qApp, [] { QCoreApplication::quit(); });
        QApplication::exec();
    });
    EXPECT_EQ(announced, QList<QVariant>{true});
    EXPECT_TRUE(heldWhileRunning);
    EXPECT_TRUE(otherGrabs()) << "quitting releases the grab";
}

} // namespace
} // namespace furrow
