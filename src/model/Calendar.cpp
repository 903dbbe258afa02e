#include "Calendar.h"

#include <QDateTime>

namespace furrow::Calendar {

Day dayOf(Instant instant)
{
    const QDate date = toLocalDateTime(instant).date();
    return {instantFromDateTime(date.startOfDay()),
            instantFromDateTime(date.addDays(1).startOfDay())};
}

Instant startOfDay(Instant instant)
{
    return instantFromDateTime(toLocalDateTime(instant).date().startOfDay());
}

bool isSameDay(Instant a, Instant b)
{
    return dayOf(b).contains(a);
}

std::optional<Instant> addingDays(Instant instant, int days)
{
    const QDateTime moved = toLocalDateTime(instant).addDays(days);
    if (!moved.isValid())
        return std::nullopt;
    // QDateTime carries milliseconds only; keep the sub-millisecond remainder.
    const auto remainder = instant - std::chrono::floor<std::chrono::milliseconds>(instant);
    return instantFromDateTime(moved) + remainder;
}

Instant atTimeOfDay(Instant day, QTime time)
{
    return instantFromDateTime(QDateTime(toLocalDateTime(day).date(), time));
}

QTime timeOfDay(Instant instant)
{
    return toLocalDateTime(instant).time();
}

} // namespace furrow::Calendar
