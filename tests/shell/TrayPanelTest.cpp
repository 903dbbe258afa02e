#include "TrayFixture.h"

#include "../views/Rendering.h"
#include "views/theme/FontLoader.h"

#include "shell/tray/TrayController.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/TaskBox.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace furrow {
namespace {

class TrayPanelTest : public testing::Test, protected TrayFixture
{
};

TEST_F(TrayPanelTest, sections_firstThreeWithOpenTasks_atMostFiveRowsEach)
{
    Page *page = store.createPage(QStringLiteral("Work"), QStringLiteral("briefcase"));
    section(*page, QStringLiteral("Crowded"), 8);
    Section *emptied = section(*page, QStringLiteral("Emptied"), 1);
    section(*page, QStringLiteral("Short"), 2);
    section(*page, QStringLiteral("Fourth"), 3);
    store.close(*store.tasks(emptied).front());

    TrayPanel panel(context);
    panel.show();
    settleEvents();
    EXPECT_TRUE(panel.findChild<QWidget *>(QStringLiteral("trayHeader"))->isVisible());
    EXPECT_EQ(panel.findChild<TextLabel *>(QStringLiteral("trayHeaderName"))->text(),
              QStringLiteral("Work"));
    EXPECT_EQ(headings(panel), QStringList({QStringLiteral("Crowded"), QStringLiteral("Short")}));
    EXPECT_EQ(rowTitles(panel), QStringList({"Crowded 1", "Crowded 2", "Crowded 3", "Crowded 4",
                                             "Crowded 5", "Short 1", "Short 2"}));
}

TEST_F(TrayPanelTest, withoutLivePage_noHeaderNoSections_andReturnCapturesWithoutSection)
{
    Page *page = store.createPage(QStringLiteral("Gone"), QStringLiteral("tray"));
    section(*page, QStringLiteral("Today"), 2);
    store.deletePage(*page);

    TrayPanel panel(context);
    panel.show();
    settleEvents();
    EXPECT_FALSE(panel.findChild<QWidget *>(QStringLiteral("trayHeader"))->isVisible());
    EXPECT_TRUE(headings(panel).isEmpty());
    EXPECT_TRUE(rowTitles(panel).isEmpty());

    auto *field = panel.findChild<QLineEdit *>(QStringLiteral("trayCapture"));
    QTest::keyClicks(field, QStringLiteral("Buy milk"));
    QTest::keyClick(field, Qt::Key_Return);
    const auto loose = store.tasks(nullptr);
    ASSERT_EQ(loose.size(), 1u);
    EXPECT_EQ(loose.front()->title(), QStringLiteral("Buy milk"));
    EXPECT_TRUE(field->text().isEmpty());
}

TEST_F(TrayPanelTest, return_capturesIntoFirstSection_andKeepsThePanelOpen)
{
    Page *page = store.createPage(QStringLiteral("Work"), QStringLiteral("briefcase"));
    Section *first = section(*page, QStringLiteral("Today"), 1);
    section(*page, QStringLiteral("Later"), 0);

    TrayPanel panel(context);
    panel.show();
    auto *field = panel.findChild<QLineEdit *>(QStringLiteral("trayCapture"));
    for (const QString &text :
         {QStringLiteral("Call Bob"), QStringLiteral("   "), QStringLiteral("Pay rent")}) {
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_TRUE(field->text().isEmpty());
    }
    settleEvents();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(store.tasks(first).size(), 3u);
    EXPECT_EQ(rowTitles(panel), QStringList({"Today 1", "Call Bob", "Pay rent"}));
}

TEST_F(TrayPanelTest, taskBox_closesTheTask_removesItsRowAndRaisesTheCount)
{
    Page *page = store.createPage(QStringLiteral("Work"), QStringLiteral("briefcase"));
    section(*page, QStringLiteral("Today"), 2);
    TrayController tray(
        context, [] {}, [] {});
    tray.togglePanel();
    TrayPanel *panel = tray.panel();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(tray.shownCount(), 0);

    panel->findChildren<TrayTaskRow *>().front()->box()->click();
    settleEvents();
    EXPECT_EQ(rowTitles(*panel), QStringList({"Today 2"}));
    EXPECT_EQ(tray.shownCount(), 1);
    EXPECT_EQ(store.closedTodayCount(), 1);
}

TEST_F(TrayPanelTest, aboveABottomTray_panelKeepsItsLowerEdgeByTheIcon_asTasksComeAndGo)
{
    Page *page = store.createPage(QStringLiteral("Work"), QStringLiteral("briefcase"));
    section(*page, QStringLiteral("Today"), 1);
    TrayController tray(
        context, [] {}, [] {});
    // Without a tray host the panel opens by the pointer, which has just clicked the icon.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint icon(screen.center().x(), screen.bottom() - 8);
    QCursor::setPos(icon);
    ASSERT_EQ(QCursor::pos(), icon);
    tray.togglePanel();
    TrayPanel *panel = tray.panel();
    settleEvents();
    const int lowerEdge = panel->geometry().bottom();
    EXPECT_LT(lowerEdge, icon.y());

    auto *field = panel->findChild<QLineEdit *>(QStringLiteral("trayCapture"));
    const int oneRow = panel->height();
    QTest::keyClicks(field, QStringLiteral("Call Bob"));
    QTest::keyClick(field, Qt::Key_Return);
    settleEvents();
    EXPECT_GT(panel->height(), oneRow);
    EXPECT_EQ(panel->geometry().bottom(), lowerEdge);
    EXPECT_TRUE(screen.contains(panel->geometry()));

    panel->findChildren<TrayTaskRow *>().front()->box()->click();
    settleEvents();
    EXPECT_EQ(panel->height(), oneRow);
    EXPECT_EQ(panel->geometry().bottom(), lowerEdge);
}

TEST_F(TrayPanelTest, buttons_openTheMainWindowOrAskForQuickCapture)
{
    int opened = 0;
    int quickCaptures = 0;
    TrayController tray(
        context, [&] { ++opened; }, [&] { ++quickCaptures; });

    tray.togglePanel();
    tray.panel()->findChild<PillButton *>(QStringLiteral("trayOpen"))->click();
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(tray.panel()->isVisible());

    tray.togglePanel();
    tray.panel()->findChild<PillButton *>(QStringLiteral("trayQuickCapture"))->click();
    EXPECT_EQ(quickCaptures, 1);
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(tray.panel()->isVisible());
}

TEST_F(TrayPanelTest, panel_isRenderedForReview)
{
    FontLoader::registerBundledFonts();
    Page *page = store.createPage(QStringLiteral("Inbox"), QStringLiteral("tray"));
    Section *today = store.createSection(QStringLiteral("Today"), *page);
    for (const char *title : {"Call the plumber about the kitchen tap that keeps dripping at night",
                              "Pay rent", "Send the slides to Mira"})
        store.capture(QString::fromUtf8(title), today, nullptr);
    section(*page, QStringLiteral("Next"), 2);
    store.close(*store.tasks(today)[1]);

    TrayPanel panel(context);
    panel.show();
    settleEvents();
    EXPECT_FALSE(QImage(saveRendering(&panel, QStringLiteral("tray-panel"))).isNull());
}

} // namespace
} // namespace furrow
