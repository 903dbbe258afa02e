#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace furrow {

// A repeat schedule in the subset of iCalendar's RRULE that the planner generates occurrences
// for: FREQ (daily, weekly, monthly, yearly), INTERVAL, BYDAY (weekly), BYMONTHDAY (monthly; -1
// is the last day), and UNTIL (a date) or COUNT. Rules outside the subset are kept as text by
// the tasks that carry them, but never parse into this type.
class RepeatRule
{
public:
    enum class Frequency { Daily, Weekly, Monthly, Yearly };

    explicit RepeatRule(Frequency frequency = Frequency::Daily, int interval = 1);

    // The rule of an RRULE text, with or without the "RRULE:" prefix; none when the text is
    // outside the subset (an unknown part, a repeated one, a value out of range, …).
    static std::optional<RepeatRule> parse(const QString &text);
    // The canonical text: FREQ, then INTERVAL when above 1, BYDAY, BYMONTHDAY, UNTIL, COUNT.
    QString text() const;

    Frequency frequency() const { return m_frequency; }
    int interval() const { return m_interval; }
    // Weekdays of a weekly rule, Monday first; empty means the due day's weekday.
    const QList<Qt::DayOfWeek> &weekdays() const { return m_weekdays; }
    // Day of the month of a monthly rule, 1 … 31 or -1 for the last; none means the due day's.
    std::optional<int> monthDay() const { return m_monthDay; }
    std::optional<QDate> until() const { return m_until; }
    std::optional<int> count() const { return m_count; }

    void setInterval(int interval) { m_interval = interval; }
    void setWeekdays(QList<Qt::DayOfWeek> weekdays);
    void setMonthDay(std::optional<int> day) { m_monthDay = day; }
    // A rule ends either on a day or after a number of occurrences: setting one clears the other.
    void setUntil(std::optional<QDate> until);
    void setCount(std::optional<int> count);

    // The largest interval and count accepted; beyond them a rule is outside the subset.
    static constexpr int kMaxInterval = 999;
    static constexpr int kMaxCount = 9999;

    bool operator==(const RepeatRule &) const = default;

private:
    bool applyPart(const QString &name, const QString &value);

    Frequency m_frequency;
    int m_interval;
    QList<Qt::DayOfWeek> m_weekdays;
    std::optional<int> m_monthDay;
    std::optional<QDate> m_until;
    std::optional<int> m_count;
};

} // namespace furrow
