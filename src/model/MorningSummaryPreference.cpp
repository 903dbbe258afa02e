#include "MorningSummaryPreference.h"

#include "UserDefaults.h"

namespace furrow::MorningSummaryPreference {

namespace {
const QString kOnKey = QStringLiteral("summary.on");
const QString kTimeKey = QStringLiteral("summary.time");
const QString kLastSentKey = QStringLiteral("summary.lastSent");
const QString kTimeFormat = QStringLiteral("HH:mm");
const QTime kDefaultTime(9, 0);
} // namespace

bool isOn()
{
    return UserDefaults::open()->value(kOnKey, false).toBool();
}

void setOn(bool on)
{
    UserDefaults::open()->setValue(kOnKey, on);
}

QTime time()
{
    const QTime stored
        = QTime::fromString(UserDefaults::open()->value(kTimeKey).toString(), kTimeFormat);
    return stored.isValid() ? stored : kDefaultTime;
}

void setTime(const QTime &time)
{
    UserDefaults::open()->setValue(kTimeKey, time.toString(kTimeFormat));
}

QDate lastSent()
{
    return QDate::fromString(UserDefaults::open()->value(kLastSentKey).toString(), Qt::ISODate);
}

void setLastSent(const QDate &day)
{
    UserDefaults::open()->setValue(kLastSentKey, day.toString(Qt::ISODate));
}

} // namespace furrow::MorningSummaryPreference
