#include "LocalTime.h"

#include <QDateTime>

namespace furrow::test {

Instant localTime(int year, int month, int day, int hour, int minute)
{
    return instantFromDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute)));
}

} // namespace furrow::test
