#include "model/repeat/RepeatRule.h"
#include "model/repeat/OccurrenceId.h"
#include "model/repeat/RepeatSchedule.h"
#include "model/repeat/RepeatWords.h"

#include <gtest/gtest.h>

namespace furrow {
namespace {

struct ParseCase
{
    const char *text;
    const char *canonical; // null when the text is outside the subset
};

class RepeatRuleParse : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(RepeatRuleParse, acceptsTheSubsetAndRefusesEverythingElse)
{
    const auto rule = RepeatRule::parse(QString::fromUtf8(GetParam().text));
    if (!GetParam().canonical) {
        EXPECT_FALSE(rule.has_value());
        return;
    }
    ASSERT_TRUE(rule.has_value());
    EXPECT_EQ(rule->text(), QString::fromUtf8(GetParam().canonical));
    EXPECT_EQ(RepeatRule::parse(rule->text()), rule);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RepeatRuleParse,
    ::testing::Values(
        ParseCase{"FREQ=DAILY", "FREQ=DAILY"},
        ParseCase{"RRULE:freq=weekly;byday=th,mo", "FREQ=WEEKLY;BYDAY=MO,TH"},
        ParseCase{"FREQ=WEEKLY;INTERVAL=1", "FREQ=WEEKLY"},
        ParseCase{"COUNT=3;FREQ=MONTHLY;BYMONTHDAY=-1", "FREQ=MONTHLY;BYMONTHDAY=-1;COUNT=3"},
        ParseCase{"FREQ=YEARLY;INTERVAL=2;UNTIL=20301231", "FREQ=YEARLY;INTERVAL=2;UNTIL=20301231"},
        ParseCase{"", nullptr}, ParseCase{"FREQ=HOURLY", nullptr}, ParseCase{"INTERVAL=2", nullptr},
        ParseCase{"FREQ=DAILY;INTERVAL=0", nullptr}, ParseCase{"FREQ=DAILY;INTERVAL=+2", nullptr},
        ParseCase{"FREQ=DAILY;FREQ=WEEKLY", nullptr}, ParseCase{"FREQ=WEEKLY;BYDAY=1MO", nullptr},
        ParseCase{"FREQ=WEEKLY;BYDAY=MO,MO", nullptr}, ParseCase{"FREQ=DAILY;BYDAY=MO", nullptr},
        ParseCase{"FREQ=MONTHLY;BYMONTHDAY=0", nullptr},
        ParseCase{"FREQ=MONTHLY;BYMONTHDAY=-2", nullptr},
        ParseCase{"FREQ=MONTHLY;BYMONTHDAY=1,15", nullptr},
        ParseCase{"FREQ=DAILY;UNTIL=20260231", nullptr},
        ParseCase{"FREQ=DAILY;UNTIL=20261231T235959Z", nullptr},
        ParseCase{"FREQ=DAILY;COUNT=2;UNTIL=20261231", nullptr},
        ParseCase{"FREQ=DAILY;WKST=MO", nullptr}, ParseCase{"FREQ=DAILY;", nullptr}));

struct NextCase
{
    const char *rule;
    bool fromDone;
    QDate due;
    QDate closed;
    int ordinal;
    QDate expected; // invalid when the series ends
};

class RepeatNextDue : public ::testing::TestWithParam<NextCase>
{
};

TEST_P(RepeatNextDue, fallsOnTheRightDay)
{
    const NextCase &c = GetParam();
    const auto rule = RepeatRule::parse(QString::fromUtf8(c.rule));
    ASSERT_TRUE(rule.has_value());
    const auto next = RepeatSchedule::nextDue(*rule, c.fromDone, c.due, c.closed, c.ordinal);
    EXPECT_EQ(next.value_or(QDate()), c.expected) << c.rule;
}

QDate d(int year, int month, int day)
{
    return QDate(year, month, day);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RepeatNextDue,
    ::testing::Values(
        // on time, late (once, never once per missed day) and early
        NextCase{"FREQ=DAILY", false, d(2026, 3, 10), d(2026, 3, 10), 1, d(2026, 3, 11)},
        NextCase{"FREQ=DAILY", false, d(2026, 3, 10), d(2026, 3, 13), 1, d(2026, 3, 13)},
        NextCase{"FREQ=DAILY", false, d(2026, 3, 10), d(2026, 3, 1), 1, d(2026, 3, 11)},
        NextCase{"FREQ=DAILY;INTERVAL=3", false, d(2026, 3, 10), d(2026, 3, 14), 1, d(2026, 3, 16)},
        // the days around the change to summer time in Europe/Berlin (29 March 2026)
        NextCase{"FREQ=DAILY", false, d(2026, 3, 28), d(2026, 3, 28), 1, d(2026, 3, 29)},
        NextCase{"FREQ=DAILY", false, d(2026, 3, 29), d(2026, 3, 29), 1, d(2026, 3, 30)},
        // weekly: the due day's weekday, several days, intervals across the week's end
        NextCase{"FREQ=WEEKLY", false, d(2026, 3, 10), d(2026, 3, 10), 1, d(2026, 3, 17)},
        NextCase{"FREQ=WEEKLY;BYDAY=MO,TH", false, d(2026, 3, 9), d(2026, 3, 9), 1, d(2026, 3, 12)},
        NextCase{"FREQ=WEEKLY;BYDAY=MO,TH", false, d(2026, 3, 12), d(2026, 3, 12), 1,
                 d(2026, 3, 16)},
        NextCase{"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH", false, d(2026, 3, 12), d(2026, 3, 12), 1,
                 d(2026, 3, 23)},
        NextCase{"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH", false, d(2026, 3, 12), d(2026, 3, 31), 1,
                 d(2026, 4, 6)},
        NextCase{"FREQ=WEEKLY;BYDAY=SU", false, d(2026, 12, 27), d(2026, 12, 27), 1, d(2027, 1, 3)},
        // monthly: month ends, the last day, leap years, days some months lack
        NextCase{"FREQ=MONTHLY;BYMONTHDAY=-1", false, d(2026, 1, 31), d(2026, 1, 31), 1,
                 d(2026, 2, 28)},
        NextCase{"FREQ=MONTHLY;BYMONTHDAY=-1", false, d(2028, 1, 31), d(2028, 1, 31), 1,
                 d(2028, 2, 29)},
        NextCase{"FREQ=MONTHLY;BYMONTHDAY=-1", false, d(2026, 2, 28), d(2026, 2, 28), 1,
                 d(2026, 3, 31)},
        NextCase{"FREQ=MONTHLY;BYMONTHDAY=31", false, d(2026, 1, 31), d(2026, 1, 31), 1,
                 d(2026, 3, 31)},
        NextCase{"FREQ=MONTHLY", false, d(2026, 3, 15), d(2026, 6, 20), 1, d(2026, 7, 15)},
        NextCase{"FREQ=MONTHLY;INTERVAL=3;BYMONTHDAY=5", false, d(2026, 11, 5), d(2026, 11, 5), 1,
                 d(2027, 2, 5)},
        NextCase{"FREQ=YEARLY", false, d(2028, 2, 29), d(2028, 2, 29), 1, d(2032, 2, 29)},
        NextCase{"FREQ=YEARLY;INTERVAL=2", false, d(2026, 3, 10), d(2029, 1, 1), 1, d(2030, 3, 10)},
        // from completion: the closing day plus the interval
        NextCase{"FREQ=DAILY;INTERVAL=3", true, d(2026, 3, 10), d(2026, 3, 20), 1, d(2026, 3, 23)},
        NextCase{"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO", true, d(2026, 3, 9), d(2026, 3, 11), 1,
                 d(2026, 3, 25)},
        NextCase{"FREQ=MONTHLY", true, d(2026, 1, 1), d(2026, 1, 31), 1, d(2026, 2, 28)},
        // UNTIL and COUNT end the series
        NextCase{"FREQ=DAILY;UNTIL=20260311", false, d(2026, 3, 10), d(2026, 3, 10), 1,
                 d(2026, 3, 11)},
        NextCase{"FREQ=DAILY;UNTIL=20260311", false, d(2026, 3, 11), d(2026, 3, 11), 2, QDate()},
        NextCase{"FREQ=WEEKLY;UNTIL=20260320", false, d(2026, 3, 10), d(2026, 3, 22), 1, QDate()},
        NextCase{"FREQ=DAILY;COUNT=3", false, d(2026, 3, 10), d(2026, 3, 10), 2, d(2026, 3, 11)},
        NextCase{"FREQ=DAILY;COUNT=3", false, d(2026, 3, 10), d(2026, 3, 10), 3, QDate()}));

TEST(RepeatWords, sayTheRuleInPlainWords)
{
    const std::pair<const char *, const char *> cases[] = {
        {"FREQ=DAILY", "Every day"},
        {"FREQ=DAILY;INTERVAL=3", "Every 3 days"},
        {"FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR", "Every weekday"},
        {"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH", "Every 2 weeks on Mon and Thu"},
        {"FREQ=WEEKLY;BYDAY=MO,WE,FR", "Every week on Mon, Wed and Fri"},
        {"FREQ=MONTHLY;BYMONTHDAY=22", "Every month on the 22nd"},
        {"FREQ=MONTHLY;BYMONTHDAY=11", "Every month on the 11th"},
        {"FREQ=MONTHLY;BYMONTHDAY=-1;COUNT=4", "Every month on the last day, 4 times"},
        {"FREQ=YEARLY;UNTIL=20301231", "Every year, until 31 Dec 2030"},
        {"FREQ=DAILY;BYHOUR=9", "Repeats (custom)"},
        {"", ""},
    };
    for (const auto &[rule, words] : cases)
        EXPECT_EQ(RepeatWords::describe(QString::fromUtf8(rule), false), QString::fromUtf8(words));
    EXPECT_EQ(RepeatWords::describe(QStringLiteral("FREQ=DAILY;INTERVAL=3"), true),
              QStringLiteral("Every 3 days from completion"));
}

TEST(OccurrenceId, isTheSameForTheSameSeriesAndDayOnly)
{
    const QUuid series = QUuid::createUuid();
    const QUuid id = OccurrenceId::of(series, d(2026, 3, 10));
    EXPECT_EQ(id.version(), QUuid::Sha1);
    EXPECT_EQ(OccurrenceId::of(series, d(2026, 3, 10)), id);
    EXPECT_NE(OccurrenceId::of(series, d(2026, 3, 11)), id);
    EXPECT_NE(OccurrenceId::of(QUuid::createUuid(), d(2026, 3, 10)), id);
    // Fixed across versions: other devices must derive the same id.
    EXPECT_EQ(OccurrenceId::of(QUuid(QStringLiteral("00000000-0000-0000-0000-000000000001")),
                               d(2026, 1, 2)),
              QUuid(QStringLiteral("2EA4B752-8F6F-51BB-933B-185F7174D827")));
}

} // namespace
} // namespace furrow
