#pragma once

#include "Record.h"

namespace furrow {

class Project;
class Section;

// A task: its title, note, due day, reminder, repeat rule, done state, archive and tombstone
// stamps, and the section and project it belongs to.
class TaskItem final : public Record
{
public:
    // Marks a task read back from a store, whose reader sets every field.
    struct Stored
    {
    };

    TaskItem();
    TaskItem(const QString &title, Section *section, qint64 order, Project *project);
    // A blank task for a store's reader: no fresh id or clock reading for each of tens of
    // thousands of rows that are about to get their stored ones.
    explicit TaskItem(Stored);

    RecordKind kind() const override { return RecordKind::Task; }

    const QUuid &id() const { return m_id; }
    const QString &title() const { return m_title; }
    const QString &note() const { return m_note; }
    const OptionalInstant &dueDate() const { return m_dueDate; }
    qint64 order() const { return m_order; }
    bool isDone() const { return m_isDone; }
    const OptionalInstant &doneAt() const { return m_doneAt; }
    Instant createdAt() const { return m_createdAt; }
    Instant updatedAt() const override { return m_updatedAt; }
    const OptionalInstant &deletedAt() const { return m_deletedAt; }
    const OptionalInstant &archivedAt() const { return m_archivedAt; }
    const OptionalInstant &snoozedUntil() const { return m_snoozedUntil; }
    const OptionalInstant &remindAt() const { return m_remindAt; }
    // The repeat rule's text; empty when the task does not repeat.
    const QString &repeatRule() const { return m_repeatRule; }
    // Whether the next occurrence counts from the day the task was closed.
    bool repeatFromDone() const { return m_repeatFromDone; }
    // The id of the first task of the series this task belongs to; null when none.
    const QUuid &seriesId() const { return m_seriesId; }
    Project *project() const { return m_project; }
    Section *section() const { return m_section; }

    void setId(const QUuid &id);
    void setTitle(const QString &title);
    void setNote(const QString &note);
    void setDueDate(const OptionalInstant &dueDate);
    void setOrder(qint64 order);
    void setDone(bool isDone);
    void setDoneAt(const OptionalInstant &doneAt);
    void setCreatedAt(Instant createdAt);
    void setUpdatedAt(Instant updatedAt) override;
    void setDeletedAt(const OptionalInstant &deletedAt);
    void setArchivedAt(const OptionalInstant &archivedAt);
    void setSnoozedUntil(const OptionalInstant &snoozedUntil);
    void setRemindAt(const OptionalInstant &remindAt);
    void setRepeatRule(const QString &rule);
    void setRepeatFromDone(bool fromDone);
    void setSeriesId(const QUuid &seriesId);
    void setProject(Project *project);
    void setSection(Section *section);

    // Neither archived nor tombstoned.
    bool isActive() const { return !m_deletedAt && !m_archivedAt; }
    bool isArchived() const { return m_archivedAt.has_value(); }
    // Open and due on a day before today.
    bool isOverdue() const;

private:
    QUuid m_id;
    QString m_title;
    QString m_note;
    OptionalInstant m_dueDate;
    qint64 m_order = 0;
    bool m_isDone = false;
    OptionalInstant m_doneAt;
    Instant m_createdAt;
    Instant m_updatedAt;
    OptionalInstant m_deletedAt;
    OptionalInstant m_archivedAt;
    OptionalInstant m_snoozedUntil;
    OptionalInstant m_remindAt;
    QString m_repeatRule;
    bool m_repeatFromDone = false;
    QUuid m_seriesId;
    Project *m_project = nullptr;
    Section *m_section = nullptr;
};

} // namespace furrow
