// The find palette driven from the keyboard as a user does: Ctrl+K, type, Down, Return.

#include "ViewTestSupport.h"

#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "model/VectorStore.h"
#include "views/board/PageView.h"
#include "views/board/TaskRow.h"
#include "views/find/FindPalette.h"
#include "views/main/MainWindow.h"
#include "views/widgets/FlashHighlight.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QSignalSpy>

namespace furrow {
namespace {

constexpr int kLongSection = 3000;

// Two pages, each with a "Call the bank"; a long section on the first; an archived task and a
// goal.
class FindPaletteTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Clock::setNow(localTime(2026, 3, 10, 12));
        for (int slot = 0; slot < VectorStore::kCount; ++slot)
            goals.set({}, {}, slot);
        goals.set(QStringLiteral("Grow the garden"), {}, 0);
        Page *work = store.createPage(QStringLiteral("Work"), QStringLiteral("house"));
        Section *inbox = store.createSection(QStringLiteral("Inbox"), *work);
        Section *big = store.createSection(QStringLiteral("Backlog"), *work);
        Page *home = store.createPage(QStringLiteral("Home"), QStringLiteral("house"));
        Section *chores = store.createSection(QStringLiteral("Chores"), *home);
        workBank = store.capture(QStringLiteral("Call the bank"), inbox, nullptr);
        Clock::advance(std::chrono::minutes(1));
        homeBank = store.capture(QStringLiteral("Call the bank"), chores, nullptr);
        for (int i = 0; i < kLongSection; ++i) {
            context.insert(std::make_shared<TaskItem>(QStringLiteral("Backlog item %1").arg(i), big,
                                                      i, nullptr));
        }
        filed = store.capture(QStringLiteral("Call the plumber"), inbox, nullptr);
        store.close(*filed);
        store.archive(*filed);
        store.save();

        window = std::make_unique<MainWindow>(context, goals);
        window->setSelection(SidebarSelection::page(work->id()));
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        settle();
    }
    void TearDown() override { Clock::useSystemTime(); }

    FindPalette *palette() const { return window->findChild<FindPalette *>("findPalette"); }
    QLineEdit *field() const { return window->findChild<QLineEdit *>("findField"); }
    QAbstractItemView *results() const
    {
        return window->findChild<QAbstractItemView *>("findResults");
    }
    QString currentText() const { return results()->currentIndex().data().toString(); }

    void openAndType(const QString &text)
    {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window.get(),
                        Qt::Key_K, Qt::ControlModifier);
        QTRY_VERIFY(field()->hasFocus());
        QTest::keyClicks(field(), text);
    }

    // The task whose row has the keyboard focus, or null.
    TaskRow *focusedRow() const
    {
        for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget()) {
            if (auto *row = qobject_cast<TaskRow *>(w))
                return row;
        }
        return nullptr;
    }

    ModelContext context;
    PlannerStore store{context};
    VectorStore goals;
    std::unique_ptr<MainWindow> window;
    TaskItem *workBank = nullptr;
    TaskItem *homeBank = nullptr;
    TaskItem *filed = nullptr;
};

TEST_F(FindPaletteTest, typeDownReturn_goesToTheTaskOnItsPage_focusedAndHighlighted)
{
    openAndType(QStringLiteral("bank call"));
    EXPECT_EQ(field()->accessibleName(), QStringLiteral("Find"));
    EXPECT_EQ(results()->accessibleName(), QStringLiteral("Results"));
    ASSERT_EQ(results()->model()->rowCount(), 2);
    // The same title twice, told apart by page and section; the newer first.
    EXPECT_EQ(currentText(), QStringLiteral("Call the bank · Home › Chores"));
    QTest::keyClick(field(), Qt::Key_Down);
    EXPECT_EQ(currentText(), QStringLiteral("Call the bank · Work › Inbox"));
    QTest::keyClick(field(), Qt::Key_Down);
    EXPECT_EQ(currentText(), QStringLiteral("Call the bank · Work › Inbox")) << "stays at the end";
    QTest::keyClick(field(), Qt::Key_Up);
    QTest::keyClick(field(), Qt::Key_Return);

    EXPECT_FALSE(palette()->isVisible());
    EXPECT_EQ(window->selection().pageId, homeBank->section()->page()->id());
    TaskRow *row = focusedRow();
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->taskId(), homeBank->id());
    EXPECT_NE(row->findChild<FlashHighlight *>(), nullptr);
}

TEST_F(FindPaletteTest, aTaskFarDownALongSection_isMadeScrolledToAndFocused)
{
    openAndType(QStringLiteral("backlog item 2500"));
    ASSERT_EQ(results()->model()->rowCount(), 1);
    QTest::keyClick(field(), Qt::Key_Return);
    TaskRow *row = focusedRow();
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->taskId(), PlannerStore(context).allTasks()[2 + 2500]->id());
    QScrollArea *scroll = window->findChild<QScrollArea *>(QStringLiteral("pageScroll"));
    QTRY_VERIFY(scroll->viewport()->rect().contains(
        QRect(row->mapTo(scroll->viewport(), QPoint(0, 0)), row->size())));
}

