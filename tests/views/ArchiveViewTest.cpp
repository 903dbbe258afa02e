#include "views/archive/ArchiveView.h"
#include "Rendering.h"
#include "ViewTestSupport.h"
#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "views/archive/ArchiveContent.h"
#include "views/archive/ArchiveRow.h"
#include "views/archive/ArchiveWindow.h"
#include "views/widgets/FlashHighlight.h"
#include "views/widgets/PillButton.h"

#include <QAccessible>
#include <QScrollArea>
#include <QScrollBar>

using namespace furrow;

namespace {

// An in-memory planner with the clock at 10:00 on Tuesday, 10 March 2026.
class ArchiveTest : public testing::Test
{
protected:
    ArchiveTest() { Clock::setNow(localTime(2026, 3, 10, 10)); }
    ~ArchiveTest() override { Clock::useSystemTime(); }

    Page *addPage(const QString &name, qint64 order)
    {
        return context.insert(std::make_shared<Page>(name, QStringLiteral("folder"), order));
    }
    Section *addSection(const QString &name, Page *page, qint64 order)
    {
        return context.insert(std::make_shared<Section>(name, page, order));
    }
    // A task in the archive, done when it has a close time or `done` says so.
    TaskItem *archived(const QString &title, Instant archivedAt, OptionalInstant doneAt = {},
                       bool done = false, Section *section = nullptr)
    {
        auto *task = context.insert(std::make_shared<TaskItem>(title, section, 0, nullptr));
        task->setArchivedAt(archivedAt);
        task->setDone(done || doneAt.has_value());
        task->setDoneAt(doneAt);
        return task;
    }

    static QStringList titles(const std::vector<TaskItem *> &tasks)
    {
        return textsOf(tasks, [](const TaskItem *task) { return task->title(); });
    }

    ModelContext context;
};

} // namespace

TEST_F(ArchiveTest, doneTasks_groupByClosingDayNewestFirstInClosingOrder)
{
    archived(QStringLiteral("later"), localTime(2026, 3, 10, 9), localTime(2026, 3, 10, 9));
    archived(QStringLiteral("earlier"), localTime(2026, 3, 10, 9), localTime(2026, 3, 10, 8));
    archived(QStringLiteral("no close time"), localTime(2026, 3, 9, 15), {}, true);
    archived(QStringLiteral("dropped"), localTime(2026, 3, 9, 15));
    archived(QStringLiteral("tombstoned"), localTime(2026, 3, 8), localTime(2026, 3, 8))
        ->setDeletedAt(Clock::now());

    const auto groups = ArchiveContent::doneByDay(context);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].day, localTime(2026, 3, 10));
    EXPECT_EQ(titles(groups[0].tasks), QStringList({"earlier", "later"}));
    EXPECT_EQ(groups[1].day, localTime(2026, 3, 9));
    EXPECT_EQ(titles(groups[1].tasks), QStringList({"no close time"}));
    EXPECT_EQ(titles(ArchiveContent::dropped(context)), QStringList({"dropped"}));
}

TEST_F(ArchiveTest, doneTasks_groupByLocalDayAcrossADaylightSavingChange)
{
    // Clocks go forward at 02:00 on 29 March 2026 in the test time zone.
    archived(QStringLiteral("last thing on the 28th"), localTime(2026, 3, 29),
             localTime(2026, 3, 28, 23, 59));
    archived(QStringLiteral("just after midnight"), localTime(2026, 3, 29, 1),
             localTime(2026, 3, 29, 0, 30));
    archived(QStringLiteral("late on the 29th"), localTime(2026, 3, 30),
             localTime(2026, 3, 29, 23, 30));
    archived(QStringLiteral("midnight of the 30th"), localTime(2026, 3, 30),
             localTime(2026, 3, 30));

    const auto groups = ArchiveContent::doneByDay(context);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].day, localTime(2026, 3, 30));
    EXPECT_EQ(titles(groups[0].tasks), QStringList({"midnight of the 30th"}));
    EXPECT_EQ(groups[1].day, localTime(2026, 3, 29));
    EXPECT_EQ(titles(groups[1].tasks), QStringList({"just after midnight", "late on the 29th"}));
    EXPECT_EQ(titles(groups[2].tasks), QStringList({"last thing on the 28th"}));
}

