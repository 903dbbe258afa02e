#include "BadDay.h"
#include "TestSupport.h"

#include "persistence/ArchiveWriter.h"
#include "persistence/DatedCopies.h"
#include "persistence/PlannerContainer.h"
#include "persistence/PlannerFile.h"
#include "persistence/PlannerSnapshot.h"
#include "persistence/StoreRecovery.h"

#include "model/PlannerStore.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace std::chrono_literals;
using Kind = StoreRecovery::Outcome::Kind;

class StoreRecoveryTest : public testing::Test
{
protected:
    StoreRecoveryTest() { Clock::setNow(instantFromMicroseconds(1772000000123456)); }
    ~StoreRecoveryTest() override { Clock::useSystemTime(); }

    QString storePath() const { return folder.filePath("furrow.store"); }
    // The backup file's name once it is set aside at the fixed clock.
    QString backupAside() const { return backup + QStringLiteral(".backup-1772000000"); }

    // A store of `count` tasks, its backup file written from it, then the store overwritten.
    void damagedStoreWithBackupOf(int count)
    {
        {
            auto filled = PlannerContainer::open(storePath());
            ModelContext &context = filled->context();
            for (int i = 0; i < count; ++i)
                context.insert(std::make_shared<TaskItem>(QString::number(i), nullptr, i, nullptr));
            ASSERT_TRUE(context.save().ok);
            PlannerFile::write(PlannerSnapshot::snapshot(PlannerStore(context)), backup);
        }
        damageStore();
    }

    QString storeCopy(const char *day) const
    {
        return DatedCopies::folderFor(backup) + QStringLiteral("/furrow-%1.store").arg(day);
    }

    // A store of one page with sections, its backup file, a copy of the store after the first
    // section and another after the second, then the store overwritten.
    void damagedStoreWithCopies()
    {
        {
            auto opened = PlannerContainer::open(storePath());
            PlannerStore store(opened->context());
            Page *page = store.createPage(QStringLiteral("Garden"), QStringLiteral("leaf"));
            store.createSection(QStringLiteral("Beds"), *page);
            ASSERT_TRUE(QDir().mkpath(DatedCopies::folderFor(backup)));
            DatedCopies::copyStore(storePath(), storeCopy("2026-02-24"));
            store.createSection(QStringLiteral("Trees"), *page);
            ASSERT_FALSE(opened->context().hasChanges());
            DatedCopies::copyStore(storePath(), storeCopy("2026-02-25"));
            PlannerFile::write(PlannerSnapshot::snapshot(store), backup);
        }
        damageStore();
    }

    void damageStore()
    {
        QByteArray noise(8192, Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(noise.data()),
                                              noise.size() / 4);
        test::writeFile(storePath(), noise);
    }

    // Opens the store and recovers it, answering the outcome; `log` gets what was printed.
    StoreRecovery::Outcome openAndRecover(std::string *log = nullptr)
    {
        testing::internal::CaptureStdout();
        container = PlannerContainer::open(storePath());
        const auto outcome = StoreRecovery::recoverAfterSetAside(*container, backup);
        const std::string printed = testing::internal::GetCapturedStdout();
        if (log)
            *log = printed;
        return outcome;
    }

    QTemporaryDir folder;
    const QString backup = folder.filePath("planner.json");
    std::unique_ptr<PlannerContainer> container;
};

TEST_F(StoreRecoveryTest, damagedStore_isRestoredFromTheBackupFile_intoTheNewStore)
{
    damagedStoreWithBackupOf(300);
    const QByteArray backupBytes = test::readFile(backup);
    std::string log;
    const auto outcome = openAndRecover(&log);

    EXPECT_EQ(container->opening(), PlannerContainer::Opening::SetAside);
    EXPECT_EQ(outcome.kind, Kind::Restored);
    EXPECT_EQ(outcome.restoredTasks, 300);
    EXPECT_TRUE(log.ends_with("Furrow: хранилище восстановлено из резервного файла (300 задач)\n"))
        << log;
    EXPECT_EQ(test::readFile(backup), backupBytes) << "the backup file is left as it was";
    EXPECT_FALSE(container->context().hasChanges());
    const PlannerArchive restored = PlannerSnapshot::snapshot(PlannerStore(container->context()));

    // What was restored is in the new store; a store that opens needs no recovery.
    container.reset();
    EXPECT_EQ(openAndRecover(&log).kind, Kind::NotNeeded);
    EXPECT_EQ(log, "");
    EXPECT_EQ(container->context().rows<TaskItem>().size(), 300u);
    EXPECT_EQ(PlannerSnapshot::snapshot(PlannerStore(container->context())), restored);
    EXPECT_EQ(test::readFile(backup), backupBytes);
}

