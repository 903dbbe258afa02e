#pragma once

#include "Instant.h"

#include <QUuid>

#include <vector>

namespace furrow {

class ReminderLog;
class TaskItem;

// When the reminders of tasks notify. Reminders are instants, so a change of daylight saving
// time or of the time zone neither skips nor repeats one; what has notified is in the log.
namespace ReminderSchedule {

// Later than this after its time, a reminder is told as missed (the planner was not running,
// or the computer slept).
constexpr std::chrono::seconds kMissedAfter{60};
// A reminder further back than this no longer notifies.
constexpr std::chrono::hours kGivenUpAfter{24};

struct Reminder
{
    QUuid taskId;
    Instant remindAt;
};

struct Firing
{
    QUuid taskId;
    Instant at; // when it was due: the reminder's time, or the end of its snooze
    bool missed = false;
};

// The reminders of the tasks that may still notify: open, neither archived nor deleted.
std::vector<Reminder> pending(const std::vector<TaskItem *> &tasks);
// The reminders due by `now` that have not notified yet, earliest first.
std::vector<Firing> due(const std::vector<Reminder> &reminders, const ReminderLog &log,
                        Instant now);
// The earliest time after `now` at which a reminder is due; none when no reminder waits.
OptionalInstant next(const std::vector<Reminder> &reminders, const ReminderLog &log, Instant now);

} // namespace ReminderSchedule
} // namespace furrow
