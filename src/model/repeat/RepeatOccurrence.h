#pragma once

#include "model/Instant.h"

#include <QDate>
#include <QUuid>

#include <optional>

namespace furrow {

class TaskItem;

// How one occurrence of a repeating task leads to the next: which record comes next and on
// which day, and what it takes over from the occurrence before it.
namespace RepeatOccurrence {

struct Next
{
    QUuid id;
    QDate due;
};

// The day a task is due, in the current calendar; `fallback` when it has no due day.
QDate dueDay(const TaskItem &task, QDate fallback);

// The occurrence after `closed`, which was closed at `closedAt` and is occurrence number
// `ordinal` of its series; none when it does not repeat by a rule of the subset, has no
// series, or is the last of its series.
std::optional<Next> next(const TaskItem &closed, Instant closedAt, int ordinal);

// Gives `next` what it takes over from `closed`: title, note, project, section, rule, series
// and the reminder's time of day, due on `due`, open, neither archived nor tombstoned.
void copyInto(TaskItem &next, const TaskItem &closed, QDate due);

// Whether `next` still holds exactly what copyInto gave it (its order aside).
bool isUntouched(const TaskItem &next, const TaskItem &closed, QDate due);

} // namespace RepeatOccurrence
} // namespace furrow
