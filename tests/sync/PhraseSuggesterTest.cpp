#include "TestPrinters.h"

#include "sync/PhraseSuggester.h"

#include <QFile>

#include <deque>

#include <gtest/gtest.h>

namespace furrow {
namespace {

QByteArray wordListModule()
{
    QFile file(QStringLiteral(FURROW_WORD_LIST_FILE));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << FURROW_WORD_LIST_FILE;
    return file.readAll();
}

TEST(PhraseSuggester, readsTheEffLongList_andNothingThatIsNotWholeAndDistinct)
{
    const PhraseSuggester suggester = PhraseSuggester::fromFile(FURROW_WORD_LIST_FILE);
    ASSERT_TRUE(suggester.isReady());
    const QStringList &words = suggester.words();
    EXPECT_EQ(words.size(), PhraseSuggester::kListSize);
    EXPECT_EQ(words.front(), "abacus");
    EXPECT_EQ(words.back(), "zoom");
    EXPECT_TRUE(words.contains("t-shirt"));

    QByteArray module = wordListModule();
    const QByteArray lastLine = "  '66666': 'zoom'";
    ASSERT_TRUE(module.contains(lastLine));
    const QByteArray broken[] = {
        QByteArray(module).replace(lastLine, ""),
        QByteArray(module).replace(lastLine, "  '66666': 'zone'"),
        QByteArray(module).replace(lastLine, "  '66667': 'zoom'"),
        {},
    };
    for (const QByteArray &text : broken)
        EXPECT_FALSE(PhraseSuggester::fromModule(text).isReady());
    EXPECT_FALSE(PhraseSuggester::fromFile(QStringLiteral("/nonexistent/list.js")).isReady());
}

TEST(PhraseSuggester, drawsSixListedWords_redrawingTheTopThatWouldFavourLowIndices)
{
    // 62 208 = 8 × 7 776: from there up, two bytes would pick the first 3 328 words once more.
    std::deque<int> script = {0xffff, 0xf300, 0xf2ff, 0x0001};
    const auto scripted = [&](qsizetype) -> std::optional<QByteArray> {
        if (script.empty())
            return std::nullopt;
        const int next = script.front();
        script.pop_front();
        QByteArray bytes(2, Qt::Uninitialized);
        bytes[0] = char(next >> 8);
        bytes[1] = char(next & 0xff);
        return bytes;
    };
    EXPECT_EQ(PhraseSuggester::uniformIndex(7776, scripted), 7775);
    EXPECT_EQ(PhraseSuggester::uniformIndex(7776, scripted), 1);
    EXPECT_EQ(PhraseSuggester::uniformIndex(7776, scripted), std::nullopt) << "generator failed";

    const PhraseSuggester suggester = PhraseSuggester::fromFile(FURROW_WORD_LIST_FILE);
    EXPECT_EQ(suggester.suggest(scripted), QString()) << "no phrase from a failing generator";
    const QString phrase = suggester.suggest();
    const QStringList drawn = phrase.split(u' ');
    EXPECT_EQ(drawn.size(), PhraseSuggester::kWords) << phrase.toStdString();
    for (const QString &word : drawn)
        EXPECT_TRUE(suggester.words().contains(word)) << word.toStdString();
    EXPECT_NE(suggester.suggest(), phrase);
}

} // namespace
} // namespace furrow
