#include "StoreFixture.h"

#include "model/LiveRecords.h"

namespace furrow::test {
namespace {

using std::chrono::hours;

class StoreLookupsTest : public StoreFixture
{
protected:
    static Instant daysAgo(int days) { return Clock::now() - hours(24 * days); }
};

TEST_F(StoreLookupsTest, lookupsById_findOnlyLiveRecords)
{
    Page *page = addPage(QStringLiteral("Work"));
    Page *gonePage = addPage(QStringLiteral("Gone"), 1);
    gonePage->setDeletedAt(Clock::now());
    Section *section = addSection(QStringLiteral("Now"), page);
    Section *goneSection = addSection(QStringLiteral("Old"), page, 1);
    goneSection->setDeletedAt(Clock::now());
    TaskItem *task = addTask(QStringLiteral("t"), section, 0);
    TaskItem *archived = addTask(QStringLiteral("filed"), section, 1);
    archived->setArchivedAt(Clock::now());
    TaskItem *tombstoned = addTask(QStringLiteral("gone"), section, 2);
    tombstoned->setDeletedAt(Clock::now());

    EXPECT_EQ(store.task(task->id()), task);
    EXPECT_EQ(store.task(archived->id()), archived) << "archived tasks can be put back";
    EXPECT_EQ(store.task(tombstoned->id()), nullptr);
    EXPECT_EQ(store.task(QUuid()), nullptr);
    EXPECT_EQ(store.liveSection(section->id()), section);
    EXPECT_EQ(store.liveSection(goneSection->id()), nullptr);
    EXPECT_EQ(store.liveSection(page->id()), nullptr) << "ids of other kinds do not match";
    EXPECT_EQ(store.livePage(page->id()), page);
    EXPECT_EQ(store.livePage(gonePage->id()), nullptr);
}

TEST_F(StoreLookupsTest, pagesAndSections_areLiveAndInOrder_andTheFallbackSkipsEmptyPages)
{
    Page *second = addPage(QStringLiteral("Second"), 5);
    Page *first = addPage(QStringLiteral("First"), -1);
    addPage(QStringLiteral("Deleted"), 0)->setDeletedAt(Clock::now());
    Section *later = addSection(QStringLiteral("Later"), second, 2);
    Section *now = addSection(QStringLiteral("Now"), second, 1);
    addSection(QStringLiteral("Gone"), first, 0)->setDeletedAt(Clock::now());

    EXPECT_EQ(store.pages(), (std::vector<Page *>{first, second}));
    EXPECT_EQ(store.sections(second), (std::vector<Section *>{now, later}));
    EXPECT_TRUE(store.sections(first).empty());
    EXPECT_TRUE(store.sections(nullptr).empty());
    EXPECT_EQ(store.fallbackSection(), now) << "the first page has no live section";

    now->setDeletedAt(Clock::now());
    later->setDeletedAt(Clock::now());
    EXPECT_EQ(store.fallbackSection(), nullptr);
}

TEST_F(StoreLookupsTest, openCounts_countOpenActiveTasksInLiveSectionsOfLivePages)
{
    Page *work = addPage(QStringLiteral("Work"));
    Page *quiet = addPage(QStringLiteral("Quiet"), 1);
    Page *deleted = addPage(QStringLiteral("Deleted"), 2);
    deleted->setDeletedAt(Clock::now());
    Section *a = addSection(QStringLiteral("A"), work);
    Section *b = addSection(QStringLiteral("B"), work, 1);
    Section *goneLane = addSection(QStringLiteral("Gone"), work, 2);
    goneLane->setDeletedAt(Clock::now());
    Section *quietLane = addSection(QStringLiteral("Q"), quiet);
    Section *deletedLane = addSection(QStringLiteral("D"), deleted);

    addTask(QStringLiteral("open a"), a, 0);
    addTask(QStringLiteral("open b"), b, 0);
    addTask(QStringLiteral("in a deleted section"), goneLane, 0);
    addTask(QStringLiteral("on a deleted page"), deletedLane, 0);
    addTask(QStringLiteral("no section"), nullptr, 0);
    TaskItem *done = addTask(QStringLiteral("done"), a, 1);
    done->setDone(true);
    addTask(QStringLiteral("archived"), a, 2)->setArchivedAt(Clock::now());
    addTask(QStringLiteral("tombstoned"), b, 1)->setDeletedAt(Clock::now());
    addTask(QStringLiteral("quiet done"), quietLane, 0)->setDone(true);

    const auto counts = store.openCounts();
    EXPECT_EQ(counts.value(work->id()), 2);
    EXPECT_FALSE(counts.contains(quiet->id())) << "a page whose tasks are all done counts 0";
    EXPECT_FALSE(counts.contains(deleted->id()));
    EXPECT_EQ(counts.size(), 1);
}

TEST_F(StoreLookupsTest, runHousekeeping_tidiesTheStoreAndLeavesNothingUnsaved)
{
    TaskItem *oldTombstone = addTask(QStringLiteral("long gone"), nullptr, 0);
    oldTombstone->setDeletedAt(daysAgo(31));
    TaskItem *oldDropped = addTask(QStringLiteral("dropped"), nullptr, 1);
    oldDropped->setArchivedAt(daysAgo(31));
    TaskItem *oldDone = addTask(QStringLiteral("filed"), nullptr, 2);
    oldDone->setDone(true);
    oldDone->setArchivedAt(daysAgo(400));
    Project *project = addProject(QStringLiteral("Home"));
    project->setColorHex(QStringLiteral("not a colour"));
    ASSERT_TRUE(context.save().ok);
    const int before = saveCount();

    Page *starter = store.runHousekeeping();

    const auto &tasks = context.rows<TaskItem>();
    EXPECT_TRUE(std::none_of(tasks.begin(), tasks.end(),
                             [&](const auto &task) { return task.get() == oldTombstone; }));
    EXPECT_TRUE(oldDropped->deletedAt());
    EXPECT_FALSE(oldDone->deletedAt());
    EXPECT_TRUE(PlannerStore::isHexColor(project->colorHex()));
    ASSERT_NE(starter, nullptr);
    EXPECT_EQ(starter->name(), QStringLiteral("Inbox"));
    EXPECT_EQ(store.sections(starter).size(), 3u);
    EXPECT_NE(store.dayPlan(Clock::now()), nullptr);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_GT(saveCount(), before);

    // With pages in place it makes none and answers the first.
    Page *first = addPage(QStringLiteral("First"), -5);
    EXPECT_EQ(store.runHousekeeping(), first);
    EXPECT_EQ(store.pages().size(), 2u);
}

} // namespace
} // namespace furrow::test
