#include "PlannerStore.h"

#include "Calendar.h"
#include "Clock.h"
#include "LiveRecords.h"
#include "Log.h"
#include "PlannerNotifications.h"
#include "StarterPage.h"

#include <QHash>

#include <algorithm>

namespace furrow {

namespace {

bool isInSection(const TaskItem &task, const Section *section)
{
    const Section *own = task.section();
    return section ? own && own->id() == section->id() : !own;
}

bool isOpenIn(const TaskItem &task, const Section *section)
{
    return !task.deletedAt() && !task.isDone() && !task.isArchived() && isInSection(task, section);
}

} // namespace

std::vector<TaskItem *> PlannerStore::allTasks() const
{
    std::vector<TaskItem *> result;
    for (const auto &task : m_context.rows<TaskItem>()) {
        if (!task->deletedAt())
            result.push_back(task.get());
    }
    return result;
}

std::vector<TaskItem *> PlannerStore::tasks(const Section *section) const
{
    std::vector<TaskItem *> result;
    for (const auto &task : m_context.rows<TaskItem>()) {
        if (isOpenIn(*task, section))
            result.push_back(task.get());
    }
    sortByOrder(result);
    return result;
}

std::vector<PlannerStore::ShownTasks>
PlannerStore::shownTasks(const std::vector<Section *> &sections) const
{
    std::vector<ShownTasks> result(sections.size());
    QHash<QUuid, std::size_t> index;
    for (std::size_t i = 0; i < sections.size(); ++i)
        index.insert(sections[i]->id(), i);
    // Tasks of one section tend to come together; the last section found is asked first.
    const Section *lastSection = nullptr;
    ShownTasks *lastShown = nullptr;
    for (const auto &task : m_context.rows<TaskItem>()) {
        const Section *section = task->section();
        if (!section || !task->isActive())
            continue;
        if (section != lastSection) {
            const auto found = index.constFind(section->id());
            lastSection = section;
            lastShown = found == index.constEnd() ? nullptr : &result[*found];
        }
        if (lastShown)
            (task->isDone() ? lastShown->done : lastShown->open).push_back(task.get());
    }
    const auto doneAt = [](const TaskItem *task) {
        return task->doneAt().value_or(distantPast());
    };
    for (ShownTasks &shown : result) {
        // Usually in order already: checking is linear, sorting is not.
        if (!std::is_sorted(shown.open.begin(), shown.open.end(),
                            [](auto *a, auto *b) { return a->order() < b->order(); }))
            sortByOrder(shown.open);
        std::stable_sort(
            shown.done.begin(), shown.done.end(),
            [&](const TaskItem *a, const TaskItem *b) { return doneAt(a) > doneAt(b); });
    }
    return result;
}

qint64 PlannerStore::nextOrder(const Section *section) const
{
    std::optional<qint64> largest;
    for (const auto &task : m_context.rows<TaskItem>()) {
        if (isOpenIn(*task, section))
            largest = std::max(largest.value_or(task->order()), task->order());
    }
    return largest ? *largest + 1 : 0;
}

std::vector<Project *> PlannerStore::projects() const
{
    auto result = live(m_context.fetchAll<Project>());
    sortByOrder(result);
    return result;
}

std::vector<TaskItem *> PlannerStore::archivedTasks() const
{
    auto result = archived(m_context.fetchAll<TaskItem>());
    std::stable_sort(result.begin(), result.end(), [](const TaskItem *a, const TaskItem *b) {
        return *a->archivedAt() > *b->archivedAt();
    });
    return result;
}

DayPlan *PlannerStore::dayPlan(Instant instant) const
{
    const Calendar::Day day = Calendar::dayOf(instant);
    for (const auto &plan : m_context.rows<DayPlan>()) {
        if (day.contains(plan->date()))
            return plan.get();
    }
    return nullptr;
}

qint64 PlannerStore::closedTodayCount() const
{
    const Calendar::Day today = Calendar::dayOf(Clock::now());
    qint64 count = 0;
    for (const auto &task : m_context.rows<TaskItem>()) {
        if (task->isActive() && task->isDone() && task->doneAt() && today.contains(*task->doneAt()))
            ++count;
    }
    return count;
}

ModelContext::SaveResult PlannerStore::save()
{
    const ModelContext::SaveResult result = m_context.save();
    if (!result.ok) {
        logLine(QStringLiteral("save failed — ") + result.error);
        return result;
    }
    m_context.announceStoreSave();
    Q_EMIT PlannerNotifications::center().plannerDidChange();
    return result;
}

std::vector<Page *> PlannerStore::livePages() const
{
    return live(m_context.fetchAll<Page>());
}

Page *PlannerStore::ensureStarterPage()
{
    const bool missing = livePages().empty();
    Page *page = insertStarterPageIfMissing();
    if (missing)
        save();
    return page;
}

Page *PlannerStore::insertStarterPageIfMissing()
{
    if (const auto pages = livePages(); !pages.empty())
        return pages.front();
    return StarterPage::insert(m_context);
}

bool PlannerStore::undo()
{
    UndoHistory *history = m_context.undoHistory();
    if (!history || !history->undo())
        return false;
    save();
    return true;
}

bool PlannerStore::redo()
{
    UndoHistory *history = m_context.undoHistory();
    if (!history || !history->redo())
        return false;
    save();
    return true;
}

} // namespace furrow
