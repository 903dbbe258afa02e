#include "BoardFixture.h"
#include "views/board/DropFeedback.h"
#include "views/board/DueText.h"
#include "views/board/NoteText.h"
#include "views/board/TaskDrop.h"
#include "views/board/TitleText.h"

#include <QMimeData>
#include <QTimer>
#include <QWindow>

using namespace furrow;

TEST(DueText, readsAsNearDaysOrEnglishDatesWhateverTheSystemLanguage)
{
    const GermanLocale german;
    const std::pair<Instant, const char *> cases[]
        = {{localTime(2021, 8, 10), "Today"},     {localTime(2021, 8, 11, 23), "Tomorrow"},
           {localTime(2021, 8, 9), "Yesterday"},  {localTime(2021, 8, 12), "12 Aug"},
           {localTime(2021, 3, 5), "5 Mar"},      {localTime(2022, 1, 3), "3 Jan 22"},
           {localTime(2020, 12, 31), "31 Dec 20"}};
    for (const auto &[due, expected] : cases)
        EXPECT_EQ(DueText::label(due, localTime(2021, 8, 10, 12)), QString::fromUtf8(expected));
}

TEST(NoteText, rendersInlineMarkdownWithLiveWebAndMailLinks_andShowsBlockSyntaxAndHtmlAsText)
{
    const QString html = NoteText::renderedHtml(
        QStringLiteral("**Call** [the agency](https://example.com/x)\n# not a heading\n- nor a "
                       "list <b>nor bold</b>\n1. nor numbered"));
    EXPECT_TRUE(html.contains(QStringLiteral("href=\"https://example.com/x\"")));
    EXPECT_TRUE(html.contains(QStringLiteral("color:#12291e")));     // links in pine
    EXPECT_TRUE(html.contains(QStringLiteral("font-weight:700")));   // **Call**
    EXPECT_TRUE(html.contains(QStringLiteral("# not a heading")));   // no heading
    EXPECT_TRUE(html.contains(QStringLiteral("- nor a list")));      // no list
    EXPECT_TRUE(html.contains(QStringLiteral("&lt;b&gt;nor bold"))); // HTML stays text
    EXPECT_TRUE(html.contains(QStringLiteral("1. nor numbered")));
    EXPECT_FALSE(html.contains(QStringLiteral("<h1")));
    EXPECT_FALSE(html.contains(QStringLiteral("<li")));
    // Only web and mail links open.
    EXPECT_TRUE(NoteText::isOpenableLink(QUrl(QStringLiteral("https://example.com"))));
    EXPECT_TRUE(NoteText::isOpenableLink(QUrl(QStringLiteral("mailto:a@example.com"))));
    EXPECT_FALSE(NoteText::isOpenableLink(QUrl(QStringLiteral("file:///etc/passwd"))));
    EXPECT_FALSE(NoteText::isOpenableLink(QUrl(QStringLiteral("javascript:alert(1)"))));
}

namespace {

class TaskDropTest : public BoardTest
{
protected:
    bool drop(const QString &text, const TaskDropTarget &target)
    {
        QMimeData data;
        data.setText(text);
        return TaskDrop::handle(context, &data, target);
    }

    std::vector<TaskItem *> tasks(const Section *section)
    {
        return PlannerStore(context).tasks(section);
    }
};

} // namespace

TEST_F(TaskDropTest, dropOnARow_insertsBeforeIt_andOnASection_appends)
{
    EXPECT_TRUE(drop(idText(second->id()), {inFlight->id(), 0, first->id()}));
    EXPECT_EQ(tasks(inFlight), (std::vector<TaskItem *>{second, first}));

    EXPECT_TRUE(drop(idText(first->id()), {later->id(), std::nullopt, {}}));
    EXPECT_EQ(tasks(later), std::vector<TaskItem *>{first});
    settle();
    EXPECT_EQ(rowIds(later), std::vector<QUuid>{first->id()});
}

TEST_F(TaskDropTest, dropOnARowOfItsOwnSection_landsRightAboveThatRow_goingDownOrUp)
{
    TaskItem *third
        = PlannerStore(context).capture(QStringLiteral("Book the room"), inFlight, nullptr);
    TaskItem *fourth
        = PlannerStore(context).capture(QStringLiteral("Print the agenda"), inFlight, nullptr);
    // Down: onto the row at index 2 (the third task), where the insertion mark shows.
    EXPECT_TRUE(drop(idText(first->id()), {inFlight->id(), 2, third->id()}));
    EXPECT_EQ(tasks(inFlight), (std::vector<TaskItem *>{second, first, third, fourth}));
    // Onto the row right below it: the mark is where the task already is.
    EXPECT_TRUE(drop(idText(first->id()), {inFlight->id(), 2, third->id()}));
    EXPECT_EQ(tasks(inFlight), (std::vector<TaskItem *>{second, first, third, fourth}));
    // Up: onto the first row.
    EXPECT_TRUE(drop(idText(fourth->id()), {inFlight->id(), 0, second->id()}));
    EXPECT_EQ(tasks(inFlight), (std::vector<TaskItem *>{fourth, second, first, third}));
}

