#include "TestSupport.h"

#include "persistence/PlannerSnapshot.h"

#include "model/Calendar.h"

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

    Project *addProject(const QString &name, Instant updatedAt)
    {
        Project *project = context.insert(std::make_shared<Project>(name, "#2563EB", 0));
        project->setUpdatedAt(updatedAt);
        return project;
    }
    TaskItem *addTask(const QString &title, Section *section, Instant updatedAt)
    {
        TaskItem *task = context.insert(std::make_shared<TaskItem>(title, section, 0, nullptr));
        task->setUpdatedAt(updatedAt);
        return task;
    }
    Section *addSection(const QString &name, Page *page, qint64 order)
    {
        return context.insert(std::make_shared<Section>(name, page, order));
    }
    Page *addPage(const QString &name, qint64 order)
    {
        return context.insert(std::make_shared<Page>(name, "house", order));
    }
    static PlannerArchive::TaskRecord taskRecord(const QUuid &id, const QString &title,
                                                 Instant updatedAt)
    {
        PlannerArchive::TaskRecord record;
        record.id = id;
        record.title = title;
        record.createdAt = at("2025-01-01T00:00:00Z");
        record.updatedAt = updatedAt;
        return record;
    }
    void restore(const PlannerArchive &archive) { PlannerSnapshot::restore(store, archive); }

    ModelContext context;
    PlannerStore store{context};
};

} // namespace

TEST_F(PlannerSnapshotTest, snapshot_copiesEveryRowAndFieldTheDocumentHolds)
{
    Page *page = addPage("Work", 0);
    Section *gone = addSection("Old lane", page, 0);
    gone->setDeletedAt(at("2025-02-01T00:00:00Z"));
    Project *project = addProject("Home", at("2025-02-01T00:00:00Z"));
    project->setDeletedAt(at("2025-02-02T00:00:00Z"));
    TaskItem *task = addTask("Archived", gone, at("2025-02-03T00:00:00Z"));
    task->setProject(project);
    task->setArchivedAt(at("2025-02-04T00:00:00Z"));
    task->setDeletedAt(at("2025-02-05T00:00:00Z"));
    task->setDueDate(at("2025-02-06T00:00:00Z"));
    addTask("Loose", nullptr, at("2025-02-07T00:00:00Z"));
    context.insert(
        std::make_shared<DayPlan>(at("2025-03-01T12:00:00Z"), at("2025-03-01T07:00:00Z")));

    const PlannerArchive archive = PlannerSnapshot::snapshot(store);

    EXPECT_EQ(archive.savedAt, Clock::now());
    ASSERT_EQ(archive.projects.size(), 1u);
    EXPECT_EQ(archive.projects[0].deletedAt, project->deletedAt());
    ASSERT_EQ(archive.tasks.size(), 2u);
    const auto &record = archive.tasks[0];
    EXPECT_EQ(record.id, task->id());
    EXPECT_EQ(record.section, QStringLiteral("Old lane")); // a tombstoned section still names it
    EXPECT_EQ(record.projectID, project->id());
    EXPECT_EQ(record.note, QString()); // present although empty
    EXPECT_EQ(record.dueDate, task->dueDate());
    EXPECT_EQ(record.deletedAt, task->deletedAt());
    EXPECT_EQ(record.createdAt, task->createdAt());
    EXPECT_FALSE(archive.tasks[1].section);
    EXPECT_FALSE(archive.tasks[1].projectID);
    ASSERT_EQ(archive.days.size(), 1u);
    EXPECT_EQ(archive.days[0].date, Calendar::startOfDay(at("2025-03-01T12:00:00Z")));
    EXPECT_EQ(archive.days[0].startedAt, at("2025-03-01T07:00:00Z"));
}

TEST_F(PlannerSnapshotTest, restore_ofOwnSnapshotThroughTheFile_changesNothing)
{
    Page *page = addPage("Work", 0);
    Project *project = addProject("Home", Clock::now());
    TaskItem *task = addTask("Task", addSection("Today", page, 0), Clock::now() + 123us);
    task->setProject(project);
    task->setNote("A note");
    context.insert(std::make_shared<DayPlan>(Clock::now(), std::nullopt));
    context.save();
    const PlannerArchive before = PlannerSnapshot::snapshot(store);

    restore(PlannerArchive::decode(before.encode()));

    PlannerArchive after = PlannerSnapshot::snapshot(store);
    after.savedAt = before.savedAt;
    EXPECT_EQ(after, before);
}

