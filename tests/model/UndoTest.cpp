#include "StoreFixture.h"

namespace furrow::test {
namespace {

using std::chrono::minutes;

class UndoTest : public StoreFixture
{
protected:
    UndoTest()
    {
        context.setUndoHistory(&history);
        a = addTask(QStringLiteral("a"), today, 0);
        b = addTask(QStringLiteral("b"), today, 1);
        c = addTask(QStringLiteral("c"), today, 2);
        store.stampToday();
        store.save();
        endEventLoopTurn();
        history.clear();
        saves.clear();
    }

    UndoHistory history;
    Page *page = addPage(QStringLiteral("Inbox"));
    Section *today = addSection(QStringLiteral("Today"), page, 0);
    TaskItem *a = nullptr;
    TaskItem *b = nullptr;
    TaskItem *c = nullptr;
};

TEST_F(UndoTest, undoOfClose_revertsTheWholeStepAndSaves)
{
    const Instant before = Clock::now();
    Clock::advance(minutes(1));
    store.close(*a);
    endEventLoopTurn();
    ASSERT_EQ(store.dayPlan(Clock::now())->closedCount(), 1);
    saves.clear();

    Clock::advance(minutes(1));
    EXPECT_TRUE(store.undo());
    EXPECT_FALSE(a->isDone());
    EXPECT_FALSE(a->doneAt());
    EXPECT_EQ(orders(std::vector<TaskItem *>{a, b, c}), (std::vector<qint64>{0, 1, 2}));
    DayPlan *plan = store.dayPlan(Clock::now());
    EXPECT_EQ(plan->closedCount(), 0);
    EXPECT_EQ(plan->plannedCount(), 3);
    EXPECT_EQ(saveCount(), 1);
    EXPECT_FALSE(context.hasChanges());

    // The reverted rows are stamped as changed now, so sync and import carry the reverted state.
    EXPECT_EQ(a->updatedAt(), Clock::now());
    EXPECT_EQ(b->updatedAt(), Clock::now());
    EXPECT_EQ(plan->updatedAt(), Clock::now());
    EXPECT_GT(a->updatedAt(), before);
}

TEST_F(UndoTest, redo_reappliesTheUndoneStep_untilANewChangeDropsIt)
{
    store.close(*b);
    endEventLoopTurn();
    store.undo();
    EXPECT_TRUE(store.redo());
    EXPECT_TRUE(b->isDone());
    EXPECT_EQ(titles(store.tasks(today)), (std::vector<QString>{"a", "c"}));
    EXPECT_EQ(store.dayPlan(Clock::now())->closedCount(), 1);
    EXPECT_FALSE(store.redo());

    store.undo();
    store.close(*c);
    endEventLoopTurn();
    EXPECT_FALSE(history.canRedo());
}

TEST_F(UndoTest, nothingToUndo_savesNothing_andPausedRecordingAddsNoStep)
{
    EXPECT_FALSE(store.undo());
    EXPECT_FALSE(store.redo());
    EXPECT_EQ(saveCount(), 0);
    history.setRecordingEnabled(false);
    store.close(*a);
    history.setRecordingEnabled(true);
    endEventLoopTurn();
    EXPECT_FALSE(history.canUndo());
}

TEST_F(UndoTest, changesOfOneEventLoopTurn_formOneStep)
{
    store.capture(QStringLiteral("d"), today, nullptr);
    store.capture(QStringLiteral("e"), today, nullptr);
    endEventLoopTurn();
    store.capture(QStringLiteral("f"), today, nullptr);
    EXPECT_TRUE(store.undo()) << "the step still open in this turn is closed and undone";
    EXPECT_EQ(titles(store.tasks(today)), (std::vector<QString>{"a", "b", "c", "d", "e"}));
    store.undo();
    EXPECT_EQ(titles(store.tasks(today)), (std::vector<QString>{"a", "b", "c"}));
    EXPECT_FALSE(history.canUndo());
}

TEST_F(UndoTest, historyKeepsTheLastFiftySteps)
{
    for (int i = 0; i < 51; ++i) {
        store.rename(*page, QStringLiteral("name %1").arg(i));
        endEventLoopTurn();
    }
    int undone = 0;
    while (store.undo())
        ++undone;
    EXPECT_EQ(undone, 50);
    EXPECT_EQ(page->name(), QStringLiteral("name 0"));
}

TEST_F(UndoTest, undoOfCapture_removesTheRowAndRedoBringsTheSameRowBack)
{
    TaskItem *task = store.capture(QStringLiteral("d"), today, nullptr);
    const QUuid id = task->id();
    endEventLoopTurn();
    store.undo();
    EXPECT_EQ(context.rows<TaskItem>().size(), 3u);
    EXPECT_EQ(task->context(), nullptr);
    store.redo();
    EXPECT_EQ(context.fetchAll<TaskItem>().back(), task);
    EXPECT_EQ(task->id(), id);
    EXPECT_EQ(task->section(), today);
}

TEST_F(UndoTest, undoOfPageDeletion_restoresEverySectionLink)
{
    Section *later = addSection(QStringLiteral("Later"), page, 1);
    TaskItem *d = addTask(QStringLiteral("d"), later, 0);
    store.save();
    endEventLoopTurn();

    store.deletePage(*page);
    endEventLoopTurn();
    ASSERT_EQ(store.archivedTasks().size(), 4u);

    store.undo();
    for (TaskItem *task : {a, b, c})
        EXPECT_EQ(task->section(), today);
    EXPECT_EQ(d->section(), later);
    EXPECT_TRUE(store.archivedTasks().empty());
    EXPECT_FALSE(page->deletedAt() || today->deletedAt() || later->deletedAt());
    EXPECT_EQ(titles(store.tasks(today)), (std::vector<QString>{"a", "b", "c"}));
}

TEST_F(UndoTest, undoOfPurge_bringsRemovedRowsBackInPlaceWithTheirReferences)
{
    Project *project = addProject(QStringLiteral("Old"));
    a->setProject(project);
    project->setDeletedAt(Clock::now());
    today->setDeletedAt(Clock::now());
    store.save();
    endEventLoopTurn();

    Clock::advance(std::chrono::hours(24 * 40));
    store.purgeTombstones(30);
    endEventLoopTurn();
    ASSERT_EQ(a->project(), nullptr);
    ASSERT_EQ(a->section(), nullptr);

    store.undo();
    EXPECT_EQ(a->project(), project);
    EXPECT_EQ(a->section(), today);
    EXPECT_EQ(context.fetchAll<Section>(), (std::vector<Section *>{today}));
    EXPECT_EQ(project->context(), &context);
}

} // namespace
} // namespace furrow::test
