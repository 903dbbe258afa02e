#pragma once

#include "CaptureWords.h"

#include <QDate>

namespace furrow {

// The repeat grammar: "daily", "every week", "every mon, wed", "every 2 weeks", "every 1st",
// "every last day", each optionally followed by "from done", read into RRULE text.
namespace RepeatPhrases {

struct Match
{
    qsizetype first; // word indices, inclusive
    qsizetype last;
    QString rule; // FREQ first, then INTERVAL when not 1, BYDAY, BYMONTHDAY
    bool fromDone = false;
};

std::optional<Match> matchAt(const CaptureWords &words, qsizetype at);

// The first day on or after `today` that the rule falls on: the next listed weekday or day of
// the month, else today.
QDate firstDay(const QString &rule, QDate today);

} // namespace RepeatPhrases
} // namespace furrow
