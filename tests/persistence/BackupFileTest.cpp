#include "LogCapture.h"
#include "TestSupport.h"

#include "persistence/ArchiveWriter.h"
#include "persistence/PlannerArchiveIO.h"

#include "model/PlannerStore.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace furrow;
using namespace std::chrono_literals;

namespace {

// Makes a folder refuse new files, or accept them again: by permissions, and for root (who
// ignores them) with the immutable attribute. Answers false where neither works.
bool setWritable(const QString &folder, bool writable)
{
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner
                              | (writable ? QFileDevice::WriteOwner : QFileDevice::Permission()));
    return ::geteuid() != 0 || QProcess::execute("chattr", {writable ? "-i" : "+i", folder}) == 0;
}

// Runs the writer's items on the test's own thread, once the test has moved time past them.
class ManualQueue final : public DebounceQueue
{
public:
    void schedule(std::chrono::milliseconds delay, Work work) override
    {
        m_waiting = std::move(work);
        m_due = m_now + delay;
    }
    bool waitIdle(std::chrono::milliseconds) override
    {
        runDue();
        return !m_waiting;
    }
    void advance(std::chrono::milliseconds step)
    {
        m_now += step;
        runDue();
    }

private:
    void runDue()
    {
        if (m_waiting && m_now >= m_due)
            std::exchange(m_waiting, nullptr)();
    }

    std::chrono::milliseconds m_now{0};
    std::chrono::milliseconds m_due{0};
    Work m_waiting;
};

class BackupFileTest : public testing::Test
{
protected:
    // A writer with the production delay whose queue the test drives; counts its writes.
    ManualQueue &attachWriter()
    {
        auto queue = std::make_unique<ManualQueue>();
        ManualQueue &driven = *queue;
        drivenWriter = std::make_unique<ArchiveWriter>(path, std::move(queue));
        drivenWriter->attachTo(context);
        QObject::connect(drivenWriter.get(), &ArchiveWriter::writeFinished, [this] { ++writes; });
        return driven;
    }
    size_t projectsInFile() const
    {
        return PlannerArchive::decode(test::readFile(path)).projects.size();
    }
    QTemporaryDir dir;
    const QString path = dir.path() + "/Furrow/planner.json";
    ModelContext context;
    PlannerStore store{context};
    std::unique_ptr<ArchiveWriter> drivenWriter;
    int writes = 0;
};

} // namespace

TEST_F(BackupFileTest, writer_tenSavesInABurst_giveOneWriteOfTheLastSnapshotTwoSecondsLater)
{
    ManualQueue &queue = attachWriter();
    for (int i = 1; i <= 10; ++i) {
        store.createProject(QString::number(i));
        queue.advance(90ms);
    }
    queue.advance(2s - 90ms - 1ms);
    EXPECT_EQ(writes, 0) << "a millisecond before the delay runs out";
    EXPECT_FALSE(QFile::exists(path));
    queue.advance(1ms);
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(projectsInFile(), 10u) << "the snapshot of the tenth save";
    queue.advance(1h);
    EXPECT_EQ(writes, 1);

    // A save after the delay ran out gives a write of its own.
    store.createProject("Eleventh");
    queue.advance(3s);
    EXPECT_EQ(writes, 2);
    EXPECT_EQ(projectsInFile(), 11u);
}

TEST_F(BackupFileTest, writer_writesTheLastSaveAtFlush_andKeepsThatFileWhenTheFolderTurnsUnwritable)
{
    ArchiveWriter writer(path, 1h); // only the flush at quit can write in time
    writer.attachTo(context);

    store.createProject("Garden");
    context.insert(std::make_shared<Project>("Synced", "#2563EB", 1));
    context.save(); // saved directly, as sync does: no snapshot is handed over
    ASSERT_TRUE(writer.flush());

    EXPECT_EQ(projectsInFile(), 1u) << "the snapshot of the store's save";
    EXPECT_TRUE(writer.flush(0ms)); // nothing left
    EXPECT_EQ(QDir(dir.path() + "/Furrow").entryList(QDir::Files | QDir::Hidden),
              QStringList{"planner.json"})
        << "the folder is created and no temporary file stays";

    const auto restore = qScopeGuard([&] { setWritable(dir.path() + "/Furrow", true); });
    if (!setWritable(dir.path() + "/Furrow", false))
        GTEST_SKIP() << "cannot make a folder unwritable here";
    test::LogCapture log;
    store.createProject("Lost");
    ASSERT_TRUE(writer.flush());
    const std::string output = log.take();
    EXPECT_NE(output.find("Furrow: не удалось записать резервную копию — "), std::string::npos)
        << output;
    EXPECT_EQ(projectsInFile(), 1u);
}

TEST_F(BackupFileTest, exportOverASymbolicLink_replacesTheLinkWithAFileTheOwnerAloneReads)
{
    // A link to a file anyone may read (or write) lends it none of that.
    const QString shared = dir.filePath("shared.json");
    test::writeFile(shared, "shared");
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 0666), 0);
    const QString exported = dir.filePath("export.json");
    ASSERT_TRUE(QFile::link(shared, exported));
    // A regular file that is replaced keeps the permissions its owner gave it.
    const QString regular = dir.filePath("regular.json");
    test::writeFile(regular, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(regular).constData(), 0640), 0);

    store.createProject("Garden");
    ASSERT_TRUE(PlannerArchiveIO::exportTo(store, exported).succeeded);
    ASSERT_TRUE(PlannerArchiveIO::exportTo(store, regular).succeeded);

    struct stat status;
    ASSERT_EQ(::lstat(QFile::encodeName(exported).constData(), &status), 0);
    EXPECT_TRUE(S_ISREG(status.st_mode));
    EXPECT_EQ(status.st_mode & 07777, 0600u);
    EXPECT_EQ(test::readFile(shared), "shared") << "the link's target is left alone";
    ASSERT_EQ(::lstat(QFile::encodeName(regular).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}
