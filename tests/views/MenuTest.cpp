#include "ViewTestSupport.h"
#include "views/menus/AnchoredButton.h"
#include "views/menus/MenuHost.h"
#include "views/menus/MenuSheet.h"
#include "views/theme/Theme.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>

using namespace furrow;

TEST(MenuPlacement, keepsThePopupInsideTheWindowEightFromItsEdges)
{
    // A 200 wide popup: right edges aligned, 6 below the anchor when it fits there.
    struct Case
    {
        QRectF anchor;
        qreal height;
        QSizeF window;
        QPointF expected;
    };
    const Case cases[] = {
        {{500, 100, 24, 24}, 150, {800, 600}, {324, 130}},
        {{500, 540, 24, 24}, 150, {800, 600}, {324, 384}}, // near the bottom: above
        {{500, 120, 24, 24}, 200, {800, 300}, {324, 92}},  // fits neither: on the bottom margin
        {{500, 120, 24, 24}, 400, {800, 300}, {324, 8}},   // taller than the window: top margin
        {{10, 100, 24, 24}, 150, {800, 600}, {8, 130}},    // near the left edge
        {{790, 100, 24, 24}, 150, {800, 600}, {592, 130}}, // past the right edge
        {{500, 540, 24, 24}, 0, {800, 600}, {324, 570}},   // not measured yet: below
    };
    for (const Case &c : cases) {
        EXPECT_EQ(MenuHost::placement(c.anchor, 200, c.height, c.window), c.expected)
            << "case " << &c - cases;
    }
}

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
        const auto sheet = [this] {
            auto *made = new MenuSheet(menus);
            made->addRow(QStringLiteral("Rename"), QStringLiteral("pencil"), [this] {
                actionSawOpenMenu = menus->isOpen();
                ++actions;
            });
            made->addRow(QStringLiteral("Later"), {}, [this] { ++actions; })->setEnabled(false);
            made->addDivider();
            made->addRow(QStringLiteral("Delete"), QStringLiteral("trash"), [this] { ++actions; })
                ->setDestructive(true);
            return made;
        };
        opener = new MenuButton(menus, 16, 180, sheet, &window);
        opener->setGeometry(380, 260, 24, 24);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QWidget window;
    MenuController *menus = nullptr;
    QPushButton *underneath = nullptr;
    MenuButton *opener = nullptr;
    int actions = 0;
    bool actionSawOpenMenu = true;
};

} // namespace

TEST_F(MenuWindow, openingASecondPopup_replacesTheFirst)
{
    QPointer<QWidget> first = new QLabel(QStringLiteral("first"));
    menus->show(150, QRect(20, 20, 10, 10), first);
    auto *second = new QLabel(QStringLiteral("second"));
    menus->show(150, QRect(20, 20, 10, 10), second);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(menus->host()->findChild<QWidget *>(u"menuCard"_s)->isAncestorOf(second));
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

TEST_F(MenuWindow, rowClick_closesThePopupBeforeItsAction_butADisabledRowIgnoresIt)
{
    QTest::mouseClick(opener, Qt::LeftButton);
    MenuRow *later = menuRow(*menus, QStringLiteral("Later"));
    QTest::mouseClick(later, Qt::LeftButton);
    EXPECT_EQ(actions, 0);
    EXPECT_TRUE(menus->isOpen());
    EXPECT_EQ(later->titleColor(), Theme::muted);
    EXPECT_EQ(menuRow(*menus, QStringLiteral("Delete"))->titleColor(), Theme::clay);

    QTest::mouseClick(menuRow(*menus, QStringLiteral("Rename")), Qt::LeftButton);
    EXPECT_EQ(actions, 1);
    EXPECT_FALSE(actionSawOpenMenu);
    EXPECT_FALSE(menus->isOpen());
}

TEST_F(MenuWindow, keyboard_opensWalksTheRowsAndEscapeCloses)
{
    opener->setFocus(Qt::TabFocusReason);
    QTest::keyClick(opener, Qt::Key_Space);
    ASSERT_TRUE(menus->isOpen());
    MenuRow *rename = menuRow(*menus, QStringLiteral("Rename"));
    EXPECT_TRUE(rename->hasFocus());
    QTest::keyClick(rename, Qt::Key_Down); // skips the disabled row
    EXPECT_TRUE(menuRow(*menus, QStringLiteral("Delete"))->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(menus->isOpen());
    EXPECT_TRUE(opener->hasFocus()); // focus goes back to where it was
}

TEST_F(MenuWindow, pointerAndKeys_shareOneCurrentRow)
{
    const auto lit = [this] {
        return textsOf(menuRows(*menus),
                       [](MenuRow *row) { return row->isHighlighted() ? row->text() : QString(); })
            .join(QString());
    };
    // The menu is opened from the keyboard: its first row is lit.
    window.setAttribute(Qt::WA_KeyboardFocusChange);
    opener->setFocus(Qt::TabFocusReason);
    QTest::keyClick(opener, Qt::Key_Space);
    ASSERT_TRUE(menus->isOpen());
    EXPECT_EQ(lit(), QStringLiteral("Rename"));

    MenuRow *remove = menuRow(*menus, QStringLiteral("Delete"));
    QTest::mouseMove(remove, QPoint(20, 5));
    EXPECT_EQ(lit(), QStringLiteral("Delete"));
    // The keys go on from the pointer's row; the pointer resting there lights it no longer.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(lit(), QStringLiteral("Rename"));
    QTest::mouseMove(remove, QPoint(30, 6));
    EXPECT_EQ(lit(), QStringLiteral("Delete"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(actions, 1);
}
