#include "views/sidebar/Sidebar.h"
#include "Rendering.h"
#include "ViewTestSupport.h"
#include "model/Clock.h"
#include "model/LiveRecords.h"
#include "model/PlannerStore.h"
#include "persistence/DemoSeed.h"
#include "views/menus/AnchoredButton.h"
#include "views/pickers/IconCell.h"
#include "views/pickers/PageIconPicker.h"
#include "views/sidebar/PageRow.h"
#include "views/sidebar/SidebarFootButton.h"

#include <QCursor>
#include <QLineEdit>
#include <QSignalSpy>

using namespace furrow;

namespace {

// A window holding the sidebar over an in-memory planner, the clock at 10:00 on 10 March 2026.
class SidebarTest : public testing::Test
{
protected:
    SidebarTest() { Clock::setNow(localTime(2026, 3, 10, 10)); }
    ~SidebarTest() override { Clock::useSystemTime(); }

    Page *addPage(const QString &name, qint64 order)
    {
        return context.insert(std::make_shared<Page>(name, QStringLiteral("folder"), order));
    }
    Section *addSection(Page *page, qint64 order = 0)
    {
        return context.insert(std::make_shared<Section>(QStringLiteral("Lane"), page, order));
    }
    TaskItem *addTask(Section *section)
    {
        return context.insert(
            std::make_shared<TaskItem>(QStringLiteral("Task"), section, 0, nullptr));
    }

