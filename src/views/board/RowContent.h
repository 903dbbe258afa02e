#pragma once

#include "model/Instant.h"

#include <QColor>
#include <QString>
#include <QUuid>

namespace furrow {

class TaskItem;

// What a task row shows of its task, taken from the record at each refresh so that a row
// can tell what changed and never keeps the record itself.
struct RowContent
{
    QUuid id;
    QUuid sectionId;
    QString title;
    QString note;
    bool hasProject = false;
    QString projectName;
    QColor projectColor;
    QString dueText; // empty without a due date
    bool overdue = false;
    bool reminderPending = false; // an open task's reminder is still ahead
    bool done = false;

    // The note holds more than white space.
    bool hasNote() const { return holdsText(note); }
    // The text holds more than white space; checked without a copy, for every task of a page.
    static bool holdsText(const QString &text);

    static RowContent of(const TaskItem &task, Instant now);
    bool operator==(const RowContent &) const = default;
};

} // namespace furrow
