// A page scrolled into its second section: 30 tasks with notes in the first section (some with
// titles that wrap), 200 in the second. Layout changes keep the view filled with rows and the
// row at its top in place, and a drag held at an edge scrolls to rows off screen.

#include "BoardFixture.h"
#include "Rendering.h"
#include "views/board/DropFeedback.h"
#include "views/board/RowStack.h"
#include "views/board/TitleText.h"

#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>

#include <functional>

namespace furrow {
namespace {

class ScrolledPageTest : public BoardTest
{
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        const QString wrapping = QStringLiteral(
            "Go through the supplier contracts that end this year and list what each one costs "
            "us now, with the people to call about them");
        sectionOne = {first, second};
        for (int i = 2; i < 30; ++i) {
            sectionOne.push_back(
                addTask(i % 3 == 0 ? wrapping : QStringLiteral("Task %1").arg(i), inFlight, i));
        }
        for (TaskItem *task : sectionOne)
            task->setNote(QStringLiteral("Ask Dana for the figures"));
        for (int i = 0; i < 200; ++i)
            sectionTwo.push_back(addTask(QStringLiteral("Later %1").arg(i), later, i));
        settle();
        settle();
    }

    TaskItem *addTask(const QString &title, Section *section, int order)
    {
        return context.insert(std::make_shared<TaskItem>(title, section, order + 10, nullptr));
    }

    QScrollBar *scrollBar() const
    {
        return view->findChild<QScrollArea *>(u"pageScroll"_s)->verticalScrollBar();
    }
    QWidget *viewport() const
    {
        return view->findChild<QScrollArea *>(u"pageScroll"_s)->viewport();
    }

    // Scrolls so that row `index` of the second section starts at the view's top.
    void scrollToSectionTwoRow(int index)
    {
        const SectionBlock *two = block(later);
        scrollBar()->setValue(two->y() + two->stack()->y() + two->stack()->rowTop(index));
        settle();
    }

    QRect placeInView(const QWidget *widget) const
    {
        return {widget->mapTo(viewport(), QPoint()), widget->size()};
    }

    // The made row that covers the view's top line.
    const TaskRow *topRow() const
    {
        for (const SectionBlock *each : view->blocks()) {
            for (const TaskRow *made : each->rows()) {
                const QRect place = placeInView(made);
                if (made->isVisible() && place.top() <= 0 && place.bottom() >= 0)
                    return made;
            }
        }
        return nullptr;
    }

    // Every line of the view shows a made row; none is left blank.
    void expectViewFilledWithRows(const char *after) const
    {
        for (int y = 0; y < viewport()->height(); y += 8) {
            bool covered = false;
            for (const SectionBlock *each : view->blocks()) {
                for (const TaskRow *made : each->rows()) {
                    const QRect place = placeInView(made);
                    covered
                        = covered || (made->isVisible() && place.top() <= y && place.bottom() >= y);
                }
            }
            EXPECT_TRUE(covered) << "nothing at y = " << y << " after " << after;
            if (!covered)
                return;
        }
    }

    void expectTopRowKept(const QUuid &id, const char *after) const
    {
        const TaskRow *top = topRow();
        ASSERT_NE(top, nullptr) << after;
        EXPECT_EQ(top->taskId(), id) << after;
        EXPECT_EQ(placeInView(top).top(), 0) << after;
    }

    TaskRow *rowUnder(const QPoint &inWindow) const
    {
        for (QWidget *widget = window.childAt(inWindow); widget; widget = widget->parentWidget()) {
            if (auto *taskRow = qobject_cast<TaskRow *>(widget))
                return taskRow;
        }
        return nullptr;
    }

