#include "TestSupport.h"

#include "persistence/PlannerArchiveIO.h"
#include "persistence/PlannerSnapshot.h"

#include "model/PlannerNotifications.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <limits>

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
    TaskItem *addTask(const QString &title, const char *updatedAt, Section *section = nullptr)
    {
        TaskItem *task = add<TaskItem>(title, section, 0, nullptr);
        task->setUpdatedAt(at(updatedAt));
        return task;
    }
    static PlannerArchive::TaskRecord record(const QUuid &id, const QString &title,
                                             const char *updatedAt,
                                             std::optional<QString> section = {})
    {
        return {
            id, title, section, 0,  {},    {}, false, {}, at("2025-01-01T00:00:00Z"), at(updatedAt),
            {}, {},    {},      {}, false, {}};
    }
    const TaskItem &task(size_t row) const { return *context.rows<TaskItem>().at(row); }

    QTemporaryDir dir;
    ModelContext context;
    PlannerStore store{context};
};

} // namespace

TEST_F(PlannerSnapshotTest,
       snapshot_copiesEveryRow_andExportThenImportChangesNothing_norDoesAnUnreadableImport)
{
    Section *gone = add<Section>("Old lane", add<Page>("Work", "house", 0), 0);
    gone->setDeletedAt(at("2025-02-01T00:00:00Z"));
    Project *project = add<Project>("Home", "#2563EB", 0);
    project->setDeletedAt(at("2025-02-02T00:00:00Z"));
    TaskItem *archived = addTask("Archived", "2025-02-03T00:00:00Z", gone);
    archived->setProject(project);
    archived->setArchivedAt(at("2025-02-04T00:00:00Z"));
    archived->setDeletedAt(at("2025-02-05T00:00:00Z"));
    add<TaskItem>("Loose", nullptr, 0, nullptr)->setNote("A note"); // stamped at .250 s
    add<DayPlan>(Clock::now(), std::nullopt);

    const PlannerArchive archive = PlannerSnapshot::snapshot(store);

    EXPECT_EQ(archive.savedAt, Clock::now());
    ASSERT_EQ(archive.projects.size(), 1u);
    EXPECT_EQ(archive.projects[0].deletedAt, project->deletedAt());
    ASSERT_EQ(archive.tasks.size(), 2u);
    EXPECT_EQ(archive.tasks[0].section, QStringLiteral("Old lane"));
    EXPECT_EQ(archive.tasks[0].projectID, project->id());
    EXPECT_EQ(archive.tasks[0].note, QString()); // present although empty
    EXPECT_EQ(archive.tasks[0].deletedAt, archived->deletedAt());
    EXPECT_FALSE(archive.tasks[1].section || archive.tasks[1].projectID);
    EXPECT_EQ(archive.days.size(), 1u);

    const QString path = dir.path() + "/new folder/planner.json";
    EXPECT_TRUE(PlannerArchiveIO::exportTo(store, path).succeeded);
    EXPECT_TRUE(PlannerArchiveIO::importFrom(store, path).succeeded);
    EXPECT_EQ(PlannerSnapshot::snapshot(store), archive);

    // A document without "days" is unreadable as a whole: nothing of it arrives.
    test::writeFile(path, R"({"version": 1, "savedAt": "2025-03-01T09:30:00Z", "tasks": [],
        "projects": [{"id": "6F1C2A9E-3B7D-4E21-9A55-0C8D7E6F5A41", "name": "New",
        "colorHex": "#2563EB", "order": 0, "updatedAt": "2025-03-01T09:30:00Z"}]})");
    EXPECT_TRUE(PlannerArchiveIO::importFrom(store, path)
                    .alertText.startsWith("Не удалось прочитать файл: "));
    EXPECT_EQ(PlannerSnapshot::snapshot(store), archive);
}

