#pragma once

#include "CaptureWords.h"

#include <QDate>

namespace furrow {

// The due-day grammar: "today", "tomorrow", weekdays, "next week", "in 3 days", "24 dec",
// "2026-12-24", "24/12" and the like, read at one word of capture text.
namespace DuePhrases {

struct Match
{
    qsizetype first; // word indices, inclusive
    qsizetype last;
    QDate day;
};

// The longest due phrase that starts at word `at`, if any.
std::optional<Match> matchAt(const CaptureWords &words, qsizetype at, QDate today,
                             bool dayBeforeMonth);

// The first date on or after `from` with that month and day; none for a day no month has.
QDate nextDate(QDate from, int month, int day);

} // namespace DuePhrases
} // namespace furrow
