#include "CaptureFixture.h"
#include "X11Desktop.h"
#include "hotkey/X11GlobalHotKey.h"
#include "shell/capture/QuickCaptureController.h"
#include "shell/capture/QuickCapturePanel.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

namespace furrow {
namespace {

// What the window manager reads off the panel on X11 (run under Xvfb by the shell_x11 test).
class QuickCapturePanelX11Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (QGuiApplication::platformName() != QLatin1String("xcb") || !x11)
            GTEST_SKIP() << "needs the xcb platform";
        connection = x11->connection();
    }

    xcb_atom_t atom(const char *name) const
    {
        const auto cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return result;
    }

    std::vector<quint32> property(const QWidget &window, const char *name, xcb_atom_t type) const
    {
        const auto cookie = xcb_get_property(connection, 0, xcb_window_t(window.winId()),
                                             atom(name), type, 0, 64);
        xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr);
        std::vector<quint32> values;
        if (reply && reply->format == 32) {
            const auto *data = static_cast<const quint32 *>(xcb_get_property_value(reply));
            values.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        std::free(reply);
        return values;
    }

    bool hasState(const QWidget &window, const char *state) const
    {
        const auto states = property(window, "_NET_WM_STATE", XCB_ATOM_ATOM);
        return std::find(states.begin(), states.end(), atom(state)) != states.end();
    }

    xcb_connection_t *connection = nullptr;
};

TEST_F(QuickCapturePanelX11Test, panel_skipsTaskbarAndPager_onEveryShowing)
{
    QuickCapturePanel panel;
    for (int showing = 0; showing < 2; ++showing) {
        panel.show();
        EXPECT_TRUE(hasState(panel, "_NET_WM_STATE_SKIP_TASKBAR"));
        EXPECT_TRUE(hasState(panel, "_NET_WM_STATE_SKIP_PAGER"));
        EXPECT_TRUE(hasState(panel, "_NET_WM_STATE_ABOVE"));
        panel.hide();
    }
}

TEST_F(QuickCapturePanelX11Test, panel_carriesTheKeyPressTimeOfItsStartupId)
{
    QuickCapturePanel panel;
    panel.show(QByteArrayLiteral("furrow-1-host_TIME4242"));
    EXPECT_EQ(property(panel, "_NET_WM_USER_TIME", XCB_ATOM_CARDINAL), std::vector<quint32>{4242});
}

// The panel on a desktop run by a real window manager without a compositor (openbox under
// Xvfb); skipped where openbox is missing.
class QuickCapturePanelX11DesktopTest : public test::CaptureFixture
{
protected:
    void SetUp() override
    {
        if (!X11GlobalHotKey::applicationConnection())
            GTEST_SKIP() << "needs the xcb platform";
        desktop.emplace();
        if (!desktop->isManaged())
            GTEST_SKIP() << "needs openbox";
    }

    static xcb_window_t idOf(const QWidget *window) { return xcb_window_t(window->winId()); }

    std::optional<test::X11Desktop> desktop;
};

TEST_F(QuickCapturePanelX11DesktopTest, withoutCompositor_thePanelIsCutToItsCard)
{
    QuickCaptureController controller(context);
    controller.show();
    QWidget *panel = controller.panel();
    const QRect card = panel->rect().adjusted(12, 12, -12, -12);
    // The margin and the rounded corners are cut away; the middle of the card stays.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panel->mask().isEmpty(); }));
    EXPECT_FALSE(panel->mask().contains(QPoint(2, panel->height() / 2)));
    EXPECT_TRUE(panel->mask().contains(card.center()));

    // A compositor starts and stops while the planner runs.
    desktop->startCompositor();
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel->mask().isEmpty(); }));
    desktop->stopCompositor();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panel->mask().isEmpty(); }));
}

TEST_F(QuickCapturePanelX11DesktopTest, panelIsOnEveryWorkspace)
{
    QuickCaptureController controller(context);
    controller.toggle();
    QWidget *panel = controller.panel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return desktop->isViewable(idOf(panel)); }));
    EXPECT_EQ(desktop->desktopOf(idOf(panel)), test::X11Desktop::kAllDesktops);
    EXPECT_TRUE(desktop->hasState(idOf(panel), "_NET_WM_STATE_STICKY"));
}

} // namespace
} // namespace furrow
