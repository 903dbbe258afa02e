#include "views/theme/Theme.h"
#include "QtPrinters.h"
#include "views/theme/FontLoader.h"
#include "views/theme/TailwindPalette.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <gtest/gtest.h>

using namespace furrow;

struct HexCase
{
    const char *name;
    const char *text;
    std::optional<QRgb> expected;
};

class ColorFromHex : public testing::TestWithParam<HexCase>
{
};

TEST_P(ColorFromHex, parsesOnlySixHexDigits)
{
    const auto color = Theme::colorFromHex(QString::fromUtf8(GetParam().text));
    ASSERT_EQ(color.has_value(), GetParam().expected.has_value());
    if (color) {
        EXPECT_EQ(color->rgb(), *GetParam().expected);
        EXPECT_EQ(color->alpha(), 255);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Theme, ColorFromHex,
    testing::Values(HexCase{"blue", "#2563EB", qRgb(0x25, 0x63, 0xEB)},
                    HexCase{"surroundingSpaces", " \n#2563EB \t", qRgb(0x25, 0x63, 0xEB)},
                    HexCase{"lowerCase", "#2563eb", qRgb(0x25, 0x63, 0xEB)},
                    HexCase{"withoutHash", "2563EB", qRgb(0x25, 0x63, 0xEB)},
                    HexCase{"fiveDigits", "#2563E", std::nullopt},
                    HexCase{"nonHexLetter", "#2563EG", std::nullopt},
                    HexCase{"twoHashes", "##2563EB", std::nullopt},
                    HexCase{"sevenDigits", "#2563EBB", std::nullopt},
                    HexCase{"empty", "", std::nullopt}),
    [](const testing::TestParamInfo<HexCase> &info) { return std::string(info.param.name); });

TEST(TailwindPalette, name_ofLowerCaseTealHex_isTeal)
{
    EXPECT_EQ(TailwindPalette::name(QStringLiteral("#0d9488")), QStringLiteral("Teal"));
    EXPECT_EQ(TailwindPalette::name(QStringLiteral("#0D9489")), std::nullopt);
    ASSERT_EQ(TailwindPalette::swatches().size(), 12);
    EXPECT_EQ(TailwindPalette::swatches().front().name, QStringLiteral("Red"));
    EXPECT_EQ(TailwindPalette::swatches().back().hex, QStringLiteral("#475569"));
}

TEST(FontLoader, registeredNames_areTheBundledFacesSorted)
{
    EXPECT_EQ(FontLoader::registeredNames(),
              QStringList({"InstrumentSans-Medium", "InstrumentSans-Regular",
                           "InstrumentSans-SemiBold", "ZillaSlab-Medium", "ZillaSlab-Regular"}));
}

TEST(FontLoader, font_ofUnknownName_isNoneAndNotCached)
{
    const qsizetype before = FontLoader::cachedFontCount();
    EXPECT_EQ(FontLoader::font(QStringLiteral("Helvetica-Bold"), 13), std::nullopt);
    EXPECT_EQ(FontLoader::cachedFontCount(), before);
}

TEST(FontLoader, font_isCachedPerNameAndSize)
{
    const qsizetype before = FontLoader::cachedFontCount();
    const auto first = FontLoader::font(QStringLiteral("ZillaSlab-Medium"), 21.5);
    const auto again = FontLoader::font(QStringLiteral("ZillaSlab-Medium"), 21.5);
    FontLoader::font(QStringLiteral("ZillaSlab-Medium"), 22);
    ASSERT_TRUE(first && again);
    EXPECT_EQ(*first, *again);
    EXPECT_EQ(FontLoader::cachedFontCount(), before + 2);
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
    EXPECT_EQ(QFontInfo(Theme::body()).pixelSize(), 14);
    EXPECT_EQ(QFontInfo(Theme::panelTitle()).pixelSize(), 30);
}

TEST(Theme, face_thatCannotBeLoaded_fallsBackToTheSystemFont)
{
    const QFont font = Theme::face(QStringLiteral("NoSuch-Face"), 13, QFont::Medium);
    EXPECT_EQ(font.family(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    EXPECT_EQ(font.weight(), QFont::Medium);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 13 * 0.75);
}
