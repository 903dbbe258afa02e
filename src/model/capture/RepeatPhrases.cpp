#include "RepeatPhrases.h"

#include <QStringList>

#include <set>

namespace furrow::RepeatPhrases {

namespace {

using namespace CaptureVocabulary;

const QStringList kDayCodes
    = {QStringLiteral("MO"), QStringLiteral("TU"), QStringLiteral("WE"), QStringLiteral("TH"),
       QStringLiteral("FR"), QStringLiteral("SA"), QStringLiteral("SU")};

QString frequencyOf(const QString &unit)
{
    if (unit == u"day" || unit == u"days")
        return QStringLiteral("DAILY");
    if (unit == u"week" || unit == u"weeks")
        return QStringLiteral("WEEKLY");
    if (unit == u"month" || unit == u"months")
        return QStringLiteral("MONTHLY");
    if (unit == u"year")
        return QStringLiteral("YEARLY");
    return {};
}

QString adverbRule(const QString &word)
{
    if (word == u"daily")
        return QStringLiteral("FREQ=DAILY");
    if (word == u"weekly")
        return QStringLiteral("FREQ=WEEKLY");
    if (word == u"monthly")
        return QStringLiteral("FREQ=MONTHLY");
    if (word == u"yearly")
        return QStringLiteral("FREQ=YEARLY");
    return {};
}

// "mon, wed and fri" from word `at`: the last word used and the BYDAY list, Monday first.
std::optional<std::pair<qsizetype, QString>> weekdayList(const CaptureWords &words, qsizetype at)
{
    std::set<int> days;
    qsizetype last = -1;
    for (qsizetype i = at; words.joinable(at, i, true); ++i) {
        const QString word = words.coreAt(i);
        if (const auto day = weekday(word)) {
            days.insert(*day);
            last = i;
            if (words[i].punctuated() && !words.joinable(at, i + 1, true))
                break;
        } else if (word != u"and" || i == at || words[i - 1].punctuated()) {
            break;
        }
    }
    if (last < 0)
        return std::nullopt;
    QStringList codes;
    for (int day : days)
        codes << kDayCodes[day - 1];
    return std::pair(last, QStringLiteral("FREQ=WEEKLY;BYDAY=") + codes.join(u','));
}

// What follows "every" at word `at`: the last word used and the rule.
std::optional<std::pair<qsizetype, QString>> afterEvery(const CaptureWords &words, qsizetype at)
{
    const QString word = words.coreAt(at);
    if (word == u"weekday")
        return std::pair(at, QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR"));
    if (word == u"day" || word == u"week" || word == u"month" || word == u"year")
        return std::pair(at, QStringLiteral("FREQ=") + frequencyOf(word));
    if (word == u"last" && words.joinable(at, at + 1) && words.coreAt(at + 1) == u"day")
        return std::pair(at + 1, QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=-1"));
    if (const auto day = dayNumber(word, true, true))
        return std::pair(at, QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=%1").arg(*day));
    if (const auto n = count(word); n && words.joinable(at, at + 1)) {
        const QString frequency = frequencyOf(words.coreAt(at + 1));
        if (frequency.isEmpty() || frequency == u"YEARLY")
            return std::nullopt;
        const QString interval = *n == 1 ? QString() : QStringLiteral(";INTERVAL=%1").arg(*n);
        return std::pair(at + 1, QStringLiteral("FREQ=") + frequency + interval);
    }
    return weekdayList(words, at);
}

} // namespace

std::optional<Match> matchAt(const CaptureWords &words, qsizetype at)
{
    const QString word = words.coreAt(at);
    std::optional<Match> match;
    if (const QString rule = adverbRule(word); !rule.isEmpty()) {
        match = Match{at, at, rule};
    } else if (word == u"every" && words.joinable(at, at + 1)) {
        if (const auto found = afterEvery(words, at + 1))
            match = Match{at, found->first, found->second};
    }
    if (!match)
        return std::nullopt;
    const qsizetype next = match->last + 1;
    if (words.joinable(match->last, next + 1) && words.coreAt(next) == u"from"
        && words.coreAt(next + 1) == u"done") {
        match->last = next + 1;
        match->fromDone = true;
    }
    return match;
}

QDate firstDay(const QString &rule, QDate today)
{
    for (const QString &part : rule.split(u';')) {
        if (part.startsWith(u"BYDAY=")) {
            const QStringList codes = part.mid(6).split(u',');
            for (int ahead = 0; ahead < 7; ++ahead) {
                const QDate day = today.addDays(ahead);
                if (codes.contains(kDayCodes[day.dayOfWeek() - 1]))
                    return day;
            }
        } else if (part.startsWith(u"BYMONTHDAY=")) {
            const int wanted = part.mid(11).toInt();
            for (int ahead = 0; ahead < 62; ++ahead) {
                const QDate day = today.addDays(ahead);
                if (day.day() == wanted || (wanted == -1 && day.day() == day.daysInMonth()))
                    return day;
            }
        }
    }
    return today;
}

} // namespace furrow::RepeatPhrases
