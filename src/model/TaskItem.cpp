#include "TaskItem.h"

#include "Calendar.h"
#include "Clock.h"
#include "RecordAssign.h"

namespace furrow {

TaskItem::TaskItem()
    : m_id(QUuid::createUuid())
    , m_createdAt(Clock::now())
    , m_updatedAt(Clock::now())
{}

TaskItem::TaskItem(const QString &title, Section *section, qint64 order, Project *project)
    : TaskItem()
{
    m_title = title;
    m_section = section;
    m_order = order;
    m_project = project;
    m_createdAt = Clock::now();
    m_updatedAt = Clock::now();
}

TaskItem::TaskItem(Stored) {}

void TaskItem::setId(const QUuid &id)
{
    assign(&TaskItem::m_id, id);
}

void TaskItem::setTitle(const QString &title)
{
    assign(&TaskItem::m_title, title);
}

void TaskItem::setNote(const QString &note)
{
    assign(&TaskItem::m_note, note);
}

void TaskItem::setDueDate(const OptionalInstant &dueDate)
{
    assign(&TaskItem::m_dueDate, dueDate);
}

void TaskItem::setOrder(qint64 order)
{
    assign(&TaskItem::m_order, order);
}

void TaskItem::setDone(bool isDone)
{
    assign(&TaskItem::m_isDone, isDone);
}

void TaskItem::setDoneAt(const OptionalInstant &doneAt)
{
    assign(&TaskItem::m_doneAt, doneAt);
}

void TaskItem::setCreatedAt(Instant createdAt)
{
    assign(&TaskItem::m_createdAt, createdAt);
}

void TaskItem::setUpdatedAt(Instant updatedAt)
{
    assign(&TaskItem::m_updatedAt, updatedAt);
}

void TaskItem::setDeletedAt(const OptionalInstant &deletedAt)
{
    assign(&TaskItem::m_deletedAt, deletedAt);
}

void TaskItem::setArchivedAt(const OptionalInstant &archivedAt)
{
    assign(&TaskItem::m_archivedAt, archivedAt);
}

void TaskItem::setSnoozedUntil(const OptionalInstant &until)
{
    assign(&TaskItem::m_snoozedUntil, until);
}

void TaskItem::setRemindAt(const OptionalInstant &remindAt)
{
    assign(&TaskItem::m_remindAt, remindAt);
}

void TaskItem::setRepeatRule(const QString &rule)
{
    assign(&TaskItem::m_repeatRule, rule);
}

void TaskItem::setRepeatFromDone(bool fromDone)
{
    assign(&TaskItem::m_repeatFromDone, fromDone);
}

void TaskItem::setSeriesId(const QUuid &seriesId)
{
    assign(&TaskItem::m_seriesId, seriesId);
}

void TaskItem::setProject(Project *project)
{
    assign(&TaskItem::m_project, project);
}

void TaskItem::setSection(Section *section)
{
    assign(&TaskItem::m_section, section);
}

bool TaskItem::isOverdue() const
{
    if (m_isDone || !m_dueDate)
        return false;
    // The due day starts before today exactly when the due instant lies before today's start.
    return *m_dueDate < Calendar::startOfDay(Clock::now());
}

} // namespace furrow
