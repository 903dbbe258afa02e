// PlannerStore: capture, edits and the life of a task.

#include "PlannerStore.h"

#include "Calendar.h"
#include "Clock.h"
#include "InlineSyntax.h"

#include <algorithm>

namespace furrow {

TaskItem *PlannerStore::capture(const QString &text, Section *into, Project *defaultProject)
{
    // Pasted lines would otherwise glue a hash word to the next line's first word.
    const InlineSyntax::Parsed parsed = InlineSyntax::parse(InlineSyntax::oneLine(text));
    if (parsed.title.isEmpty())
        return nullptr;
    Project *project = parsed.projectToken ? matchProject(*parsed.projectToken) : nullptr;
    if (!project)
        project = defaultProject;
    TaskItem *task = m_context.insert(
        std::make_shared<TaskItem>(parsed.title, into, nextOrder(into), project));
    save();
    return task;
}

void PlannerStore::applyInlineEdit(const QString &text, TaskItem &task)
{
    const InlineSyntax::Parsed parsed = InlineSyntax::parse(InlineSyntax::oneLine(text));
    if (parsed.title.isEmpty())
        return;
    task.setTitle(parsed.title);
    if (!parsed.projectToken)
        task.setProject(nullptr);
    else if (Project *project = matchProject(*parsed.projectToken))
        task.setProject(project);
    task.setUpdatedAt(Clock::now());
    save();
}

void PlannerStore::setNote(const QString &note, TaskItem &task)
{
    task.setNote(note);
    task.setUpdatedAt(Clock::now());
    save();
}

void PlannerStore::setDueDate(const OptionalInstant &day, TaskItem &task)
{
    task.setDueDate(day ? OptionalInstant(Calendar::startOfDay(*day)) : std::nullopt);
    if (task.remindAt()) {
        task.setRemindAt(day ? OptionalInstant(
                             Calendar::atTimeOfDay(*day, Calendar::timeOfDay(*task.remindAt())))
                             : std::nullopt);
    }
    task.setUpdatedAt(Clock::now());
    save();
}

void PlannerStore::setReminder(const std::optional<QTime> &time, TaskItem &task)
{
    const Instant now = Clock::now();
    if (!time) {
        task.setRemindAt(std::nullopt);
    } else if (task.dueDate()) {
        task.setRemindAt(Calendar::atTimeOfDay(*task.dueDate(), *time));
    } else {
        Instant at = Calendar::atTimeOfDay(now, *time);
        if (at <= now)
            at = Calendar::atTimeOfDay(Calendar::addingDays(now, 1).value_or(now), *time);
        task.setDueDate(Calendar::startOfDay(at));
        task.setRemindAt(at);
    }
    task.setUpdatedAt(now);
    save();
}

void PlannerStore::setRepeat(const QString &rule, bool fromDone, TaskItem &task)
{
    const Instant now = Clock::now();
    task.setRepeatRule(rule);
    task.setRepeatFromDone(!rule.isEmpty() && fromDone);
    if (!rule.isEmpty()) {
        if (!task.dueDate())
            task.setDueDate(Calendar::startOfDay(now));
        if (task.seriesId().isNull())
            task.setSeriesId(task.id());
    }
    task.setUpdatedAt(now);
    save();
}

void PlannerStore::setProject(Project *project, TaskItem &task)
{
    task.setProject(project);
    task.setUpdatedAt(Clock::now());
    save();
}

void PlannerStore::close(TaskItem &task)
{
    if (task.isDone())
        return;
    task.setDone(true);
    task.setDoneAt(Clock::now());
    task.setUpdatedAt(Clock::now());
    if (task.section())
        reindex(task.section());
    stampToday();
    save();
}

void PlannerStore::reopen(TaskItem &task)
{
    if (!task.isDone())
        return;
    task.setDone(false);
    task.setDoneAt(std::nullopt);
    task.setOrder(nextOrder(task.section()));
    task.setUpdatedAt(Clock::now());
    stampToday();
    save();
}

void PlannerStore::archive(TaskItem &task)
{
    task.setArchivedAt(Clock::now());
    task.setUpdatedAt(Clock::now());
    if (task.section())
        reindex(task.section());
    stampToday();
    save();
}

void PlannerStore::unarchive(TaskItem &task, Section *fallback)
{
    task.setArchivedAt(std::nullopt);
    task.setDone(false);
    task.setDoneAt(std::nullopt);
    if (!task.section() || !task.section()->isLive())
        task.setSection(fallback);
    const auto open = tasks(task.section());
    qint64 order = -1;
    if (!open.empty())
        order = open.front()->order() - 1; // the list is sorted, so the first key is the smallest
    task.setOrder(order);
    task.setUpdatedAt(Clock::now());
    stampToday();
    save();
}

bool PlannerStore::move(TaskItem &task, Section *target, std::optional<qint64> insertAt)
{
    if (task.isDone())
        return false;
    Section *previous = task.section();
    auto list = tasks(target);
    std::erase_if(list, [&](const TaskItem *other) { return other->id() == task.id(); });
    const auto length = qint64(list.size());
    const qint64 position = std::clamp(insertAt.value_or(length), qint64(0), length);
    task.setSection(target);
    list.insert(list.begin() + position, &task);

    const Instant now = Clock::now();
    for (qint64 i = 0; i < qint64(list.size()); ++i) {
        TaskItem *entry = list[std::size_t(i)];
        if (entry->order() != i || entry == &task) {
            entry->setOrder(i);
            entry->setUpdatedAt(now);
        }
    }
    if (previous && (!target || previous->id() != target->id()))
        reindex(previous);
    save();
    return true;
}

void PlannerStore::reindex(const Section *section)
{
    const auto list = tasks(section);
    const Instant now = Clock::now();
    for (qint64 i = 0; i < qint64(list.size()); ++i) {
        TaskItem *task = list[std::size_t(i)];
        if (task->order() != i) {
            task->setOrder(i);
            task->setUpdatedAt(now);
        }
    }
}

} // namespace furrow
