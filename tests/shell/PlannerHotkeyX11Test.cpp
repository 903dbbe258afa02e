#include "OtherX11Client.h"
#include "hotkey/HotkeyPreference.h"
#include "hotkey/X11GlobalHotKey.h"
#include "shell/PlannerApplication.h"
#include "shell/capture/QuickCaptureController.h"

#include "hotkey/HotkeyState.h"
#include "persistence/PlannerContainer.h"
#include "views/main/MainWindow.h"
#include "views/settings/SettingsWindow.h"

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

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
        ASSERT_TRUE(m_other.isConnected());
        m_space = m_other.keycodeOf(kSpace);
        ASSERT_NE(m_space, 0);
    }

    // Whether the other application can grab Ctrl+Alt+Space; it keeps the grab when it can.
    bool otherGrabs() const { return m_other.grabs(m_space, kCtrlAlt); }

    // Starts a planner on a store of its own and answers what it recorded about the hotkey.
    HotkeyStatus startPlanner(const std::function<void(PlannerApplication &)> &meanwhile = {})
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("furrow.store"));
        HotkeyState::setStatus(HotkeyStatus::Unregistered);
        PlannerApplication planner(PlannerContainer::open(path), path);
        planner.start(false, {});
        const HotkeyStatus recorded = HotkeyState::status();
        if (meanwhile)
            meanwhile(planner);
        return recorded;
    }

    test::OtherX11Client m_other;
    xcb_keycode_t m_space = 0;
};

TEST_F(PlannerHotkeyX11Test, hotkeyTakenByAnotherApp_startUpCompletes_andAnnouncesFalse)
{
    ASSERT_TRUE(otherGrabs());
    bool mainWindowShown = false;
    const auto announced = startPlanner([&](PlannerApplication &planner) {
        mainWindowShown = planner.mainWindow() && planner.mainWindow()->isVisible();
    });
    EXPECT_EQ(announced, HotkeyStatus::Taken);
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
    EXPECT_EQ(announced, HotkeyStatus::Registered);
    EXPECT_TRUE(heldWhileRunning);
    EXPECT_TRUE(otherGrabs()) << "quitting releases the grab";
}

TEST_F(PlannerHotkeyX11Test, aCombinationRecordedInTheSettings_opensTheCapturePanelFromAnywhere)
{
    const auto restore
        = qScopeGuard([stored = HotkeyPreference::combo()] { HotkeyPreference::setCombo(stored); });
    bool panelShown = false;
    startPlanner([&](PlannerApplication &planner) {
        planner.showSettings(SettingsTab::Shortcut);
        auto *button = planner.settingsWindow()->findChild<QPushButton *>("hotkeyButton");
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::keyClick(button, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
        ASSERT_EQ(QProcess::execute("xdotool", {"key", "ctrl+alt+k"}), 0);
        panelShown = QTest::qWaitFor([&] { return planner.quickCapture()->isShown(); }, 3000);
    });
    EXPECT_TRUE(panelShown);
}

} // namespace
} // namespace furrow
