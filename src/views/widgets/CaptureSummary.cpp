#include "views/widgets/CaptureSummary.h"

#include "model/capture/CaptureParser.h"

#include <QHash>
#include <QStringList>

namespace furrow::CaptureSummary {

namespace {

QString dayNames(const QString &codes)
{
    static const QHash<QString, QString> names = {{QStringLiteral("MO"), QStringLiteral("Mon")},
                                                  {QStringLiteral("TU"), QStringLiteral("Tue")},
                                                  {QStringLiteral("WE"), QStringLiteral("Wed")},
                                                  {QStringLiteral("TH"), QStringLiteral("Thu")},
                                                  {QStringLiteral("FR"), QStringLiteral("Fri")},
                                                  {QStringLiteral("SA"), QStringLiteral("Sat")},
                                                  {QStringLiteral("SU"), QStringLiteral("Sun")}};
    if (codes == u"MO,TU,WE,TH,FR")
        return QStringLiteral("weekday");
    QStringList result;
    for (const QString &code : codes.split(u','))
        result << names.value(code);
    return result.join(QStringLiteral(", "));
}

QString dayOfMonth(int day)
{
    if (day == -1)
        return QStringLiteral("last day");
    const int tens = day % 100 / 10;
    const int ones = day % 10;
    const char *ending = tens == 1 || ones > 3 || ones == 0 ? "th"
                         : ones == 1                        ? "st"
                         : ones == 2                        ? "nd"
                                                            : "rd";
    return QString::number(day) + QLatin1String(ending);
}

QString repeat(const QString &rule)
{
    QHash<QString, QString> parts;
    for (const QString &part : rule.split(u';'))
        parts.insert(part.section(u'=', 0, 0), part.section(u'=', 1));
    if (parts.contains(QStringLiteral("BYDAY")))
        return QStringLiteral("Every ") + dayNames(parts.value(QStringLiteral("BYDAY")));
    if (parts.contains(QStringLiteral("BYMONTHDAY")))
        return QStringLiteral("Every ")
               + dayOfMonth(parts.value(QStringLiteral("BYMONTHDAY")).toInt());
    static const QHash<QString, QString> units
        = {{QStringLiteral("DAILY"), QStringLiteral("day")},
           {QStringLiteral("WEEKLY"), QStringLiteral("week")},
           {QStringLiteral("MONTHLY"), QStringLiteral("month")},
           {QStringLiteral("YEARLY"), QStringLiteral("year")}};
    const QString unit = units.value(parts.value(QStringLiteral("FREQ")));
    const int interval = parts.value(QStringLiteral("INTERVAL"), QStringLiteral("1")).toInt();
    if (interval > 1)
        return QStringLiteral("Every %1 %2s").arg(interval).arg(unit);
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
