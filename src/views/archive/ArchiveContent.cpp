#include "views/archive/ArchiveContent.h"

#include "model/Calendar.h"
#include "model/PlannerStore.h"

#include <QDateTime>
#include <QLocale>

namespace furrow::ArchiveContent {

std::vector<DayGroup> doneByDay(ModelContext &context)
{
    struct Filed
    {
        TaskItem *task;
        Instant when; // what the day is taken from
    };
    std::vector<Filed> done;
    for (TaskItem *task : PlannerStore(context).archivedTasks()) {
        if (task->isDone())
            done.push_back(
                {task, task->doneAt().value_or(task->archivedAt().value_or(distantPast()))});
    }
    // Newest first, so that each day's tasks follow one another; stable, so that equal times
    // keep the most recently archived first.
    std::stable_sort(done.begin(), done.end(),
                     [](const Filed &a, const Filed &b) { return a.when > b.when; });

    std::vector<DayGroup> groups;
    std::optional<Calendar::Day> day;
    for (const Filed &filed : done) {
        // The calendar is asked once per day, not once per task.
        if (!day || !day->contains(filed.when)) {
            day = Calendar::dayOf(filed.when);
            groups.push_back(DayGroup{day->start, {}});
        }
        groups.back().tasks.push_back(filed.task);
    }
    const auto closedAt = [](const TaskItem *task) {
        return task->doneAt().value_or(distantPast());
    };
    for (DayGroup &group : groups) {
        std::stable_sort(
            group.tasks.begin(), group.tasks.end(),
            [&](const TaskItem *a, const TaskItem *b) { return closedAt(a) < closedAt(b); });
    }
    return groups;
}

std::vector<TaskItem *> dropped(ModelContext &context)
{
    std::vector<TaskItem *> result;
    for (TaskItem *task : PlannerStore(context).archivedTasks()) {
        if (!task->isDone())
            result.push_back(task);
    }
    return result;
}

QString dayLabel(Instant day, Instant now)
{
    if (Calendar::isSameDay(day, now))
        return QStringLiteral("Today");
    if (const auto yesterday = Calendar::addingDays(now, -1);
        yesterday && Calendar::isSameDay(day, *yesterday)) {
        return QStringLiteral("Yesterday");
    }
    const QDate date = toLocalDateTime(day).date();
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    if (date.year() == toLocalDateTime(now).date().year())
        return english.toString(date, QStringLiteral("dddd, dd MMMM"));
    return english.toString(date, QStringLiteral("dd MMMM yyyy"));
}

QString countText(qsizetype count)
{
    return count == 1 ? QStringLiteral("one thing") : QStringLiteral("%1 things").arg(count);
}

int wholeDaysBetween(Instant from, Instant to)
{
    if (to <= from)
        return 0;
    int days = int(toLocalDateTime(from).date().daysTo(toLocalDateTime(to).date()));
    // The last calendar day only counts once the time of day of `from` has come round again.
    while (days > 0) {
        const auto reached = Calendar::addingDays(from, days);
        if (reached && *reached <= to)
            break;
        --days;
    }
    return days;
}

QString daysLeftText(const TaskItem &task, Instant now)
{
    return daysLeftText(task.archivedAt(), now);
}

QString daysLeftText(const OptionalInstant &archivedAt, Instant now)
{
    if (!archivedAt)
        return {};
    const int left = std::max(0, kKeptDays - wholeDaysBetween(*archivedAt, now));
    return left == 1 ? QStringLiteral("1 day left") : QStringLiteral("%1 days left").arg(left);
}

} // namespace furrow::ArchiveContent
