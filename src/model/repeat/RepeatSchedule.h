#pragma once

#include "RepeatRule.h"

namespace furrow {

// The day arithmetic of repeating tasks: when the occurrence after a closed one is due.
namespace RepeatSchedule {

// The due day of the occurrence that follows one due on `due`, closed (done or dropped) on
// `closedDay`, which was occurrence number `ordinal` (1 for the first) of its series.
// On a fixed schedule (counted from `due`): the first day of the rule after `due` that is
// `closedDay` or later, so a task closed late is due once, never once per missed day.
// From completion: `closedDay` plus the interval. None when UNTIL or COUNT ends the series.
std::optional<QDate> nextDue(const RepeatRule &rule, bool fromDone, QDate due, QDate closedDay,
                             int ordinal);

} // namespace RepeatSchedule
} // namespace furrow
