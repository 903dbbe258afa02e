// The capture panel of the `furrow` program on an X display: opened by `furrow --quick-capture`
// and by the global hotkey, without the planner's window ever coming forward. Needs a display
// and xdotool; skipped without them.

#include "Desk.h"

#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace furrow {
namespace {

using namespace test;

const QString kPanel = QStringLiteral("Quick Capture");
const QString kMainWindow = QStringLiteral("Furrow");

// Waits up to thirty seconds for `condition`: a busy machine may be slow to start a process.
bool eventually(const std::function<bool()> &condition)
{
    return QTest::qWaitFor(condition, 30'000);
}

bool panelShows()
{
    return !visibleWindows(kPanel).isEmpty();
}

// Whether the panel holds the keyboard focus, so that typed keys reach its field.
bool panelHasKeyboard()
{
    QString focused;
    xdotool({"getwindowfocus"}, &focused);
    return visibleWindows(kPanel).contains(focused);
}

// Types into the panel once it has the keyboard, and files the text with Return.
void typeIntoPanel(const QString &text)
{
    ASSERT_TRUE(eventually(panelHasKeyboard)) << "the panel takes the keyboard";
    ASSERT_EQ(xdotool({"type", "--delay", "20", text}), 0);
    ASSERT_EQ(xdotool({"key", "Return"}), 0);
    ASSERT_TRUE(eventually([] { return !panelShows(); })) << "Return files the text and hides";
}

class QuickCaptureProcessTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY") || xdotool({"version"}) != 0)
            GTEST_SKIP() << "needs an X display and xdotool";
    }
};

TEST_F(QuickCaptureProcessTest, withoutARunningPlanner_startsItWithThePanelAlone)
{
    Desk desk;
    desk.startPlanner({"--quick-capture"});
    ASSERT_TRUE(eventually(panelShows));
    typeIntoPanel("Call the plumber");
    EXPECT_FALSE(desk.sectionsByTitle()["Call the plumber"].empty()) << "filed on a page";

    // Later launches hand the toggle to the running planner.
    EXPECT_EQ(desk.run({"--quick-capture"}).exitCode, 0);
    EXPECT_TRUE(eventually(panelShows));
    EXPECT_EQ(desk.run({"--quick-capture"}).exitCode, 0);
    EXPECT_TRUE(eventually([] { return !panelShows(); }));
    EXPECT_TRUE(visibleWindows(kMainWindow).isEmpty()) << "the planner never comes forward";
    desk.stopPlanner();
}

TEST_F(QuickCaptureProcessTest, theHotkey_togglesThePanelOverTheRunningPlanner)
{
    Desk desk;
    desk.startPlanner();
    ASSERT_TRUE(eventually([] { return !visibleWindows(kMainWindow).isEmpty(); }));

    ASSERT_EQ(xdotool({"key", "ctrl+alt+space"}), 0);
    ASSERT_TRUE(eventually(panelShows));
    typeIntoPanel("Buy stamps #errands");
    EXPECT_TRUE(desk.sectionsByTitle().contains("Buy stamps #errands"))
        << "a hash word that names no project stays in the title";

    ASSERT_EQ(xdotool({"key", "ctrl+alt+space"}), 0);
    EXPECT_TRUE(eventually(panelShows));
    ASSERT_EQ(xdotool({"key", "ctrl+alt+space"}), 0);
    EXPECT_TRUE(eventually([] { return !panelShows(); })) << "the hotkey hides it again";
    desk.stopPlanner();
}

} // namespace
} // namespace furrow
