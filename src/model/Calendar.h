#pragma once

#include "Instant.h"

#include <QTime>

namespace furrow {

// The current calendar: Gregorian days of the local time zone (TZ). Day arithmetic moves by
// calendar days, so a day with a daylight-saving change is still one day.
namespace Calendar {

struct Day
{
    Instant start; // first instant of the day
    Instant end;   // first instant of the next day
    bool contains(Instant instant) const { return instant >= start && instant < end; }
};

Day dayOf(Instant instant);
Instant startOfDay(Instant instant);
bool isSameDay(Instant a, Instant b);

// The same local time of day, `days` calendar days later (or earlier when negative); none when
// the result is outside what the calendar can represent.
std::optional<Instant> addingDays(Instant instant, int days);

// That local time of day on the day of `day`; a time that a daylight-saving change skips on
// that day moves forward by the gap.
Instant atTimeOfDay(Instant day, QTime time);
QTime timeOfDay(Instant instant);

} // namespace Calendar
} // namespace furrow
