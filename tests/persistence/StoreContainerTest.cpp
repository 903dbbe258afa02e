#include "LogCapture.h"
#include "TestSupport.h"

#include "persistence/PlannerContainer.h"
#include "persistence/PlannerFile.h"
#include "persistence/PlannerSnapshot.h"

#include "model/PlannerStore.h"

#include <QDir>
#include <QTemporaryDir>

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
        = {{"PRAGMA user_version = 2", "schema version 2, expected 1"},
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

TEST_F(StoreContainerTest, storeThatCannotBeReplaced_stopsWithTheFatalMessage)
{
    // A folder in the store's place cannot be opened; with its set-aside name already taken it
    // cannot be moved either, so the clean store fails too.
    ASSERT_TRUE(QDir().mkpath(path() + QStringLiteral("/inner")));
    ASSERT_TRUE(QDir().mkpath(asideName() + QStringLiteral("/taken")));
    const test::LogCapture quiet;
    EXPECT_THAT([&] { open(); }, testing::ThrowsMessage<FatalStoreError>(testing::StartsWith(
                                     "Furrow: не удалось открыть даже чистую базу — ")));
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
