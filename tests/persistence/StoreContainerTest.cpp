#include "BadDay.h"
#include "LogCapture.h"
#include "TestSupport.h"

#include "persistence/PlannerContainer.h"
#include "persistence/PlannerFile.h"
#include "persistence/PlannerSnapshot.h"

#include "model/PlannerStore.h"

#include <QDir>
#include <QTemporaryDir>

#include <map>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace furrow {
namespace {

using namespace std::chrono_literals;

class StoreContainerTest : public testing::Test
{
protected:
    StoreContainerTest() { Clock::setNow(instantFromMicroseconds(1772000000123456)); }
    ~StoreContainerTest() override { Clock::useSystemTime(); }

    QString path(QString suffix = {}) const { return folder.filePath("furrow.store" + suffix); }
    // The name a store is set aside under at the fixed clock: whole seconds.
    QString asideName() const { return path(QStringLiteral(".backup-1772000000")); }
    std::unique_ptr<PlannerContainer> open() { return PlannerContainer::open(path()); }
    std::string setAsideLine(const char *error) const
    {
        return QStringLiteral("Furrow: миграция не прошла (%1). Старая база отодвинута в %2\n")
            .arg(QString::fromUtf8(error), asideName())
            .toStdString();
    }
    // Opens and closes the store, answering what the opening logged.
    std::string openLogging()
    {
        test::LogCapture log;
        open();
        return log.take();
    }

    QTemporaryDir folder;
};

TEST_F(StoreContainerTest,
       store_keepsEveryFieldExactly_andLaterChangesThroughAFailedSave_forOneProcessAtATime)
{
    const Instant precise = Clock::now() + 7us;
    PlannerArchive saved;
    {
        auto container = open();
        EXPECT_THROW(open(), StoreInUseError) << "one process at a time";
        ModelContext &context = container->context();
        Page *page = context.insert(std::make_shared<Page>("Work", "briefcase", -2));
        page->setDeletedAt(precise);
        Section *section = context.insert(std::make_shared<Section>("Doing", page, 4));
        Project *project = context.insert(std::make_shared<Project>("Ops ✓", "#2F6F8F", 3));
        auto *task = context.insert(std::make_shared<TaskItem>("Fix\nit", section, -7, project));
        task->setNote(QStringLiteral("  line one\n**two**  "));
        task->setDueDate(precise);
        task->setDone(true);
        task->setDoneAt(precise + 1us);
        task->setCreatedAt(precise - 1us);
        task->setArchivedAt(precise + 2us);
        task->setSnoozedUntil(precise + 3us);
        task->setDeletedAt(precise + 4us);
        task->setRemindAt(precise + 5us);
        task->setRepeatRule(QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TH;X-NEW=1"));
        task->setRepeatFromDone(true);
        task->setSeriesId(QUuid::createUuid());
        context.insert(std::make_shared<TaskItem>("Twin", nullptr, 0, nullptr))->setId(task->id());
        DayPlan *plan = context.insert(std::make_shared<DayPlan>(precise, precise));
        plan->setClosedAt(precise);
        plan->setPlannedCount(5);
        plan->setClosedCount(2);
        ASSERT_TRUE(context.save().ok);
        saved = PlannerSnapshot::snapshot(PlannerStore(context));
    }
    test::LogCapture log;
    auto container = open(); // the lock went with the container
    EXPECT_EQ(log.take(), "") << "a store that opens logs nothing";
    EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("*.backup-*")}).empty());
    ModelContext &context = container->context();
    EXPECT_FALSE(context.hasChanges());
    // What the document holds, two rows with one id included; then what it leaves out.
    ASSERT_EQ(PlannerSnapshot::snapshot(PlannerStore(context)), saved);
    TaskItem &task = *context.rows<TaskItem>().front();
    EXPECT_EQ(task.archivedAt(), precise + 2us);
    EXPECT_EQ(task.snoozedUntil(), precise + 3us);
    EXPECT_EQ(task.remindAt(), precise + 5us);
    EXPECT_EQ(task.section()->order(), 4);
    ASSERT_NE(task.section()->page(), nullptr);
    EXPECT_EQ(task.section()->page()->iconName(), QStringLiteral("briefcase"));
    EXPECT_EQ(task.section()->page()->order(), -2);
    EXPECT_EQ(task.section()->page()->deletedAt(), precise);
    const DayPlan &plan = *context.rows<DayPlan>().front();
    EXPECT_EQ(plan.closedAt(), precise);
    EXPECT_EQ(plan.plannedCount(), 5);
    EXPECT_EQ(plan.closedCount(), 2);

    // An update, a removal, and a reference to a removed row; a save that fails while another
    // connection holds the file keeps them for the next save.
    task.setTitle(QStringLiteral("Fixed"));
    context.remove(*task.project());
    context.remove(*context.rows<TaskItem>()[1]);
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(path().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const auto failed = context.save();
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.error.isEmpty());
    EXPECT_TRUE(context.hasChanges());
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    ASSERT_TRUE(context.save().ok);
    saved = PlannerSnapshot::snapshot(PlannerStore(context));
    container.reset();
    container = open();
    EXPECT_EQ(PlannerSnapshot::snapshot(PlannerStore(container->context())), saved);
}

