#include "TestSupport.h"

#include "persistence/PlannerSnapshot.h"

#include "model/PlannerNotifications.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace furrow;
using furrow::test::at;
using namespace std::chrono_literals;

namespace {

class PlannerSnapshotTest : public testing::Test
{
protected:
    void SetUp() override { Clock::setNow(at("2025-03-01T09:30:00Z") + 250ms); }
    void TearDown() override { Clock::useSystemTime(); }

    template<class T, class... Args>
    T *add(Args &&...args)
    {
        return context.insert(std::make_shared<T>(std::forward<Args>(args)...));
    }
    TaskItem *addTask(const QString &title, Instant updatedAt, Section *section = nullptr)
    {
        TaskItem *task = add<TaskItem>(title, section, 0, nullptr);
        task->setUpdatedAt(updatedAt);
        return task;
    }
    static PlannerArchive::TaskRecord record(const QUuid &id, const QString &title,
                                             const char *updatedAt)
    {
        return {id, title, {}, 0, {}, {}, false, {}, at("2025-01-01T00:00:00Z"), at(updatedAt),
                {}, {}};
    }
    const TaskItem &lastTask() const { return *context.rows<TaskItem>().back(); }

    ModelContext context;
    PlannerStore store{context};
};

} // namespace

TEST_F(PlannerSnapshotTest, snapshot_copiesTombstonedAndArchivedRowsWithTheirLinks)
{
    Section *gone = add<Section>("Old lane", add<Page>("Work", "house", 0), 0);
    gone->setDeletedAt(at("2025-02-01T00:00:00Z"));
    Project *project = add<Project>("Home", "#2563EB", 0);
    project->setDeletedAt(at("2025-02-02T00:00:00Z"));
    TaskItem *task = addTask("Archived", at("2025-02-03T00:00:00Z"), gone);
    task->setProject(project);
    task->setArchivedAt(at("2025-02-04T00:00:00Z"));
    task->setDeletedAt(at("2025-02-05T00:00:00Z"));
    addTask("Loose", at("2025-02-07T00:00:00Z"));

    const PlannerArchive archive = PlannerSnapshot::snapshot(store);

    EXPECT_EQ(archive.savedAt, Clock::now());
    ASSERT_EQ(archive.projects.size(), 1u);
    EXPECT_EQ(archive.projects[0].deletedAt, project->deletedAt());
    ASSERT_EQ(archive.tasks.size(), 2u);
    EXPECT_EQ(archive.tasks[0].section, QStringLiteral("Old lane"));
    EXPECT_EQ(archive.tasks[0].projectID, project->id());
    EXPECT_EQ(archive.tasks[0].note, QString()); // present although empty
    EXPECT_EQ(archive.tasks[0].deletedAt, task->deletedAt());
    EXPECT_FALSE(archive.tasks[1].section || archive.tasks[1].projectID);
}

TEST_F(PlannerSnapshotTest, restore_ofOwnSnapshotThroughTheFile_changesNothing)
{
    TaskItem *task = addTask("Task", Clock::now() + 123us,
                             add<Section>("Today", add<Page>("Work", "house", 0), 0));
    task->setProject(add<Project>("Home", "#2563EB", 0));
    task->setNote("A note");
    add<DayPlan>(Clock::now(), std::nullopt);
    const PlannerArchive before = PlannerSnapshot::snapshot(store);

    PlannerSnapshot::restore(store, PlannerArchive::decode(before.encode()));

    PlannerArchive after = PlannerSnapshot::snapshot(store);
    after.savedAt = before.savedAt;
    EXPECT_EQ(after, before);
}

TEST_F(PlannerSnapshotTest, restore_appliesOnlyStrictlyLaterRecordsAndResolvesProjects)
{
    Project *same = add<Project>("Same", "#2563EB", 0);
    Project *tombstoned = add<Project>("Gone", "#2563EB", 0);
    tombstoned->setDeletedAt(Clock::now());
    TaskItem *equal = addTask("Equal", Clock::now());
    equal->setProject(same);
    TaskItem *older = addTask("Older", at("2025-02-01T00:00:00Z"));
    older->setProject(same);
    older->setNote("old note");
    older->setArchivedAt(at("2025-02-01T00:00:00Z"));
    const QUuid freshId = QUuid::createUuid();
    PlannerArchive archive;
    archive.projects = {{same->id(), "Renamed", "#DC2626", 5, Clock::now(), {}},
                        {tombstoned->id(), "Back", "#DC2626", 3, Clock::now() + 1s, {}},
                        {freshId, "Fresh", "#15803D", 9, Clock::now(), Clock::now()}};
    auto newer = record(older->id(), "Newer", "2025-02-02T00:00:00Z");
    newer.projectID = QUuid::createUuid(); // known to neither side
    newer.deletedAt = at("2025-02-02T00:00:00Z");
    auto linked = record(QUuid::createUuid(), "Linked", "2025-02-02T00:00:00Z");
    linked.projectID = freshId;
    archive.tasks = {record(equal->id(), "Ignored", "2025-03-01T09:30:00Z"), newer, linked};
    equal->setUpdatedAt(at("2025-03-01T09:30:00Z"));

    PlannerSnapshot::restore(store, archive);

    EXPECT_EQ(same->name(), "Same");
    EXPECT_EQ(tombstoned->name(), "Back");
    EXPECT_FALSE(tombstoned->deletedAt()); // a newer record without the stamp clears it
    EXPECT_EQ(context.rows<Project>().back()->deletedAt(), Clock::now());
    EXPECT_EQ(equal->title(), "Equal");
    EXPECT_EQ(older->title(), "Newer");
    EXPECT_EQ(older->project(), nullptr);
    EXPECT_EQ(older->note(), QString());
    EXPECT_EQ(older->deletedAt(), at("2025-02-02T00:00:00Z"));
    EXPECT_EQ(older->archivedAt(), at("2025-02-01T00:00:00Z")); // never touched
    EXPECT_EQ(lastTask().project()->name(), "Fresh");
    EXPECT_EQ(lastTask().createdAt(), at("2025-01-01T00:00:00Z"));
}

