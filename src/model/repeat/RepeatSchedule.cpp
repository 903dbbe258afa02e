#include "RepeatSchedule.h"

#include <algorithm>

namespace furrow::RepeatSchedule {

namespace {

using Frequency = RepeatRule::Frequency;

// Months and years whose day does not exist (the 31st, 29 February) are skipped, as calendars
// do; a rule that can never land again gives up after this many steps.
constexpr int kMaxSteps = 500;

QDate nextDaily(const RepeatRule &rule, QDate due, QDate earliest)
{
    const qint64 gap = due.daysTo(earliest);
    const qint64 steps = std::max<qint64>(1, (gap + rule.interval() - 1) / rule.interval());
    return due.addDays(steps * rule.interval());
}

QDate nextWeekly(const RepeatRule &rule, QDate due, QDate earliest)
{
    QList<Qt::DayOfWeek> days = rule.weekdays();
    if (days.isEmpty())
        days.append(Qt::DayOfWeek(due.dayOfWeek()));
    const QDate weekStart = due.addDays(1 - due.dayOfWeek());
    const qint64 weeksAhead = weekStart.daysTo(earliest) / 7;
    for (qint64 week = weeksAhead / rule.interval() * rule.interval();; week += rule.interval()) {
        for (const Qt::DayOfWeek day : days) {
            const QDate candidate = weekStart.addDays(week * 7 + int(day) - 1);
            if (candidate >= earliest)
                return candidate;
        }
    }
}

QDate nextMonthly(const RepeatRule &rule, QDate due, QDate earliest)
{
    const int wanted = rule.monthDay().value_or(due.day());
    const QDate firstMonth(due.year(), due.month(), 1);
    const int monthsAhead = (earliest.year() - due.year()) * 12 + earliest.month() - due.month();
    int month = monthsAhead / rule.interval() * rule.interval();
    for (int step = 0; step < kMaxSteps; ++step, month += rule.interval()) {
        const QDate first = firstMonth.addMonths(month);
        const int day = wanted == -1 ? first.daysInMonth() : wanted;
        if (day > first.daysInMonth())
            continue;
        const QDate candidate(first.year(), first.month(), day);
        if (candidate >= earliest)
            return candidate;
    }
    return {};
}

QDate nextYearly(const RepeatRule &rule, QDate due, QDate earliest)
{
    int years = (earliest.year() - due.year()) / rule.interval() * rule.interval();
    for (int step = 0; step < kMaxSteps; ++step, years += rule.interval()) {
        const QDate candidate(due.year() + years, due.month(), due.day());
        if (candidate.isValid() && candidate >= earliest)
            return candidate;
    }
    return {};
}

QDate fixedNext(const RepeatRule &rule, QDate due, QDate closedDay)
{
    const QDate earliest = std::max(due.addDays(1), closedDay);
    switch (rule.frequency()) {
    case Frequency::Daily:
        return nextDaily(rule, due, earliest);
    case Frequency::Weekly:
        return nextWeekly(rule, due, earliest);
    case Frequency::Monthly:
        return nextMonthly(rule, due, earliest);
    case Frequency::Yearly:
        return nextYearly(rule, due, earliest);
    }
    return {};
}

QDate afterCompletion(const RepeatRule &rule, QDate closedDay)
{
    switch (rule.frequency()) {
    case Frequency::Daily:
        return closedDay.addDays(rule.interval());
    case Frequency::Weekly:
        return closedDay.addDays(7 * qint64(rule.interval()));
    case Frequency::Monthly:
        return closedDay.addMonths(rule.interval());
    case Frequency::Yearly:
        return closedDay.addYears(rule.interval());
    }
    return {};
}

} // namespace

std::optional<QDate> nextDue(const RepeatRule &rule, bool fromDone, QDate due, QDate closedDay,
                             int ordinal)
{
    if (rule.count() && ordinal >= *rule.count())
        return std::nullopt;
    const QDate next
        = fromDone ? afterCompletion(rule, closedDay) : fixedNext(rule, due, closedDay);
    if (!next.isValid() || (rule.until() && next > *rule.until()))
        return std::nullopt;
    return next;
}

} // namespace furrow::RepeatSchedule
