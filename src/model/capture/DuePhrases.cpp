#include "DuePhrases.h"

namespace furrow::DuePhrases {

namespace {

using namespace CaptureVocabulary;

QDate mondayOfNextWeek(QDate today)
{
    return today.addDays(8 - today.dayOfWeek());
}

QDate nextWeekday(QDate today, int weekday)
{
    const int ahead = (weekday - today.dayOfWeek() + 7) % 7;
    return today.addDays(ahead == 0 ? 7 : ahead);
}

std::optional<Match> single(const CaptureWords &words, qsizetype at, QDate today,
                            bool dayBeforeMonth)
{
    const QString word = words.coreAt(at);
    QDate day;
    if (word == u"today" || word == u"tonight")
        day = today;
    else if (word == u"tomorrow" || word == u"tmr")
        day = today.addDays(1);
    else if (const auto weekday = CaptureVocabulary::weekday(word))
        day = nextWeekday(today, *weekday);
    else if (word.size() == 10 && word[4] == u'-' && word[7] == u'-')
        day = QDate::fromString(word, QStringLiteral("yyyy-MM-dd"));
    // "24/7" means around the clock, not a day in July.
    else if (const qsizetype slash = word.indexOf(u'/'); slash > 0 && word != u"24/7") {
        const auto a = dayNumber(word.left(slash), false, false);
        const auto b = dayNumber(word.mid(slash + 1), false, false);
        if (a && b)
            day = dayBeforeMonth ? nextDate(today, *b, *a) : nextDate(today, *a, *b);
    }
    if (!day.isValid())
        return std::nullopt;
    return Match{at, at, day};
}

std::optional<Match> afterNext(const CaptureWords &words, qsizetype at, QDate today)
{
    if (words.coreAt(at) != u"next" || !words.joinable(at, at + 1))
        return std::nullopt;
    const QString word = words.coreAt(at + 1);
    QDate day;
    if (word == u"week")
        day = mondayOfNextWeek(today);
    else if (word == u"month")
        day = QDate(today.year(), today.month(), 1).addMonths(1);
    else if (const auto weekday = CaptureVocabulary::weekday(word))
        day = mondayOfNextWeek(today).addDays(*weekday - 1);
    if (!day.isValid())
        return std::nullopt;
    return Match{at, at + 1, day};
}

std::optional<Match> inCount(const CaptureWords &words, qsizetype at, QDate today)
{
    if (words.coreAt(at) != u"in" || !words.joinable(at, at + 2))
        return std::nullopt;
    const auto n = count(words.coreAt(at + 1));
    if (!n)
        return std::nullopt;
    const QString unit = words.coreAt(at + 2);
    QDate day;
    if (unit == u"day" || unit == u"days")
        day = today.addDays(*n);
    else if (unit == u"week" || unit == u"weeks")
        day = today.addDays(7 * qint64(*n));
    else if (unit == u"month" || unit == u"months")
        day = today.addMonths(*n);
    if (!day.isValid())
        return std::nullopt;
    return Match{at, at + 2, day};
}

// "24 dec", "24 december", "dec 24", "december 24th".
std::optional<Match> dayAndMonth(const CaptureWords &words, qsizetype at, QDate today)
{
    if (!words.joinable(at, at + 1))
        return std::nullopt;
    const QString first = words.coreAt(at);
    const QString second = words.coreAt(at + 1);
    std::optional<int> day = dayNumber(first, true, false);
    std::optional<int> month = CaptureVocabulary::month(second);
    if (!day || !month) {
        month = CaptureVocabulary::month(first);
        day = dayNumber(second, true, false);
    }
    if (!day || !month)
        return std::nullopt;
    const QDate date = nextDate(today, *month, *day);
    if (!date.isValid())
        return std::nullopt;
    return Match{at, at + 1, date};
}

} // namespace

QDate nextDate(QDate from, int month, int day)
{
    // Eight years always hold a 29 February.
    for (int year = from.year(); year <= from.year() + 8; ++year) {
        const QDate date(year, month, day);
        if (date.isValid() && date >= from)
            return date;
    }
    return {};
}

std::optional<Match> matchAt(const CaptureWords &words, qsizetype at, QDate today,
                             bool dayBeforeMonth)
{
    if (words.coreAt(at).isEmpty())
        return std::nullopt;
    if (auto match = inCount(words, at, today))
        return match;
    if (auto match = afterNext(words, at, today))
        return match;
    if (auto match = dayAndMonth(words, at, today))
        return match;
    return single(words, at, today, dayBeforeMonth);
}

} // namespace furrow::DuePhrases
