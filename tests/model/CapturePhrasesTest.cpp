// The capture grammar against the table of phrases that `furrow add --dry-run` also reads.

#include "StoreFixture.h"

#include "model/capture/CaptureParser.h"

#include <QFile>
#include <QTextStream>

namespace furrow::test {
namespace {

struct PhraseRow
{
    int line = 0;
    QStringList cells; // today, order, text, title, project, due, rule, fromDone
};

std::vector<PhraseRow> phraseTable()
{
    QFile file(QStringLiteral(FURROW_CAPTURE_TABLE));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    std::vector<PhraseRow> rows;
    QTextStream in(&file);
    for (int line = 1; !in.atEnd(); ++line) {
        const QString text = in.readLine();
        if (!text.isEmpty() && !text.startsWith(u'#'))
            rows.push_back({line, text.split(u'\t')});
    }
    return rows;
}

QString orNone(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

TEST(CapturePhrasesTest, everyRowOfTheTable_readsAsExpected)
{
    const QStringList projects
        = {QStringLiteral("home"), QStringLiteral("work"), QStringLiteral("side project")};
    const std::vector<PhraseRow> rows = phraseTable();
    EXPECT_GE(rows.size(), 200u);
    for (const PhraseRow &row : rows) {
        ASSERT_EQ(row.cells.size(), 8) << "line " << row.line;
        CaptureContext context;
        context.today = QDate::fromString(row.cells[0], Qt::ISODate);
        context.dayBeforeMonth = row.cells[1] == u"dm";
        context.namesProject = [&](const QString &token) {
            return projects.contains(token.toLower());
        };
        const CaptureReading reading = CaptureParser::read(row.cells[2], context);
        const QStringList got
            = {reading.title, reading.projectToken.value_or(QStringLiteral("-")),
               reading.dueDay ? reading.dueDay->toString(Qt::ISODate) : QStringLiteral("-"),
               orNone(reading.repeatRule),
               reading.repeatFromDone ? QStringLiteral("yes") : QStringLiteral("-")};
        EXPECT_EQ(got.join(u'|').toStdString(), row.cells.mid(3).join(u'|').toStdString())
            << "line " << row.line << ": " << row.cells[2].toStdString();
    }
}

CaptureContext onMonday()
{
    CaptureContext context;
    context.today = QDate(2026, 12, 7);
    return context;
}

TEST(CapturePhrasesTest, takenRanges_coverThePhrasesInTheText)
{
    const QString text = QStringLiteral("Gym every mon, wed tomorrow #home");
    CaptureContext context = onMonday();
    context.namesProject = [](const QString &token) {
        return token == u"home";
    };
    const CaptureReading reading = CaptureParser::read(text, context);
    ASSERT_EQ(reading.taken.size(), 3u);
    QStringList phrases;
    for (const TakenRange &range : reading.taken)
        phrases << CaptureParser::phraseText(text, range);
    EXPECT_EQ(phrases, (QStringList{"every mon, wed", "tomorrow", "#home"}));
    EXPECT_EQ(reading.taken[0].kind, TakenRange::Kind::Repeat);
    EXPECT_EQ(reading.taken[1].kind, TakenRange::Kind::Due);
    EXPECT_EQ(reading.taken[2].kind, TakenRange::Kind::Project);
}

TEST(CapturePhrasesTest, refusedPhrasesAndReadingOff_leaveTheTextAsTyped)
{
    CaptureContext context = onMonday();
    context.refused = {QStringLiteral("tomorrow")};
    CaptureReading reading = CaptureParser::read(QStringLiteral("Call Tomorrow fri"), context);
    EXPECT_EQ(reading.title, QStringLiteral("Call Tomorrow"));
    EXPECT_EQ(reading.dueDay, QDate(2026, 12, 11)) << "an earlier refused phrase stays text";

    context.refused = {QStringLiteral("every mon, wed")};
    reading = CaptureParser::read(QStringLiteral("Gym every mon, wed"), context);
    EXPECT_FALSE(reading.dueDay) << "a refused phrase lends none of its words to another";
    EXPECT_EQ(reading.title, QStringLiteral("Gym every mon, wed"));

    context.refused.clear();
    context.readDates = false;
    reading = CaptureParser::read(QStringLiteral("Call tomorrow daily"), context);
    EXPECT_EQ(reading.title, QStringLiteral("Call tomorrow daily"));
    EXPECT_FALSE(reading.dueDay);
    EXPECT_TRUE(reading.repeatRule.isEmpty());
}

TEST(CapturePhrasesTest, numericOrder_followsTheTimeLocale)
{
    EXPECT_TRUE(CaptureContext::dayBeforeMonthIn(QLocale(QStringLiteral("en_GB"))));
    EXPECT_TRUE(CaptureContext::dayBeforeMonthIn(QLocale(QStringLiteral("de_DE"))));
    EXPECT_FALSE(CaptureContext::dayBeforeMonthIn(QLocale(QStringLiteral("en_US"))));
}

class CaptureDatesTest : public StoreFixture
{
protected:
    Section *inbox = addSection(QStringLiteral("Inbox"), addPage(QStringLiteral("Inbox")));
};

TEST_F(CaptureDatesTest, captureAndEdit_fileTheDueDayReadFromTheText)
{
    TaskItem *task = store.capture(QStringLiteral("Call the bank tomorrow"), inbox, nullptr);
    ASSERT_NE(task, nullptr);
    EXPECT_EQ(task->title(), QStringLiteral("Call the bank"));
    EXPECT_EQ(task->dueDate(), localTime(2026, 3, 11, 0));

    store.applyInlineEdit(QStringLiteral("Call the bank fri"), *task);
    EXPECT_EQ(task->dueDate(), localTime(2026, 3, 13, 0));
    store.applyInlineEdit(QStringLiteral("Call the bank again"), *task);
    EXPECT_EQ(task->dueDate(), localTime(2026, 3, 13, 0)) << "no phrase keeps the due day";

    task = store.capture(QStringLiteral("Gym every mon, wed from done"), inbox, nullptr);
    EXPECT_EQ(task->title(), QStringLiteral("Gym"));
    EXPECT_EQ(task->repeatRule(), QStringLiteral("FREQ=WEEKLY;BYDAY=MO,WE"));
    EXPECT_TRUE(task->repeatFromDone());
    EXPECT_EQ(task->seriesId(), task->id());
    EXPECT_EQ(task->dueDate(), localTime(2026, 3, 11)) << "the first Monday or Wednesday";

    task = store.capture(QStringLiteral("Call tomorrow"), inbox, nullptr, {"tomorrow"});
    EXPECT_EQ(task->title(), QStringLiteral("Call tomorrow"));
    EXPECT_FALSE(task->dueDate());
}

} // namespace
} // namespace furrow::test
