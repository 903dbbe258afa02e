// A page as long as a restored backup makes it: 10 000 tasks in one section. Only the rows in
// view are made, and everything the keyboard, editors and screen readers do still works.

#include "BoardFixture.h"
#include "Rendering.h"
#include "views/board/CountLabel.h"
#include "views/board/RowStack.h"
#include "views/board/SectionHeader.h"
#include "views/board/TitleEditor.h"
#include "views/board/TitleText.h"

#include <QAccessible>
#include <QScrollArea>
#include <QScrollBar>

namespace furrow {
namespace {

constexpr int kTasks = 10000;

class LongPageTest : public BoardTest
{
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        tasks = {first, second};
        for (int i = 2; i < kTasks; ++i) {
            tasks.push_back(context.insert(std::make_shared<TaskItem>(
                QStringLiteral("Task %1").arg(i), inFlight, i + 10, nullptr)));
        }
        // The scroll range follows the column's height a few event-loop turns after a refresh.
        settle();
        settle();
    }

    QScrollBar *scrollBar() const
    {
        return view->findChild<QScrollArea *>(u"pageScroll"_s)->verticalScrollBar();
    }

    void scrollToEnd()
    {
        settle();
        settle();
        scrollBar()->setValue(scrollBar()->maximum());
        settle();
    }

    bool inView(const QWidget *widget) const
    {
        const QWidget *viewport = view->findChild<QScrollArea *>(u"pageScroll"_s)->viewport();
        const QRect place(widget->mapTo(viewport, QPoint()), widget->size());
        return viewport->rect().contains(place);
    }

    std::vector<TaskItem *> tasks;
};

TEST_F(LongPageTest, onlyTheRowsInViewAreMade_andScrollingMakesTheOthers)
{
    const auto made = block(inFlight)->rows();
    EXPECT_GT(made.size(), 5u);
    EXPECT_LT(made.size(), 100u);
    EXPECT_EQ(made.front()->taskId(), first->id());
    EXPECT_EQ(block(inFlight)->header()->findChild<CountLabel *>(u"countLabel"_s)->count(), kTasks);
    // The column is as tall as every row would be, so the scroll bar covers them all.
    EXPECT_GT(block(inFlight)->stack()->height(), kTasks * 30);

    scrollToEnd();
    ASSERT_NE(row(tasks.back()), nullptr);
    EXPECT_TRUE(inView(row(tasks.back())));
    EXPECT_EQ(row(first), nullptr);
    EXPECT_LT(block(inFlight)->rows().size(), 100u);
    // Made rows sit one under the other, without gaps or overlaps.
    const auto rows = block(inFlight)->rows();
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_EQ(rows[i]->y(), rows[i - 1]->geometry().bottom() + 1);

    scrollBar()->setValue(scrollBar()->maximum() / 2);
    settle();
    saveRendering(&window, QStringLiteral("board-10000-rows-middle"));
}

TEST_F(LongPageTest, downWalksPastTheMadeRows_keepingTheFocusedRowInView)
{
    row(first)->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 150; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    settle();
    TaskRow *focused = row(tasks[150]);
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(focused->hasFocus());
    EXPECT_TRUE(inView(focused));
    EXPECT_EQ(view->state().selectedId(), tasks[150]->id());
    // Tab order runs through the made rows in the order shown.
    const auto rows = block(inFlight)->rows();
    for (std::size_t i = 1; i < rows.size(); ++i) {
        QWidget *next = rows[i - 1]->nextInFocusChain();
        while (next != rows[i] && rows[i - 1]->isAncestorOf(next))
            next = next->nextInFocusChain();
        EXPECT_EQ(next, rows[i]);
    }
}

TEST_F(LongPageTest, anOpenEditorOutlivesScrollingAway_andAChangeOutOfViewMakesNoRow)
{
    row(first)->beginEdit();
    settle();
    ASSERT_TRUE(row(first)->isEditingTitle());
    titleEditor(row(first))->setText(QStringLiteral("Draft kept"));
    scrollToEnd();
    ASSERT_NE(row(first), nullptr);
    EXPECT_TRUE(row(first)->isEditingTitle());

    PlannerStore(context).applyInlineEdit(QStringLiteral("Renamed far away"), *tasks[5000]);
    settle();
    EXPECT_EQ(row(tasks[5000]), nullptr);
    EXPECT_TRUE(row(first)->isEditingTitle());

    view->commitEdits();
    EXPECT_EQ(first->title(), QStringLiteral("Draft kept"));
    scrollBar()->setValue(0);
    settle();
    EXPECT_EQ(titleText(row(first))->text(), QStringLiteral("Draft kept"));
}

TEST_F(LongPageTest, closingARowInView_movesItToTheDonePartAtTheEnd)
{
    PlannerStore(context).close(*tasks[3]);
    settle();
    EXPECT_EQ(row(tasks[3]), nullptr);
    EXPECT_EQ(block(inFlight)->stack()->indexOf(tasks[3]->id()), kTasks - 1);
    EXPECT_EQ(block(inFlight)->header()->findChild<CountLabel *>(u"countLabel"_s)->count(),
              kTasks - 1);
    EXPECT_EQ(block(inFlight)->rows()[3]->taskId(), tasks[4]->id());
}

TEST_F(LongPageTest, aScreenReaderReadsEachRowInView_andFollowsTheFocusedRow)
{
    PlannerStore store(context);
    store.setProject(work, *second);
    store.close(*tasks[2]);
    settle();
    QAccessibleInterface *open = QAccessible::queryAccessibleInterface(row(second));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->role(), QAccessible::ListItem);
    EXPECT_EQ(open->text(QAccessible::Name), QStringLiteral("Send the invoice"));
    EXPECT_TRUE(open->text(QAccessible::Description).contains(QStringLiteral("Work")));
    EXPECT_TRUE(open->state().checkable);
    EXPECT_FALSE(open->state().checked);
    // Every made row is something, not a blank.
    for (TaskRow *made : block(inFlight)->rows())
        EXPECT_FALSE(
            QAccessible::queryAccessibleInterface(made)->text(QAccessible::Name).isEmpty());

    scrollToEnd();
    ASSERT_NE(row(tasks[2]), nullptr);
    QAccessibleInterface *done = QAccessible::queryAccessibleInterface(row(tasks[2]));
    EXPECT_TRUE(done->state().checked);

    ASSERT_NE(row(tasks[9990]), nullptr);
    row(tasks[9990])->setFocus(Qt::TabFocusReason);
    QTest::keyClick(row(tasks[9990]), Qt::Key_Down);
    settle();
    QAccessibleInterface *focus = QAccessible::queryAccessibleInterface(&window)->focusChild();
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->text(QAccessible::Name), QStringLiteral("Task 9991"));
    EXPECT_TRUE(focus->state().focused);

    // The toggle action closes the task, as Space would.
    focus->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(tasks[9991]->isDone());
}

} // namespace
} // namespace furrow
