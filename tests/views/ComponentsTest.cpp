#include "ViewTestSupport.h"
#include "views/theme/Icon.h"
#include "views/theme/PageIcons.h"
#include "views/theme/Theme.h"
#include "views/widgets/ColorSwatchGrid.h"

#include <QAbstractButton>
#include <QFile>
#include <QSignalSpy>

using namespace furrow;

TEST(Icon, tinted_coversTheShapeWithTheTintAndLeavesTheRestClear)
{
    const QColor tint = Theme::clay;
    const QPixmap pixmap = Icon::symbol(QStringLiteral("plus"), 32, tint, 2);
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_EQ(pixmap.size(), QSize(64, 64)); // rendered at the device pixel ratio
    EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), 2);
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    // The centre of the plus is solid ink in the artwork; the corner is empty.
    EXPECT_EQ(image.pixelColor(32, 32), tint);
    EXPECT_EQ(image.pixelColor(1, 1).alpha(), 0);
}

TEST(Icon, everyNamedIconHasBundledArtwork)
{
    for (const QString &symbol : Icon::symbolNames()) {
        EXPECT_TRUE(QFile::exists(Icon::symbolResource(symbol))) << qPrintable(symbol);
        EXPECT_FALSE(Icon::symbol(symbol, 16, Theme::ink, 1).isNull()) << qPrintable(symbol);
    }
    for (const QString &name : PageIcons::all())
        EXPECT_TRUE(QFile::exists(Icon::pageIconResource(name))) << qPrintable(name);
    EXPECT_EQ(PageIcons::all().size(), 168);
    QStringList unique = PageIcons::all();
    EXPECT_EQ(unique.removeDuplicates(), 0);
}

TEST(Icon, unknownOrUnsafeNames_drawNothing_andBoldFallsBackToRegularArtwork)
{
    EXPECT_TRUE(Icon::symbol(QStringLiteral("no.such.symbol"), 16, Theme::ink, 1).isNull());
    EXPECT_TRUE(Icon::pageIcon(QStringLiteral("no-such-icon"), 16, Theme::ink, 1).isNull());
    EXPECT_TRUE(Icon::pageIcon(QStringLiteral("../bold/check"), 16, Theme::ink, 1).isNull());
    EXPECT_TRUE(Icon::pageIcon(QString(), 16, Theme::ink, 1).isNull());
    EXPECT_TRUE(Icon::symbolResource(QStringLiteral("checkmark"), Icon::Weight::Bold)
                    .contains(QStringLiteral("/bold/")));
    EXPECT_TRUE(Icon::symbolResource(QStringLiteral("plus"), Icon::Weight::Bold)
                    .contains(QStringLiteral("/regular/")));
}

TEST(ColorSwatchGrid, outlinesThePaletteColourOrAddsACurrentSwatch_andPicksTheClickedHex)
{
    const auto checkedTips = [](const ColorSwatchGrid &grid) {
        QStringList tips;
        for (const QAbstractButton *swatch : grid.swatches()) {
            if (swatch->isChecked())
                tips.append(swatch->toolTip());
        }
        return tips;
    };
    ColorSwatchGrid palette(QStringLiteral("#0d9488"));
    EXPECT_EQ(palette.swatches().size(), 12);
    EXPECT_EQ(checkedTips(palette), QStringList{"Teal"});

    ColorSwatchGrid custom(QStringLiteral("#123456"));
    ASSERT_EQ(custom.swatches().size(), 13);
    EXPECT_EQ(custom.swatches().last()->toolTip(), QStringLiteral("Current"));
    EXPECT_EQ(checkedTips(custom), QStringList{"Current"});
    custom.show();
    QSignalSpy picked(&custom, &ColorSwatchGrid::picked);
    QTest::mouseClick(custom.swatches()[7], Qt::LeftButton);
    QTest::mouseClick(custom.swatches()[12], Qt::LeftButton);
    ASSERT_EQ(picked.size(), 2);
    EXPECT_EQ(picked[0][0].toString(), QStringLiteral("#2563EB"));
    EXPECT_EQ(picked[1][0].toString(), QStringLiteral("#123456"));
}
