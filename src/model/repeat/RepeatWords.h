#pragma once

#include "RepeatRule.h"

namespace furrow {

// A repeat rule in plain English words, for the due picker, the repeat mark's tooltip and
// the screen reader: "Every 2 weeks on Mon and Thu".
namespace RepeatWords {

QString describe(const RepeatRule &rule, bool fromDone);
// The words of a stored rule text: empty when the task does not repeat, "Repeats (custom)"
// for a rule outside the subset.
QString describe(const QString &ruleText, bool fromDone);
// "Mon", "Tue", … whatever the system's language.
QString weekdayName(Qt::DayOfWeek day);
// "1st", "2nd", "23rd", … and "last" for -1.
QString monthDayName(int day);
// The English ordinal ending of a positive number: "st", "nd", "rd" or "th".
QString ordinalSuffix(int n);

} // namespace RepeatWords
} // namespace furrow
