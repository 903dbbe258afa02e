#pragma once

#include "model/Instant.h"

#include <QString>

#include <vector>

namespace furrow {

class ModelContext;
class TaskItem;

// What the archive window (of tasks that left the board) lists and how it words it: done tasks
// grouped by the day they were closed, dropped tasks with the days they have left, and where a
// task that is put back goes.
namespace ArchiveContent {

// Dropped tasks stay this many days before the purge takes them.
constexpr int kKeptDays = 30;

struct DayGroup
{
    Instant day; // start of the day
    std::vector<TaskItem *> tasks;
};

// The archived done tasks by the day of their doneAt (their archivedAt when it is missing),
// newest day first; within a day in the order they were closed.
std::vector<DayGroup> doneByDay(ModelContext &context);
// The archived tasks that are not done, most recently archived first.
std::vector<TaskItem *> dropped(ModelContext &context);

// "Today", "Yesterday", "Tuesday, 03 March" in the current year, "30 December 2025" before.
QString dayLabel(Instant day, Instant now);
// "one thing", "2 things".
QString countText(qsizetype count);
// Whole calendar days from `from` to `to`; 0 when `to` is not later.
int wholeDaysBetween(Instant from, Instant to);
// "1 day left", "12 days left", "0 days left"; empty for a task without archive time.
QString daysLeftText(const TaskItem &task, Instant now);
QString daysLeftText(const OptionalInstant &archivedAt, Instant now);

} // namespace ArchiveContent
} // namespace furrow
