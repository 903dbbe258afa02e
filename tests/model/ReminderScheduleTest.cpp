#include "model/ReminderSchedule.h"
#include "StoreFixture.h"
#include "model/ReminderLog.h"
#include "model/UserDefaults.h"

#include <QRandomGenerator>
#include <QTime>

#include <algorithm>

namespace furrow {
namespace {

using namespace std::chrono_literals;
using test::localTime;
namespace Schedule = ReminderSchedule;

const QUuid kTask = QUuid::fromString(QStringLiteral("{6d7e1c3a-0000-4000-8000-000000000001}"));

Instant utc(int year, int month, int day, int hour, int minute)
{
    return instantFromDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC));
}

// Runs the planner's clock minute by minute from `from` to `to`, firing what is due and marking
// it fired as the planner does; answers the times that notified.
std::vector<Instant> walk(const std::vector<Schedule::Reminder> &reminders, ReminderLog &log,
                          Instant from, Instant to)
{
    std::vector<Instant> fired;
    for (Instant now = from; now <= to; now += 1min) {
        for (const Schedule::Firing &firing : Schedule::due(reminders, log, now)) {
            fired.push_back(firing.at);
            log.markFired(firing.taskId, firing.at);
        }
    }
    return fired;
}

TEST(ReminderScheduleTest, aReminderFiresOnceAtItsTime_andIsMissedLaterOnlyWithinADay)
{
    const Instant nine = localTime(2026, 3, 10, 9);
    const std::vector<Schedule::Reminder> reminders{{kTask, nine}};
    ReminderLog log;
    EXPECT_EQ(Schedule::next(reminders, log, nine - 1min), nine);
    EXPECT_TRUE(Schedule::due(reminders, log, nine - 1s).empty());

    const auto onTime = Schedule::due(reminders, log, nine + 3s);
    ASSERT_EQ(onTime.size(), 1u);
    EXPECT_FALSE(onTime[0].missed);
    EXPECT_TRUE(Schedule::due(reminders, log, nine + 3h)[0].missed) << "the planner did not run";
    EXPECT_TRUE(Schedule::due(reminders, log, nine + 24h).empty()) << "too long ago";

    log.markFired(kTask, nine);
    EXPECT_TRUE(Schedule::due(reminders, log, nine + 1h).empty()) << "never twice";
    EXPECT_EQ(Schedule::next(reminders, log, nine - 1min), std::nullopt);
}

TEST(ReminderScheduleTest, aMovedReminderFiresAtItsNewTimeOnly_andASnoozeFiresOnceMore)
{
    const Instant nine = localTime(2026, 3, 10, 9);
    ReminderLog log;
    // Moved from 9:00 to 11:00 before it fired: nothing at 9:00.
    EXPECT_EQ(walk({{kTask, nine + 2h}}, log, nine - 1h, nine + 1h), std::vector<Instant>{});
    EXPECT_EQ(walk({{kTask, nine + 2h}}, log, nine + 1h, nine + 3h),
              std::vector<Instant>{nine + 2h});

    // Snoozed for ten minutes after it fired: once more then, and only then.
    log.snooze(kTask, nine + 2h, nine + 2h + 10min);
    EXPECT_EQ(Schedule::next({{kTask, nine + 2h}}, log, nine + 2h + 1min), nine + 2h + 10min);
    EXPECT_EQ(walk({{kTask, nine + 2h}}, log, nine + 2h, nine + 4h),
              std::vector<Instant>{nine + 2h + 10min});
    // A reminder set anew replaces the snooze.
    EXPECT_EQ(log.effectiveTime(kTask, nine + 5h), nine + 5h);
}