TEST_F(TaskDropTest, dropOnItsOwnRow_isRefusedAndChangesNothing)
{
    DragState::shared().setDraggingId(first->id());
    const TaskDropTarget own{inFlight->id(), 0, first->id()};
    EXPECT_TRUE(TaskDrop::isNoOp(own));
    EXPECT_FALSE(drop(idText(first->id()), own));
    EXPECT_EQ(tasks(inFlight), (std::vector<TaskItem *>{first, second}));
    EXPECT_FALSE(TaskDrop::isNoOp({inFlight->id(), 1, second->id()}));
}

TEST_F(TaskDropTest, foreignTextAndStaleIds_changeNothing)
{
    const Instant before = second->updatedAt();
    Clock::advance(std::chrono::minutes(1));
    EXPECT_TRUE(drop(QStringLiteral("Buy milk"), {later->id(), std::nullopt, {}}));
    EXPECT_TRUE(drop(idText(QUuid::createUuid()), {later->id(), std::nullopt, {}}));
    second->setDeletedAt(Clock::now());
    EXPECT_TRUE(drop(idText(second->id()), {later->id(), std::nullopt, {}}));
    EXPECT_TRUE(tasks(later).empty());
    EXPECT_EQ(second->updatedAt(), before);
    EXPECT_FALSE(TaskDrop::handle(context, nullptr, {later->id(), std::nullopt, {}}));
}

TEST_F(TaskDropTest, onlyOpenRowsAreDropTargets)
{
    PlannerStore(context).close(*second);
    settle();
    EXPECT_TRUE(row(first)->acceptDrops());
    EXPECT_EQ(row(first)->findChild<DropFeedback *>(u"dropFeedback"_s)->target().anchorId,
              first->id());
    EXPECT_FALSE(row(second)->acceptDrops());
    EXPECT_EQ(row(second)->findChild<DropFeedback *>(u"dropFeedback"_s), nullptr);
    EXPECT_TRUE(block(inFlight)->acceptDrops());
}

TEST_F(TaskDropTest, draggingOverARow_opensAGap_butOverItsOwnRowOnlyTheFaintFill)
{
    QMimeData data;
    data.setText(idText(second->id()));
    DragState::shared().setDraggingId(second->id());
    for (TaskItem *target : {first, second}) {
        QDragEnterEvent enter(QPoint(20, 10), Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(row(target), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDragMoveEvent move(QPoint(20, 12), Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(row(target), &move);
        DropFeedback *feedback = row(target)->findChild<DropFeedback *>(u"dropFeedback"_s);
        if (target == first) {
            EXPECT_EQ(feedback->look(), DropFeedback::Look::Gap);
            EXPECT_EQ(feedback->gapHeight(), DropFeedback::kGap);
            EXPECT_TRUE(move.isAccepted());
        } else {
            EXPECT_EQ(feedback->look(), DropFeedback::Look::Faint);
            EXPECT_EQ(feedback->gapHeight(), 0);
            EXPECT_FALSE(move.isAccepted());
        }
        QDragLeaveEvent leave;
        QApplication::sendEvent(row(target), &leave);
        EXPECT_EQ(feedback->look(), DropFeedback::Look::None);
    }
}

// Runs under X11 (the views_drag_x11 test); the offscreen platform has no drag and drop.
TEST_F(TaskDropTest, realDrag_fromATitleOntoAnotherRow_movesTheTaskBeforeIt)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        GTEST_SKIP() << "needs a platform with drag and drop";
    QWindow *handle = window.windowHandle();
    TitleText *title = titleText(row(second));
    const QPoint start = title->mapTo(&window, QPoint(10, 5));
    const QPoint target = row(first)->mapTo(&window, QPoint(60, 12));
    // The drag runs its own event loop; the pointer's way to the target and the release are
    // queued before it starts.
    QTimer::singleShot(0, [handle, start, target] {
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(handle, start + (target - start) * step / 4);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, target);
    });
    QTest::mousePress(title, Qt::LeftButton, {}, QPoint(10, 5));
    QTest::mouseMove(title, QPoint(10 + 3 * QApplication::startDragDistance(), 5));
    settle();
    EXPECT_EQ(tasks(inFlight), (std::vector<TaskItem *>{second, first}));
    EXPECT_EQ(rowIds(inFlight), (std::vector<QUuid>{second->id(), first->id()}));
    EXPECT_EQ(view->state().selectedId(), second->id());
    EXPECT_TRUE(DragState::shared().draggingId().isNull());
    EXPECT_FALSE(DragState::shared().isSourceRunning());
}
