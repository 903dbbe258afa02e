#include "TestSupport.h"

#include "persistence/ArchiveWriter.h"

#include "model/PlannerStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

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

class BackupFileTest : public testing::Test
{
protected:
    size_t projectsInFile() const
    {
        return PlannerArchive::decode(test::readFile(path)).projects.size();
    }
    QTemporaryDir dir;
    const QString path = dir.path() + "/Furrow/planner.json";
    ModelContext context;
    PlannerStore store{context};
};

} // namespace

TEST_F(BackupFileTest, writer_tenSavesInABurst_giveOneWriteOfTheLastSnapshotAfterTheDelay)
{
    ArchiveWriter writer(path, 200ms);
    writer.attachTo(context);
    int writes = 0; // counted on the main thread: the writer signals from its worker
    QObject::connect(
        &writer, &ArchiveWriter::writeFinished, &writer, [&] { ++writes; }, Qt::QueuedConnection);
    QElapsedTimer sinceLast;
    for (int i = 1; i <= 10; ++i) {
        store.createProject(QString::number(i));
        sinceLast.start();
        QTest::qWait(10);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return writes > 0; }, 5000));

    EXPECT_GE(sinceLast.elapsed(), 190);
    EXPECT_EQ(projectsInFile(), 10u) << "the snapshot of the tenth save";
    QTest::qWait(400);
    EXPECT_EQ(writes, 1);
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
    testing::internal::CaptureStdout();
    store.createProject("Lost");
    const bool finished = writer.flush();
    const std::string output = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(finished);
    EXPECT_EQ(output.rfind("Furrow: не удалось записать резервную копию — ", 0), 0u) << output;
    EXPECT_EQ(projectsInFile(), 1u);
}
