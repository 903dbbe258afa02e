#include "ReminderSchedule.h"

#include "ReminderLog.h"
#include "TaskItem.h"

#include <algorithm>

namespace furrow::ReminderSchedule {

std::vector<Reminder> pending(const std::vector<TaskItem *> &tasks)
{
    std::vector<Reminder> reminders;
    for (const TaskItem *task : tasks) {
        if (task->remindAt() && task->isActive() && !task->isDone())
            reminders.push_back({task->id(), *task->remindAt()});
    }
    return reminders;
}

std::vector<Firing> due(const std::vector<Reminder> &reminders, const ReminderLog &log, Instant now)
{
    std::vector<Firing> firings;
    for (const Reminder &reminder : reminders) {
        const Instant at = log.effectiveTime(reminder.taskId, reminder.remindAt);
        if (at > now || now - at >= kGivenUpAfter || log.hasFired(reminder.taskId, at))
            continue;
        firings.push_back({reminder.taskId, at, now - at > kMissedAfter});
    }
    std::ranges::sort(firings, {}, &Firing::at);
    return firings;
}

OptionalInstant next(const std::vector<Reminder> &reminders, const ReminderLog &log, Instant now)
{
    OptionalInstant earliest;
    for (const Reminder &reminder : reminders) {
        const Instant at = log.effectiveTime(reminder.taskId, reminder.remindAt);
        if (at > now && !log.hasFired(reminder.taskId, at) && (!earliest || at < *earliest))
            earliest = at;
    }
    return earliest;
}

} // namespace furrow::ReminderSchedule