TEST_F(PlannerSnapshotTest, restore_projects_onlyStrictlyLaterRecordsOverwrite)
{
    Project *same = addProject("Same", at("2025-02-01T00:00:00Z"));
    Project *tombstoned = addProject("Gone", at("2025-02-01T00:00:00Z"));
    tombstoned->setDeletedAt(at("2025-02-01T00:00:00Z"));
    PlannerArchive archive;
    archive.projects = {
        {same->id(), "Renamed", "#DC2626", 5, at("2025-02-01T00:00:00Z"), std::nullopt},
        {tombstoned->id(), "Back", "#DC2626", 3, at("2025-02-02T00:00:00Z"), std::nullopt},
        {QUuid::createUuid(), "New", "#15803D", 9, at("2025-02-03T00:00:00Z"),
         at("2025-02-04T00:00:00Z")},
    };

    restore(archive);

    EXPECT_EQ(same->name(), "Same");
    EXPECT_EQ(tombstoned->name(), "Back");
    EXPECT_FALSE(tombstoned->deletedAt());
    ASSERT_EQ(context.rows<Project>().size(), 3u);
    const Project &created = *context.rows<Project>().back();
    EXPECT_EQ(created.id(), archive.projects[2].id);
    EXPECT_EQ(created.order(), 9);
    EXPECT_EQ(created.updatedAt(), at("2025-02-03T00:00:00Z"));
    EXPECT_EQ(created.deletedAt(), at("2025-02-04T00:00:00Z"));
}

TEST_F(PlannerSnapshotTest, restore_tasks_applyLaterRecordsAndResolveProjects)
{
    Project *known = addProject("Known", at("2025-02-01T00:00:00Z"));
    TaskItem *equal = addTask("Equal", nullptr, at("2025-02-01T00:00:00Z"));
    equal->setProject(known);
    TaskItem *older = addTask("Older", nullptr, at("2025-02-01T00:00:00Z"));
    older->setProject(known);
    older->setDueDate(at("2025-02-10T00:00:00Z"));
    older->setNote("old note");
    older->setArchivedAt(at("2025-02-01T00:00:00Z"));
    const Instant olderCreated = older->createdAt();

    PlannerArchive archive;
    const QUuid newProject = QUuid::createUuid();
    archive.projects = {{newProject, "Fresh", "#15803D", 0, at("2025-02-01T00:00:00Z"), {}}};
    auto unchanged = taskRecord(equal->id(), "Ignored", at("2025-02-01T00:00:00Z"));
    auto newer = taskRecord(older->id(), "Newer", at("2025-02-02T00:00:00Z"));
    newer.projectID = QUuid::createUuid(); // known to neither side
    newer.deletedAt = at("2025-02-02T00:00:00Z");
    auto linked = taskRecord(QUuid::createUuid(), "Linked", at("2025-02-02T00:00:00Z"));
    linked.projectID = newProject;
    archive.tasks = {unchanged, newer, linked};

    restore(archive);

    EXPECT_EQ(equal->title(), "Equal");
    EXPECT_EQ(equal->project(), known);
    EXPECT_EQ(older->title(), "Newer");
    EXPECT_EQ(older->project(), nullptr);
    EXPECT_EQ(older->note(), QString());
    EXPECT_FALSE(older->dueDate());
    EXPECT_EQ(older->deletedAt(), at("2025-02-02T00:00:00Z"));
    EXPECT_EQ(older->createdAt(), olderCreated);
    EXPECT_EQ(older->archivedAt(), at("2025-02-01T00:00:00Z"));
    ASSERT_EQ(context.rows<TaskItem>().size(), 3u);
    const TaskItem &created = *context.rows<TaskItem>().back();
    EXPECT_EQ(created.project()->name(), "Fresh");
    EXPECT_EQ(created.createdAt(), at("2025-01-01T00:00:00Z"));
    EXPECT_EQ(created.updatedAt(), at("2025-02-02T00:00:00Z"));
}

