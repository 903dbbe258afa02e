#pragma once

#include "Record.h"

namespace furrow {

// The planned and closed counts of one calendar day, identified by the day's first instant.
class DayPlan final : public Record
{
public:
    DayPlan();
    // `date` may be any instant of the day; the plan keeps the day's start.
    DayPlan(Instant date, const OptionalInstant &startedAt);

    RecordKind kind() const override { return RecordKind::DayPlan; }

    Instant date() const { return m_date; }
    const OptionalInstant &startedAt() const { return m_startedAt; }
    const OptionalInstant &closedAt() const { return m_closedAt; }
    qint64 plannedCount() const { return m_plannedCount; }
    qint64 closedCount() const { return m_closedCount; }
    Instant updatedAt() const override { return m_updatedAt; }

    void setDate(Instant date);
    void setStartedAt(const OptionalInstant &startedAt);
    void setClosedAt(const OptionalInstant &closedAt);
    void setPlannedCount(qint64 count);
    void setClosedCount(qint64 count);
    void setUpdatedAt(Instant updatedAt) override;

private:
    Instant m_date;
    OptionalInstant m_startedAt;
    OptionalInstant m_closedAt;
    qint64 m_plannedCount = 0;
    qint64 m_closedCount = 0;
    Instant m_updatedAt;
};

} // namespace furrow
