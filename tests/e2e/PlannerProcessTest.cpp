// The `furrow` program as a user meets it: the planner running on its store, and later launches
// that hand their command lines to it.

#include "persistence/PlannerArchive.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace furrow {
namespace {

struct Result
{
    int exitCode = -1;
    QString output;
    QString errorOutput;
};

Result furrow(const QStringList &arguments,
              const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(FURROW_EXECUTABLE), arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << arguments.join(u' ').toStdString();
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

PlannerArchive exported(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return PlannerArchive::decode(file.readAll());
}

std::vector<QString> titles(const PlannerArchive &archive)
{
    std::vector<QString> result;
    for (const auto &task : archive.tasks)
        result.push_back(task.title);
    return result;
}

class PlannerProcessTest : public ::testing::Test
{
protected:
    QString file(const QString &name) const { return folder.filePath(name); }
    QTemporaryDir folder;
};

TEST_F(PlannerProcessTest, withoutARunningPlanner_commandsOpenTheStoreThemselves)
{
    EXPECT_EQ(furrow({"add", "Buy milk"}).exitCode, 0);
    EXPECT_EQ(furrow({"export", file("out.json")}).exitCode, 0);
    EXPECT_EQ(titles(exported(file("out.json"))), std::vector<QString>{"Buy milk"});
    // The backup file is written before the command's process ends.
    const QString backup = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                           + QStringLiteral("/Furrow/planner.json");
    EXPECT_EQ(titles(exported(backup)), std::vector<QString>{"Buy milk"});

    // A device would be read without end; it is refused before a byte is read.
    const Result endless = furrow({"import", "/dev/zero"});
    EXPECT_EQ(endless.exitCode, 1);
    EXPECT_EQ(endless.errorOutput,
              QStringLiteral("Не удалось прочитать файл: «/dev/zero» — не обычный файл\n"));
    EXPECT_EQ(furrow({"--bogus"}).exitCode, 2);
    EXPECT_TRUE(furrow({"--version"}).output.startsWith(QStringLiteral("furrow ")));
}

TEST_F(PlannerProcessTest, laterLaunches_goThroughTheRunningPlanner)
{
    QProcess planner;
    planner.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    planner.start(QStringLiteral(FURROW_EXECUTABLE), {"--seed-demo"});
    ASSERT_TRUE(planner.waitForReadyRead(30000));

    // Relative paths are the caller's: the planner writes where the later launch was started.
    QDir::setCurrent(folder.path());
    EXPECT_EQ(furrow({"add", "Call the plumber #ops"}).exitCode, 0);
    // A launch from cron or su, without the session's runtime folder, meets the same planner.
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    bare.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    bare.insert(QStringLiteral("TMPDIR"), folder.path());
    EXPECT_EQ(furrow({"add", "Water the plants"}, bare).exitCode, 0);
    EXPECT_EQ(furrow({"export", "demo.json"}).exitCode, 0);
    const PlannerArchive archive = exported(file("demo.json"));
    EXPECT_EQ(archive.tasks.size(), 12u) << "ten demo tasks and the two added";
    EXPECT_EQ(archive.tasks[10].title, QStringLiteral("Call the plumber"));
    EXPECT_EQ(archive.tasks[10].section, QStringLiteral("In flight"));
    EXPECT_TRUE(archive.tasks[10].projectID);
    EXPECT_EQ(furrow({}).exitCode, 0) << "a plain launch brings the planner forward and ends";

    planner.terminate();
    EXPECT_TRUE(planner.waitForFinished(30000));
    EXPECT_EQ(furrow({"export", file("after.json")}).exitCode, 0) << "the store's lock is free";
}

TEST_F(PlannerProcessTest, background_startsThePlannerOnce_andLaterSessionStartsDoNothing)
{
    QProcess planner;
    planner.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    planner.start(QStringLiteral(FURROW_EXECUTABLE), {"--background"});
    ASSERT_TRUE(planner.waitForReadyRead(30000));

    const Result again = furrow({"--background"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(again.output.isEmpty());
    EXPECT_EQ(planner.state(), QProcess::Running) << "the first planner keeps running";
    EXPECT_EQ(furrow({"add", "Filed in the background"}).exitCode, 0) << "through the planner";

    planner.terminate();
    EXPECT_TRUE(planner.waitForFinished(30000));
}

TEST_F(PlannerProcessTest, damagedStore_isRestoredFromTheBackupFile_beforeACommandWritesOverIt)
{
    // A data folder of its own, so that this planner of 300 tasks is the only one in it.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), file("data"));
    PlannerArchive planner;
    QSet<QUuid> ids;
    for (int i = 0; i < 300; ++i) {
        PlannerArchive::TaskRecord task;
        task.id = QUuid::createUuid();
        task.title = QStringLiteral("Task %1").arg(i);
        task.createdAt = task.updatedAt = planner.savedAt;
        planner.tasks.push_back(task);
        ids.insert(task.id);
    }
    QFile source(file("planner-300.json"));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write(planner.encode());
    source.close();
    ASSERT_EQ(furrow({"import", source.fileName()}, environment).exitCode, 0);

    QFile store(file("data/Furrow/furrow.store"));
    ASSERT_TRUE(store.open(QIODevice::WriteOnly | QIODevice::Truncate));
    std::vector<quint32> noise(4096);
    QRandomGenerator::global()->fillRange(noise.data(), qsizetype(noise.size()));
    store.write(reinterpret_cast<const char *>(noise.data()), qint64(noise.size() * 4));
    store.close();

    const Result added = furrow({"add", "New task"}, environment);
    EXPECT_EQ(added.exitCode, 0) << added.errorOutput.toStdString();
    EXPECT_TRUE(added.output.contains(
        QStringLiteral("Furrow: хранилище восстановлено из резервного файла (300 задач)")))
        << added.output.toStdString();
    ASSERT_EQ(furrow({"export", file("after.json")}, environment).exitCode, 0);
    const PlannerArchive after = exported(file("after.json"));
    ASSERT_EQ(after.tasks.size(), 301u);
    QSet<QUuid> kept;
    for (const auto &task : after.tasks)
        kept.insert(task.id);
    EXPECT_TRUE(kept.contains(ids)) << "every task of the damaged store is back";
    EXPECT_EQ(after.tasks.back().title, QStringLiteral("New task"));
    EXPECT_EQ(exported(file("data/Furrow/planner.json")).tasks.size(), 301u);
}

} // namespace
} // namespace furrow
