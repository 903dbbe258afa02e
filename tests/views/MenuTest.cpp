#include "Rendering.h"
#include "ViewTestSupport.h"
#include "views/menus/AnchoredButton.h"
#include "views/menus/MenuController.h"
#include "views/menus/MenuHost.h"
#include "views/menus/MenuRow.h"
#include "views/menus/MenuSheet.h"
#include "views/theme/Theme.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace furrow;

struct PlacementCase
{
    const char *name;
    QRectF anchor;
    qreal height;
    QSizeF window;
    QPointF expected;
};

class MenuPlacement : public testing::TestWithParam<PlacementCase>
{
};

TEST_P(MenuPlacement, keepsThePopupInsideTheWindow)
{
    const PlacementCase &c = GetParam();
    EXPECT_EQ(MenuHost::placement(c.anchor, 200, c.height, c.window), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Menus, MenuPlacement,
    testing::Values(
        // Right edges aligned, 6 below the anchor.
        PlacementCase{"below", {500, 100, 24, 24}, 150, {800, 600}, {324, 130}},
        PlacementCase{"nearBottom_opensAbove", {500, 540, 24, 24}, 150, {800, 600}, {324, 384}},
        PlacementCase{
            "fitsNeither_sticksToBottomMargin", {500, 120, 24, 24}, 200, {800, 300}, {324, 92}},
        PlacementCase{
            "tallerThanWindow_sticksToTopMargin", {500, 120, 24, 24}, 400, {800, 300}, {324, 8}},
        PlacementCase{
            "nearLeft_keepsEightFromLeftEdge", {10, 100, 24, 24}, 150, {800, 600}, {8, 130}},
        PlacementCase{"pastRightEdge_keepsEightFromRightEdge",
                      {790, 100, 24, 24},
                      150,
                      {800, 600},
                      {592, 130}},
        PlacementCase{"unmeasured_goesBelow", {500, 540, 24, 24}, 0, {800, 600}, {324, 570}}),
    [](const testing::TestParamInfo<PlacementCase> &info) { return std::string(info.param.name); });

namespace {

// A window with a button in its lower right corner that opens a three-row menu.
class MenuWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(420, 300);
        menus = new MenuController(&window);
        underneath = new QPushButton(QStringLiteral("Underneath"), &window);
        underneath->setGeometry(10, 10, 120, 30);
        opener = new MenuButton(
            menus, 16, 180, [this] { return buildSheet(); }, &window);
        opener->setGeometry(380, 260, 24, 24);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QWidget *buildSheet()
    {
        auto *sheet = new MenuSheet(menus);
        sheet->addRow(QStringLiteral("Rename"), QStringLiteral("pencil"), [this] {
            actionSawOpenMenu = menus->isOpen();
            ++actions;
        });
        disabled = sheet->addRow(QStringLiteral("Later"), QString(), [this] { ++actions; });
        disabled->setEnabled(false);
        sheet->addDivider();
        sheet->addRow(QStringLiteral("Delete"), QStringLiteral("trash"), [this] { ++actions; })
            ->setDestructive(true);
        return sheet;
    }

    QWidget window;
    MenuController *menus = nullptr;
    QPushButton *underneath = nullptr;
    MenuButton *opener = nullptr;
    MenuRow *disabled = nullptr;
    int actions = 0;
    bool actionSawOpenMenu = true;
};

MenuRow *row(MenuController *menus, const QString &title)
{
    return test::menuRow(*menus, title);
}

} // namespace

TEST_F(MenuWindow, buttonNearBottomEdge_opensItsMenuAboveItself)
{
    QTest::mouseClick(opener, Qt::LeftButton);
    ASSERT_TRUE(menus->isOpen());
    const QRect card = menus->host()->card()->geometry();
    EXPECT_LE(card.bottom(), opener->geometry().top() - 6);
    EXPECT_EQ(card.right() + 1, opener->geometry().right() + 1); // right edges aligned
    EXPECT_EQ(card.width(), 180);
}

TEST_F(MenuWindow, openingASecondPopup_replacesTheFirst)
{
    QPointer<QWidget> first = new QLabel(QStringLiteral("first"));
    menus->show(150, QRect(20, 20, 10, 10), first);
    auto *second = new QLabel(QStringLiteral("second"));
    menus->show(150, QRect(20, 20, 10, 10), second);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(menus->host()->card()->isAncestorOf(second));
}