TEST_F(StoreRecoveryTest, backupThatCannotBeRestored_isSetAside_andNeverWrittenOver)
{
    const QByteArray unreadable = "{ \"version\": 1, \"tasks\": [";
    test::writeFile(backup, unreadable);
    damageStore();
    std::string log;
    const auto outcome = openAndRecover(&log);
    EXPECT_EQ(outcome.kind, Kind::BackupSetAside);
    EXPECT_TRUE(outcome.backupMayBeReplaced());
    EXPECT_EQ(outcome.backupAside, backupAside());
    EXPECT_NE(log.find("Furrow: резервный файл не восстановлен ("), std::string::npos) << log;
    EXPECT_NE(log.find(backupAside().toStdString()), std::string::npos) << log;
    EXPECT_TRUE(container->context().rows<TaskItem>().empty()) << "the planner starts empty";

    // The empty planner's first write makes a new backup file beside the old one.
    {
        ArchiveWriter writer(backup, 0ms);
        writer.attachTo(container->context());
        PlannerStore(container->context()).ensureStarterPage();
        ASSERT_TRUE(writer.flush());
    }
    EXPECT_EQ(test::readFile(backupAside()), unreadable);
    EXPECT_TRUE(PlannerArchive::decode(test::readFile(backup)).tasks.empty());
}

TEST_F(StoreRecoveryTest, backupThatCannotBeRestoredNorMoved_mustNotBeReplaced)
{
    test::writeFile(backup, "not a planner");
    ASSERT_TRUE(QDir().mkpath(backupAside() + QStringLiteral("/taken")));
    damageStore();
    const auto outcome = openAndRecover();
    EXPECT_EQ(outcome.kind, Kind::BackupStuck);
    EXPECT_FALSE(outcome.backupMayBeReplaced());
    EXPECT_EQ(test::readFile(backup), "not a planner");
}

TEST_F(StoreRecoveryTest, damagedStore_comesBackFromTheNewestStoreCopy_withPagesAndSections)
{
    damagedStoreWithCopies();
    std::string log;
    const auto outcome = openAndRecover(&log);
    EXPECT_EQ(outcome.kind, Kind::Restored);
    EXPECT_EQ(outcome.storeCopy, storeCopy("2026-02-25"));
    const std::string line = "Furrow: хранилище восстановлено из копии "
                             + storeCopy("2026-02-25").toStdString() + " (0 задач)\n";
    EXPECT_TRUE(log.ends_with(line)) << log;
    EXPECT_EQ(container->context().rows<Page>().size(), 1u);
    EXPECT_EQ(container->context().rows<Section>().size(), 2u) << "the newest copy";

    container.reset();
    EXPECT_EQ(openAndRecover(&log).kind, Kind::NotNeeded) << "the copy is the store now";
    EXPECT_EQ(container->context().rows<Section>().size(), 2u);
}

TEST_F(StoreRecoveryTest, damagedStoreCopies_areSkipped_forTheBackupFile)
{
    damagedStoreWithBackupOf(5);
    ASSERT_TRUE(QDir().mkpath(DatedCopies::folderFor(backup)));
    test::writeFile(storeCopy("2026-02-25"), "SQLite format 3");
    test::writeFile(storeCopy("2026-02-24"), QByteArray());
    {
        SqliteDatabase otherSchema(storeCopy("2026-02-23"));
        otherSchema.execute("PRAGMA user_version = 99");
    }
    std::string log;
    const auto outcome = openAndRecover(&log);
    EXPECT_EQ(outcome.kind, Kind::Restored);
    EXPECT_EQ(outcome.restoredTasks, 5);
    EXPECT_TRUE(outcome.storeCopy.isEmpty());
    for (const char *day : {"2026-02-25", "2026-02-24", "2026-02-23"})
        EXPECT_NE(log.find("копия хранилища " + storeCopy(day).toStdString() + " не открылась"),
                  std::string::npos)
            << log;
    EXPECT_TRUE(log.ends_with("Furrow: хранилище восстановлено из резервного файла (5 задач)\n"))
        << log;
}

