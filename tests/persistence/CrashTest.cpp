#include "TestSupport.h"

#include "persistence/PlannerArchive.h"
#include "persistence/PlannerContainer.h"

#include "model/PlannerStore.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace furrow {
namespace {

TEST(CrashTest, killedWhileSaving_losesNoReportedSaveAndNeverLeavesAHalfBackup)
{
    QTemporaryDir folder;
    const QString storePath = folder.filePath(QStringLiteral("furrow.store"));
    const QString backupPath = folder.filePath(QStringLiteral("planner.json"));
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    SCOPED_TRACE(testing::Message() << "random seed " << seed);

    QSet<qint64> saved;
    for (int round = 0; round < 24; ++round) { // each child numbers its tasks from its own base
        SCOPED_TRACE(testing::Message() << "round " << round);
        QProcess child;
        child.start(QStringLiteral(FURROW_CRASH_CHILD),
                    {storePath, backupPath, QString::number(round * 1000000)});
        ASSERT_TRUE(child.waitForReadyRead(10000));
        QThread::msleep(random.bounded(5, 251)); // kill it at a random point of its saving
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));
        // A last line cut off by the kill is not counted.
        QByteArray output = child.readAllStandardOutput();
        output.truncate(output.lastIndexOf('\n') + 1);
        for (const QByteArray &line : output.split('\n')) {
            if (line.startsWith("saved "))
                saved.insert(line.mid(6).toLongLong());
        }

        auto container = PlannerContainer::open(storePath);
        QSet<QString> titles;
        for (const auto &task : container->context().rows<TaskItem>())
            titles.insert(task->title());
        for (qint64 n : std::as_const(saved))
            ASSERT_TRUE(titles.contains(QStringLiteral("task %1").arg(n))) << "lost task " << n;

        if (QFile::exists(backupPath)) {
            EXPECT_NO_THROW(PlannerArchive::decode(test::readFile(backupPath)));
        }
    }
    EXPECT_GT(saved.size(), 24);
    EXPECT_TRUE(QFile::exists(backupPath)) << "the backup writer never ran";
}

} // namespace
} // namespace furrow
