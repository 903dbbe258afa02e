// The planner's reminders while it waits in the background: the share of one core the
// reminder and morning-summary timers use with 10 000 tasks, 500 of them with reminders none of
// which falls due during the run, next to a bare Qt event loop measured the same way. Each run
// lasts FURROW_IDLE_SECONDS (60 unless set); the counter core_percent comes from the process's
// user and system time in /proc/self/stat.

#include "model/Clock.h"
#include "model/ModelContext.h"
#include "model/MorningSummaryPreference.h"
#include "model/Page.h"
#include "model/Section.h"
#include "model/TaskItem.h"
#include "shell/reminders/DesktopNotifier.h"
#include "shell/reminders/MorningSummaryService.h"
#include "shell/reminders/ReminderService.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {

using namespace furrow;

// User plus system time of this process so far, in seconds.
double cpuSeconds()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    // Fields after the command name, which is in parentheses and may hold spaces.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    return ticks / double(sysconf(_SC_CLK_TCK));
}

int idleSeconds()
{
    const int seconds = qEnvironmentVariableIntValue("FURROW_IDLE_SECONDS");
    return seconds > 0 ? seconds : 60;
}

// Runs the event loop for the idle time and reports the share of a core it used.
void measureIdle(benchmark::State &state)
{
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTimer::singleShot(idleSeconds() * 1000, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    const double elapsed = double(wall.elapsed()) / 1000;
    state.counters["core_percent"] = 100 * (cpuSeconds() - cpuBefore) / elapsed;
}

void BM_IdleEventLoop(benchmark::State &state)
{
    for (auto _ : state)
        measureIdle(state);
}
BENCHMARK(BM_IdleEventLoop)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_RemindersInTheBackground(benchmark::State &state)
{
    // The summary's switch is written to settings of the run's own, never the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    ModelContext context;
    auto *page
        = context.insert(std::make_shared<Page>(QStringLiteral("Work"), Page::defaultIconName, 0));
    auto *section = context.insert(std::make_shared<Section>(QStringLiteral("Now"), page, 0));
    const Instant now = Clock::now();
    for (int i = 0; i < 10'000; ++i) {
        auto *task = context.insert(
            std::make_shared<TaskItem>(QStringLiteral("Task %1").arg(i), section, i, nullptr));
        if (i % 20 == 0)
            task->setRemindAt(now + std::chrono::hours(2 + i / 20));
    }
    MorningSummaryPreference::setOn(true);
    DesktopNotifier notifier(QDBusConnection(QStringLiteral("none")));
    ReminderService reminders(context, notifier);
    MorningSummaryService summary(context, notifier);
    reminders.start();
    summary.check();
    for (auto _ : state)
        measureIdle(state);
}
BENCHMARK(BM_RemindersInTheBackground)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace
