// Two fresh desks, each of whose windows made its starter page, synced through the sync server.
// Needs a display and xdotool; skipped without them.

#include "Desk.h"

#include "sqlite/SqliteDatabase.h"

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace test;

TEST(StarterPageAcrossDesksTest, twoFreshDesksWhoseWindowsShowedOnce_holdOneStarterPageAfterSync)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") || xdotool({"version"}) != 0)
        GTEST_SKIP() << "needs an X display and xdotool";
    Server server;
    Desk a(server.url()), b(server.url());
    for (Desk *desk : {&a, &b}) {
        desk->startPlanner();
        ASSERT_EQ(xdotool({"search", "--sync", "--onlyvisible", "--name", "Furrow"}), 0);
        desk->stopPlanner();
    }
    for (Desk *desk : {&a, &b, &a})
        desk->sync();
    for (Desk *desk : {&a, &b}) {
        SqliteDatabase store(desk->storePath());
        EXPECT_EQ(store.queryInteger("SELECT COUNT(*) FROM page WHERE deleted_at IS NULL"), 1);
        EXPECT_EQ(store.queryInteger("SELECT COUNT(*) FROM section WHERE deleted_at IS NULL"), 3);
    }
}

} // namespace
} // namespace furrow
