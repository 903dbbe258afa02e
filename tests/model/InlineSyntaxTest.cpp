#include "model/InlineSyntax.h"

#include <gtest/gtest.h>

namespace furrow {
namespace {

struct ParseCase
{
    const char *name;
    const char *text;
    const char *title;
    const char *token; // null: no token
};

void PrintTo(const ParseCase &c, std::ostream *out)
{
    *out << c.name;
}

class ParseTest : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(ParseTest, splitsTitleAndToken)
{
    const ParseCase &c = GetParam();
    const InlineSyntax::Parsed parsed = InlineSyntax::parse(QString::fromUtf8(c.text));
    EXPECT_EQ(parsed.title, QString::fromUtf8(c.title));
    if (c.token)
        EXPECT_EQ(parsed.projectToken, QString::fromUtf8(c.token));
    else
        EXPECT_FALSE(parsed.projectToken) << parsed.projectToken->toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    InlineSyntax, ParseTest,
    ::testing::Values(
        ParseCase{"trailingHashWord", "Buy milk #home", "Buy milk", "home"},
        ParseCase{"quotedNameWithSpace", "Call #\"Big Home\" mum", "Call mum", "Big Home"},
        ParseCase{"firstHashWordWins", "#a #b task", "task", "a"},
        ParseCase{"quotedFormWinsAnywhere", "#plain first #\"Other\"", "first", "Other"},
        ParseCase{"loneHashStays", "a # b", "a # b", nullptr},
        ParseCase{"spacesCollapse", "  spaced   out  ", "spaced out", nullptr},
        ParseCase{"onlyAToken", "#home", "", "home"},
        ParseCase{"tabsStayInsideWords", "a\tb #x", "a\tb", "x"},
        ParseCase{"lineBreakInsideQuotes", "t #\"two\nlines\"", "t", "two\nlines"},
        ParseCase{"emptyQuotesAreAWord", "t #\"\"", "t", "\"\""},
        ParseCase{"combiningMarkOnHash", "t #\u0301x", "t #\u0301x", nullptr},
        ParseCase{"tokenKeepsCase", "x #HoMe", "x", "HoMe"},
        ParseCase{"titleTrimsLineBreaks", "\nx\n #a", "x", "a"}),
    [](const ::testing::TestParamInfo<ParseCase> &param) { return std::string(param.param.name); });

TEST(InlineSyntaxTest, compose_quotesNamesWithSpaces_andParsesBack)
{
    EXPECT_EQ(InlineSyntax::compose(QStringLiteral("Read"), QStringLiteral("Side project")),
              QStringLiteral("Read #\"Side project\""));
    EXPECT_EQ(InlineSyntax::compose(QStringLiteral("Read"), QStringLiteral("Work")),
              QStringLiteral("Read #Work"));
    EXPECT_EQ(InlineSyntax::compose(QStringLiteral("Read"), std::nullopt), QStringLiteral("Read"));
    EXPECT_EQ(InlineSyntax::compose(QStringLiteral("Read"), QString()), QStringLiteral("Read"));

    // Parsing what compose wrote gives back the title and the name.
    for (const char *name : {"Work", "Side project", "a  b"}) {
        const auto parsed = InlineSyntax::parse(
            InlineSyntax::compose(QStringLiteral(" Fix   the sink "), QString::fromUtf8(name)));
        EXPECT_EQ(parsed.title, QStringLiteral("Fix the sink"));
        EXPECT_EQ(parsed.projectToken, QString::fromUtf8(name));
    }
}

TEST(InlineSyntaxTest, trailingProjectFragment_readsTheLastPiece)
{
    EXPECT_EQ(InlineSyntax::trailingProjectFragment(QStringLiteral("Buy #ho")),
              QStringLiteral("ho"));
    EXPECT_EQ(InlineSyntax::trailingProjectFragment(QStringLiteral("Buy #")), QString());
    EXPECT_FALSE(InlineSyntax::trailingProjectFragment(QStringLiteral("Buy #ho ")));
    EXPECT_FALSE(InlineSyntax::trailingProjectFragment(QStringLiteral("Buy milk")));
}

TEST(InlineSyntaxTest, normalizedKey_foldsOnlyWhatItShould)
{
    EXPECT_EQ(InlineSyntax::normalizedKey(QStringLiteral("\t Side-Project_X  ")),
              QStringLiteral("side project x"));
    EXPECT_EQ(InlineSyntax::normalizedKey(QStringLiteral("a  b\n")), QStringLiteral("a  b\n"));
    EXPECT_EQ(InlineSyntax::normalizedKey(QStringLiteral("ÉTÉ")), QStringLiteral("été"));
}

} // namespace
} // namespace furrow
