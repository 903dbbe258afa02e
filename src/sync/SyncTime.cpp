#include "SyncTime.h"

#include <QDateTime>

#include <cmath>

namespace furrow::SyncTime {

qint64 toWire(Instant instant)
{
    // std::llround rounds halves away from zero.
    return std::llround(seconds(instant) * 1000.0);
}

Instant fromWire(qint64 milliseconds)
{
    // About 95 000 years either side of 1970: far past any real time, and far enough inside
    // the range of an instant that calendar arithmetic on it cannot overflow.
    constexpr qint64 limit = 3'000'000'000'000'000;
    return instantFromMicroseconds(std::clamp(milliseconds, -limit, limit) * 1000);
}

double seconds(Instant instant)
{
    return double(microsecondsSinceEpoch(instant)) / 1e6;
}

QString dayId(Instant instant)
{
    return toLocalDateTime(instant).date().toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace furrow::SyncTime
