#include "Instant.h"

#include <QDateTime>

namespace furrow {

using std::chrono::microseconds;
using std::chrono::milliseconds;

Instant instantFromMicroseconds(qint64 value)
{
    return Instant(microseconds(value));
}

qint64 microsecondsSinceEpoch(Instant instant)
{
    return instant.time_since_epoch().count();
}

Instant distantPast()
{
    return instantFromMicroseconds(-62135596800LL * 1000000);
}

QDateTime toLocalDateTime(Instant instant)
{
    const auto ms = std::chrono::floor<milliseconds>(instant.time_since_epoch());
    return QDateTime::fromMSecsSinceEpoch(ms.count(), Qt::LocalTime);
}

Instant instantFromDateTime(const QDateTime &dateTime)
{
    return Instant(milliseconds(dateTime.toMSecsSinceEpoch()));
}

} // namespace furrow
