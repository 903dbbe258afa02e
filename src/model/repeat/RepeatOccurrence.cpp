#include "RepeatOccurrence.h"

#include "OccurrenceId.h"
#include "RepeatRule.h"
#include "RepeatSchedule.h"

#include "model/Calendar.h"
#include "model/TaskItem.h"

#include <QDateTime>

namespace furrow::RepeatOccurrence {

namespace {

Instant startOf(QDate day)
{
    return instantFromDateTime(day.startOfDay());
}

// The closed occurrence's reminder time of day, on the next one's day.
OptionalInstant reminderOn(const TaskItem &closed, QDate due)
{
    if (!closed.remindAt())
        return std::nullopt;
    return Calendar::atTimeOfDay(startOf(due), Calendar::timeOfDay(*closed.remindAt()));
}

} // namespace

QDate dueDay(const TaskItem &task, QDate fallback)
{
    return task.dueDate() ? toLocalDateTime(*task.dueDate()).date() : fallback;
}

std::optional<Next> next(const TaskItem &closed, Instant closedAt, int ordinal)
{
    if (closed.seriesId().isNull())
        return std::nullopt;
    const auto rule = RepeatRule::parse(closed.repeatRule());
    if (!rule)
        return std::nullopt;
    const QDate closedDay = toLocalDateTime(closedAt).date();
    const auto due = RepeatSchedule::nextDue(*rule, closed.repeatFromDone(),
                                             dueDay(closed, closedDay), closedDay, ordinal);
    if (!due)
        return std::nullopt;
    return Next{OccurrenceId::of(closed.seriesId(), *due), *due};
}

void copyInto(TaskItem &next, const TaskItem &closed, QDate due)
{
    next.setTitle(closed.title());
    next.setNote(closed.note());
    next.setProject(closed.project());
    next.setSection(closed.section());
    next.setRepeatRule(closed.repeatRule());
    next.setRepeatFromDone(closed.repeatFromDone());
    next.setSeriesId(closed.seriesId());
    next.setRemindAt(reminderOn(closed, due));
    next.setDueDate(startOf(due));
    next.setDone(false);
    next.setDoneAt(std::nullopt);
    next.setArchivedAt(std::nullopt);
    next.setDeletedAt(std::nullopt);
}

bool isUntouched(const TaskItem &next, const TaskItem &closed, QDate due)
{
    return next.title() == closed.title() && next.note() == closed.note()
           && next.project() == closed.project() && next.section() == closed.section()
           && next.repeatRule() == closed.repeatRule()
           && next.repeatFromDone() == closed.repeatFromDone()
           && next.seriesId() == closed.seriesId() && next.remindAt() == reminderOn(closed, due)
           && next.dueDate() == startOf(due) && !next.isDone() && next.isActive();
}

} // namespace furrow::RepeatOccurrence
