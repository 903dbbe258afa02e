#pragma once

#include "Instant.h"

#include <QUuid>

#include <map>

namespace furrow {

// This computer's own memory of reminders, never synced: which reminder time of each task has
// already notified, and which were snoozed to a later time. Kept in the user's defaults so that
// a restart neither repeats a reminder nor forgets a snooze.
class ReminderLog
{
public:
    // The time the task's reminder set for `remindAt` notifies at: the snoozed time while a
    // snooze of that very reminder stands, else `remindAt`.
    Instant effectiveTime(const QUuid &taskId, Instant remindAt) const;
    bool hasFired(const QUuid &taskId, Instant at) const;

    void markFired(const QUuid &taskId, Instant at);
    void snooze(const QUuid &taskId, Instant remindAt, Instant until);
    // Forgets what can no longer matter: times further back than any reminder still notifies.
    void forgetOlderThan(Instant limit);

    static ReminderLog load();
    void save() const;

private:
    struct Snooze
    {
        Instant remindAt;
        Instant until;
    };

    std::map<QUuid, Instant> m_fired;
    std::map<QUuid, Snooze> m_snoozed;
};

} // namespace furrow