TEST_F(MenuWindow, clickOutsideThePopup_onlyClosesIt)
{
    QSignalSpy clicked(underneath, &QPushButton::clicked);
    QTest::mouseClick(opener, Qt::LeftButton);
    ASSERT_TRUE(menus->isOpen());
    QTest::mouseClick(menus->host(), Qt::LeftButton, {}, underneath->geometry().center());
    EXPECT_FALSE(menus->isOpen());
    EXPECT_FALSE(menus->host()->isVisible());
    EXPECT_EQ(clicked.size(), 0);
    EXPECT_EQ(actions, 0);
}

TEST_F(MenuWindow, rowClick_closesThePopupBeforeItsAction)
{
    QTest::mouseClick(opener, Qt::LeftButton);
    QTest::mouseClick(row(menus, QStringLiteral("Rename")), Qt::LeftButton);
    EXPECT_EQ(actions, 1);
    EXPECT_FALSE(actionSawOpenMenu);
    EXPECT_FALSE(menus->isOpen());
}

TEST_F(MenuWindow, disabledRow_ignoresClicksAndReadsMuted)
{
    QTest::mouseClick(opener, Qt::LeftButton);
    MenuRow *later = row(menus, QStringLiteral("Later"));
    QTest::mouseClick(later, Qt::LeftButton);
    EXPECT_EQ(actions, 0);
    EXPECT_TRUE(menus->isOpen());
    EXPECT_EQ(later->titleColor(), Theme::muted);
    EXPECT_EQ(row(menus, QStringLiteral("Delete"))->titleColor(), Theme::clay);
}

TEST_F(MenuWindow, keyboard_opensWalksTheRowsAndEscapeCloses)
{
    opener->setFocus(Qt::TabFocusReason);
    QTest::keyClick(opener, Qt::Key_Space);
    ASSERT_TRUE(menus->isOpen());
    MenuRow *rename = row(menus, QStringLiteral("Rename"));
    EXPECT_TRUE(rename->hasFocus());
    QTest::keyClick(rename, Qt::Key_Down); // skips the disabled row
    EXPECT_TRUE(row(menus, QStringLiteral("Delete"))->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(menus->isOpen());
    EXPECT_TRUE(opener->hasFocus()); // focus goes back to where it was
}

TEST_F(MenuWindow, withMotion_popupFadesInAndOut)
{
    qunsetenv("FURROW_REDUCE_MOTION");
    QTest::mouseClick(opener, Qt::LeftButton);
    EXPECT_LT(menus->host()->appearance(), 1);
    EXPECT_TRUE(QTest::qWaitFor([this] { return menus->host()->appearance() == 1; }, 2000));
    menus->close();
    EXPECT_TRUE(menus->host()->isVisible()); // still fading out
    EXPECT_TRUE(QTest::qWaitFor([this] { return !menus->host()->isVisible(); }, 2000));
    qputenv("FURROW_REDUCE_MOTION", "1");
}

// Not a check: leaves renderings/menu.png for people to review.
TEST_F(MenuWindow, rendersAnOpenMenu)
{
    window.setAutoFillBackground(true);
    opener->move(300, 40);
    auto *sheet = new MenuSheet(menus);
    sheet->addCaption(QStringLiteral("Move to"));
    MenuRow *own = sheet->addRow(QStringLiteral("Today"), {}, {});
    own->setChecked(true);
    own->setEnabled(false);
    sheet->addRow(QStringLiteral("Next"), {}, {});
    sheet->addRow(QStringLiteral("Later"), {}, {});
    sheet->addDivider();
    sheet->addRow(QStringLiteral("Change the project…"), QStringLiteral("tag"), {});
    sheet->addRow(QStringLiteral("Clear the date"), QStringLiteral("calendar"), {});
    sheet->addRow(QStringLiteral("Drop to archive"), QStringLiteral("tray.and.arrow.down"), {});
    menus->show(210, opener, sheet);
    QTest::mouseMove(row(menus, QStringLiteral("Next")));
    saveRendering(&window, QStringLiteral("menu"));
}