TEST(ArchiveContent, dayLabels_areEnglishWhateverTheLocale)
{
    const GermanLocale german;
    const std::pair<QDate, const char *> cases[] = {{{2026, 3, 10}, "Today"},
                                                    {{2026, 3, 9}, "Yesterday"},
                                                    {{2026, 3, 1}, "Sunday, 01 March"},
                                                    {{2026, 1, 2}, "Friday, 02 January"},
                                                    {{2025, 12, 30}, "30 December 2025"}};
    for (const auto &[day, expected] : cases) {
        EXPECT_EQ(ArchiveContent::dayLabel(localTime(day.year(), day.month(), day.day()),
                                           localTime(2026, 3, 10, 10)),
                  QString::fromUtf8(expected));
    }
}

TEST(ArchiveContent, daysLeft_countsWholeCalendarDaysOfThirty)
{
    const std::tuple<Instant, Instant, const char *> cases[]
        = {{localTime(2026, 3, 10, 9), localTime(2026, 3, 10, 10), "30 days left"},
           {localTime(2026, 2, 9, 10), localTime(2026, 3, 10, 10), "1 day left"},
           {localTime(2026, 2, 9, 11), localTime(2026, 3, 10, 10), "2 days left"},
           {localTime(2026, 2, 8, 10), localTime(2026, 3, 10, 10), "0 days left"},
           {localTime(2026, 1, 24, 10), localTime(2026, 3, 10, 10), "0 days left"},
           // 29 calendar days, one hour short of 29 × 24 hours.
           {localTime(2026, 3, 9, 10), localTime(2026, 4, 7, 10), "1 day left"},
           // Stamped in the future.
           {localTime(2026, 3, 12, 10), localTime(2026, 3, 10, 10), "30 days left"}};
    for (const auto &[archivedAt, now, expected] : cases) {
        TaskItem task(QStringLiteral("t"), nullptr, 0, nullptr);
        task.setArchivedAt(archivedAt);
        EXPECT_EQ(ArchiveContent::daysLeftText(task, now), QString::fromUtf8(expected));
    }
}

namespace {

ArchiveRow *rowTitled(const ArchiveView &view, const QString &title)
{
    for (ArchiveRow *row : view.rows()) {
        if (row->title() == title)
            return row;
    }
    return nullptr;
}

} // namespace

TEST_F(ArchiveTest, putBack_reopensInItsOwnSection_orTheFirstPageWithALiveSectionWhenItIsGone)
{
    Page *empty = addPage(QStringLiteral("No lanes"), 0);
    addSection(QStringLiteral("Deleted"), empty, 0)->setDeletedAt(Clock::now());
    Page *work = addPage(QStringLiteral("Work"), 1);
    Section *own = addSection(QStringLiteral("Later"), work, 1);
    Section *first = addSection(QStringLiteral("Now"), work, 0);
    Section *gone = addSection(QStringLiteral("Gone"), work, 2);
    gone->setDeletedAt(Clock::now());
    TaskItem *filed = archived(QStringLiteral("filed"), localTime(2026, 3, 9),
                               localTime(2026, 3, 9), true, own);
    TaskItem *homeless
        = archived(QStringLiteral("homeless"), localTime(2026, 3, 9), {}, false, gone);
    TaskItem *orphan = archived(QStringLiteral("orphan"), localTime(2026, 3, 8));

    ArchiveWindow window(context);
    window.present();
    ArchiveView *view = window.findChild<ArchiveView *>(u"archiveView"_s);
    const auto putBack = [view](const QString &title) {
        QTest::mouseClick(rowTitled(*view, title)->putBackButton(), Qt::LeftButton);
    };
    putBack(QStringLiteral("filed"));
    EXPECT_FALSE(filed->isDone());
    EXPECT_FALSE(filed->doneAt());
    EXPECT_EQ(PlannerStore(context).tasks(own), std::vector<TaskItem *>{filed});

    QTest::mouseClick(view->findChild<PillButton *>(u"droppedTab"_s), Qt::LeftButton);
    putBack(QStringLiteral("homeless"));
    EXPECT_EQ(homeless->section(), first);
    EXPECT_FALSE(homeless->isArchived());
    QCoreApplication::processEvents();
    EXPECT_EQ(rowTitled(*view, QStringLiteral("homeless")), nullptr);

    // With no live section anywhere the task comes back open, in no section.
    PlannerStore(context).deletePage(*work);
    QCoreApplication::processEvents();
    putBack(QStringLiteral("orphan"));
    EXPECT_EQ(orphan->section(), nullptr);
    EXPECT_FALSE(orphan->isArchived());
    EXPECT_FALSE(orphan->isDone());
}