    // Builds the sidebar over what the test has inserted and shows it.
    void open()
    {
        window.resize(Sidebar::kWidth, 560);
        menus = new MenuController(&window);
        sidebar = new Sidebar(context, *menus, &window);
        sidebar->setGeometry(0, 0, Sidebar::kWidth, 560);
        // Away from the rows, so that no row starts out hovered by an earlier test's pointer.
        QCursor::setPos(4000, 4000);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Chooses a row of a page's menu.
    void choose(const QUuid &pageId, const QString &title)
    {
        sidebar->rowFor(pageId)->openMenu();
        MenuRow *row = menuRow(*menus, title);
        ASSERT_NE(row, nullptr);
        QTest::mouseClick(row, Qt::LeftButton);
    }

    QStringList pageNames() const
    {
        return textsOf(live(context.fetchAll<Page>()),
                       [](const Page *page) { return page->name(); });
    }

    ModelContext context;
    QWidget window;
    MenuController *menus = nullptr;
    Sidebar *sidebar = nullptr;
};

struct DeleteCase
{
    const char *name;
    int pages;
    int selected; // -1: goals
    int deleted;
    int expected; // -1: goals
};

class SidebarDelete : public SidebarTest, public testing::WithParamInterface<DeleteCase>
{
};

} // namespace

TEST_P(SidebarDelete, followsTheSelectionRule)
{
    const DeleteCase &c = GetParam();
    std::vector<QUuid> ids;
    for (int i = 0; i < c.pages; ++i)
        ids.push_back(addPage(QStringLiteral("Page %1").arg(i), i)->id());
    ASSERT_NO_FATAL_FAILURE(open());
    const auto selection = [&ids](int index) {
        return index < 0 ? SidebarSelection::goals()
                         : SidebarSelection::page(ids[std::size_t(index)]);
    };
    sidebar->setSelection(selection(c.selected));

    choose(ids[std::size_t(c.deleted)], QStringLiteral("Delete"));
    EXPECT_EQ(sidebar->selection(), selection(c.expected));
    EXPECT_FALSE(menus->isOpen());
    EXPECT_EQ(sidebar->pageRows().size(), std::size_t(c.pages - 1));
    EXPECT_EQ(sidebar->rowFor(ids[std::size_t(c.deleted)]), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Sidebar, SidebarDelete,
    testing::Values(DeleteCase{"selectedMiddle_selectsFirstRemaining", 3, 1, 1, 0},
                    DeleteCase{"selectedFirst_selectsFirstRemaining", 3, 0, 0, 1},
                    DeleteCase{"onlyPage_selectsGoals", 1, 0, 0, -1},
                    DeleteCase{"anotherPage_keepsTheSelection", 3, 2, 0, 2},
                    DeleteCase{"whileGoalsSelected_keepsGoals", 2, -1, 1, -1}),
    [](const testing::TestParamInfo<DeleteCase> &param) { return std::string(param.param.name); });

TEST_F(SidebarTest, newPage_isAddedAtTheEndSelectedAndOpenForEditing)
{
    addPage(QStringLiteral("Inbox"), 0);
    ASSERT_NO_FATAL_FAILURE(open());
    QSignalSpy selected(sidebar, &Sidebar::selectionChanged);

    for (auto *button : sidebar->findChildren<SidebarFootButton *>()) {
        if (button->text() == QStringLiteral("New page"))
            QTest::mouseClick(button, Qt::LeftButton);
    }
    const auto pages = live(context.fetchAll<Page>());
    ASSERT_EQ(pages.size(), 2u);
    const Page *created = pages.back();
    EXPECT_EQ(created->name(), QStringLiteral("New page"));
    EXPECT_EQ(created->iconName(), QStringLiteral("folder"));
    EXPECT_EQ(sidebar->selection(), SidebarSelection::page(created->id()));
    EXPECT_EQ(selected.size(), 1);

    PageRow *row = sidebar->rowFor(created->id());
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(sidebar->editingPage(), created->id());
    ASSERT_TRUE(QTest::qWaitFor(
        [row] { return row->findChild<QLineEdit *>(u"nameEditor"_s)->hasFocus(); }, 1000));
    EXPECT_EQ(row->findChild<QLineEdit *>(u"nameEditor"_s)->selectedText(),
              QStringLiteral("New page"));

    // Typing replaces the selected name.
    QTest::keyClicks(row->findChild<QLineEdit *>(u"nameEditor"_s), QStringLiteral("Reading"));
    QTest::keyClick(row->findChild<QLineEdit *>(u"nameEditor"_s), Qt::Key_Return);
    EXPECT_EQ(pageNames(), QStringList({"Inbox", "Reading"}));
    EXPECT_FALSE(row->isEditing());
}

TEST_F(SidebarTest, renameEditor_storesTrimmedNamesAndKeepsTheOldOneOtherwise)
{
    const QUuid id = addPage(QStringLiteral("Home"), 0)->id();
    ASSERT_NO_FATAL_FAILURE(open());
    PageRow *row = sidebar->rowFor(id);
    const auto rename = [&](const QString &text, Qt::Key key) {
        choose(id, QStringLiteral("Rename"));
        ASSERT_TRUE(row->isEditing());
        row->findChild<QLineEdit *>(u"nameEditor"_s)->setText(text);
        QTest::keyClick(row->findChild<QLineEdit *>(u"nameEditor"_s), key);
        QCoreApplication::processEvents();
    };

    rename(QStringLiteral("  Work  "), Qt::Key_Return);
    EXPECT_EQ(pageNames(), QStringList({"Work"}));
    EXPECT_EQ(row->name(), QStringLiteral("Work"));
    EXPECT_FALSE(row->isEditing());
    EXPECT_FALSE(sidebar->editingPage());

    rename(QStringLiteral("Elsewhere"), Qt::Key_Escape);
    EXPECT_EQ(pageNames(), QStringList({"Work"}));
    EXPECT_FALSE(row->isEditing());
}

TEST_F(SidebarTest, counts_followTheStore)
{
    Page *busy = addPage(QStringLiteral("Busy"), 0);
    Section *lane = addSection(busy, 0);
    addTask(lane);
    TaskItem *second = addTask(lane);
    Page *finished = addPage(QStringLiteral("Finished"), 1);
    addTask(addSection(finished))->setDone(true);
    ASSERT_NO_FATAL_FAILURE(open());

    EXPECT_EQ(sidebar->rowFor(busy->id())->countText(), QStringLiteral("2"));
    EXPECT_EQ(sidebar->rowFor(finished->id())->countText(), QString());

    // Counts follow the store.
    PlannerStore(context).close(*second);
    QCoreApplication::processEvents();
    EXPECT_EQ(sidebar->rowFor(busy->id())->countText(), QStringLiteral("1"));

    // A rename keeps the counts; a page that comes back (an undo, a sync) shows its own.
    PlannerStore(context).rename(*busy, QStringLiteral("Renamed"));
    QCoreApplication::processEvents();
    EXPECT_EQ(sidebar->rowFor(busy->id())->countText(), QStringLiteral("1"));
    Page *back = addPage(QStringLiteral("Back"), 2);
    addTask(addSection(back));
    back->setDeletedAt(Clock::now());
    QCoreApplication::processEvents();
    ASSERT_EQ(sidebar->rowFor(back->id()), nullptr);
    back->setDeletedAt(std::nullopt);
    QCoreApplication::processEvents();
    ASSERT_NE(sidebar->rowFor(back->id()), nullptr);
    EXPECT_EQ(sidebar->rowFor(back->id())->countText(), QStringLiteral("1"));
}

TEST_F(SidebarTest, refresh_keepsAnOpenNameEditorAsTyped)
{
    Page *page = addPage(QStringLiteral("Home"), 0);
    TaskItem *task = addTask(addSection(page));
    ASSERT_NO_FATAL_FAILURE(open());
    sidebar->beginRename(page->id());
    PageRow *row = sidebar->rowFor(page->id());
    ASSERT_TRUE(QTest::qWaitFor(
        [row] { return row->findChild<QLineEdit *>(u"nameEditor"_s)->hasFocus(); }, 1000));
    QTest::keyClicks(row->findChild<QLineEdit *>(u"nameEditor"_s), QStringLiteral("Hou"));

    PlannerStore(context).close(*task);
    addPage(QStringLiteral("Later"), 1);
    QCoreApplication::processEvents();

    EXPECT_EQ(sidebar->rowFor(page->id()), row);
    EXPECT_TRUE(row->isEditing());
    EXPECT_TRUE(row->findChild<QLineEdit *>(u"nameEditor"_s)->hasFocus());
    EXPECT_EQ(row->findChild<QLineEdit *>(u"nameEditor"_s)->text(), QStringLiteral("Hou"));
    EXPECT_EQ(sidebar->pageRows().size(), 2u);
}

TEST_F(SidebarTest, keyboard_walksTheEntriesAndSelects)
{
    const QUuid first = addPage(QStringLiteral("One"), 0)->id();
    const QUuid second = addPage(QStringLiteral("Two"), 1)->id();
    ASSERT_NO_FATAL_FAILURE(open());
    sidebar->findChild<SidebarRow *>(u"goalsRow"_s)->setFocus(Qt::TabFocusReason);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), sidebar->rowFor(second));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(sidebar->selection(), SidebarSelection::page(second));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(sidebar->selection(), SidebarSelection::page(first));
    // A focused row offers its menu in place of the count.
    EXPECT_TRUE(sidebar->rowFor(first)->showsMenuButton());
    EXPECT_FALSE(sidebar->rowFor(second)->showsMenuButton());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(sidebar->selection().isGoals());
}

