#pragma once

#include <chrono>
#include <optional>

#include <QtGlobal>

class QDateTime;

namespace furrow {

// An absolute point in time with microsecond precision. QDateTime keeps only milliseconds, and
// both the backup file (whole seconds) and the sync wire (rounded milliseconds) must see the
// true fraction, so instants stay in this type and become QDateTime only for calendar work.
using Instant = std::chrono::sys_time<std::chrono::microseconds>;
using OptionalInstant = std::optional<Instant>;

Instant instantFromMicroseconds(qint64 microseconds);
qint64 microsecondsSinceEpoch(Instant instant);

// The earliest instant the planner uses: midnight UTC on 1 January of year 1.
Instant distantPast();

// Local-time conversions; the sub-millisecond part is dropped on the way to QDateTime.
QDateTime toLocalDateTime(Instant instant);
Instant instantFromDateTime(const QDateTime &dateTime);

} // namespace furrow
