// PlannerStore: today's plan and the ageing of the archive and of tombstones.

#include "PlannerStore.h"

#include "Calendar.h"
#include "Clock.h"

namespace furrow {

namespace {

// Now moved back by whole calendar days; now itself when the calendar cannot say.
Instant cutoff(int days)
{
    const Instant now = Clock::now();
    return Calendar::addingDays(now, -days).value_or(now);
}

template<class T>
std::vector<Record *> tombstonedBefore(const ModelContext &context, Instant limit)
{
    std::vector<Record *> rows;
    for (const auto &row : context.rows<T>()) {
        if (row->deletedAt() && *row->deletedAt() < limit)
            rows.push_back(row.get());
    }
    return rows;
}

} // namespace

void PlannerStore::stampToday()
{
    const Instant now = Clock::now();
    DayPlan *plan = dayPlan(now);
    if (!plan)
        plan = m_context.insert(std::make_shared<DayPlan>(now, std::nullopt));
    const Calendar::Day today = Calendar::dayOf(now);
    qint64 closed = 0;
    qint64 open = 0;
    for (const auto &task : m_context.rows<TaskItem>()) {
        if (!task->isActive())
            continue;
        if (!task->isDone())
            ++open;
        else if (task->doneAt() && today.contains(*task->doneAt()))
            ++closed;
    }
    plan->setClosedCount(closed);
    plan->setPlannedCount(closed + open);
    plan->setUpdatedAt(Clock::now());
}

void PlannerStore::purgeArchive(int olderThanDays)
{
    const Instant limit = cutoff(olderThanDays);
    const Instant now = Clock::now();
    bool changed = false;
    for (TaskItem *task : archivedTasks()) {
        // Finished tasks stay in the archive; only dropped ones age out.
        if (task->isDone() || !(*task->archivedAt() < limit))
            continue;
        task->setDeletedAt(now);
        task->setUpdatedAt(now);
        changed = true;
    }
    if (changed)
        save();
}

void PlannerStore::purgeTombstones(int olderThanDays)
{
    const Instant limit = cutoff(olderThanDays);
    bool removed = false;
    // Tasks first: they are what refers to projects and sections.
    for (const auto &rows :
         {tombstonedBefore<TaskItem>(m_context, limit), tombstonedBefore<Project>(m_context, limit),
          tombstonedBefore<Section>(m_context, limit), tombstonedBefore<Page>(m_context, limit)}) {
        if (rows.empty())
            continue;
        m_context.remove(rows);
        removed = true;
    }
    if (removed)
        save();
}

} // namespace furrow