TEST_F(PlannerSnapshotTest, restore_withDuplicateIds_usesLaterRowAndStrictlyLaterRecord)
{
    const QUuid id = QUuid::createUuid();
    TaskItem *first = addTask("First row", nullptr, at("2025-02-01T00:00:00Z"));
    TaskItem *second = addTask("Second row", nullptr, at("2025-02-01T00:00:00Z"));
    first->setId(id);
    second->setId(id);
    const QUuid newId = QUuid::createUuid();
    PlannerArchive archive;
    archive.tasks = {taskRecord(id, "Merged", at("2025-02-02T00:00:00Z")),
                     taskRecord(newId, "Created", at("2025-02-02T00:00:00Z")),
                     taskRecord(newId, "Same time", at("2025-02-02T00:00:00Z")),
                     taskRecord(newId, "Later", at("2025-02-03T00:00:00Z"))};

    restore(archive);

    EXPECT_EQ(first->title(), "First row");
    EXPECT_EQ(second->title(), "Merged");
    ASSERT_EQ(context.rows<TaskItem>().size(), 3u);
    EXPECT_EQ(context.rows<TaskItem>().back()->title(), "Later");
}

TEST_F(PlannerSnapshotTest, restore_filesNewTasksIntoALiveSectionThatAPageShows)
{
    Page *second = addPage("Second", 1);
    Page *first = addPage("First", 0);
    Page *gonePage = addPage("Gone", -1);
    gonePage->setDeletedAt(at("2025-02-01T00:00:00Z"));
    addSection("Later", gonePage, 0);
    Section *firstOnFirst = addSection("Today", first, 0);
    Section *laterOnSecond = addSection("Later", second, 0);
    addSection("Later", second, 1);
    TaskItem *existing = addTask("Existing", nullptr, at("2025-02-01T00:00:00Z"));

    auto named = taskRecord(QUuid::createUuid(), "Named", at("2025-02-02T00:00:00Z"));
    named.section = QStringLiteral("Later");
    auto unknown = taskRecord(QUuid::createUuid(), "Unknown", at("2025-02-02T00:00:00Z"));
    unknown.section = QStringLiteral("Nowhere");
    auto update = taskRecord(existing->id(), "Updated", at("2025-02-02T00:00:00Z"));
    update.section = QStringLiteral("Today");
    PlannerArchive archive;
    archive.tasks = {named, unknown, update};

    restore(archive);

    const auto &tasks = context.rows<TaskItem>();
    EXPECT_EQ(tasks[1]->section(), laterOnSecond);
    EXPECT_EQ(tasks[2]->section(), firstOnFirst);
    EXPECT_EQ(existing->section(), nullptr); // an update keeps the section it had
}

TEST_F(PlannerSnapshotTest, restore_intoStoreWithoutPages_filesTasksOnTheStarterPage)
{
    PlannerArchive archive;
    archive.tasks = {taskRecord(QUuid::createUuid(), "Recovered", at("2025-02-02T00:00:00Z"))};

    restore(archive);

    const TaskItem &task = *context.rows<TaskItem>().front();
    ASSERT_NE(task.section(), nullptr);
    EXPECT_EQ(task.section()->name(), "Today");
    EXPECT_EQ(task.section()->page()->name(), "Inbox");
    EXPECT_EQ(store.tasks(task.section()).size(), 1u);
}

TEST_F(PlannerSnapshotTest, restore_days_fillMissingStartsAndAddMissingDays)
{
    DayPlan *started = context.insert(
        std::make_shared<DayPlan>(at("2025-02-27T12:00:00Z"), at("2025-02-27T07:00:00Z")));
    DayPlan *unstarted
        = context.insert(std::make_shared<DayPlan>(at("2025-02-28T12:00:00Z"), std::nullopt));
    PlannerArchive archive;
    archive.days = {{at("2025-02-27T10:00:00Z"), at("2025-02-27T06:00:00Z")},
                    {at("2025-02-28T22:59:59Z"), at("2025-02-28T06:00:00Z")},
                    {at("2025-03-01T00:00:00Z"), at("2025-03-01T06:00:00Z")},
                    {at("2025-03-01T01:00:00Z"), at("2025-03-01T05:00:00Z")}};

    restore(archive);

    EXPECT_EQ(started->startedAt(), at("2025-02-27T07:00:00Z"));
    EXPECT_EQ(unstarted->startedAt(), at("2025-02-28T06:00:00Z"));
    // Days created by the merge are not matched again, so the last record adds a second plan.
    ASSERT_EQ(context.rows<DayPlan>().size(), 4u);
    EXPECT_EQ(context.rows<DayPlan>()[2]->startedAt(), at("2025-03-01T06:00:00Z"));
}

TEST_F(PlannerSnapshotTest, restore_ofEmptyDocument_stillSaves)
{
    int saves = 0;
    QObject::connect(&context, &ModelContext::storeSaved, [&] { ++saves; });
    addTask("Pending", nullptr, Clock::now());

    restore(PlannerArchive{});

    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(context.rows<TaskItem>().size(), 1u);
}