TEST_F(StoreRecoveryTest, restoreThatCannotBeSaved_isResumedAtTheNextStart_andTheBackupIsKept)
{
    damagedStoreWithBackupOf(5);
    const QByteArray backupBytes = test::readFile(backup);
    {
        test::BadDay day;
        testing::internal::CaptureStdout();
        container = PlannerContainer::open(storePath());
        day.set(test::BadDay::Disk::Full);
        const auto outcome = StoreRecovery::recoverAfterSetAside(*container, backup);
        const std::string log = testing::internal::GetCapturedStdout();
        EXPECT_EQ(outcome.kind, Kind::Unfinished);
        EXPECT_EQ(outcome.reason, QStringLiteral("database or disk is full"));
        EXPECT_FALSE(outcome.backupMayBeReplaced());
        EXPECT_TRUE(log.ends_with("Furrow: восстановление не завершено (database or disk is "
                                  "full); оно продолжится при следующем запуске, резервный файл "
                                  "не перезаписывается\n"))
            << log;
        container.reset();
    }
    EXPECT_EQ(test::readFile(backup), backupBytes) << "neither rewritten nor set aside";

    // The next start finds the clean store empty and the mark still there: it restores.
    std::string log;
    const auto resumed = openAndRecover(&log);
    EXPECT_EQ(container->opening(), PlannerContainer::Opening::RecoveryUnfinished);
    EXPECT_EQ(resumed.kind, Kind::Restored);
    EXPECT_TRUE(resumed.resumed);
    EXPECT_EQ(resumed.restoredTasks, 5);
    EXPECT_NE(log.find("Furrow: незавершённое восстановление хранилища продолжается\n"),
              std::string::npos)
        << log;
    container.reset();
    EXPECT_EQ(openAndRecover().kind, Kind::NotNeeded) << "finished: the mark is gone";
    EXPECT_EQ(container->context().rows<TaskItem>().size(), 5u);
}

TEST_F(StoreRecoveryTest, recoveryCutShortAfterItsSave_isFinished_withoutAStoreCopyOverIt)
{
    // What a recovery left when it was cut short after saving the restored planner: the mark,
    // and a store that holds it. An older store copy must not take its place.
    damagedStoreWithCopies();
    test::writeFile(storePath(), QByteArray());
    {
        auto restored = PlannerContainer::open(storePath());
        PlannerStore(restored->context()).capture(QStringLiteral("Restored"), nullptr, nullptr);
    }
    test::writeFile(storePath() + QStringLiteral(".recovering"), ".backup-1771999000");

    std::string log;
    const auto outcome = openAndRecover(&log);
    EXPECT_EQ(outcome.kind, Kind::Restored);
    EXPECT_TRUE(outcome.resumed);
    EXPECT_EQ(outcome.restoredTasks, 1);
    EXPECT_TRUE(log.ends_with("Furrow: восстановление хранилища завершено (1 задач)\n")) << log;
    EXPECT_TRUE(container->context().rows<Section>().empty()) << "not the copy's sections";
    EXPECT_FALSE(QFile::exists(storePath() + QStringLiteral(".recovering")));
}

TEST_F(StoreRecoveryTest, damagedStoreWithoutABackupFile_startsEmpty)
{
    damageStore();
    std::string log;
    EXPECT_EQ(openAndRecover(&log).kind, Kind::NothingToRestore);
    EXPECT_EQ(log.find("резервный"), std::string::npos) << "only the set-aside line: " << log;
    EXPECT_TRUE(container->context().rows<TaskItem>().empty());
    EXPECT_FALSE(QFile::exists(backup));
}

} // namespace
} // namespace furrow
