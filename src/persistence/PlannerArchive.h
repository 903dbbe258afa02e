#pragma once

#include "model/Clock.h"
#include "model/Instant.h"

#include <QByteArray>
#include <QString>
#include <QUuid>

#include <optional>
#include <vector>

namespace furrow {

// The backup document: a flat copy of the planner's projects, tasks and day log, written as
// sorted, pretty-printed JSON and read back strictly. Pages, sections as records, archive and
// snooze stamps, day counts and goals are not part of it.
struct PlannerArchive
{
    struct ProjectRecord
    {
        QUuid id;
        QString name;
        QString colorHex;
        qint64 order = 0;
        Instant updatedAt;
        OptionalInstant deletedAt;

        bool operator==(const ProjectRecord &) const = default;
    };

    struct TaskRecord
    {
        QUuid id;
        QString title;
        std::optional<QString> section; // the name of the task's section
        qint64 order = 0;
        std::optional<QString> note;
        OptionalInstant dueDate;
        bool isDone = false;
        OptionalInstant doneAt;
        Instant createdAt;
        Instant updatedAt;
        OptionalInstant deletedAt;
        std::optional<QUuid> projectID;
        OptionalInstant remindAt;
        std::optional<QString> repeat; // the repeat rule's text
        bool repeatFromDone = false;
        std::optional<QUuid> series;

        bool operator==(const TaskRecord &) const = default;
    };

    struct DayRecord
    {
        Instant date;
        OptionalInstant startedAt;

        bool operator==(const DayRecord &) const = default;
    };

    static constexpr qint64 kVersion = 1;

    qint64 version = kVersion;
    Instant savedAt = Clock::now();
    std::vector<ProjectRecord> projects;
    std::vector<TaskRecord> tasks;
    std::vector<DayRecord> days;

    bool operator==(const PlannerArchive &) const = default;

    // UTF-8 JSON: keys sorted, one member per line, instants as whole UTC seconds, identifiers
    // in upper case, absent optionals left out. Does not fail.
    QByteArray encode() const;
    // Reads a document; any missing required key, wrong type, malformed instant or identifier,
    // or text that is not JSON throws PersistenceError and nothing of the document is used.
    // Unknown keys are ignored and null reads as absent.
    static PlannerArchive decode(const QByteArray &bytes);
};

} // namespace furrow
