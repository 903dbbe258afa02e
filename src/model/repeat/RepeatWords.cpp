#include "RepeatWords.h"

#include <QLocale>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace furrow::RepeatWords {

namespace {

QString every(int interval, const QString &one, const QString &many)
{
    if (interval == 1)
        return u"Every "_s + one;
    return u"Every %1 %2"_s.arg(interval).arg(many);
}

// "Mon", "Mon and Thu", "Mon, Wed and Fri".
QString joinedWeekdays(const QList<Qt::DayOfWeek> &days)
{
    QStringList names;
    for (const Qt::DayOfWeek day : days)
        names.append(weekdayName(day));
    const QString last = names.takeLast();
    return names.isEmpty() ? last : names.join(u", "_s) + u" and "_s + last;
}

QString schedule(const RepeatRule &rule)
{
    const int n = rule.interval();
    switch (rule.frequency()) {
    case RepeatRule::Frequency::Daily:
        return every(n, u"day"_s, u"days"_s);
    case RepeatRule::Frequency::Weekly: {
        const QList<Qt::DayOfWeek> workWeek
            = {Qt::Monday, Qt::Tuesday, Qt::Wednesday, Qt::Thursday, Qt::Friday};
        if (n == 1 && rule.weekdays() == workWeek)
            return u"Every weekday"_s;
        const QString words = every(n, u"week"_s, u"weeks"_s);
        if (rule.weekdays().isEmpty())
            return words;
        return words + u" on "_s + joinedWeekdays(rule.weekdays());
    }
    case RepeatRule::Frequency::Monthly: {
        const QString words = every(n, u"month"_s, u"months"_s);
        if (!rule.monthDay())
            return words;
        return words + u" on the "_s + monthDayName(*rule.monthDay())
               + (*rule.monthDay() == -1 ? u" day"_s : QString());
    }
    case RepeatRule::Frequency::Yearly:
        return every(n, u"year"_s, u"years"_s);
    }
    return {};
}

} // namespace

QString describe(const RepeatRule &rule, bool fromDone)
{
    QString words = schedule(rule);
    if (fromDone)
        words += u" from completion"_s;
    if (rule.until())
        words += u", until "_s + QLocale::c().toString(*rule.until(), u"d MMM yyyy"_s);
    if (rule.count())
        words += *rule.count() == 1 ? u", once"_s : u", %1 times"_s.arg(*rule.count());
    return words;
}

QString describe(const QString &ruleText, bool fromDone)
{
    if (ruleText.isEmpty())
        return {};
    const auto rule = RepeatRule::parse(ruleText);
    return rule ? describe(*rule, fromDone) : u"Repeats (custom)"_s;
}

QString weekdayName(Qt::DayOfWeek day)
{
    return QLocale::c().dayName(int(day), QLocale::ShortFormat);
}

QString monthDayName(int day)
{
    if (day == -1)
        return u"last"_s;
    return QString::number(day) + ordinalSuffix(day);
}

QString ordinalSuffix(int n)
{
    if (n % 100 >= 11 && n % 100 <= 13)
        return u"th"_s;
    switch (n % 10) {
    case 1:
        return u"st"_s;
    case 2:
        return u"nd"_s;
    case 3:
        return u"rd"_s;
    default:
        return u"th"_s;
    }
}

} // namespace furrow::RepeatWords
