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

} // namespace
} // namespace furrow