TEST_F(StoreContainerTest, storeThatCannotBeOpened_isMovedAsideWithItsCompanionsAndACleanOneOpens)
{
    const QString suffixes[] = {{}, QStringLiteral("-wal"), QStringLiteral("-shm")};
    for (const QString &suffix : suffixes)
        test::writeFile(path(suffix), suffix.isEmpty() ? QByteArray(4096, 'x') : QByteArray());
    EXPECT_EQ(openLogging(), setAsideLine("file is not a database"));
    for (const QString &suffix : suffixes)
        EXPECT_TRUE(QFile::remove(asideName() + suffix)) << suffix.toStdString();
    EXPECT_EQ(openLogging(), "") << "the clean store opens as it is";

    // SQL that leaves a store of another shape; closing it takes its companions away.
    const std::pair<const char *, const char *> cases[]
        = {{"PRAGMA user_version = 3", "schema version 3, expected 2"},
           {"DROP TABLE project", "no such table: project"},
           {"ALTER TABLE task DROP COLUMN note", "no such column: note"}};
    for (const auto &[sql, error] : cases) {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(path().toUtf8().constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
        sqlite3_close(db);
        EXPECT_EQ(openLogging(), setAsideLine(error));
        EXPECT_TRUE(QFile::remove(asideName())) << error;
        EXPECT_EQ(openLogging(), "") << "the clean store opens as it is";
    }
}

TEST_F(StoreContainerTest, storeOfTheFirstSchema_gainsReminderAndRepeatColumnsKeepingItsTasks)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(path().toUtf8().constData(), &db), SQLITE_OK);
    const char *firstSchema = R"(
CREATE TABLE task(
    row_key INTEGER PRIMARY KEY, id TEXT NOT NULL, title TEXT NOT NULL, note TEXT NOT NULL,
    due_date INTEGER, sort_order INTEGER NOT NULL, is_done INTEGER NOT NULL, done_at INTEGER,
    created_at INTEGER NOT NULL, updated_at INTEGER NOT NULL, deleted_at INTEGER,
    archived_at INTEGER, snoozed_until INTEGER, project_row INTEGER, section_row INTEGER);
CREATE TABLE project(row_key INTEGER PRIMARY KEY, id TEXT NOT NULL, name TEXT NOT NULL,
    color_hex TEXT NOT NULL, sort_order INTEGER NOT NULL, updated_at INTEGER NOT NULL,
    deleted_at INTEGER);
CREATE TABLE page(row_key INTEGER PRIMARY KEY, id TEXT NOT NULL, name TEXT NOT NULL,
    icon_name TEXT NOT NULL, sort_order INTEGER NOT NULL, updated_at INTEGER NOT NULL,
    deleted_at INTEGER);
CREATE TABLE section(row_key INTEGER PRIMARY KEY, id TEXT NOT NULL, name TEXT NOT NULL,
    sort_order INTEGER NOT NULL, updated_at INTEGER NOT NULL, deleted_at INTEGER, page_row INTEGER);
CREATE TABLE day_plan(row_key INTEGER PRIMARY KEY, date INTEGER NOT NULL, started_at INTEGER,
    closed_at INTEGER, planned_count INTEGER NOT NULL, closed_count INTEGER NOT NULL,
    updated_at INTEGER NOT NULL);
INSERT INTO task VALUES(1, 'A1B2C3D4-E5F6-4711-8899-AABBCCDDEEFF', 'Old task', '', 5, 0, 0,
    NULL, 1, 2, NULL, NULL, NULL, NULL, NULL);
PRAGMA user_version = 1;
)";
    ASSERT_EQ(sqlite3_exec(db, firstSchema, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    for (int opening = 0; opening < 2; ++opening) {
        test::LogCapture log;
        auto container = open();
        EXPECT_EQ(log.take(), "");
        ASSERT_EQ(container->context().rows<TaskItem>().size(), 1u);
        TaskItem &task = *container->context().rows<TaskItem>().front();
        EXPECT_EQ(task.title(), QStringLiteral("Old task"));
        EXPECT_EQ(task.dueDate(), instantFromMicroseconds(5));
        EXPECT_FALSE(task.remindAt());
        EXPECT_EQ(task.repeatRule(), QString());
        EXPECT_TRUE(task.seriesId().isNull());
        task.setTitle(QStringLiteral("Old task"));
        ASSERT_TRUE(container->context().save().ok);
    }
    EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("*.backup-*")}).empty());
}

