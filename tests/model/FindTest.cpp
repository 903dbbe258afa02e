#include "StoreFixture.h"

#include "model/find/FindIndex.h"
#include "model/find/LinearFind.h"

namespace furrow::test {
namespace {

struct FindCase
{
    const char *name;
    QString query;
    std::vector<QString> expectedTitles; // in ranking order
};

void PrintTo(const FindCase &c, std::ostream *os)
{
    *os << c.name;
}

// A small planner with words in several scripts, searched by the linear search and the index
// alike.
class FindFixture : public StoreFixture
{
protected:
    FindFixture()
    {
        Page *work = addPage(QStringLiteral("Work"));
        inbox = addSection(QStringLiteral("Inbox"), work);
        home = addProject(QStringLiteral("Home"), 0);
        addProject(QStringLiteral("Homework"), 1);
        const std::pair<const char *, Project *> titles[] = {
            {"Call the bank", nullptr},  {"Café order", nullptr},
            {"Water plants", home},      {"Позвонить в Москву", nullptr},
            {"東京都庁へ行く", nullptr}, {"Party 🎉 tonight", nullptr},
            {"ﬁle taxes", nullptr},      {"Banking-app review", nullptr},
        };
        qint64 order = 0;
        for (const auto &[title, project] : titles)
            at(QString::fromUtf8(title), order++)->setProject(project);
    }

    TaskItem *at(const QString &title, qint64 order, Instant updated = {})
    {
        TaskItem *task = addTask(title, inbox, order);
        task->setUpdatedAt(updated == Instant{} ? localTime(2026, 3, 1) + std::chrono::hours(order)
                                                : updated);
        return task;
    }

    static std::vector<QString> titlesOf(const std::vector<FindResult> &results)
    {
        std::vector<QString> titles;
        for (const FindResult &result : results)
            titles.push_back(result.title);
        return titles;
    }

    std::vector<QString> linear(const QString &query)
    {
        return titlesOf(LinearFind::search(store, query, {}, -1));
    }

    std::vector<QString> indexed(const QString &query)
    {
        FindIndex index(context);
        index.buildNow();
        return titlesOf(index.search(query, {}, -1));
    }

    Section *inbox = nullptr;
    Project *home = nullptr;
};

class FindCases : public FindFixture, public ::testing::WithParamInterface<FindCase>
{
};

TEST_P(FindCases, linearSearchAndIndex_findTheSameTitlesInOrder)
{
    EXPECT_EQ(linear(GetParam().query), GetParam().expectedTitles);
    EXPECT_EQ(indexed(GetParam().query), GetParam().expectedTitles);
}

const FindCase kFindCases[] = {
    {"wordsInAnyOrderMatchWordStarts", "bank call", {"Call the bank"}},
    {"aWordPrefixMatches", "ban", {"Banking-app review", "Call the bank"}},
    {"theMiddleOfAWordDoesNot", "ank", {}},
    {"caseAndAccentsAreIgnored", "CAFE", {"Café order"}},
    {"anAccentInTheQueryIsIgnoredToo", "cafè", {"Café order"}},
    {"compatibilityFormsAreFolded", "file", {"ﬁle taxes"}},
    {"wordsAfterAHyphenStartWords", "app", {"Banking-app review"}},
    {"theProjectNameIsSearched", "home", {"Water plants"}},
    {"aHashWordRestrictsToItsProject", "#home water", {"Water plants"}},
    {"aHashWordAloneListsTheProject", "#home", {"Water plants"}},
    {"aUniqueProjectPrefixRestricts", "#homew", {}},
    {"anAmbiguousProjectPrefixMatchesNothing", "#hom water", {}},
    {"anUnknownProjectMatchesNothing", "#garden water", {}},
    {"onlyAHashSignFindsNothing", "#", {}},
    {"onlySpacesFindNothing", "     ", {}},
    {"cyrillicIsCaseFolded", "москву", {"Позвонить в Москву"}},
    {"cjkMatchesAnyCharacterSequence", "都庁", {"東京都庁へ行く"}},
    {"cjkSequenceMustBeContiguous", "東庁", {}},
    {"emojiMatch", "🎉", {"Party 🎉 tonight"}},
    {"punctuationInTheQueryOnlySeparates", "call, the!", {"Call the bank"}},
    {"everyWordMustMatch", "call garden", {}},
};

INSTANTIATE_TEST_SUITE_P(Find, FindCases, ::testing::ValuesIn(kFindCases),
                         [](const auto &param) { return std::string(param.param.name); });

TEST_F(FindFixture, aVeryLongQuery_isSearchedWithoutFailing)
{
    const QString longQuery = QString(QStringLiteral("call ")).repeated(100);
    EXPECT_EQ(linear(longQuery), std::vector<QString>{QStringLiteral("Call the bank")});
    EXPECT_EQ(indexed(longQuery), std::vector<QString>{QStringLiteral("Call the bank")});
    EXPECT_TRUE(indexed(QString(500, u'x')).empty());
}

TEST_F(FindFixture, ranking_putsTitlesBeforeNotesThenOpenDoneArchivedThenRecentFirst)
{
    for (TaskItem *task : store.allTasks())
        context.remove(*task);
    TaskItem *inNote = at(QStringLiteral("Groceries"), 0, localTime(2026, 3, 9));
    inNote->setNote(QStringLiteral("ask about the dentist"));
    at(QStringLiteral("Dentist older"), 1, localTime(2026, 3, 2));
    at(QStringLiteral("Dentist newer"), 2, localTime(2026, 3, 3));
    TaskItem *done = at(QStringLiteral("Dentist done"), 3, localTime(2026, 3, 8));
    done->setDone(true);
    TaskItem *archived = at(QStringLiteral("Dentist archived"), 4, localTime(2026, 3, 9));
    archived->setDone(true);
    archived->setArchivedAt(localTime(2026, 3, 9));
    const std::vector<QString> expected
        = {"Dentist newer", "Dentist older", "Dentist done", "Dentist archived", "Groceries"};
    EXPECT_EQ(linear(QStringLiteral("dentist")), expected);
    EXPECT_EQ(indexed(QStringLiteral("dentist")), expected);
}

TEST_F(FindFixture, tasksOffThePages_areNotFoundButArchivedOnesAre)
{
    Page *gone = addPage(QStringLiteral("Gone"), 1);
    Section *lane = addSection(QStringLiteral("Lane"), gone);
    addTask(QStringLiteral("Orphan errand"), lane, 0);
    gone->setDeletedAt(Clock::now());
    addTask(QStringLiteral("Loose errand"), nullptr, 0);
    TaskItem *dropped = addTask(QStringLiteral("Dropped errand"), nullptr, 0);
    dropped->setArchivedAt(Clock::now());
    addTask(QStringLiteral("Deleted errand"), inbox, 9)->setDeletedAt(Clock::now());
    EXPECT_EQ(linear(QStringLiteral("errand")), std::vector<QString>{"Dropped errand"});
    EXPECT_EQ(indexed(QStringLiteral("errand")), std::vector<QString>{"Dropped errand"});
}

TEST_F(FindFixture, results_carryTheirPlaceAndEmphasis)
{
    Page *other = addPage(QStringLiteral("Private"), 1);
    Section *later = addSection(QStringLiteral("Later"), other);
    addTask(QStringLiteral("Call the bank"), later, 0)->setUpdatedAt(localTime(2026, 1, 1));
    const auto results = LinearFind::search(store, QStringLiteral("bank"), {}, -1);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].pageName, "Work");
    EXPECT_EQ(results[0].sectionName, "Inbox");
    EXPECT_EQ(results[2].pageName, "Private");
    EXPECT_EQ(results[2].sectionName, "Later");
    EXPECT_EQ(results[0].titleRanges, (std::vector<FindResult::Range>{{0, 4}}));
    EXPECT_EQ(results[1].titleRanges, (std::vector<FindResult::Range>{{9, 13}}));
}