TEST_F(PlannerSnapshotTest, restore_withDuplicateIds_usesLaterRowAndStrictlyLaterRecord)
{
    const QUuid id = QUuid::createUuid();
    TaskItem *first = addTask("First row", at("2025-02-01T00:00:00Z"));
    TaskItem *second = addTask("Second row", at("2025-02-01T00:00:00Z"));
    first->setId(id);
    second->setId(id);
    const QUuid newId = QUuid::createUuid();
    PlannerArchive archive;
    archive.tasks = {record(id, "Merged", "2025-02-02T00:00:00Z"),
                     record(newId, "Created", "2025-02-02T00:00:00Z"),
                     record(newId, "Same time", "2025-02-02T00:00:00Z"),
                     record(newId, "Later", "2025-02-03T00:00:00Z")};

    PlannerSnapshot::restore(store, archive);

    EXPECT_EQ(first->title(), "First row");
    EXPECT_EQ(second->title(), "Merged");
    ASSERT_EQ(context.rows<TaskItem>().size(), 3u);
    EXPECT_EQ(lastTask().title(), "Later");
}

TEST_F(PlannerSnapshotTest, restore_filesNewTasksIntoALiveSectionThatAPageShows)
{
    Page *second = add<Page>("Second", "house", 1);
    Page *first = add<Page>("First", "house", 0);
    add<Page>("Gone", "house", -1)->setDeletedAt(Clock::now());
    add<Section>("Later", context.rows<Page>().back().get(), 0);
    Section *today = add<Section>("Today", first, 0);
    Section *later = add<Section>("Later", second, 0);
    TaskItem *existing = addTask("Existing", at("2025-02-01T00:00:00Z"));
    auto named = record(QUuid::createUuid(), "Named", "2025-02-02T00:00:00Z");
    named.section = QStringLiteral("Later");
    auto unknown = record(QUuid::createUuid(), "Unknown", "2025-02-02T00:00:00Z");
    unknown.section = QStringLiteral("Nowhere");
    auto update = record(existing->id(), "Updated", "2025-02-02T00:00:00Z");
    update.section = QStringLiteral("Today");
    PlannerArchive archive;
    archive.tasks = {named, unknown, update};

    PlannerSnapshot::restore(store, archive);

    EXPECT_EQ(context.rows<TaskItem>()[1]->section(), later);
    EXPECT_EQ(context.rows<TaskItem>()[2]->section(), today);
    EXPECT_EQ(existing->section(), nullptr); // an update keeps the section it had

    ModelContext bare; // no pages at all: the starter page is made to show the tasks
    PlannerStore bareStore(bare);
    QSignalSpy saves(&PlannerNotifications::center(), &PlannerNotifications::plannerDidChange);
    PlannerSnapshot::restore(bareStore, archive);
    EXPECT_EQ(saves.count(), 1) << "the starter page is saved with the merge, not before it";
    for (const auto &task : bare.rows<TaskItem>()) {
        ASSERT_TRUE(task->section());
        EXPECT_EQ(task->section()->page()->name(), "Inbox");
    }
}

TEST_F(PlannerSnapshotTest, restore_days_fillMissingStartsAndAddMissingDays)
{
    DayPlan *started = add<DayPlan>(at("2025-02-27T12:00:00Z"), at("2025-02-27T07:00:00Z"));
    DayPlan *unstarted = add<DayPlan>(at("2025-02-28T12:00:00Z"), std::nullopt);
    PlannerArchive archive;
    archive.days = {{at("2025-02-27T10:00:00Z"), at("2025-02-27T06:00:00Z")},
                    {at("2025-02-28T22:59:59Z"), at("2025-02-28T06:00:00Z")}, // 23:59:59 local
                    {at("2025-03-01T00:00:00Z"), at("2025-03-01T06:00:00Z")},
                    {at("2025-03-01T01:00:00Z"), at("2025-03-01T05:00:00Z")}};

    PlannerSnapshot::restore(store, archive);

    EXPECT_EQ(started->startedAt(), at("2025-02-27T07:00:00Z"));
    EXPECT_EQ(unstarted->startedAt(), at("2025-02-28T06:00:00Z"));
    // Plans the merge creates are not matched again: the last record adds a second plan.
    EXPECT_EQ(context.rows<DayPlan>().size(), 4u);
}
