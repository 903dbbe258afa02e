#include "persistence/PlannerContainer.h"

#include "model/Clock.h"
#include "model/PlannerStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace furrow {
namespace {

using std::chrono::microseconds;

class StoreContainerTest : public ::testing::Test
{
protected:
    StoreContainerTest() { Clock::setNow(instantFromMicroseconds(1772000000123456)); }
    ~StoreContainerTest() override { Clock::useSystemTime(); }

    QString path(const QString &suffix = {}) const
    {
        return folder.filePath(QStringLiteral("furrow.store") + suffix);
    }
    std::unique_ptr<PlannerContainer> open() { return PlannerContainer::open(path()); }

    // Runs SQL on the store file through a connection of its own.
    void runSql(const char *sql)
    {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(path().toUtf8().constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
        sqlite3_close(db);
    }

    void writeFile(const QString &filePath, const QByteArray &bytes)
    {
        QFile file(filePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QString expectedBackupName() const
    {
        return path(
            QStringLiteral(".backup-%1").arg(microsecondsSinceEpoch(Clock::now()) / 1000000));
    }

    QTemporaryDir folder;
};

TEST_F(StoreContainerTest, everyFieldAndReference_roundTripsExactly)
{
    const Instant precise = Clock::now() + microseconds(7);
    QUuid taskId;
    {
        auto container = open();
        ModelContext &context = container->context();
        Page *page = context.insert(std::make_shared<Page>("Work", "briefcase", -2));
        page->setDeletedAt(precise);
        Section *section = context.insert(std::make_shared<Section>("Doing", page, 4));
        Project *project = context.insert(std::make_shared<Project>("Ops ✓", "#2F6F8F", 3));
        TaskItem *task
            = context.insert(std::make_shared<TaskItem>("Fix\nit", section, -7, project));
        task->setNote(QStringLiteral("  line one\n**two**  "));
        task->setDueDate(precise);
        task->setDone(true);
        task->setDoneAt(precise + microseconds(1));
        task->setCreatedAt(precise - microseconds(1));
        task->setArchivedAt(precise + microseconds(2));
        task->setSnoozedUntil(precise + microseconds(3));
        task->setDeletedAt(precise + microseconds(4));
        taskId = task->id();
        TaskItem *twin = context.insert(std::make_shared<TaskItem>("Twin", nullptr, 0, nullptr));
        twin->setId(taskId);
        DayPlan *plan = context.insert(std::make_shared<DayPlan>(precise, precise));
        plan->setClosedAt(precise);
        plan->setPlannedCount(5);
        plan->setClosedCount(2);
        ASSERT_TRUE(context.save().ok);
    }
    auto container = open();
    ModelContext &context = container->context();
    ASSERT_EQ(context.rows<TaskItem>().size(), 2u);
    const TaskItem &task = *context.rows<TaskItem>()[0];
    EXPECT_EQ(task.id(), taskId);
    EXPECT_EQ(task.title(), QStringLiteral("Fix\nit"));
    EXPECT_EQ(task.note(), QStringLiteral("  line one\n**two**  "));
    EXPECT_EQ(task.dueDate(), precise);
    EXPECT_EQ(task.order(), -7);
    EXPECT_TRUE(task.isDone());
    EXPECT_EQ(task.doneAt(), precise + microseconds(1));
    EXPECT_EQ(task.createdAt(), precise - microseconds(1));
    EXPECT_EQ(task.updatedAt(), Clock::now());
    EXPECT_EQ(task.archivedAt(), precise + microseconds(2));
    EXPECT_EQ(task.snoozedUntil(), precise + microseconds(3));
    EXPECT_EQ(task.deletedAt(), precise + microseconds(4));
    ASSERT_NE(task.project(), nullptr);
    EXPECT_EQ(task.project()->name(), QStringLiteral("Ops ✓"));
    EXPECT_EQ(task.project()->colorHex(), QStringLiteral("#2F6F8F"));
    EXPECT_EQ(task.project()->order(), 3);
    ASSERT_NE(task.section(), nullptr);
    EXPECT_EQ(task.section()->name(), QStringLiteral("Doing"));
    EXPECT_EQ(task.section()->order(), 4);
    ASSERT_NE(task.section()->page(), nullptr);
    EXPECT_EQ(task.section()->page()->iconName(), QStringLiteral("briefcase"));
    EXPECT_EQ(task.section()->page()->order(), -2);
    EXPECT_EQ(task.section()->page()->deletedAt(), precise);

    const TaskItem &twin = *context.rows<TaskItem>()[1];
    EXPECT_EQ(twin.id(), taskId) << "two rows with one id stay two rows";
    EXPECT_EQ(twin.section(), nullptr);

    const DayPlan &plan = *context.rows<DayPlan>().front();
    EXPECT_EQ(plan.startedAt(), precise);
    EXPECT_EQ(plan.closedAt(), precise);
    EXPECT_EQ(plan.plannedCount(), 5);
    EXPECT_EQ(plan.closedCount(), 2);
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(StoreContainerTest, changesAndRemovals_persistAcrossReopening)
{
    {
        auto container = open();
        PlannerStore store(container->context());
        store.ensureStarterPage();
        Project *gone = store.createProject(QStringLiteral("Gone"));
        store.capture(QStringLiteral("Task #gone"), nullptr, nullptr);
        container->context().remove(*gone);
        store.save();
    }
    auto container = open();
    PlannerStore store(container->context());
    ASSERT_EQ(store.allTasks().size(), 1u);
    EXPECT_EQ(store.allTasks().front()->project(), nullptr);
    EXPECT_TRUE(container->context().rows<Project>().empty());
    EXPECT_EQ(container->context().rows<Section>().size(), 3u);
}

TEST_F(StoreContainerTest, failedTransaction_keepsChangesForTheNextSave)
{
    auto container = open();
    ModelContext &context = container->context();
    context.insert(std::make_shared<Page>("Kept", "house", 0));

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
    container.reset();
    EXPECT_EQ(open()->context().rows<Page>().size(), 1u);
}

TEST_F(StoreContainerTest, openStore_movesNothingAndLogsNothing)
{
    open().reset();
    testing::internal::CaptureStdout();
    open();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*.backup-*")}).size(), 0);
}

TEST_F(StoreContainerTest, unreadableFile_isMovedAsideAndACleanStoreOpens)
{
    writeFile(path(), QByteArray(4096, 'x'));
    testing::internal::CaptureStdout();
    auto container = open();
    const std::string log = testing::internal::GetCapturedStdout();

    const QString expected = QStringLiteral("Furrow: миграция не прошла (file is not a database). "
                                            "Старая база отодвинута в ")
                             + expectedBackupName() + u'\n';
    EXPECT_EQ(QString::fromStdString(log), expected);
    EXPECT_TRUE(QFile::exists(expectedBackupName()));
    EXPECT_FALSE(QFile::exists(expectedBackupName() + QStringLiteral("-wal")));
    PlannerStore store(container->context());
    store.ensureStarterPage();
    EXPECT_FALSE(container->context().hasChanges());
}

TEST_F(StoreContainerTest, otherSchemaVersion_isMovedAsideWithItsCompanions)
{
    runSql("PRAGMA user_version = 2; CREATE TABLE task(x);");
    writeFile(path(QStringLiteral("-wal")), QByteArray());
    writeFile(path(QStringLiteral("-shm")), QByteArray());
    testing::internal::CaptureStdout();
    open();
    const QString log = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_TRUE(log.contains(QStringLiteral("(schema version 2, expected 1)")))
        << log.toStdString();
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        EXPECT_TRUE(QFile::exists(expectedBackupName() + suffix)) << suffix.toStdString();
}

TEST_F(StoreContainerTest, missingTable_isMovedAside)
{
    runSql("PRAGMA user_version = 1; CREATE TABLE unrelated(x);");
    testing::internal::CaptureStdout();
    open();
    const QString log = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_TRUE(log.contains(QStringLiteral("no such table"))) << log.toStdString();
    EXPECT_TRUE(QFile::exists(expectedBackupName()));
}

TEST_F(StoreContainerTest, missingColumn_isMovedAside)
{
    open().reset();
    runSql("ALTER TABLE task DROP COLUMN note;");
    testing::internal::CaptureStdout();
    open();
    const QString log = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_TRUE(log.contains(QStringLiteral("no such column: note"))) << log.toStdString();
}

TEST_F(StoreContainerTest, secondOpener_isRefusedAndNothingMoves)
{
    auto first = open();
    first->context().insert(std::make_shared<Page>("Mine", "house", 0));
    ASSERT_TRUE(first->context().save().ok);
    EXPECT_THROW(open(), StoreInUseError);
    EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*.backup-*")}).size(), 0);
    first.reset();
    EXPECT_EQ(open()->context().rows<Page>().size(), 1u) << "the lock is released on close";
}

TEST_F(StoreContainerTest, storeThatCannotBeReplaced_stopsWithTheFatalMessage)
{
    // A folder in the store's place cannot be opened as a store, and with its set-aside name
    // already taken it cannot be moved either, so the clean store fails too.
    ASSERT_TRUE(QDir().mkpath(path() + QStringLiteral("/inner")));
    ASSERT_TRUE(QDir().mkpath(expectedBackupName() + QStringLiteral("/taken")));
    QString fatal;
    testing::internal::CaptureStdout();
    try {
        open();
    } catch (const FatalStoreError &error) {
        fatal = QString::fromUtf8(error.what());
    }
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(fatal.startsWith(QStringLiteral("Furrow: не удалось открыть даже чистую базу — ")))
        << fatal.toStdString();
}

} // namespace
} // namespace furrow
