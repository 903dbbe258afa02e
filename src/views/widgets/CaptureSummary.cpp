#include "views/widgets/CaptureSummary.h"

#include "model/capture/CaptureParser.h"
#include "model/repeat/RepeatWords.h"

#include <QStringList>

namespace furrow::CaptureSummary {

namespace {

// Short words for the chip: "Every Mon, Thu", "Every weekday", "Every 5th", "Every 2 weeks".
QString repeat(const QString &ruleText)
{
    const auto rule = RepeatRule::parse(ruleText);
    if (!rule)
        return {};
    if (!rule->weekdays().isEmpty()) {
        const QList<Qt::DayOfWeek> workWeek
            = {Qt::Monday, Qt::Tuesday, Qt::Wednesday, Qt::Thursday, Qt::Friday};
        if (rule->weekdays() == workWeek)
            return QStringLiteral("Every weekday");
        QStringList names;
        for (Qt::DayOfWeek day : rule->weekdays())
            names << RepeatWords::weekdayName(day);
        return QStringLiteral("Every ") + names.join(QStringLiteral(", "));
    }
    if (const std::optional<int> day = rule->monthDay())
        return QStringLiteral("Every ")
               + (*day == -1 ? QStringLiteral("last day") : RepeatWords::monthDayName(*day));
    static const QString units[] = {QStringLiteral("day"), QStringLiteral("week"),
                                    QStringLiteral("month"), QStringLiteral("year")};
    const QString &unit = units[int(rule->frequency())];
    if (rule->interval() > 1)
        return QStringLiteral("Every %1 %2s").arg(rule->interval()).arg(unit);
    return QStringLiteral("Every ") + unit;
}

} // namespace

QString when(const CaptureReading &reading)
{
    if (!reading.repeatRule.isEmpty())
        return repeat(reading.repeatRule)
               + (reading.repeatFromDone ? QStringLiteral(" from done") : QString());
    if (reading.dueDay)
        return reading.dueDay->toString(QStringLiteral("ddd d MMM"));
    return {};
}

QString pastedTasks(const QString &text)
{
    const qsizetype count = CaptureParser::lines(text).size();
    return count > 1 ? QStringLiteral("%1 tasks").arg(count) : QString();
}

QString describe(const CaptureReading &reading)
{
    QStringList parts;
    if (reading.projectToken)
        parts << QStringLiteral("Project ") + *reading.projectToken;
    if (const QString dates = when(reading); !dates.isEmpty())
        parts << dates;
    return parts.join(QStringLiteral(", "));
}

} // namespace furrow::CaptureSummary