TEST_F(PlannerSnapshotTest,
       restore_appliesOnlyStrictlyLaterRecords_toTheLaterRowOfAnId_andResolvesProjects)
{
    Project *same = add<Project>("Same", "#2563EB", 0);
    Project *tombstoned = add<Project>("Gone", "#2563EB", 0);
    tombstoned->setDeletedAt(Clock::now());
    TaskItem *equal = addTask("Equal", "2025-03-01T09:30:00Z");
    equal->setProject(same);
    TaskItem *older = addTask("Older", "2025-02-01T00:00:00Z");
    older->setProject(same);
    older->setNote("old note");
    older->setArchivedAt(at("2025-02-01T00:00:00Z"));
    const QUuid twinId = QUuid::createUuid(), newId = QUuid::createUuid();
    addTask("First twin", "2025-02-01T00:00:00Z")->setId(twinId);
    addTask("Second twin", "2025-02-01T00:00:00Z")->setId(twinId);
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
    archive.tasks = {record(equal->id(), "Ignored", "2025-03-01T09:30:00Z"),
                     newer,
                     linked,
                     record(twinId, "Merged", "2025-02-02T00:00:00Z"),
                     record(newId, "Created", "2025-02-02T00:00:00Z"),
                     record(newId, "Same time", "2025-02-02T00:00:00Z"),
                     record(newId, "Later", "2025-02-03T00:00:00Z")};

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
    EXPECT_EQ(task(2).title(), "First twin");
    EXPECT_EQ(task(3).title(), "Merged") << "of two rows with one id, the later one is merged";
    ASSERT_EQ(context.rows<TaskItem>().size(), 6u);
    EXPECT_EQ(task(4).project()->name(), "Fresh");
    EXPECT_EQ(task(4).createdAt(), at("2025-01-01T00:00:00Z"));
    EXPECT_EQ(task(5).title(), "Later") << "a record for a task the merge created";
}

TEST_F(PlannerSnapshotTest, restore_filesNewTasksIntoALiveSectionThatAPageShows)
{
    Page *second = add<Page>("Second", "house", 1);
    Page *first = add<Page>("First", "house", 0);
    add<Page>("Gone", "house", -1)->setDeletedAt(Clock::now());
    add<Section>("Later", context.rows<Page>().back().get(), 0);
    Section *today = add<Section>("Today", first, 0);
    Section *later = add<Section>("Later", second, 0);
    TaskItem *existing = addTask("Existing", "2025-02-01T00:00:00Z");
    PlannerArchive archive;
    archive.tasks = {record(QUuid::createUuid(), "Named", "2025-02-02T00:00:00Z", "Later"),
                     record(QUuid::createUuid(), "Unknown", "2025-02-02T00:00:00Z", "Nowhere"),
                     record(existing->id(), "Updated", "2025-02-02T00:00:00Z", "Today")};

    PlannerSnapshot::restore(store, archive);

    EXPECT_EQ(task(1).section(), later);
    EXPECT_EQ(task(2).section(), today);
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

TEST_F(PlannerSnapshotTest, importOfTheLargestOrderKey_leavesALaterCaptureLast)
{
    Section *today = add<Section>("Today", add<Page>("Inbox", "tray", 0), 0);
    PlannerArchive archive;
    archive.tasks = {record(QUuid::createUuid(), "Imported", "2025-02-02T00:00:00Z", "Today")};
    archive.tasks[0].order = std::numeric_limits<qint64>::max();
    const QString path = dir.filePath("extreme.json");
    test::writeFile(path, archive.encode());
    ASSERT_TRUE(PlannerArchiveIO::importFrom(store, path).succeeded);

    store.capture("Added", today, nullptr);

    const std::vector<TaskItem *> open = store.tasks(today);
    ASSERT_EQ(open.size(), 2u);
    EXPECT_EQ(open[0]->title(), "Imported");
    EXPECT_EQ(open[1]->title(), "Added");
    EXPECT_EQ(PlannerSnapshot::snapshot(store).tasks[0].order, kOrderLimit)
        << "exported as it is held, exact in any device's numbers";
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

TEST_F(PlannerSnapshotTest, importOfAnEmptyDocument_changesNothingButStillSaves)
{
    add<Project>("Home", "#2563EB", 0);
    addTask("Kept", "2025-02-01T00:00:00Z");
    ASSERT_TRUE(context.save().ok);
    const PlannerArchive before = PlannerSnapshot::snapshot(store);
    const QString path = QStringLiteral(FURROW_TEST_DATA_DIR "/empty.json");
    QSignalSpy backups(&context, &ModelContext::storeSaved);
    QSignalSpy changes(&PlannerNotifications::center(), &PlannerNotifications::plannerDidChange);

    EXPECT_TRUE(PlannerArchiveIO::importFrom(store, path).succeeded);

    EXPECT_EQ(PlannerSnapshot::snapshot(store), before);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(backups.count(), 1) << "the save schedules a backup write";
    EXPECT_EQ(changes.count(), 1);

    ModelContext bare; // nor does it make the starter page of a store without pages
    PlannerStore bareStore(bare);
    EXPECT_TRUE(PlannerArchiveIO::importFrom(bareStore, path).succeeded);
    EXPECT_TRUE(bare.rows<Page>().empty());
    EXPECT_EQ(changes.count(), 2);
}
