#include "model/find/WordPrefixText.h"
#include "model/find/FoldedText.h"

#include <gtest/gtest.h>

namespace furrow::test {
namespace {

struct PrefixCase
{
    const char *name;
    const char *text;
    const char *word; // as a query word is: folded
    bool found;
};

void PrintTo(const PrefixCase &c, std::ostream *os)
{
    *os << c.name;
}

class WordPrefixCases : public ::testing::TestWithParam<PrefixCase>
{
};

// The plain-text shortcut must answer as the folded text does, for ASCII and other texts alike.
TEST_P(WordPrefixCases, answersAsTheFoldedTextDoes)
{
    const QString text = QString::fromUtf8(GetParam().text);
    const QString word = QString::fromUtf8(GetParam().word);
    EXPECT_EQ(WordPrefixText(text).containsWordPrefix(word), GetParam().found);
    EXPECT_EQ(FoldedText(text).containsWordPrefix(word), GetParam().found);
}

const PrefixCase kPrefixCases[] = {
    {"aWordAtTheStart", "Call the bank", "call", true},
    {"aWordPrefixInTheMiddle", "Call the bank", "ba", true},
    {"theMiddleOfAWord", "Call the bank", "ank", false},
    {"upperCaseTextIsLowered", "CALL THE BANK", "bank", true},
    {"digitsStartWords", "Pay 2026 taxes", "202", true},
    {"lettersAfterDigitsDoNotStartAWord", "v2beta", "beta", false},
    {"punctuationBreaksWords", "Banking-app (review)", "review", true},
    {"anUnderscoreBreaksWords", "snake_case", "case", true},
    {"aWordLongerThanTheTextsLast", "Call the bank", "banker", false},
    {"anEmptyText", "", "a", false},
    {"aWordBeyondAscii_inAsciiText", "Cafe order", "café", false},
    {"accentedText", "Café order", "cafe", true},
    {"asciiWordsInTextWithAccentsElsewhere", "Order at the café", "order", true},
    {"cyrillicText", "Позвонить в Москву", "москв", true},
    {"cjkText", "東京都庁へ行く", "都庁", true},
    {"emojiBetweenWords", "Party 🎉 tonight", "tonight", true},
};

INSTANTIATE_TEST_SUITE_P(WordPrefix, WordPrefixCases, ::testing::ValuesIn(kPrefixCases),
                         [](const auto &param) { return std::string(param.param.name); });

} // namespace
} // namespace furrow::test