TEST_F(FindFixture, anAccentedMatch_emphasisesTheOriginalCharacters)
{
    // "Cafe" followed by a combining acute: the mark belongs to the emphasised word.
    at(QStringLiteral("Cafe\u0301 crème"), 20);
    const auto results = LinearFind::search(store, QStringLiteral("creme cafe"), {}, -1);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].titleRanges, (std::vector<FindResult::Range>{{0, 5}, {6, 11}}));
}

TEST_F(FindFixture, aNoteMatch_showsOneLineAroundTheMatch)
{
    TaskItem *task = at(QStringLiteral("Groceries"), 20);
    task->setNote(QStringLiteral("first line\nthen a long line with many words before the "
                                 "dentist appointment and a lot more text that runs on and on"));
    const auto results = LinearFind::search(store, QStringLiteral("dentist"), {}, -1);
    ASSERT_EQ(results.size(), 1u);
    const FindResult &result = results[0];
    EXPECT_FALSE(result.snippet.contains(u'\n'));
    EXPECT_TRUE(result.snippet.startsWith(QStringLiteral("…")));
    EXPECT_TRUE(result.snippet.endsWith(QStringLiteral("…")));
    ASSERT_EQ(result.snippetRanges.size(), 1u);
    const auto [from, to] = result.snippetRanges[0];
    EXPECT_EQ(result.snippet.mid(from, to - from), "dentist");
}

TEST_F(FindFixture, archivedResults_sayWhetherDoneOrDroppedAndTheirDay)
{
    TaskItem *done = at(QStringLiteral("Filed report"), 20);
    done->setDone(true);
    done->setDoneAt(localTime(2026, 3, 3, 15));
    done->setArchivedAt(localTime(2026, 3, 4, 9));
    TaskItem *dropped = at(QStringLiteral("Dropped report"), 21);
    dropped->setArchivedAt(localTime(2026, 3, 5, 9));
    const auto results = LinearFind::search(store, QStringLiteral("report"), {}, -1);
    ASSERT_EQ(results.size(), 2u);
    for (const FindResult &result : results) {
        EXPECT_EQ(result.state, FindResult::State::Archived);
        EXPECT_EQ(result.dropped, result.title == "Dropped report");
        EXPECT_EQ(result.archiveDay,
                  result.dropped ? localTime(2026, 3, 5) : localTime(2026, 3, 3));
    }
}

TEST_F(FindFixture, pagesAndVisibleGoals_areFoundByName)
{
    addPage(QStringLiteral("Garden plans"), 1);
    const std::vector<Vector> goals = {{0, QStringLiteral("Ship the garden"), QString()},
                                       {1, QStringLiteral("   "), QStringLiteral("garden")},
                                       {2, QStringLiteral("Rest"), QStringLiteral("less garden")}};
    FindIndex index(context);
    index.buildNow();
    const auto results = index.search(QStringLiteral("garden"), goals, -1);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].kind, FindResult::Kind::Page);
    EXPECT_EQ(results[1].kind, FindResult::Kind::Goal);
    EXPECT_EQ(results[1].goalSlot, 0);
    EXPECT_EQ(results[2].goalSlot, 2);
    EXPECT_EQ(results[2].snippet, "less garden");
}

} // namespace
} // namespace furrow::test
