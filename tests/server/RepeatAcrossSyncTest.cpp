#include "SyncScenario.h"

#include "sync/TestPrinters.h"

#include "model/repeat/RepeatOccurrence.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace test;

// Every closed occurrence has its next one, and no series has two open occurrences. Answers how
// many closed occurrences there were.
int expectSeriesWhole(const PlannerStore &store, const char *desk)
{
    SCOPED_TRACE(desk);
    int closed = 0;
    std::map<QUuid, int> open;
    for (TaskItem *task : store.allTasks()) {
        if (task->seriesId().isNull())
            continue;
        if (task->isActive() && !task->isDone()) {
            ++open[task->seriesId()];
            continue;
        }
        ++closed;
        const OptionalInstant closedAt = task->isDone() ? task->doneAt() : task->archivedAt();
        const auto next = RepeatOccurrence::next(*task, *closedAt, 1);
        EXPECT_TRUE(next && store.task(next->id)) << task->title().toStdString();
    }
    for (const auto &[series, count] : open)
        EXPECT_EQ(count, 1) << idText(series).toStdString();
    return closed;
}

// A task of the desk chosen at random among those `wanted` keeps, or null.
TaskItem *pick(Planner &planner, std::mt19937 &random,
               const std::function<bool(TaskItem *)> &wanted)
{
    std::vector<TaskItem *> tasks = active(planner.context.fetchAll<TaskItem>());
    std::erase_if(tasks, [&](TaskItem *task) { return !wanted(task); });
    return tasks.empty() ? nullptr : tasks[random() % tasks.size()];
}

void randomStep(Planner &planner, std::mt19937 &random)
{
    const auto isOpen = [](TaskItem *task) {
        return !task->isDone();
    };
    const auto isDone = [](TaskItem *task) {
        return task->isDone();
    };
    const auto any = [](TaskItem *) {
        return true;
    };
    switch (random() % 7) {
    case 0:
        syncCleanly(planner);
        return;
    case 1:
        planner.store.undo();
        return;
    case 2:
        if (TaskItem *task = pick(planner, random, isOpen))
            planner.store.close(*task);
        return;
    case 3:
        if (TaskItem *task = pick(planner, random, isOpen))
            planner.store.archive(*task);
        return;
    case 4:
        if (TaskItem *task = pick(planner, random, isDone))
            planner.store.reopen(*task);
        return;
    case 5:
        if (TaskItem *task = pick(planner, random, any))
            planner.store.setNote(QStringLiteral("Note-%1").arg(random()), *task);
        return;
    default:
        if (TaskItem *task = pick(planner, random, isOpen))
            planner.store.setDueDate(Clock::now() + std::chrono::days(random() % 3), *task);
    }
}

TEST(RepeatAcrossSyncTest, randomClosesDropsReopensUndoesEditsAndSyncs_keepEverySeriesWhole)
{
    Clock::setNow(kStart);
    ServerHarness server;
    Planner a(server.url()), b(server.url());
    const std::pair<const char *, bool> rules[] = {
        {"FREQ=DAILY", false}, {"FREQ=WEEKLY;BYDAY=MO,TH", false}, {"FREQ=DAILY;INTERVAL=2", true}};
    for (const auto &[rule, fromDone] : rules)
        a.store.setRepeat(QString::fromUtf8(rule), fromDone, *a.addTask(QString::fromUtf8(rule)));
    QCoreApplication::processEvents();
    syncCleanly(a);
    syncCleanly(b);

    std::mt19937 random(5); // a sequence in which merges reopen a closed occurrence
    for (int step = 0; step < 200; ++step) {
        Clock::advance(1'000'317us);
        randomStep(random() % 2 ? a : b, random);
        QCoreApplication::processEvents();
    }
    for (Planner *planner : {&a, &b, &a, &b})
        syncCleanly(*planner);
    EXPECT_EQ(a.records(), b.records());
    EXPECT_GT(expectSeriesWhole(a.store, "a"), 2);
    EXPECT_GT(expectSeriesWhole(b.store, "b"), 2);
    Clock::useSystemTime();
}

} // namespace
} // namespace furrow
