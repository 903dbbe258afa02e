#include "persistence/PlannerArchive.h"
#include "persistence/PlannerContainer.h"

#include "model/PlannerStore.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <random>

namespace furrow {
namespace {

// Saves reported done by the child, read from its output; a last line cut off by the kill is
// not counted.
QSet<qint64> reportedSaves(const QByteArray &output)
{
    QSet<qint64> saves;
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith("saved "))
            saves.insert(line.mid(6).toLongLong());
    }
    if (!output.endsWith('\n') && !output.isEmpty()) {
        const QByteArray last = output.mid(output.lastIndexOf('\n') + 1);
        if (last.startsWith("saved "))
            saves.remove(last.mid(6).toLongLong());
    }
    return saves;
}

TEST(CrashTest, killedWhileSaving_losesNoReportedSaveAndNeverLeavesAHalfBackup)
{
    QTemporaryDir folder;
    const QString storePath = folder.filePath(QStringLiteral("furrow.store"));
    const QString backupPath = folder.filePath(QStringLiteral("planner.json"));
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> lifetimeMs(5, 250);
    SCOPED_TRACE(testing::Message() << "random seed " << seed);

    QSet<qint64> saved;
    qint64 next = 0;
    for (int round = 0; round < 24; ++round) {
        QProcess child;
        child.start(QStringLiteral(FURROW_CRASH_CHILD),
                    {storePath, backupPath, QString::number(next)});
        ASSERT_TRUE(child.waitForReadyRead(10000)) << "round " << round;
        QThread::msleep(lifetimeMs(random));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));
        const QSet<qint64> reported = reportedSaves(child.readAllStandardOutput());
        saved.unite(reported);
        for (qint64 n : reported)
            next = std::max(next, n + 1);
        next += 1000; // numbers a killed save may have used stay unique

        auto container = PlannerContainer::open(storePath);
        QSet<QString> titles;
        for (const auto &task : container->context().rows<TaskItem>())
            titles.insert(task->title());
        for (qint64 n : std::as_const(saved))
            ASSERT_TRUE(titles.contains(QStringLiteral("task %1").arg(n)))
                << "round " << round << " lost task " << n;

        QFile backup(backupPath);
        if (backup.open(QIODevice::ReadOnly)) {
            EXPECT_NO_THROW(PlannerArchive::decode(backup.readAll())) << "round " << round;
        }
    }
    EXPECT_GT(saved.size(), 24);
    EXPECT_TRUE(QFile::exists(backupPath)) << "the backup writer never ran";
}

} // namespace
} // namespace furrow
