#include "QtPrinters.h"
#include "Rendering.h"
#include "views/theme/Icon.h"
#include "views/theme/IconView.h"
#include "views/theme/PageIcons.h"
#include "views/theme/Theme.h"
#include "views/widgets/ColorSwatchGrid.h"
#include "views/widgets/HairLine.h"
#include "views/widgets/LiftedSurface.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/ProjectTag.h"
#include "views/widgets/StepLabel.h"
#include "views/widgets/TaskBox.h"

#include <QAbstractButton>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

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
    EXPECT_EQ(Icon::symbolName(PhIcon::dots), QStringLiteral("ellipsis"));
    EXPECT_EQ(Icon::symbolName(PhIcon::note), QStringLiteral("text.alignleft"));
}

TEST(Icon, unknownOrUnsafeNames_drawNothing)
{
    EXPECT_TRUE(Icon::symbol(QStringLiteral("no.such.symbol"), 16, Theme::ink, 1).isNull());
    EXPECT_TRUE(Icon::pageIcon(QStringLiteral("no-such-icon"), 16, Theme::ink, 1).isNull());
    EXPECT_TRUE(Icon::pageIcon(QStringLiteral("../bold/check"), 16, Theme::ink, 1).isNull());
    EXPECT_TRUE(Icon::pageIcon(QString(), 16, Theme::ink, 1).isNull());
}

TEST(Icon, boldRequest_usesBoldArtworkWhereBundledElseRegular)
{
    EXPECT_TRUE(Icon::symbolResource(QStringLiteral("checkmark"), Icon::Weight::Bold)
                    .contains(QStringLiteral("/bold/")));
    EXPECT_TRUE(Icon::symbolResource(QStringLiteral("plus"), Icon::Weight::Bold)
                    .contains(QStringLiteral("/regular/")));
}

namespace {

QStringList tips(const QList<QAbstractButton *> &swatches)
{
    QStringList result;
    for (const QAbstractButton *swatch : swatches)
        result.append(swatch->toolTip());
    return result;
}

} // namespace

TEST(ColorSwatchGrid, paletteColour_isOutlinedAmongTwelve)
{
    ColorSwatchGrid grid(QStringLiteral("#0d9488"));
    const auto swatches = grid.swatches();
    ASSERT_EQ(swatches.size(), 12);
    for (const QAbstractButton *swatch : swatches)
        EXPECT_EQ(swatch->isChecked(), swatch->toolTip() == QStringLiteral("Teal"));
}

TEST(ColorSwatchGrid, customColour_addsASelectedCurrentSwatch)
{
    ColorSwatchGrid grid(QStringLiteral("#123456"));
    const auto swatches = grid.swatches();
    ASSERT_EQ(swatches.size(), 13);
    EXPECT_EQ(tips(swatches).last(), QStringLiteral("Current"));
    EXPECT_TRUE(swatches.last()->isChecked());
    EXPECT_EQ(std::count_if(swatches.begin(), swatches.end(),
                            [](auto *swatch) { return swatch->isChecked(); }),
              1);
}

TEST(ColorSwatchGrid, click_picksTheSwatchHex)
{
    ColorSwatchGrid grid(QStringLiteral("#123456"));
    grid.show();
    QSignalSpy picked(&grid, &ColorSwatchGrid::picked);
    QTest::mouseClick(grid.swatches()[7], Qt::LeftButton);
    QTest::mouseClick(grid.swatches()[12], Qt::LeftButton);
    ASSERT_EQ(picked.size(), 2);
    EXPECT_EQ(picked[0][0].toString(), QStringLiteral("#2563EB"));
    EXPECT_EQ(picked[1][0].toString(), QStringLiteral("#123456"));
}