// What the folder holds, name and bytes, to see that nothing in it changed.
std::map<QString, QByteArray> contentsOf(const QTemporaryDir &folder)
{
    std::map<QString, QByteArray> contents;
    for (const QFileInfo &entry :
         QDir(folder.path()).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot))
        contents[entry.fileName()]
            = entry.isDir() ? QByteArray("folder") : test::readFile(entry.filePath());
    return contents;
}

TEST_F(StoreContainerTest, storeOutOfReach_isReportedAndNoFileIsMovedMadeOrChanged)
{
    // A store of two tasks, closed.
    {
        auto container = open();
        container->context().insert(std::make_shared<TaskItem>("One", nullptr, 0, nullptr));
        container->context().insert(std::make_shared<TaskItem>("Two", nullptr, 1, nullptr));
        ASSERT_TRUE(container->context().save().ok);
    }
    const auto before = contentsOf(folder);
    {
        test::BadDay day;
        day.set(test::BadDay::Disk::Failing);
        test::LogCapture log;
        EXPECT_THAT([&] { open(); },
                    testing::ThrowsMessage<StoreUnavailableError>(testing::Eq("disk I/O error")));
        EXPECT_EQ(log.take(), "Furrow: не удалось открыть хранилище, файлы не тронуты — disk I/O "
                              "error\n");
        EXPECT_EQ(contentsOf(folder), before);

        // A full disk lets the store open and read; its saves fail and keep their changes.
        day.set(test::BadDay::Disk::Full);
        auto container = open();
        ASSERT_EQ(container->context().rows<TaskItem>().size(), 2u);
        container->context().insert(std::make_shared<TaskItem>("Three", nullptr, 2, nullptr));
        EXPECT_EQ(container->context().save().error, QStringLiteral("database or disk is full"));
        EXPECT_TRUE(container->context().hasChanges());
        day.set(test::BadDay::Disk::Fine);
        EXPECT_TRUE(container->context().save().ok) << "once there is room again";
    }
    EXPECT_EQ(open()->context().rows<TaskItem>().size(), 3u);

    // A new store on a full disk: nothing is left behind for the next start to take as a store.
    QTemporaryDir other;
    const QString fresh = other.filePath(QStringLiteral("furrow.store"));
    {
        test::BadDay day;
        day.set(test::BadDay::Disk::Full);
        const test::LogCapture quiet;
        EXPECT_THROW(PlannerContainer::open(fresh), StoreUnavailableError);
    }
    EXPECT_TRUE(QDir(other.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // A folder in the store's place cannot be opened either; it is no damaged store.
    const test::LogCapture quiet;
    ASSERT_TRUE(QDir().mkpath(fresh));
    EXPECT_THROW(PlannerContainer::open(fresh), StoreUnavailableError);
    EXPECT_TRUE(QFileInfo(fresh).isDir());
    EXPECT_TRUE(QDir(other.path()).entryList({QStringLiteral("*.backup-*")}).empty());
}

TEST_F(StoreContainerTest, damagedStore_isMovedAsideOnlyOnceTheRecoveryIsMarked)
{
    test::writeFile(path(), QByteArray(4096, 'x'));
    // The mark's name taken by a folder that cannot be replaced.
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral(".recovering/taken"))));
    const test::LogCapture quiet;
    EXPECT_THROW(open(), StoreUnavailableError);
    EXPECT_EQ(test::readFile(path()), QByteArray(4096, 'x'));
    EXPECT_FALSE(QFile::exists(asideName()));

    // Moved aside with the mark; a damaged store in the clean one's place too is fatal.
    ASSERT_TRUE(QDir(path(QStringLiteral(".recovering"))).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(asideName() + QStringLiteral("/taken")));
    EXPECT_THAT([&] { open(); }, testing::ThrowsMessage<FatalStoreError>(testing::StartsWith(
                                     "Furrow: не удалось открыть даже чистую базу — ")));
    EXPECT_EQ(test::readFile(path(QStringLiteral(".recovering"))), ".backup-1772000000");
}

TEST(LegacyBackupTest, olderFileMovesOnlyWhenTheCurrentOneIsMissing)
{
    const QString current = PlannerFile::backupPath();
    const QString legacy = PlannerFile::legacyBackupPath();
    QDir().mkpath(QFileInfo(legacy).path());
    test::writeFile(legacy, "older");
    PlannerFile::migrateLegacyBackup();
    EXPECT_EQ(test::readFile(current), "older");
    EXPECT_FALSE(QFile::exists(legacy));

    test::writeFile(legacy, "oldest");
    PlannerFile::migrateLegacyBackup();
    EXPECT_EQ(test::readFile(current), "older") << "with both present, neither is touched";
    EXPECT_EQ(test::readFile(legacy), "oldest");
}

} // namespace
} // namespace furrow
