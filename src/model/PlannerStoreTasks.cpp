// PlannerStore: capture, edits and the life of a task.

#include "PlannerStore.h"

#include "Calendar.h"
#include "Clock.h"
#include "capture/CaptureParser.h"

#include <QDateTime>

#include <algorithm>

namespace furrow {

CaptureReading PlannerStore::readCapture(const QString &text, const QStringList &refused) const
{
    CaptureContext context = CaptureContext::current();
    context.refused = refused;
    return readCapture(text, std::move(context));
}

CaptureReading PlannerStore::readCapture(const QString &text, CaptureContext context) const
{
    context.namesProject = [this](const QString &token) {
        return matchProject(token) != nullptr;
    };
    return CaptureParser::read(text, context);
}

TaskItem *PlannerStore::capture(const QString &text, Section *into, Project *defaultProject,
                                const QStringList &refused)
{
    TaskItem *task = file(readCapture(text, refused), into, defaultProject);
    if (task)
        save();
    return task;
}

std::vector<TaskItem *> PlannerStore::captureLines(const QString &text, Section *into,
                                                   Project *defaultProject)
{
    std::vector<TaskItem *> filed;
    for (const QString &line : CaptureParser::lines(text)) {
        if (TaskItem *task = file(readCapture(line), into, defaultProject))
            filed.push_back(task);
    }
    if (!filed.empty())
        save();
    return filed;
}

TaskItem *PlannerStore::file(const CaptureReading &reading, Section *into, Project *defaultProject)
{
    if (reading.title.isEmpty())
        return nullptr;
    Project *project = reading.projectToken ? matchProject(*reading.projectToken) : nullptr;
    if (!project)
        project = defaultProject;
    TaskItem *task = m_context.insert(
        std::make_shared<TaskItem>(reading.title, into, nextOrder(into), project));
    applyDates(reading, *task);
    return task;
}

void PlannerStore::applyInlineEdit(const QString &text, TaskItem &task, const QStringList &refused)
{
    const CaptureReading reading = readCapture(text, refused);
    if (reading.title.isEmpty())
        return;
    task.setTitle(reading.title);
    task.setProject(reading.projectToken ? matchProject(*reading.projectToken) : nullptr);
    applyDates(reading, task);
    task.setUpdatedAt(Clock::now());
    save();
}

void PlannerStore::applyDates(const CaptureReading &reading, TaskItem &task)
{
    if (reading.dueDay)
        moveDueDate(instantFromDateTime(reading.dueDay->startOfDay()), task);
    if (!reading.repeatRule.isEmpty())
        assignRepeat(reading.repeatRule, reading.repeatFromDone, task);
}

void PlannerStore::setNote(const QString &note, TaskItem &task)
{
    task.setNote(note);
    task.setUpdatedAt(Clock::now());
    save();
}

void PlannerStore::setDueDate(const OptionalInstant &day, TaskItem &task)
{
    moveDueDate(day, task);
    task.setUpdatedAt(Clock::now());
    save();
}

void PlannerStore::moveDueDate(const OptionalInstant &day, TaskItem &task)
{
    task.setDueDate(day ? OptionalInstant(Calendar::startOfDay(*day)) : std::nullopt);
    if (task.remindAt()) {
        task.setRemindAt(day ? OptionalInstant(
                             Calendar::atTimeOfDay(*day, Calendar::timeOfDay(*task.remindAt())))
                             : std::nullopt);
    }
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
    assignRepeat(rule, fromDone, task);
    task.setUpdatedAt(Clock::now());
    save();
}

void PlannerStore::assignRepeat(const QString &rule, bool fromDone, TaskItem &task)
{
    task.setRepeatRule(rule);
    task.setRepeatFromDone(!rule.isEmpty() && fromDone);
    if (!rule.isEmpty()) {
        if (!task.dueDate())
            task.setDueDate(Calendar::startOfDay(Clock::now()));
        if (task.seriesId().isNull())
            task.setSeriesId(task.id());
    }
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
    const auto position = openPosition(task);
    task.setDone(true);
    task.setDoneAt(Clock::now());
    task.setUpdatedAt(Clock::now());
    if (task.section())
        reindex(task.section());
    if (task.isActive())
        startNextOccurrence(task, position);
    stampToday();
    save();
}

void PlannerStore::reopen(TaskItem &task)
{
    if (!task.isDone())
        return;
    if (task.isActive())
        withdrawNextOccurrence(task);
    task.setDone(false);
    task.setDoneAt(std::nullopt);
    task.setOrder(nextOrder(task.section()));
    task.setUpdatedAt(Clock::now());
    settleSeries();
    stampToday();
    save();
}

void PlannerStore::archive(TaskItem &task)
{
    // Dropping an open occurrence skips it: the next one starts as when it is done.
    const bool drops = task.isActive() && !task.isDone();
    const auto position = openPosition(task);
    task.setArchivedAt(Clock::now());
    task.setUpdatedAt(Clock::now());
    if (task.section())
        reindex(task.section());
    if (drops)
        startNextOccurrence(task, position);
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
    settleSeries();
    stampToday();
    save();
}

bool PlannerStore::move(TaskItem &task, Section *target, std::optional<qint64> insertAt)
{
    if (task.isDone())
        return false;
    Section *previous = task.section();
    place(task, target, insertAt);
    if (previous && (!target || previous->id() != target->id()))
        reindex(previous);
    save();
    return true;
}

void PlannerStore::place(TaskItem &task, Section *target, std::optional<qint64> insertAt)
{
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
}

std::optional<qint64> PlannerStore::openPosition(const TaskItem &task) const
{
    const auto list = tasks(task.section());
    const auto at
        = std::ranges::find_if(list, [&](const TaskItem *t) { return t->id() == task.id(); });
    if (at == list.end())
        return std::nullopt;
    return qint64(at - list.begin());
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
