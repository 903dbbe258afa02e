#include "StoreFixture.h"

namespace furrow::test {
namespace {

using std::chrono::minutes;

class TaskLifecycleTest : public StoreFixture
{
protected:
    TaskLifecycleTest()
    {
        a = addTask(QStringLiteral("a"), today, 0);
        b = addTask(QStringLiteral("b"), today, 1);
        c = addTask(QStringLiteral("c"), today, 2);
    }

    Page *page = addPage(QStringLiteral("Inbox"));
    Section *today = addSection(QStringLiteral("Today"), page, 0);
    Section *next = addSection(QStringLiteral("Next"), page, 1);
    TaskItem *a = nullptr;
    TaskItem *b = nullptr;
    TaskItem *c = nullptr;
};

TEST_F(TaskLifecycleTest, close_renumbersTheRestAndKeepsItsOwnKey)
{
    Clock::advance(minutes(1));
    store.close(*b);
    EXPECT_TRUE(b->isDone());
    EXPECT_EQ(b->doneAt(), Clock::now());
    EXPECT_EQ(b->order(), 1);
    EXPECT_EQ(titles(store.tasks(today)), (std::vector<QString>{"a", "c"}));
    EXPECT_EQ(orders(store.tasks(today)), (std::vector<qint64>{0, 1}));
    EXPECT_EQ(c->updatedAt(), Clock::now());
    EXPECT_NE(a->updatedAt(), Clock::now()) << "a key already in place is not restamped";
    EXPECT_EQ(saveCount(), 1);
}

TEST_F(TaskLifecycleTest, closeAndReopen_refuseSilentlyWhenNothingToDo)
{
    store.reopen(*a);
    store.close(*a);
    const Instant closedAt = *a->doneAt();
    Clock::advance(minutes(5));
    store.close(*a);
    EXPECT_EQ(a->doneAt(), closedAt);
    EXPECT_EQ(saveCount(), 1);
}

TEST_F(TaskLifecycleTest, reopen_putsTheTaskAtTheEnd)
{
    store.close(*a);
    store.reopen(*a);
    EXPECT_FALSE(a->isDone());
    EXPECT_FALSE(a->doneAt());
    EXPECT_EQ(a->order(), 2) << "the others were renumbered 0, 1 by the close";
    EXPECT_EQ(titles(store.tasks(today)), (std::vector<QString>{"b", "c", "a"}));
}

TEST_F(TaskLifecycleTest, reopen_ofTheLargestKey_addsOne)
{
    store.close(*c);
    store.reopen(*c);
    EXPECT_EQ(c->order(), 3) << "the list includes the task itself with its old key";
}

TEST_F(TaskLifecycleTest, archive_keepsDoneStateAndRenumbers)
{
    store.close(*a);
    store.archive(*a);
    store.archive(*b);
    EXPECT_TRUE(a->isDone()) << "archived as done";
    EXPECT_FALSE(b->isDone()) << "archived as dropped";
    EXPECT_EQ(store.tasks(today), (std::vector<TaskItem *>{c}));
    EXPECT_EQ(c->order(), 0);

    Clock::advance(minutes(1));
    store.archive(*b);
    EXPECT_EQ(b->archivedAt(), Clock::now()) << "archiving again moves the stamp";
    EXPECT_EQ(store.archivedTasks(), (std::vector<TaskItem *>{b, a}));
}

TEST_F(TaskLifecycleTest, unarchive_intoDeletedSection_goesToFallbackOnTop)
{
    store.close(*a);
    store.archive(*a);
    today->setDeletedAt(Clock::now());
    TaskItem *first = addTask(QStringLiteral("n"), next, -4);
    store.unarchive(*a, next);
    EXPECT_EQ(a->section(), next);
    EXPECT_EQ(a->order(), -5);
    EXPECT_FALSE(a->isDone());
    EXPECT_FALSE(a->doneAt());
    EXPECT_FALSE(a->archivedAt());
    EXPECT_EQ(store.tasks(next), (std::vector<TaskItem *>{a, first}));
}

TEST_F(TaskLifecycleTest, unarchive_keepsLiveSectionAndCountsItself)
{
    store.archive(*c);
    Section *empty = addSection(QStringLiteral("Empty"), page, 2);
    store.unarchive(*c, empty);
    EXPECT_EQ(c->section(), today);
    EXPECT_EQ(c->order(), -1) << "one below the smallest of a, b and c itself (0, 1, 2)";

    TaskItem *loose = addTask(QStringLiteral("loose"), nullptr, 0);
    store.archive(*loose);
    store.unarchive(*loose, empty);
    EXPECT_EQ(loose->section(), empty);
    EXPECT_EQ(loose->order(), -1);
}

TEST_F(TaskLifecycleTest, move_withinSection_renumbersInNewOrder)
{
    TaskItem *other = addTask(QStringLiteral("x"), next, 7);
    EXPECT_TRUE(store.move(*a, today, 2));
    EXPECT_EQ(titles(store.tasks(today)), (std::vector<QString>{"b", "c", "a"}));
    EXPECT_EQ(orders(store.tasks(today)), (std::vector<qint64>{0, 1, 2}));
    EXPECT_EQ(other->order(), 7) << "other sections are untouched";
    EXPECT_EQ(saveCount(), 1);
}

TEST_F(TaskLifecycleTest, move_clampsTheInsertIndex)
{
    store.move(*c, today, -3);
    EXPECT_EQ(titles(store.tasks(today)), (std::vector<QString>{"c", "a", "b"}));
    store.move(*c, today, 99);
    EXPECT_EQ(titles(store.tasks(today)), (std::vector<QString>{"a", "b", "c"}));
}

TEST_F(TaskLifecycleTest, move_toAnotherSection_renumbersBoth)
{
    addTask(QStringLiteral("x"), next, 0);
    Clock::advance(minutes(1));
    store.move(*a, next, std::nullopt);
    EXPECT_EQ(titles(store.tasks(next)), (std::vector<QString>{"x", "a"}));
    EXPECT_EQ(orders(store.tasks(today)), (std::vector<qint64>{0, 1}));
    EXPECT_EQ(a->updatedAt(), Clock::now()) << "the moved task is always stamped";
}

TEST_F(TaskLifecycleTest, move_ofDoneTask_isRefused)
{
    store.close(*a);
    const Instant stamp = a->updatedAt();
    Clock::advance(minutes(1));
    EXPECT_FALSE(store.move(*a, next, 0));
    EXPECT_EQ(a->section(), today);
    EXPECT_EQ(a->updatedAt(), stamp);
    EXPECT_EQ(saveCount(), 1);
}

TEST_F(TaskLifecycleTest, queries_separateOpenDoneArchivedAndTombstoned)
{
    store.close(*a);
    store.archive(*b);
    c->setDeletedAt(Clock::now());
    const auto all = store.allTasks();
    EXPECT_EQ(all, (std::vector<TaskItem *>{a, b}));
    EXPECT_TRUE(store.tasks(today).empty());
    EXPECT_EQ(store.archivedTasks(), (std::vector<TaskItem *>{b}));
}

TEST_F(TaskLifecycleTest, tasksIn_keepsStoreOrderOnEqualKeys)
{
    TaskItem *twin = addTask(QStringLiteral("twin"), today, 1);
    EXPECT_EQ(store.tasks(today), (std::vector<TaskItem *>{a, b, twin, c}));
}

TEST_F(TaskLifecycleTest, tasksIn_comparesSectionsById)
{
    Section *copy = addSection(QStringLiteral("Today copy"), page, 5);
    copy->setId(today->id());
    TaskItem *onCopy = addTask(QStringLiteral("d"), copy, 3);
    EXPECT_EQ(store.tasks(today), (std::vector<TaskItem *>{a, b, c, onCopy}));
}

} // namespace
} // namespace furrow::test
