// A reminder of the `furrow` program running in the background, shown by a real notification
// daemon (dunst) on a private session bus of an X display; Done on it closes the task without
// a window. Needs a display, dbus-daemon and dunst; skipped without them.

#include "Desk.h"

#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "persistence/PlannerContainer.h"

#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace test;

// Runs dunstctl with `arguments`; its standard output.
QString dunstctl(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("dunstctl"), arguments);
    process.waitForFinished(10'000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Whether the task with that title is closed in the backup document at `path`.
bool closedIn(const QString &path, const QString &title)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    try {
        for (const auto &task : PlannerArchive::decode(file.readAll()).tasks) {
            if (task.title == title)
                return task.isDone;
        }
    } catch (const std::exception &) {
    }
    return false;
}

class ReminderProcessTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *program : {"dbus-daemon", "dunst", "dunstctl"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
                GTEST_SKIP() << "needs " << program;
        }
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs an X display";
        m_bus.start(QStringLiteral("dbus-daemon"), {"--session", "--print-address", "--nofork"});
        ASSERT_TRUE(m_bus.waitForReadyRead(10'000));
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.readLine().trimmed());
        // dunst's context menu runs its "dmenu" on the list of actions; this one picks Done.
        QFile config(m_folder.filePath("dunstrc"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write("[global]\ndmenu = /usr/bin/grep -m1 Done\n");
        config.close();
        m_dunst.start(QStringLiteral("dunst"), {"-config", config.fileName()});
        ASSERT_TRUE(QTest::qWaitFor([] { return !dunstctl({"is-paused"}).isEmpty(); }, 10'000));
    }
    void TearDown() override
    {
        for (QProcess *process : {&m_dunst, &m_bus}) {
            process->terminate();
            process->waitForFinished(10'000);
        }
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    }

    QTemporaryDir m_folder;
    QProcess m_bus;
    QProcess m_dunst;
};

TEST_F(ReminderProcessTest, doneOnTheNotification_closesTheTaskInTheStoreAndTheBackupFile)
{
    Desk desk;
    QDir().mkpath(QFileInfo(desk.storePath()).path());
    {
        auto container = PlannerContainer::open(desk.storePath());
        PlannerStore store(container->context());
        Page *page = store.createPage(QStringLiteral("Work"), QStringLiteral("briefcase"));
        TaskItem *task
            = store.capture(QStringLiteral("Call the bank"),
                            store.createSection(QStringLiteral("Today"), *page), nullptr);
        // A few seconds ahead: the store's own operation takes whole minutes.
        task->setDueDate(Clock::now());
        task->setRemindAt(Clock::now() + std::chrono::seconds(3));
        store.save();
    }
    desk.startPlanner({"--background"});
    ASSERT_TRUE(QTest::qWaitFor(
        [] {
            return dunstctl({"count", "displayed"}).trimmed() == "1";
        },
        30'000))
        << "dunst shows the reminder";

    dunstctl({"context"});
    const QString backup = QFileInfo(desk.storePath()).path() + QStringLiteral("/planner.json");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return closedIn(backup, QStringLiteral("Call the bank")); }, 30'000))
        << "closed in the backup file";
    dunstctl({"close-all"});
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return dunstctl({"history"}).contains(QStringLiteral("Call the bank")); }, 10'000))
        << "what dunst showed, in its history once closed";
    EXPECT_TRUE(visibleWindows(QStringLiteral("Furrow")).isEmpty()) << "no window came forward";
    desk.stopPlanner();
    auto container = PlannerContainer::open(desk.storePath());
    const auto tasks = PlannerStore(container->context()).allTasks();
    ASSERT_EQ(tasks.size(), 1u);
    EXPECT_TRUE(tasks.front()->isDone()) << "closed in the store";
}

} // namespace
} // namespace furrow