TEST_F(ArchiveTest, escapeAndCtrlW_closeTheWindow)
{
    ArchiveWindow window(context);
    for (const QKeyCombination keys : {QKeyCombination(Qt::Key_Escape), Qt::CTRL | Qt::Key_W}) {
        window.present();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window,
                        keys.key(), keys.keyboardModifiers());
        EXPECT_FALSE(window.isVisible()) << QKeySequence(keys).toString().toStdString();
    }
}

TEST_F(ArchiveTest, showingTheWindow_purgesDroppedTasksOlderThanThirtyDays)
{
    TaskItem *old = archived(QStringLiteral("old"), localTime(2026, 2, 7, 10));
    TaskItem *recent = archived(QStringLiteral("recent"), localTime(2026, 2, 9, 10));
    TaskItem *oldDone
        = archived(QStringLiteral("old done"), localTime(2025, 6, 1), localTime(2025, 6, 1));
    ArchiveWindow window(context);
    window.present();
    EXPECT_TRUE(old->deletedAt());
    EXPECT_FALSE(recent->deletedAt());
    EXPECT_FALSE(oldDone->deletedAt());

    // Again on every showing, not only the first.
    window.hide();
    Clock::setNow(localTime(2026, 3, 12, 10));
    window.present();
    EXPECT_TRUE(recent->deletedAt());
}

// Not a check: leaves renderings/archive-done.png and archive-dropped.png for people to review.
TEST_F(ArchiveTest, rendersBothTabs)
{
    Project *home = context.insert(
        std::make_shared<Project>(QStringLiteral("Home"), Project::paletteHex(5), 0));
    Project *work = context.insert(
        std::make_shared<Project>(QStringLiteral("Design"), Project::paletteHex(8), 1));
    archived(QStringLiteral("Send the invoice"), localTime(2026, 3, 10, 9),
             localTime(2026, 3, 10, 9))
        ->setProject(work);
    archived(QStringLiteral("Water the plants"), localTime(2026, 3, 10, 9),
             localTime(2026, 3, 10, 8));
    archived(QStringLiteral("Book the dentist"), localTime(2026, 3, 9, 18),
             localTime(2026, 3, 9, 17))
        ->setProject(home);
    archived(QStringLiteral("Try the new coffee place"), localTime(2026, 3, 9, 12))
        ->setProject(home);

    ArchiveWindow window(context);
    window.present();
    QCoreApplication::processEvents();
    saveRendering(&window, QStringLiteral("archive-done"));
    window.findChild<ArchiveView *>(u"archiveView"_s)->setTab(ArchiveView::Tab::Dropped);
    QCoreApplication::processEvents();
    saveRendering(&window, QStringLiteral("archive-dropped"));
}

namespace {

QScrollBar *scrollBarOf(const ArchiveWindow &window)
{
    return window.findChild<QScrollArea *>()->verticalScrollBar();
}

QStringList rowTitles(const ArchiveView &view)
{
    return textsOf(view.rows(), [](const ArchiveRow *row) { return row->title(); });
}

} // namespace

TEST_F(ArchiveTest, aLongArchive_hasWidgetsOnlyForTheRowsInView_andFollowsTheScroll)
{
    // 1 200 tasks closed over 400 days, three a day, the first the most recent.
    for (int i = 0; i < 1200; ++i) {
        const Instant closed = localTime(2026, 3, 10, 9) - std::chrono::hours(8 * i);
        archived(QStringLiteral("task %1").arg(i), closed, closed);
    }
    ArchiveWindow window(context);
    window.present();
    settle();
    ArchiveView *view = window.findChild<ArchiveView *>(u"archiveView"_s);
    const QStringList first = rowTitles(*view);
    ASSERT_FALSE(first.isEmpty());
    EXPECT_LT(first.size(), 40);
    EXPECT_EQ(first.front(), QStringLiteral("task 1")) << "in closing order within the day";
    EXPECT_TRUE(view->emptyText().isEmpty());

    QScrollBar *bar = scrollBarOf(window);
    bar->setValue(bar->maximum());
    settle();
    const QStringList last = rowTitles(*view);
    EXPECT_LT(last.size(), 40);
    EXPECT_EQ(last.back(), QStringLiteral("task 1199")) << "the oldest day comes last";
    for (const ArchiveRow *row : view->rows()) {
        EXPECT_TRUE(row->isVisible());
        EXPECT_TRUE(row->geometry().intersects(QRect(0, bar->value() - 300, 1000, 1200)));
    }

    // Rows that scroll in above the others still come first in the Tab order.
    bar->setValue(3000);
    settle();
    bar->setValue(2700);
    settle();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QList<ArchiveRow *> rows = view->rows();
    while (!rows.isEmpty() && rows.front()->y() < bar->value())
        rows.pop_front();
    ASSERT_GE(rows.size(), 3);
    rows.front()->putBackButton()->setFocus(Qt::TabFocusReason);
    for (int i = 1; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), rows[i]->putBackButton()) << i;
    }
}

