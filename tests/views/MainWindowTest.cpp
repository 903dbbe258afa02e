#include "BoardFixture.h"

#include "model/LiveRecords.h"
#include "model/UserDefaults.h"
#include "model/VectorStore.h"
#include "views/board/TitleEditor.h"
#include "views/board/ToolbarChip.h"
#include "views/main/LayoutPreferences.h"
#include "views/main/MainToolbar.h"
#include "views/main/MainWindow.h"
#include "views/sidebar/Sidebar.h"

#include <QSignalSpy>

namespace furrow {
namespace {

// A main window over an in-memory store, with no goals set unless a test sets them; its
// showing tidies the store as the application wires it.
class MainWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (int slot = 0; slot < VectorStore::kCount; ++slot)
            goals.set({}, {}, slot);
        Clock::setNow(localTime(2021, 8, 10, 12));
    }
    void TearDown() override { Clock::useSystemTime(); }

    MainWindow &open()
    {
        window = std::make_unique<MainWindow>(context, goals);
        QObject::connect(window.get(), &MainWindow::shown, window.get(), [this] {
            window->openOn(*PlannerStore(context).runHousekeeping());
            ++showings;
        });
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        settle();
        return *window;
    }

    Page *livePageNamed(const QString &name) const
    {
        for (Page *page : live(context.fetchAll<Page>())) {
            if (page->name() == name)
                return page;
        }
        return nullptr;
    }

    ModelContext context;
    VectorStore goals;
    std::unique_ptr<MainWindow> window;
    int showings = 0;
};

TEST_F(MainWindowTest, showing_tidiesTheStoreAndOpensTheFirstPage)
{
    PlannerStore store(context);
    TaskItem *dropped = store.capture(QStringLiteral("Old"), nullptr, nullptr);
    store.archive(*dropped);
    dropped->setArchivedAt(localTime(2021, 6, 1, 12));
    open();
    window->hide();
    window->show();
    EXPECT_EQ(showings, 2) << "on every showing, not only the first";

    EXPECT_TRUE(dropped->deletedAt()) << "dropped long ago, aged out of the archive";
    Page *inbox = livePageNamed(QStringLiteral("Inbox"));
    ASSERT_NE(inbox, nullptr);
    EXPECT_EQ(window->selection(), SidebarSelection::page(inbox->id()));
    EXPECT_TRUE(window->pageView()->hasPage());
    ASSERT_NE(store.dayPlan(Clock::now()), nullptr);
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(MainWindowTest, newTask_opensTheComposeLineOfTheFirstSection_butNotOnTheGoalsPage)
{
    open();
    window->focusInput();
    settle();
    const Section *first
        = liveOn(context.fetchAll<Section>(), livePageNamed(QStringLiteral("Inbox"))).front();
    EXPECT_EQ(window->pageView()->state().composingSection(), first->id());

    // With goals set the window opens on the goals page, where a new task has nowhere to go.
    window.reset();
    goals.set(QStringLiteral("Ship the book"), {}, 0);
    open();
    EXPECT_TRUE(window->selection().isGoals());
    window->focusInput();
    settle();
    EXPECT_TRUE(window->pageView()->state().composingSection().isNull());
}

TEST_F(MainWindowTest, layoutSwitches_persistAndReachThePage)
{
    LayoutPreferences &layout = LayoutPreferences::shared();
    layout.setCompact(false);
    layout.setSidebarHidden(false);
    open();
    QTest::mouseClick(window->toolbar()->rowHeightChip(), Qt::LeftButton);
    QTest::mouseClick(window->toolbar()->sidebarChip(), Qt::LeftButton);
    EXPECT_TRUE(window->pageView()->isCompact());
    EXPECT_EQ(window->toolbar()->rowHeightChip()->label(), QStringLiteral("Roomy rows"));
    EXPECT_FALSE(window->sidebar()->isVisible());
    const auto defaults = UserDefaults::open();
    EXPECT_TRUE(defaults->value(QStringLiteral("layout.compact")).toBool());
    EXPECT_TRUE(defaults->value(QStringLiteral("layout.sidebarHidden")).toBool());
    layout.setCompact(false);
    layout.setSidebarHidden(false);
}

TEST_F(MainWindowTest, sidebarToggle_slidesTheWholeSidebar_andJumpsWithMotionReduced)
{
    LayoutPreferences &layout = LayoutPreferences::shared();
    layout.setSidebarHidden(false);
    open();
    Sidebar *sidebar = window->sidebar();
    QWidget *page = window->pageView();
    const auto left = [&](const QWidget *widget) {
        return widget->mapTo(window.get(), QPoint()).x();
    };
    ASSERT_EQ(left(sidebar), 0);
    {
        const WithMotion motion;
        layout.setSidebarHidden(true);
        // On the way out the sidebar moves at its full width instead of narrowing.
        ASSERT_TRUE(QTest::qWaitFor([&] { return left(sidebar) < 0; }, 2000));
        EXPECT_GT(left(sidebar), -Sidebar::kWidth);
        EXPECT_EQ(sidebar->width(), Sidebar::kWidth);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !sidebar->isVisible(); }, 2000));
        EXPECT_EQ(left(sidebar), -Sidebar::kWidth);
        layout.setSidebarHidden(false);
        EXPECT_TRUE(sidebar->isVisible());
        EXPECT_TRUE(QTest::qWaitFor([&] { return left(sidebar) == 0; }, 2000));
        settle();
        EXPECT_EQ(left(page), Sidebar::kWidth);
    }
    layout.setSidebarHidden(true);
    EXPECT_FALSE(sidebar->isVisible());
    settle();
    EXPECT_EQ(left(page), 0);
    layout.setSidebarHidden(false);
    EXPECT_TRUE(sidebar->isVisible());
    EXPECT_EQ(left(sidebar), 0);
    EXPECT_EQ(sidebar->width(), Sidebar::kWidth);
}

