#include "views/theme/Theme.h"
#include "ViewTestSupport.h"

#include <QFontDatabase>
#include <QFontInfo>

using namespace furrow;

TEST(Theme, colorFromHex_readsSixHexDigitsWithOrWithoutTheHash_andNothingElse)
{
    const std::pair<const char *, std::optional<QRgb>> cases[]
        = {{"#2563EB", qRgb(0x25, 0x63, 0xEB)}, {" \n#2563eb \t", qRgb(0x25, 0x63, 0xEB)},
           {"2563EB", qRgb(0x25, 0x63, 0xEB)},  {"#2563E", std::nullopt},
           {"#2563EG", std::nullopt},           {"##2563EB", std::nullopt},
           {"#2563EBB", std::nullopt},          {"", std::nullopt}};
    for (const auto &[text, expected] : cases) {
        const auto color = Theme::colorFromHex(QString::fromUtf8(text));
        EXPECT_EQ(color ? std::optional<QRgb>(color->rgba()) : std::nullopt, expected) << text;
    }
}

// The Zilla Slab files disagree on their vendor, which splits the family in Qt's database;
// each face must still resolve to its own weight rather than a synthesised one.
TEST(Theme, faces_resolveToTheBundledWeights)
{
    struct Expectation
    {
        QFont font;
        const char *family;
        int weight;
    };
    const Expectation cases[] = {
        {Theme::slab(20), "Zilla Slab", QFont::Normal},
        {Theme::slab(20, QFont::Medium), "Zilla Slab", QFont::Medium},
        {Theme::slab(20, QFont::Bold), "Zilla Slab", QFont::Normal},
        {Theme::sans(14), "Instrument Sans", QFont::Normal},
        {Theme::sans(14, QFont::Medium), "Instrument Sans", QFont::Medium},
        {Theme::sans(14, QFont::Bold), "Instrument Sans", QFont::DemiBold},
        {Theme::stepLabel(), "Instrument Sans", QFont::DemiBold},
    };
    for (const Expectation &expected : cases) {
        const QFontInfo info(expected.font);
        // Qt names the split family with its foundry, "Zilla Slab [TPTQ]".
        EXPECT_TRUE(info.family().startsWith(QString::fromUtf8(expected.family)))
            << qPrintable(info.family());
        EXPECT_EQ(info.weight(), expected.weight) << qPrintable(info.styleName());
    }
    EXPECT_EQ(QFontInfo(Theme::body()).pixelSize(), 14); // sizes are pixels, not points
}

TEST(Theme, face_thatCannotBeLoaded_fallsBackToTheSystemFont)
{
    const QFont font = Theme::face(QStringLiteral("NoSuch-Face"), 13, QFont::Medium);
    EXPECT_EQ(font.family(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    EXPECT_EQ(font.weight(), QFont::Medium);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 13 * 0.75);
}