TEST(TaskBox, drawsItsStates)
{
    const auto centre = [](bool done, bool hovering) {
        QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        TaskBox::paint(painter, QRectF(0, 0, 40, 40), done, hovering, false);
        painter.end();
        // Left of the check mark, inside the border.
        return image.pixelColor(8, 20);
    };
    EXPECT_EQ(centre(true, false), Theme::bright);
    EXPECT_EQ(centre(false, true), Theme::hair);
    EXPECT_EQ(centre(false, false).alpha(), 0);
}

TEST(PillButton, checkedPill_settlesInItsActiveLook)
{
    PillButton pill(QStringLiteral("Done"));
    pill.setCheckable(true);
    EXPECT_EQ(pill.activeness(), 0);
    pill.setChecked(true);
    EXPECT_EQ(pill.activeness(), 1); // reduce motion is on in these tests
    pill.setChecked(false);
    EXPECT_EQ(pill.activeness(), 0);
}

namespace {

QWidget *pillRow(PillButton::Kind kind, bool active)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *normal = new PillButton(QStringLiteral("Set goals"), kind, row);
    auto *compact = new PillButton(QStringLiteral("Today"), kind, row);
    compact->setCompact(true);
    auto *labelled = new PillButton(QStringLiteral("Add a task"), kind, row);
    labelled->setSymbol(QStringLiteral("plus"));
    for (PillButton *pill : {normal, compact, labelled}) {
        pill->setCheckable(active);
        pill->setChecked(active);
        layout->addWidget(pill);
    }
    layout->addStretch();
    return row;
}

} // namespace

// Not a check: leaves renderings/gallery.png for people to review.
TEST(Gallery, rendersTheComponents)
{
    QWidget gallery;
    gallery.resize(560, 540);
    auto *layout = new QVBoxLayout(&gallery);
    layout->setContentsMargins(28, 24, 28, 24);
    layout->setSpacing(12);
    auto *title = new QLabel(QStringLiteral("What is this quarter for?"));
    title->setFont(Theme::slab(24));
    layout->addWidget(title);
    layout->addWidget(new StepLabel(QStringLiteral("Pills")));
    for (auto kind : {PillButton::Kind::Normal, PillButton::Kind::Primary, PillButton::Kind::Quiet})
        for (bool active : {false, true})
            layout->addWidget(pillRow(kind, active));
    layout->addWidget(new HairLine);

    auto *boxes = new QHBoxLayout;
    boxes->setSpacing(14);
    for (int state = 0; state < 4; ++state) {
        auto *box = new TaskBox(18);
        box->setDone(state == 1);
        box->setHovering(state == 2);
        box->setDashed(state == 3);
        boxes->addWidget(box);
    }
    auto *tag = new ProjectTag;
    tag->setProject(QStringLiteral("Home"), *Theme::colorFromHex(QStringLiteral("#15803D")));
    boxes->addWidget(tag);
    auto *other = new ProjectTag;
    other->setProject(QStringLiteral("Quarterly report"), *Theme::colorFromHex("#7C3AED"));
    boxes->addWidget(other);
    for (const char *symbol : {"sun.horizon", "tray.and.arrow.down", "calendar", "ellipsis"})
        boxes->addWidget(IconView::symbol(QString::fromLatin1(symbol), 18, Theme::gray));
    boxes->addStretch();
    layout->addLayout(boxes);

    auto *field = new LiftedSurface(17);
    field->setFixedHeight(34);
    auto *edit = new QLineEdit;
    edit->setFrame(false);
    edit->setFont(Theme::sans(13));
    QPalette colors = edit->palette();
    colors.setColor(QPalette::Base, Qt::transparent);
    edit->setPalette(colors);
    edit->setPlaceholderText(QStringLiteral("Drop it here and forget it"));
    field->contentLayout()->addWidget(edit);
    layout->addWidget(field);
    layout->addWidget(new ColorSwatchGrid(QStringLiteral("#123456")));
    layout->addStretch();
    gallery.show();
    EXPECT_TRUE(QFile::exists(saveRendering(&gallery, QStringLiteral("gallery"))));
}