TEST_F(MainWindowTest, selectedPageThatDisappears_givesWayToTheFirstRemainingPage)
{
    PlannerStore store(context);
    Page *first = store.createPage(QStringLiteral("First"), QStringLiteral("house"));
    Page *second = store.createPage(QStringLiteral("Second"), QStringLiteral("house"));
    open();
    window->setSelection(SidebarSelection::page(second->id()));
    second->setDeletedAt(Clock::now()); // as an import or a sync would
    settle();
    EXPECT_EQ(window->selection(), SidebarSelection::page(first->id()));
}

TEST_F(MainWindowTest, settingsChip_whileSyncFails_carriesADotAndOpensTheSyncTab)
{
    open();
    QSignalSpy settings(window.get(), &MainWindow::settingsRequested);
    QSignalSpy sync(window.get(), &MainWindow::syncSettingsRequested);
    ToolbarChip *chip = window->toolbar()->settingsChip();
    window->toolbar()->setSyncFailing(true);
    EXPECT_TRUE(chip->isMarked());
    QTest::mouseClick(chip, Qt::LeftButton);
    window->toolbar()->setSyncFailing(false);
    EXPECT_FALSE(chip->isMarked());
    QTest::mouseClick(chip, Qt::LeftButton);
    EXPECT_EQ(settings.size(), 1);
    EXPECT_EQ(sync.size(), 1);
}

TEST_F(MainWindowTest, categoryChip_addsASectionToTheShownPage)
{
    open();
    Page *inbox = livePageNamed(QStringLiteral("Inbox"));
    ASSERT_TRUE(window->toolbar()->categoryChip()->isVisible());
    QTest::mouseClick(window->toolbar()->categoryChip(), Qt::LeftButton);
    settle();
    const auto sections = liveOn(context.fetchAll<Section>(), inbox);
    EXPECT_EQ(sections.back()->name(), QStringLiteral("New category"));
    window->setSelection(SidebarSelection::goals());
    EXPECT_FALSE(window->toolbar()->categoryChip()->isVisible());
}

TEST_F(MainWindowTest, closingTheWindow_savesTheOpenTitleEdit_andReopensWithoutAnEditor)
{
    PlannerStore store(context);
    Page *page = store.createPage(QStringLiteral("Work"), QStringLiteral("briefcase"));
    Project *ops = store.createProject(QStringLiteral("Ops"));
    TaskItem *task = store.capture(QStringLiteral("Call bank"),
                                   store.createSection(QStringLiteral("Today"), *page), nullptr);
    open();
    TaskRow *row = window->pageView()->row(task->id());
    row->beginEdit();
    settle();
    QTest::keyClicks(row->titleEditor(), QStringLiteral(" about the loan #Ops"));

    window->close();
    settle();
    EXPECT_EQ(task->title(), QStringLiteral("Call bank about the loan"));
    EXPECT_EQ(task->project(), ops);
    window->show();
    settle();
    EXPECT_FALSE(window->pageView()->row(task->id())->isEditingTitle());
    EXPECT_EQ(window->pageView()->findChild<TitleEditor *>(), nullptr);
}

} // namespace
} // namespace furrow
