#pragma once

#include "model/Instant.h"

#include <QString>

namespace furrow {

// How instants and days travel on the sync wire.
namespace SyncTime {

// Milliseconds since 1970, halves rounded away from zero.
qint64 toWire(Instant instant);
// The instant of a wire time. Absurd values, tens of thousands of years away, are clamped.
Instant fromWire(qint64 milliseconds);

// Seconds since 1970 as a double: the unit of the local change mark.
double seconds(Instant instant);

// The local calendar day of an instant as "yyyy-MM-dd".
QString dayId(Instant instant);

} // namespace SyncTime
} // namespace furrow