TEST_F(ArchiveTest, aChangeWhileOpen_keepsTheRowsItDoesNotTouch)
{
    Section *lane = addSection(QStringLiteral("Now"), addPage(QStringLiteral("Work"), 0), 0);
    TaskItem *renamed = archived(QStringLiteral("to rename"), localTime(2026, 3, 9, 12));
    archived(QStringLiteral("untouched"), localTime(2026, 3, 9, 11));
    ArchiveWindow window(context);
    window.present();
    window.findChild<ArchiveView *>(u"archiveView"_s)->setTab(ArchiveView::Tab::Dropped);
    settle();
    ArchiveRow *kept = rowTitled(*window.findChild<ArchiveView *>(u"archiveView"_s),
                                 QStringLiteral("untouched"));
    ASSERT_NE(kept, nullptr);

    PlannerStore store(context);
    store.close(*store.capture(QStringLiteral("closed on the board"), lane, nullptr));
    renamed->setTitle(QStringLiteral("renamed"));
    settle();
    EXPECT_EQ(
        rowTitled(*window.findChild<ArchiveView *>(u"archiveView"_s), QStringLiteral("untouched")),
        kept);
    EXPECT_EQ(rowTitles(*window.findChild<ArchiveView *>(u"archiveView"_s)),
              QStringList({"renamed", "untouched"}));
}

TEST_F(ArchiveTest, aScreenReader_readsEachRowByTitleWithItsDayOrDaysLeft)
{
    archived(QStringLiteral("closed today"), localTime(2026, 3, 10, 9), localTime(2026, 3, 10, 9));
    archived(QStringLiteral("closed yesterday"), localTime(2026, 3, 9, 9),
             localTime(2026, 3, 9, 9));
    archived(QStringLiteral("dropped"), localTime(2026, 2, 9, 10));
    ArchiveWindow window(context);
    window.present();
    settle();

    // Found by walking down from the window, as an assistive technology does.
    const auto readRows = [&window] {
        QStringList read;
        std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *item) {
            if (!item || item->state().invisible)
                return;
            if (qobject_cast<ArchiveRow *>(item->object())) {
                read.append(item->text(QAccessible::Name) + u'|'
                            + item->text(QAccessible::Description));
            }
            for (int i = 0; i < item->childCount(); ++i)
                walk(item->child(i));
        };
        walk(QAccessible::queryAccessibleInterface(&window));
        return read;
    };
    EXPECT_EQ(readRows(), QStringList({"closed today|Today", "closed yesterday|Yesterday"}));
    window.findChild<ArchiveView *>(u"archiveView"_s)->setTab(ArchiveView::Tab::Dropped);
    settle();
    EXPECT_EQ(readRows(), QStringList({"dropped|1 day left"}));
}

TEST_F(ArchiveTest, revealingATask_opensItsTabAndScrollsToItHighlighted)
{
    TaskItem *target = nullptr;
    for (int i = 0; i < 400; ++i) {
        TaskItem *task = archived(QStringLiteral("dropped %1").arg(i),
                                  localTime(2026, 3, 9, 10) - std::chrono::minutes(i));
        if (i == 300)
            target = task;
    }
    archived(QStringLiteral("done"), localTime(2026, 3, 9), localTime(2026, 3, 9));
    ArchiveWindow window(context);
    window.present();
    const ArchiveView *view = window.findChild<ArchiveView *>(QStringLiteral("archiveView"));
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->tab(), ArchiveView::Tab::Done);

    ASSERT_TRUE(window.reveal(target->id()));
    EXPECT_EQ(view->tab(), ArchiveView::Tab::Dropped);
    const auto rows = view->rows();
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [&](const ArchiveRow *r) { return r->taskId() == target->id(); });
    ASSERT_NE(row, rows.end()) << "the row far down the list is made";
    EXPECT_NE((*row)->findChild<FlashHighlight *>(), nullptr);
    EXPECT_FALSE(window.reveal(QUuid::createUuid()));
}
