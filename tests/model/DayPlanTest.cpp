#include "StoreFixture.h"

#include "model/Calendar.h"

namespace furrow::test {
namespace {

using std::chrono::hours;

class DayPlanTest : public StoreFixture
{
protected:
    TaskItem *closedAt(Instant when)
    {
        TaskItem *task = addTask(QStringLiteral("closed"), nullptr, 0);
        task->setDone(true);
        task->setDoneAt(when);
        return task;
    }
};

TEST_F(DayPlanTest, stampToday_createsOnePlanAndCountsFromScratch)
{
    for (int i = 0; i < 3; ++i)
        addTask(QStringLiteral("open"), nullptr, i);
    closedAt(localTime(2026, 3, 10, 8));
    closedAt(localTime(2026, 3, 10, 9))->setArchivedAt(Clock::now());
    closedAt(localTime(2026, 3, 9, 23, 59));

    store.stampToday();
    ASSERT_EQ(context.rows<DayPlan>().size(), 1u);
    DayPlan *plan = store.dayPlan(Clock::now());
    EXPECT_EQ(plan->date(), localTime(2026, 3, 10));
    EXPECT_FALSE(plan->startedAt());
    EXPECT_EQ(plan->closedCount(), 1);
    EXPECT_EQ(plan->plannedCount(), 4);
    EXPECT_EQ(store.closedTodayCount(), 1);
    EXPECT_EQ(saveCount(), 0) << "stampToday never saves";

    Clock::advance(hours(2));
    TaskItem *later = addTask(QStringLiteral("later"), nullptr, 9);
    store.close(*later);
    store.reopen(*later);
    EXPECT_EQ(context.rows<DayPlan>().size(), 1u);
    EXPECT_EQ(plan->closedCount(), 1) << "closed and reopened today counts as open";
    EXPECT_EQ(plan->plannedCount(), 5);
    EXPECT_EQ(plan->updatedAt(), Clock::now());
}

TEST_F(DayPlanTest, purgeArchive_tombstonesOnlyOldDroppedTasks)
{
    const auto archivedDaysAgo = [&](int days, bool done) {
        TaskItem *task = addTask(QStringLiteral("t"), nullptr, 0);
        task->setDone(done);
        task->setArchivedAt(*Calendar::addingDays(Clock::now(), -days));
        return task;
    };
    TaskItem *old = archivedDaysAgo(31, false);
    TaskItem *recent = archivedDaysAgo(29, false);
    TaskItem *oldDone = archivedDaysAgo(400, true);

    store.purgeArchive(30);
    EXPECT_EQ(old->deletedAt(), Clock::now());
    EXPECT_EQ(old->updatedAt(), Clock::now());
    EXPECT_FALSE(recent->deletedAt());
    EXPECT_FALSE(oldDone->deletedAt());
    EXPECT_EQ(saveCount(), 1);
    store.purgeArchive(30);
    EXPECT_EQ(saveCount(), 1) << "nothing more to tombstone, nothing saved";
}

TEST_F(DayPlanTest, purges_countCalendarDaysAcrossDaylightSavingChange)
{
    // 30 calendar days before 10:00 on 15 April 2026 (summer time) is 10:00 on 16 March (winter
    // time), only 719 hours earlier: a tombstone 720 hours old is past the cutoff, one stamped at
    // the cutoff itself is not.
    Clock::setNow(localTime(2026, 4, 15, 10));
    Project *atCutoff = addProject(QStringLiteral("at cutoff"));
    atCutoff->setDeletedAt(localTime(2026, 3, 16, 10));
    Project *thirtyTimes24Hours = addProject(QStringLiteral("720 hours"));
    thirtyTimes24Hours->setDeletedAt(Clock::now() - hours(720));
    TaskItem *dropped = addTask(QStringLiteral("dropped"), nullptr, 0);
    dropped->setArchivedAt(Clock::now() - hours(720));

    store.purgeTombstones(30);
    EXPECT_EQ(context.fetchAll<Project>(), (std::vector<Project *>{atCutoff}));
    store.purgeArchive(30);
    EXPECT_TRUE(dropped->deletedAt());
}

TEST_F(DayPlanTest, purgeTombstones_removesRowsAndClearsReferences)
{
    Page *page = addPage(QStringLiteral("P"));
    Section *section = addSection(QStringLiteral("S"), page);
    Project *project = addProject(QStringLiteral("Old"));
    TaskItem *task = addTask(QStringLiteral("keeps"), section, 0, project);
    TaskItem *oldTask = addTask(QStringLiteral("gone"), section, 1, project);
    const Instant longAgo = localTime(2026, 1, 1);
    page->setDeletedAt(longAgo);
    section->setDeletedAt(longAgo);
    project->setDeletedAt(longAgo);
    oldTask->setDeletedAt(longAgo);
    DayPlan *plan = context.insert(std::make_shared<DayPlan>(longAgo, std::nullopt));

    store.purgeTombstones(30);
    EXPECT_EQ(context.fetchAll<TaskItem>(), (std::vector<TaskItem *>{task}));
    EXPECT_EQ(task->project(), nullptr);
    EXPECT_EQ(task->section(), nullptr);
    EXPECT_TRUE(context.rows<Page>().empty());
    EXPECT_EQ(context.fetchAll<DayPlan>(), (std::vector<DayPlan *>{plan}));
    EXPECT_EQ(saveCount(), 1);
}

} // namespace
} // namespace furrow::test
