#include "TestSupport.h"

#include "persistence/ArchiveWriter.h"
#include "persistence/PlannerFile.h"

#include "model/PlannerStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace furrow;
using namespace std::chrono_literals;

namespace {

// Makes a folder refuse new files while it lives: by permissions, and for root (who ignores
// them) with the immutable attribute. isActive() is false where neither works.
class UnwritableFolder
{
public:
    explicit UnwritableFolder(const QString &path)
        : m_path(path)
    {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        m_immutable = ::geteuid() == 0 && setImmutable(true);
    }
    ~UnwritableFolder()
    {
        if (m_immutable)
            setImmutable(false);
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ExeOwner);
    }
    bool isActive() const { return ::geteuid() != 0 || m_immutable; }

private:
    bool setImmutable(bool on) const
    {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0)
            ::close(fd);
        return done;
    }

    QString m_path;
    bool m_immutable = false;
};

// Counts the writes a writer finishes and their failures, as the main thread sees them.
struct WriteCounter
{
    explicit WriteCounter(ArchiveWriter &writer)
    {
        // Queued: the writer emits on its worker thread.
        QObject::connect(
            &writer, &ArchiveWriter::writeFinished, &writer,
            [this](bool succeeded) { ++(succeeded ? count : failures); }, Qt::QueuedConnection);
    }
    bool waitFor(int total)
    {
        return QTest::qWaitFor([&] { return count + failures >= total; }, 5000);
    }
    int count = 0;
    int failures = 0;
};

PlannerArchive archiveNamed(const QString &name)
{
    PlannerArchive archive;
    archive.projects = {{QUuid::createUuid(), name, "#2563EB", 0, Clock::now(), {}}};
    return archive;
}

class BackupFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QDir(dataFolder + "/Furrow").removeRecursively();
        QDir(dataFolder + "/Plotter").removeRecursively();
        QDir().mkpath(dataFolder + "/Plotter");
    }
    QString writtenName() const
    {
        const auto archive = PlannerArchive::decode(test::readFile(path));
        return archive.projects.empty() ? QString() : archive.projects[0].name;
    }

    const QString dataFolder
        = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QTemporaryDir dir;
    const QString path = dir.path() + "/Furrow/planner.json";
};

} // namespace

TEST_F(BackupFileTest, write_createsMissingFoldersAndLeavesNoTemporaryFile)
{
    PlannerFile::write(archiveNamed("First"), path);
    PlannerFile::write(archiveNamed("Second"), path);

    EXPECT_EQ(writtenName(), "Second");
    EXPECT_EQ(QDir(dir.path() + "/Furrow").entryList(QDir::Files | QDir::Hidden),
              QStringList{"planner.json"});
}

TEST_F(BackupFileTest, migrateLegacyBackup_movesOnlyWhenTheCurrentFileIsMissing)
{
    test::writeFile(PlannerFile::legacyBackupPath(), "legacy");
    PlannerFile::migrateLegacyBackup();
    EXPECT_EQ(test::readFile(PlannerFile::backupPath()), "legacy");
    EXPECT_FALSE(QFileInfo::exists(PlannerFile::legacyBackupPath()));

    test::writeFile(PlannerFile::legacyBackupPath(), "older");
    PlannerFile::migrateLegacyBackup();
    EXPECT_EQ(test::readFile(PlannerFile::backupPath()), "legacy");
    EXPECT_EQ(test::readFile(PlannerFile::legacyBackupPath()), "older");
}

TEST_F(BackupFileTest, migrateLegacyBackup_thatFails_logsAndLeavesTheOldFile)
{
    test::writeFile(PlannerFile::legacyBackupPath(), "legacy");
    test::writeFile(dataFolder + "/Furrow", "a file where the folder belongs");
    testing::internal::CaptureStdout();

    PlannerFile::migrateLegacyBackup();

    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.rfind("Furrow: старая резервная копия осталась на месте — ", 0), 0u) << output;
    EXPECT_EQ(test::readFile(PlannerFile::legacyBackupPath()), "legacy");
    QFile::remove(dataFolder + "/Furrow");
}

TEST_F(BackupFileTest, writer_tenSavesInABurst_giveOneWriteOfTheLastSnapshotAfterTheDelay)
{
    ArchiveWriter writer(path, 200ms);
    WriteCounter writes(writer);
    QElapsedTimer sinceLast;
    for (int i = 1; i <= 10; ++i) {
        writer.scheduleWrite(archiveNamed(QString::number(i)));
        sinceLast.start();
        QTest::qWait(10);
    }
    ASSERT_TRUE(writes.waitFor(1));

    EXPECT_GE(sinceLast.elapsed(), 190);
    EXPECT_EQ(writtenName(), "10");
    QTest::qWait(400);
    EXPECT_EQ(writes.count + writes.failures, 1);
}

TEST_F(BackupFileTest, writer_intoUnwritableFolder_logsAndKeepsThePreviousFile)
{
    ArchiveWriter writer(path, 10ms);
    WriteCounter writes(writer);
    writer.scheduleWrite(archiveNamed("Kept"));
    ASSERT_TRUE(writes.waitFor(1));
    UnwritableFolder unwritable(dir.path() + "/Furrow");
    if (!unwritable.isActive())
        GTEST_SKIP() << "cannot make a folder unwritable here";
    testing::internal::CaptureStdout();

    writer.scheduleWrite(archiveNamed("Lost"));
    const bool finished = writes.waitFor(2);

    const std::string output = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(finished);
    EXPECT_EQ(writes.failures, 1);
    EXPECT_EQ(output.rfind("Furrow: не удалось записать резервную копию — ", 0), 0u) << output;
    EXPECT_EQ(writtenName(), "Kept");
}

TEST_F(BackupFileTest, writer_attachedToAContext_writesTheLastSaveAtFlush)
{
    ModelContext context;
    PlannerStore store(context);
    ArchiveWriter writer(path, 1h); // only the flush at quit can write in time
    writer.attachTo(context);

    store.createProject("Garden");
    context.insert(std::make_shared<Project>("Synced", "#2563EB", 1));
    context.save(); // saved directly, as sync does: no snapshot is handed over
    ASSERT_TRUE(writer.flush());

    const PlannerArchive written = PlannerArchive::decode(test::readFile(path));
    ASSERT_EQ(written.projects.size(), 1u);
    EXPECT_EQ(written.projects[0].name, "Garden");
    EXPECT_TRUE(writer.flush(0ms)); // nothing left
}
