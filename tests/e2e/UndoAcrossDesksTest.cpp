// Two desks and the sync server as a user has them: desk A a running planner with its window on
// an X display, desk B the `furrow` command. Needs a display and xdotool; skipped without them.

#include "Desk.h"

#include <QTest>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace test;

TEST(UndoAcrossDesksTest, undoOnADeskAfterTheOtherFiledIntoItsSection_keepsTheTaskFiled)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") || xdotool({"version"}) != 0)
        GTEST_SKIP() << "needs an X display and xdotool";
    Server server;
    ASSERT_TRUE(server.url().startsWith("http://"));
    Desk a(server.url()), b(server.url());

    // Desk A starts: its window makes the starter page, whose sections reach the server.
    a.startPlanner();
    QString window;
    ASSERT_EQ(xdotool({"search", "--sync", "--onlyvisible", "--name", "Furrow"}, &window), 0);
    window = window.section('\n', 0, 0);
    a.sync();
    a.sync(); // the first may have been the start-up cycle, from before the window showed

    // Desk B files a task where new tasks go: the first section of A's starter page.
    b.sync();
    ASSERT_EQ(b.run({"add", "Filed on desk B"}).exitCode, 0);
    b.sync();
    a.sync();
    const std::string section = a.sectionsByTitle()["Filed on desk B"];
    ASSERT_FALSE(section.empty());
    ASSERT_EQ(a.run({"add", "Only on desk A"}).exitCode, 0);

    // Ctrl+Z in A's window: first the task only A has, then the step that made the starter page.
    ASSERT_EQ(xdotool({"mousemove", "--window", window, "300", "300"}), 0);
    ASSERT_EQ(xdotool({"windowfocus", "--sync", window}), 0);
    ASSERT_EQ(xdotool({"key", "ctrl+z"}), 0);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !a.sectionsByTitle().contains("Only on desk A"); }, 30'000))
        << "the keys reach the window";
    ASSERT_EQ(xdotool({"key", "ctrl+z"}), 0);
    // This undo must leave the filed task alone, which shows no change to wait for.
    QTest::qWait(500);
    ASSERT_TRUE(a.plannerRunning());

    a.sync();
    b.sync();
    EXPECT_EQ(a.sectionsByTitle()["Filed on desk B"], section);
    EXPECT_EQ(b.sectionsByTitle()["Filed on desk B"], section);
    a.stopPlanner();
    EXPECT_EQ(a.sectionsByTitle()["Filed on desk B"], section) << "after a restart";
}

} // namespace
} // namespace furrow
