#include "DayPlan.h"

#include "Calendar.h"
#include "Clock.h"
#include "RecordAssign.h"

namespace furrow {

DayPlan::DayPlan()
    : m_date(Clock::now())
    , m_updatedAt(Clock::now())
{}

DayPlan::DayPlan(Instant date, const OptionalInstant &startedAt)
    : DayPlan()
{
    m_date = Calendar::startOfDay(date);
    m_startedAt = startedAt;
    m_updatedAt = Clock::now();
}

void DayPlan::setDate(Instant date)
{
    assign(&DayPlan::m_date, date);
}

void DayPlan::setStartedAt(const OptionalInstant &startedAt)
{
    assign(&DayPlan::m_startedAt, startedAt);
}

void DayPlan::setClosedAt(const OptionalInstant &closedAt)
{
    assign(&DayPlan::m_closedAt, closedAt);
}

void DayPlan::setPlannedCount(qint64 count)
{
    assign(&DayPlan::m_plannedCount, count);
}

void DayPlan::setClosedCount(qint64 count)
{
    assign(&DayPlan::m_closedCount, count);
}

void DayPlan::setUpdatedAt(Instant updatedAt)
{
    assign(&DayPlan::m_updatedAt, updatedAt);
}

} // namespace furrow
