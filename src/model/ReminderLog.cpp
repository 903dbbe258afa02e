#include "ReminderLog.h"

#include "UserDefaults.h"

#include <QStringList>

namespace furrow {

namespace {

const QString kFiredKey = QStringLiteral("reminders.fired");
const QString kSnoozedKey = QStringLiteral("reminders.snoozed");

QString number(Instant at)
{
    return QString::number(microsecondsSinceEpoch(at));
}

// Reads "ID MICROSECONDS…" entries; malformed ones are skipped.
template<class Take>
void readEntries(const QStringList &entries, qsizetype fields, Take take)
{
    for (const QString &entry : entries) {
        const QStringList parts = entry.split(u' ');
        const QUuid id(parts.value(0));
        if (parts.size() != fields || id.isNull())
            continue;
        std::vector<Instant> times;
        for (qsizetype i = 1; i < fields; ++i) {
            bool ok = false;
            times.push_back(instantFromMicroseconds(parts[i].toLongLong(&ok)));
            if (!ok)
                break;
        }
        if (qsizetype(times.size()) == fields - 1)
            take(id, times);
    }
}

} // namespace

Instant ReminderLog::effectiveTime(const QUuid &taskId, Instant remindAt) const
{
    const auto snoozed = m_snoozed.find(taskId);
    if (snoozed != m_snoozed.end() && snoozed->second.remindAt == remindAt)
        return snoozed->second.until;
    return remindAt;
}

bool ReminderLog::hasFired(const QUuid &taskId, Instant at) const
{
    const auto fired = m_fired.find(taskId);
    return fired != m_fired.end() && fired->second == at;
}

void ReminderLog::markFired(const QUuid &taskId, Instant at)
{
    m_fired[taskId] = at;
}

void ReminderLog::snooze(const QUuid &taskId, Instant remindAt, Instant until)
{
    m_snoozed[taskId] = {remindAt, until};
}

void ReminderLog::forgetOlderThan(Instant limit)
{
    std::erase_if(m_fired, [&](const auto &entry) { return entry.second < limit; });
    std::erase_if(m_snoozed, [&](const auto &entry) { return entry.second.until < limit; });
}

ReminderLog ReminderLog::load()
{
    ReminderLog log;
    const auto defaults = UserDefaults::open();
    readEntries(
        defaults->value(kFiredKey).toStringList(), 2,
        [&](const QUuid &id, const std::vector<Instant> &times) { log.m_fired[id] = times[0]; });
    readEntries(defaults->value(kSnoozedKey).toStringList(), 3,
                [&](const QUuid &id, const std::vector<Instant> &times) {
                    log.m_snoozed[id] = {times[0], times[1]};
                });
    return log;
}

void ReminderLog::save() const
{
    QStringList fired;
    for (const auto &[id, at] : m_fired)
        fired.append(id.toString(QUuid::WithoutBraces) + u' ' + number(at));
    QStringList snoozed;
    for (const auto &[id, snooze] : m_snoozed)
        snoozed.append(id.toString(QUuid::WithoutBraces) + u' ' + number(snooze.remindAt) + u' '
                       + number(snooze.until));
    const auto defaults = UserDefaults::open();
    defaults->setValue(kFiredKey, fired);
    defaults->setValue(kSnoozedKey, snoozed);
}

} // namespace furrow
