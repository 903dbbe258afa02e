// PlannerStore: repeating tasks. Closing or dropping an occurrence starts the next one at once;
// reopening withdraws it again while it is untouched; each series keeps one open occurrence.

#include "PlannerStore.h"

#include "Clock.h"
#include "repeat/RepeatOccurrence.h"

#include <QDateTime>

#include <algorithm>
#include <map>
#include <set>

namespace furrow {

namespace {

QDate dayOf(Instant instant)
{
    return toLocalDateTime(instant).date();
}

// When an occurrence that is no longer open was closed: done, or else dropped to the archive.
OptionalInstant closedAt(const TaskItem &task)
{
    return task.isDone() ? task.doneAt() : task.archivedAt();
}

} // namespace

int PlannerStore::occurrenceOrdinal(const TaskItem &task, QDate closedDay) const
{
    // Counted from the series' records up to this one's due day: archived occurrences count even
    // once the purge has tombstoned them, withdrawn ones (tombstoned, never archived) do not.
    const QDate due = RepeatOccurrence::dueDay(task, closedDay);
    std::set<QDate> days{due};
    for (const auto &row : m_context.rows<TaskItem>()) {
        if (row->seriesId() != task.seriesId() || (row->deletedAt() && !row->archivedAt()))
            continue;
        const QDate day = RepeatOccurrence::dueDay(*row, {});
        if (day.isValid() && day < due)
            days.insert(day);
    }
    return int(days.size());
}

std::optional<RepeatOccurrence::Next> PlannerStore::nextOccurrence(const TaskItem &closed,
                                                                   Instant at) const
{
    return RepeatOccurrence::next(closed, at, occurrenceOrdinal(closed, dayOf(at)));
}

TaskItem *PlannerStore::taskRow(const QUuid &id) const
{
    for (const auto &row : m_context.rows<TaskItem>()) {
        if (row->id() == id)
            return row.get();
    }
    return nullptr;
}

void PlannerStore::startNextOccurrence(const TaskItem &closed, std::optional<qint64> position)
{
    const OptionalInstant at = closedAt(closed);
    const auto next = at ? nextOccurrence(closed, *at) : std::nullopt;
    if (!next)
        return;
    TaskItem *row = taskRow(next->id);
    if (row && !row->deletedAt())
        return; // made already, here or on another desk
    if (!row) {
        auto fresh
            = std::make_shared<TaskItem>(closed.title(), closed.section(), 0, closed.project());
        fresh->setId(next->id);
        row = m_context.insert(std::move(fresh));
    }
    RepeatOccurrence::copyInto(*row, closed, next->due);
    place(*row, closed.section(), position);
    row->setUpdatedAt(Clock::now());
}

void PlannerStore::withdrawNextOccurrence(const TaskItem &closed)
{
    const OptionalInstant at = closedAt(closed);
    const auto next = at ? nextOccurrence(closed, *at) : std::nullopt;
    TaskItem *row = next ? taskRow(next->id) : nullptr;
    if (!row || row->deletedAt() || !RepeatOccurrence::isUntouched(*row, closed, next->due))
        return; // an edited next occurrence stays; settleSeries() then unlinks the reopened one
    const Section *section = row->section();
    if (row->isShared()) {
        // Other desks know it: a tombstone tells them.
        row->setDeletedAt(Clock::now());
        row->setUpdatedAt(Clock::now());
    } else {
        m_context.remove(*row);
    }
    reindex(section);
}

void PlannerStore::settleSeries()
{
    reviveWithdrawnOccurrences();
    std::map<QUuid, std::vector<TaskItem *>> open;
    for (TaskItem *task : allTasks()) {
        if (!task->seriesId().isNull() && task->isActive() && !task->isDone())
            open[task->seriesId()].push_back(task);
    }
    const Instant now = Clock::now();
    for (auto &[series, tasks] : open) {
        // The latest due occurrence carries the series on; earlier ones become one-off tasks.
        std::ranges::sort(tasks, {}, [](const TaskItem *task) {
            return std::pair(RepeatOccurrence::dueDay(*task, {}), idText(task->id()));
        });
        tasks.pop_back();
        for (TaskItem *task : tasks) {
            task->setRepeatRule(QString());
            task->setRepeatFromDone(false);
            task->setSeriesId(QUuid());
            task->setUpdatedAt(now);
        }
    }
}

void PlannerStore::reviveWithdrawnOccurrences()
{
    // A merge can bring back the close of an occurrence whose next one a reopen had withdrawn;
    // the closed occurrence then needs that next one again.
    std::map<QUuid, TaskItem *> withdrawn;
    for (const auto &row : m_context.rows<TaskItem>()) {
        if (row->deletedAt() && !row->archivedAt() && !row->seriesId().isNull())
            withdrawn[row->id()] = row.get();
    }
    if (withdrawn.empty())
        return;
    for (TaskItem *closed : allTasks()) {
        const OptionalInstant at = closedAt(*closed);
        if (closed->seriesId().isNull() || (!closed->isDone() && !closed->isArchived()) || !at)
            continue;
        // Counting the occurrence's place in its series takes a pass over every task: first
        // see whether any count could lead to a withdrawn one.
        const auto candidate = RepeatOccurrence::next(*closed, *at, 1);
        const auto found = candidate ? withdrawn.find(candidate->id) : withdrawn.end();
        const auto next = found != withdrawn.end() ? nextOccurrence(*closed, *at) : std::nullopt;
        if (!next)
            continue;
        RepeatOccurrence::copyInto(*found->second, *closed, next->due);
        place(*found->second, closed->section(), std::nullopt);
        found->second->setUpdatedAt(Clock::now());
        withdrawn.erase(found);
    }
}

} // namespace furrow