TEST_F(FindPaletteTest, anArchivedTask_isHandedToTheArchiveWindow)
{
    QSignalSpy archived(window.get(), &MainWindow::archivedTaskRequested);
    openAndType(QStringLiteral("plumber"));
    EXPECT_EQ(currentText(), QStringLiteral("Call the plumber · Archive · Done · Today"));
    QTest::keyClick(field(), Qt::Key_Return);
    ASSERT_EQ(archived.count(), 1);
    EXPECT_EQ(archived[0][0].value<QUuid>(), filed->id());
}

TEST_F(FindPaletteTest, ctrlReturn_closesAndReopensInPlace_andEscapeGivesTheFocusBack)
{
    window->findChild<PageView *>(QStringLiteral("pageView"))->setFocus();
    openAndType(QStringLiteral("bank"));
    QTest::keyClick(field(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(homeBank->isDone());
    EXPECT_TRUE(palette()->isVisible());
    EXPECT_EQ(currentText(), QStringLiteral("Call the bank · Home › Chores")) << "stays current";
    QTest::keyClick(field(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(homeBank->isDone());

    QTest::keyClick(field(), Qt::Key_Tab);
    EXPECT_TRUE(results()->hasFocus());
    QTest::keyClick(results(), Qt::Key_Tab);
    EXPECT_TRUE(field()->hasFocus()) << "Tab never leaves the palette";
    QTest::keyClick(field(), Qt::Key_Escape);
    EXPECT_FALSE(palette()->isVisible());
    EXPECT_TRUE(window->findChild<PageView *>(QStringLiteral("pageView"))->hasFocus());
}

TEST_F(FindPaletteTest, aResultDeletedWhileShown_leavesTheListAndSaysSoWhenChosen)
{
    openAndType(QStringLiteral("bank"));
    ASSERT_EQ(results()->model()->rowCount(), 2);
    // Deleted by a sync while the list shows it; going there in the same turn says so.
    homeBank->setDeletedAt(Clock::now());
    QTest::keyClick(field(), Qt::Key_Return);
    EXPECT_TRUE(palette()->isVisible());
    EXPECT_TRUE(palette()->findChild<QLabel *>("findMessage")->text().contains("no longer there"));
    settle();
    EXPECT_EQ(results()->model()->rowCount(), 1);
}

TEST_F(FindPaletteTest, anEmptyField_listsTheLastFivePlacesGoneTo)
{
    openAndType(QStringLiteral("garden"));
    EXPECT_EQ(currentText(), QStringLiteral("Grow the garden · Goals"));
    QTest::keyClick(field(), Qt::Key_Return);
    EXPECT_TRUE(window->selection().isGoals());
    for (int i = 0; i < 5; ++i) {
        openAndType(QStringLiteral("backlog item %1").arg(i));
        QTest::keyClick(field(), Qt::Key_Return);
    }
    openAndType(QString());
    QStringList recent;
    for (int row = 0; row < results()->model()->rowCount(); ++row)
        recent << results()->model()->index(row, 0).data().toString();
    EXPECT_EQ(recent,
              (QStringList{"Backlog item 4 · Work › Backlog", "Backlog item 3 · Work › Backlog",
                           "Backlog item 2 · Work › Backlog", "Backlog item 1 · Work › Backlog",
                           "Backlog item 0 · Work › Backlog"}));
}

TEST_F(FindPaletteTest, queriesOfNothingButSpacesOrAHash_listNothing)
{
    for (const char *query : {"   ", "#", "#nosuchproject"}) {
        openAndType(QString::fromUtf8(query));
        EXPECT_EQ(results()->model()->rowCount(), 0) << query;
        QTest::keyClick(field(), Qt::Key_Return);
        QTest::keyClick(field(), Qt::Key_Escape);
    }
}

// What a screen reader reads: the field and the list by name, and the current result's row,
// while the field keeps the keyboard.
TEST_F(FindPaletteTest, typingOn_startsAgainAtTheBestResult)
{
    openAndType(QStringLiteral("call"));
    QTest::keyClick(field(), Qt::Key_Down);
    QTest::keyClick(field(), Qt::Key_Down);
    ASSERT_EQ(results()->currentIndex().row(), 2);
    QTest::keyClicks(field(), QStringLiteral(" the"));
    EXPECT_EQ(results()->currentIndex().row(), 0);
}

TEST_F(FindPaletteTest, thePalette_staysCentredOverTheWindowAsItResizes)
{
    openAndType(QStringLiteral("bank"));
    window->resize(1200, 800);
    settle();
    const QWidget *card = palette()->findChild<QWidget *>(QStringLiteral("findCard"));
    EXPECT_EQ(palette()->geometry(), window->rect());
    EXPECT_EQ(card->geometry().center().x(), window->rect().center().x());
}

TEST_F(FindPaletteTest, aScreenReader_readsTheListAndTheCurrentResult)
{
    openAndType(QStringLiteral("bank"));
    QTest::keyClick(field(), Qt::Key_Down);

    EXPECT_TRUE(field()->hasFocus());
    EXPECT_EQ(results()->currentIndex().row(), 1);
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(results());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Results"));
    EXPECT_EQ(list->child(1)->text(QAccessible::Name),
              QStringLiteral("Call the bank · Work › Inbox"));
}

} // namespace
} // namespace furrow