TEST_F(SidebarTest, clickedPage_showsItsCountAgainOnceThePointerLeaves)
{
    Page *page = addPage(QStringLiteral("Home"), 0);
    addTask(addSection(page));
    ASSERT_NO_FATAL_FAILURE(open());
    PageRow *row = sidebar->rowFor(page->id());
    hover(row);
    EXPECT_TRUE(row->showsMenuButton());
    QTest::mouseClick(row, Qt::LeftButton);
    ASSERT_EQ(sidebar->selection(), SidebarSelection::page(page->id()));
    ASSERT_TRUE(row->hasFocus());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(row, &leave);
    EXPECT_FALSE(row->showsMenuButton());
    EXPECT_EQ(row->countText(), QStringLiteral("1"));
}

TEST_F(SidebarTest, iconButton_picksANewIconAndClosesThePopup)
{
    Page *page = addPage(QStringLiteral("Home"), 0);
    ASSERT_NO_FATAL_FAILURE(open());
    QTest::mouseClick(sidebar->rowFor(page->id())->findChild<AnchoredButton *>(u"iconButton"_s),
                      Qt::LeftButton);
    auto *picker = menus->host()->findChild<PageIconPicker *>();
    ASSERT_NE(picker, nullptr);
    picker->setQuery(QStringLiteral("rocket"));
    QTest::mouseClick(picker->visibleCells().front(), Qt::LeftButton);

    EXPECT_EQ(page->iconName(), QStringLiteral("rocket"));
    EXPECT_FALSE(menus->isOpen());
    QCoreApplication::processEvents();
    EXPECT_EQ(sidebar->rowFor(page->id())->iconName(), QStringLiteral("rocket"));
}

// Not a check: leaves renderings/sidebar.png (demo data, one row hovered) and sidebar-rename.png
// for people to review.
TEST_F(SidebarTest, rendersTheDemoPlanner)
{
    DemoSeed::run(context);
    PlannerStore(context).createPage(QStringLiteral("Reading list"), QStringLiteral("books"));
    ASSERT_NO_FATAL_FAILURE(open());
    const auto rows = sidebar->pageRows();
    ASSERT_GE(rows.size(), 2u);
    sidebar->setSelection(SidebarSelection::page(rows.front()->pageId()));
    QTest::mouseMove(rows[1]);
    ASSERT_TRUE(rows[1]->showsMenuButton());
    saveRendering(&window, QStringLiteral("sidebar"));
    sidebar->beginRename(rows.back()->pageId());
    QCoreApplication::processEvents();
    saveRendering(&window, QStringLiteral("sidebar-rename"));
}