    std::vector<TaskItem *> sectionOne;
    std::vector<TaskItem *> sectionTwo;
};

TEST_F(ScrolledPageTest, hideShowNotesAndCompactRows_keepTheViewFilled_andTheTopRowInPlace)
{
    scrollToSectionTwoRow(80);
    const QUuid top = sectionTwo[80]->id();
    expectTopRowKept(top, "scrolling");

    const std::pair<const char *, std::function<void()>> changes[]
        = {{"hide-notes",
            [this] {
                view->setNotesHidden(true);
            }},
           {"show-notes",
            [this] {
                view->setNotesHidden(false);
            }},
           {"compact-rows",
            [this] {
                view->setCompact(true);
            }},
           {"roomy-rows", [this] {
                view->setCompact(false);
            }}};
    for (const auto &[name, change] : changes) {
        change();
        settle();
        saveRendering(&window, QStringLiteral("scrolled-page-after-") + QLatin1String(name));
        expectViewFilledWithRows(name);
        expectTopRowKept(top, name);
    }
}

TEST_F(ScrolledPageTest, aResize_keepsTheHeightsMeasuredAboveTheView_andTheTopRowInPlace)
{
    // Every row of the first section is made once, so its wrapping titles are measured.
    const int sectionTwoTop = block(later)->y();
    for (int value = 0; value < sectionTwoTop; value += viewport()->height() / 2) {
        scrollBar()->setValue(value);
        settle();
    }
    scrollToSectionTwoRow(80);
    const int sectionOneHeight = block(inFlight)->height();
    const QUuid top = sectionTwo[80]->id();

    window.resize(860, 640);
    settle();
    saveRendering(&window, QStringLiteral("scrolled-page-after-resize"));
    EXPECT_EQ(block(inFlight)->height(), sectionOneHeight);
    expectViewFilledWithRows("resize");
    expectTopRowKept(top, "resize");
}

TEST_F(ScrolledPageTest, aChangeToRowsAboveTheView_keepsTheTopRowInPlace)
{
    scrollToSectionTwoRow(80);
    const QUuid top = sectionTwo[80]->id();
    // As a sync or an import would: notes longer and shorter, tasks closed and retitled.
    PlannerStore store(context);
    for (int i = 0; i < 30; i += 2)
        store.setNote(i % 4 ? QString() : QStringLiteral("One\nTwo\nThree"), *sectionOne[i]);
    store.close(*sectionOne[5]);
    store.applyInlineEdit(QStringLiteral("Short"), *sectionOne[3]);
    for (int i = 10; i < 40; ++i)
        store.setNote(QStringLiteral("A note now"), *sectionTwo[i]);
    settle();
    expectViewFilledWithRows("a change above");
    expectTopRowKept(top, "a change above");
}

TEST_F(ScrolledPageTest, aDragHeldAtTheBottomEdge_scrollsAndDropsOnARowThatWasOffScreen)
{
    TaskItem *target = sectionOne[25];
    ASSERT_EQ(row(target), nullptr);
    // What a row's drag would carry; the window hands the events to the rows under them.
    QMimeData payload;
    payload.setText(idText(first->id()));
    DragState &drag = DragState::shared();
    drag.setDraggingId(first->id());
    drag.setSourceRunning(true);
    drag.setPayload(&payload);
    const auto send = [&](QEvent::Type type, const QPoint &at) {
        QDropEvent *event
            = type == QEvent::Drop
                  ? new QDropEvent(at, Qt::MoveAction, &payload, Qt::LeftButton, {})
                  : new QDragMoveEvent(at, Qt::MoveAction, &payload, Qt::LeftButton, {});
        QCoreApplication::sendEvent(window.windowHandle(), event);
        delete event;
    };

    const QPoint edge = viewport()->mapTo(&window, QPoint(160, viewport()->height() - 6));
    ASSERT_NE(rowUnder(edge), nullptr);
    const QUuid firstUnder = rowUnder(edge)->taskId();
    send(QEvent::DragMove, edge);
    // Scrolling a screen and a half takes about a second.
    QTRY_VERIFY_WITH_TIMEOUT(
        row(target) && placeInView(row(target)).bottom() < viewport()->height() - 80, 4000);
    // The drag went on to the row now under the still pointer: it shows the gap.
    TaskRow *under = rowUnder(edge);
    ASSERT_NE(under, nullptr);
    EXPECT_NE(under->taskId(), firstUnder);
    EXPECT_EQ(under->findChild<DropFeedback *>(u"dropFeedback"_s)->look(), DropFeedback::Look::Gap);

    // Away from the edge the page stands still, and the drop lands where the mark shows.
    const QPoint middle = viewport()->mapTo(&window, viewport()->rect().center());
    send(QEvent::DragMove, middle);
    const int value = scrollBar()->value();
    const QPoint onTarget = row(target)->mapTo(&window, QPoint(160, row(target)->height() / 2));
    send(QEvent::DragMove, onTarget);
    EXPECT_EQ(scrollBar()->value(), value);
    send(QEvent::Drop, onTarget);
    drag.setPayload(nullptr);
    drag.setSourceRunning(false);
    settle();
    const auto open = PlannerStore(context).tasks(inFlight);
    const auto at = [&open](const TaskItem *task) {
        return std::find(open.begin(), open.end(), task) - open.begin();
    };
    EXPECT_EQ(at(first) + 1, at(target));
}

// Runs under X11 (the views_drag_x11 test); the offscreen platform has no drag and drop.
TEST_F(ScrolledPageTest, realDrag_heldAtTheBottomEdge_reachesARowOffScreen)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        GTEST_SKIP() << "needs a platform with drag and drop";
    QWindow *handle = window.windowHandle();
    TaskItem *target = sectionOne[25];
    TitleText *title = titleText(row(first));
    const QPoint start = title->mapTo(&window, QPoint(10, 5));
    const QPoint edge = viewport()->mapTo(&window, QPoint(160, viewport()->height() - 6));
    // The drag runs its own event loop: the pointer goes to the edge and stays there until the
    // target has come into view, then moves onto it and lets go.
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const TaskRow *made = row(target);
        if (!made || placeInView(made).bottom() >= viewport()->height() - 80)
            return;
        poll.stop();
        const QPoint onTarget = made->mapTo(&window, QPoint(160, made->height() / 2));
        QTest::mouseMove(handle, viewport()->mapTo(&window, viewport()->rect().center()));
        QTest::mouseMove(handle, onTarget);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, onTarget);
    });
    QTimer::singleShot(0, [&] {
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(handle, start + (edge - start) * step / 4);
        poll.start();
    });
    // Lets go in any case, so that a failure cannot hold the drag open.
    bool gaveUp = false;
    QTimer::singleShot(10000, [&] {
        if (poll.isActive()) {
            gaveUp = true;
            poll.stop();
            QTest::mouseRelease(handle, Qt::LeftButton, {}, edge);
        }
    });
    QTest::mousePress(title, Qt::LeftButton, {}, QPoint(10, 5));
    QTest::mouseMove(title, QPoint(10 + 3 * QApplication::startDragDistance(), 5));
    settle();
    EXPECT_FALSE(gaveUp);
    const auto open = PlannerStore(context).tasks(inFlight);
    const auto at = [&open](const TaskItem *task) {
        return std::find(open.begin(), open.end(), task) - open.begin();
    };
    EXPECT_EQ(at(first) + 1, at(target));
}

} // namespace
} // namespace furrow