TEST(ReminderScheduleTest, theLogSurvivesARestart_andForgetsWhatCanNoLongerFire)
{
    const Instant nine = localTime(2026, 3, 10, 9);
    const QUuid other = QUuid::createUuid();
    ReminderLog log;
    log.markFired(kTask, nine);
    log.snooze(other, nine, nine + 10min);
    log.save();

    ReminderLog restarted = ReminderLog::load();
    EXPECT_TRUE(restarted.hasFired(kTask, nine));
    EXPECT_EQ(restarted.effectiveTime(other, nine), nine + 10min);
    restarted.forgetOlderThan(nine + 1min);
    EXPECT_FALSE(restarted.hasFired(kTask, nine));
    EXPECT_EQ(restarted.effectiveTime(other, nine), nine + 10min);
    UserDefaults::open()->remove(QStringLiteral("reminders.fired"));
    UserDefaults::open()->remove(QStringLiteral("reminders.snoozed"));
}

// Europe/Berlin: clocks go from 2:00 to 3:00 on 29 March 2026 and from 3:00 back to 2:00 on
// 25 October 2026; the walk crosses each change with reminders inside the odd hour.
TEST(ReminderScheduleTest, daylightSavingChanges_neitherSkipNorRepeatAReminder)
{
    const Instant springAfter = localTime(2026, 3, 29, 3, 30);
    const Instant autumnFirst = utc(2026, 10, 25, 0, 30);  // 2:30 summer time
    const Instant autumnSecond = utc(2026, 10, 25, 1, 30); // 2:30 winter time
    ASSERT_EQ(springAfter, utc(2026, 3, 29, 1, 30));

    ReminderLog log;
    EXPECT_EQ(
        walk({{kTask, springAfter}}, log, localTime(2026, 3, 29, 1), localTime(2026, 3, 29, 5)),
        std::vector<Instant>{springAfter});
    const QUuid other = QUuid::createUuid();
    EXPECT_EQ(walk({{kTask, autumnFirst}, {other, autumnSecond}}, log, utc(2026, 10, 24, 23, 0),
                   utc(2026, 10, 25, 3, 0)),
              (std::vector<Instant>{autumnFirst, autumnSecond}));
}

TEST(ReminderScheduleTest, fiveHundredReminders_fireInTheirOrder_eachOnce)
{
    const Instant start = localTime(2026, 3, 10, 0);
    std::vector<Schedule::Reminder> reminders;
    QRandomGenerator random(22);
    for (int i = 0; i < 500; ++i)
        reminders.push_back(
            {QUuid::createUuid(), start + std::chrono::minutes(random.bounded(1440))});

    ReminderLog log;
    std::vector<Instant> fired;
    for (OptionalInstant next = Schedule::next(reminders, log, start); next;
         next = Schedule::next(reminders, log, *next)) {
        for (const Schedule::Firing &firing : Schedule::due(reminders, log, *next)) {
            EXPECT_FALSE(firing.missed);
            fired.push_back(firing.at);
            log.markFired(firing.taskId, firing.at);
        }
    }
    EXPECT_EQ(fired.size(), 500u);
    EXPECT_TRUE(std::ranges::is_sorted(fired));
}

class PendingRemindersTest : public test::StoreFixture
{
};

TEST_F(PendingRemindersTest, onlyOpenTasksOnAPageRemind)
{
    Section *section = addSection(QStringLiteral("Today"), addPage(QStringLiteral("Work")));
    const Instant noon = localTime(2026, 3, 10, 12);
    std::vector<TaskItem *> tasks;
    for (const char *title : {"open", "closed", "dropped", "archived", "deleted", "cleared"}) {
        tasks.push_back(addTask(QString::fromLatin1(title), section, qint64(tasks.size())));
        store.setReminder(QTime(12, 0), *tasks.back());
    }
    store.close(*tasks[1]);
    store.archive(*tasks[2]);
    store.close(*tasks[3]);
    store.archive(*tasks[3]);
    tasks[4]->setDeletedAt(Clock::now());
    store.setReminder(std::nullopt, *tasks[5]);

    const auto pending = Schedule::pending(store.allTasks());
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].taskId, tasks[0]->id());
    EXPECT_EQ(pending[0].remindAt, noon);
}

} // namespace
} // namespace furrow
