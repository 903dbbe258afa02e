#include "RepeatRule.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace furrow {

namespace {

const QStringList kFrequencyNames = {u"DAILY"_s, u"WEEKLY"_s, u"MONTHLY"_s, u"YEARLY"_s};
// Index + 1 is the Qt::DayOfWeek value.
const QStringList kWeekdayCodes = {u"MO"_s, u"TU"_s, u"WE"_s, u"TH"_s, u"FR"_s, u"SA"_s, u"SU"_s};
const QString kDateFormat = u"yyyyMMdd"_s;

// A whole number written with digits only (an optional leading minus), within the range.
std::optional<int> boundedNumber(const QString &text, int lowest, int highest)
{
    static const QRegularExpression digits(u"^-?[0-9]{1,5}$"_s);
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int value = text.toInt();
    if (value < lowest || value > highest)
        return std::nullopt;
    return value;
}

std::optional<QList<Qt::DayOfWeek>> weekdayList(const QString &text)
{
    QList<Qt::DayOfWeek> days;
    for (const QString &code : text.split(u',')) {
        const auto index = kWeekdayCodes.indexOf(code);
        if (index < 0)
            return std::nullopt; // also refuses ordinals such as "1MO"
        const auto day = Qt::DayOfWeek(index + 1);
        if (days.contains(day))
            return std::nullopt;
        days.append(day);
    }
    return days;
}

} // namespace

RepeatRule::RepeatRule(Frequency frequency, int interval)
    : m_frequency(frequency)
    , m_interval(interval)
{}

void RepeatRule::setWeekdays(QList<Qt::DayOfWeek> weekdays)
{
    std::sort(weekdays.begin(), weekdays.end());
    weekdays.erase(std::unique(weekdays.begin(), weekdays.end()), weekdays.end());
    m_weekdays = std::move(weekdays);
}

void RepeatRule::setUntil(std::optional<QDate> until)
{
    m_until = until;
    if (until)
        m_count.reset();
}

void RepeatRule::setCount(std::optional<int> count)
{
    m_count = count;
    if (count)
        m_until.reset();
}

std::optional<RepeatRule> RepeatRule::parse(const QString &text)
{
    QString body = text.trimmed().toUpper();
    if (body.startsWith(u"RRULE:"_s))
        body = body.mid(6);
    RepeatRule rule;
    QSet<QString> seen;
    for (const QString &part : body.split(u';')) {
        const auto equals = part.indexOf(u'=');
        if (equals <= 0)
            return std::nullopt;
        const QString name = part.left(equals);
        if (seen.contains(name) || !rule.applyPart(name, part.mid(equals + 1)))
            return std::nullopt;
        seen.insert(name);
    }
    if (!seen.contains(u"FREQ"_s) || (rule.m_until && rule.m_count))
        return std::nullopt;
    if (!rule.m_weekdays.isEmpty() && rule.m_frequency != Frequency::Weekly)
        return std::nullopt;
    if (rule.m_monthDay && rule.m_frequency != Frequency::Monthly)
        return std::nullopt;
    return rule;
}

bool RepeatRule::applyPart(const QString &name, const QString &value)
{
    if (name == u"FREQ") {
        const auto index = kFrequencyNames.indexOf(value);
        m_frequency = Frequency(index);
        return index >= 0;
    }
    if (name == u"INTERVAL") {
        const auto number = boundedNumber(value, 1, kMaxInterval);
        m_interval = number.value_or(1);
        return number.has_value();
    }
    if (name == u"COUNT") {
        m_count = boundedNumber(value, 1, kMaxCount);
        return m_count.has_value();
    }
    if (name == u"BYMONTHDAY") {
        m_monthDay = boundedNumber(value, -1, 31);
        return m_monthDay.has_value() && *m_monthDay != 0;
    }
    if (name == u"UNTIL") {
        const QDate date = QDate::fromString(value, kDateFormat);
        if (value.size() != 8 || !date.isValid())
            return false;
        m_until = date;
        return true;
    }
    if (name == u"BYDAY") {
        const auto days = weekdayList(value);
        if (days)
            setWeekdays(*days);
        return days.has_value();
    }
    return false;
}

QString RepeatRule::text() const
{
    QStringList parts{u"FREQ="_s + kFrequencyNames.at(int(m_frequency))};
    if (m_interval > 1)
        parts.append(u"INTERVAL="_s + QString::number(m_interval));
    if (!m_weekdays.isEmpty()) {
        QStringList codes;
        for (const Qt::DayOfWeek day : m_weekdays)
            codes.append(kWeekdayCodes.at(int(day) - 1));
        parts.append(u"BYDAY="_s + codes.join(u','));
    }
    if (m_monthDay)
        parts.append(u"BYMONTHDAY="_s + QString::number(*m_monthDay));
    if (m_until)
        parts.append(u"UNTIL="_s + m_until->toString(kDateFormat));
    if (m_count)
        parts.append(u"COUNT="_s + QString::number(*m_count));
    return parts.join(u';');
}

} // namespace furrow
