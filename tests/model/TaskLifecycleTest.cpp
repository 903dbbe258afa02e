#include "StoreFixture.h"

namespace furrow::test {
namespace {

using std::chrono::minutes;

// A page with the sections "Today" (open tasks a, b, c at keys 0, 1, 2) and "Next".
class TaskLifecycleTest : public StoreFixture
{
protected:
    Page *page = addPage(QStringLiteral("Inbox"));
    Section *today = addSection(QStringLiteral("Today"), page, 0);
    Section *next = addSection(QStringLiteral("Next"), page, 1);
    TaskItem *a = addTask(QStringLiteral("a"), today, 0);
    TaskItem *b = addTask(QStringLiteral("b"), today, 1);
    TaskItem *c = addTask(QStringLiteral("c"), today, 2);
};

TEST_F(TaskLifecycleTest, close_renumbersTheRest_andRefusesADoneTask)
{
    Clock::advance(minutes(1));
    store.close(*b);
    EXPECT_TRUE(b->isDone());
    EXPECT_EQ(b->doneAt(), Clock::now());
    EXPECT_EQ(b->order(), 1) << "the closed task keeps its key";
    EXPECT_EQ(titles(store.tasks(today)), (std::vector<QString>{"a", "c"}));
    EXPECT_EQ(orders(store.tasks(today)), (std::vector<qint64>{0, 1}));
    EXPECT_EQ(c->updatedAt(), Clock::now());
    EXPECT_NE(a->updatedAt(), Clock::now()) << "a key already in place is not restamped";

    Clock::advance(minutes(5));
    store.close(*b);
    store.reopen(*a);
    EXPECT_EQ(b->doneAt(), Clock::now() - minutes(5));
    EXPECT_EQ(saveCount(), 1) << "closing a done task and reopening an open one do nothing";
}

TEST_F(TaskLifecycleTest, reopen_putsTheTaskAfterTheLargestKeyItselfIncluded)
{
    store.close(*a);
    store.reopen(*a);
    EXPECT_FALSE(a->isDone());
    EXPECT_FALSE(a->doneAt());
    EXPECT_EQ(titles(store.tasks(today)), (std::vector<QString>{"b", "c", "a"}));
    store.close(*a);
    store.reopen(*a);
    EXPECT_EQ(a->order(), 3) << "its own old key 2 was the largest";
}

TEST_F(TaskLifecycleTest, archive_keepsTheDoneState_andMovesItsStampAgain)
{
    store.close(*a);
    store.archive(*a);
    store.archive(*b);
    EXPECT_TRUE(a->isDone()) << "archived as done";
    EXPECT_FALSE(b->isDone()) << "archived as dropped";
    EXPECT_EQ(store.tasks(today), (std::vector<TaskItem *>{c}));
    EXPECT_EQ(c->order(), 0);
    Clock::advance(minutes(1));
    store.archive(*a);
    EXPECT_EQ(store.archivedTasks(), (std::vector<TaskItem *>{a, b})) << "newest first";
}

TEST_F(TaskLifecycleTest, unarchive_bringsBackAnOpenTaskOnTopOfItsOrTheFallbackSection)
{
    store.close(*a);
    store.archive(*a);
    store.archive(*c);
    store.unarchive(*c, next);
    EXPECT_EQ(c->section(), today) << "a live section is kept";
    EXPECT_EQ(c->order(), -1) << "one below a, b and c itself (keys 0, 1, 2)";

    today->setDeletedAt(Clock::now());
    TaskItem *first = addTask(QStringLiteral("n"), next, -4);
    store.unarchive(*a, next);
    EXPECT_EQ(a->section(), next);
    EXPECT_EQ(a->order(), -5);
    EXPECT_FALSE(a->isDone() || a->doneAt() || a->archivedAt());
    EXPECT_EQ(store.tasks(next), (std::vector<TaskItem *>{a, first}));
}

TEST_F(TaskLifecycleTest, move_withinASection_renumbersInTheNewOrderAndClampsTheIndex)
{
    TaskItem *other = addTask(QStringLiteral("x"), next, 7);
    EXPECT_TRUE(store.move(*a, today, 2));
    EXPECT_EQ(titles(store.tasks(today)), (std::vector<QString>{"b", "c", "a"}));
    EXPECT_EQ(orders(store.tasks(today)), (std::vector<qint64>{0, 1, 2}));
    EXPECT_EQ(other->order(), 7) << "other sections are untouched";
    store.move(*a, today, -3);
    EXPECT_EQ(titles(store.tasks(today)), (std::vector<QString>{"a", "b", "c"}));
    store.move(*a, today, 99);
    EXPECT_EQ(titles(store.tasks(today)), (std::vector<QString>{"b", "c", "a"}));
    EXPECT_EQ(saveCount(), 3);
}

TEST_F(TaskLifecycleTest, move_toAnotherSection_renumbersBoth_andRefusesADoneTask)
{
    addTask(QStringLiteral("x"), next, 0);
    Clock::advance(minutes(1));
    store.move(*a, next, std::nullopt);
    EXPECT_EQ(titles(store.tasks(next)), (std::vector<QString>{"x", "a"}));
    EXPECT_EQ(orders(store.tasks(today)), (std::vector<qint64>{0, 1}));
    EXPECT_EQ(a->updatedAt(), Clock::now()) << "the moved task is always stamped";

    store.close(*b);
    Clock::advance(minutes(1));
    EXPECT_FALSE(store.move(*b, next, 0));
    EXPECT_EQ(b->section(), today);
    EXPECT_NE(b->updatedAt(), Clock::now());
}

TEST_F(TaskLifecycleTest, queries_separateOpenDoneArchivedAndTombstonedTasks)
{
    TaskItem *twin = addTask(QStringLiteral("twin"), today, 1);
    Section *copy = addSection(QStringLiteral("Today again"), page, 5);
    copy->setId(today->id());
    TaskItem *onCopy = addTask(QStringLiteral("d"), copy, 3);
    EXPECT_EQ(store.tasks(today), (std::vector<TaskItem *>{a, b, twin, c, onCopy}))
        << "equal keys keep store order; sections compare by id";

    store.close(*a);
    store.archive(*b);
    c->setDeletedAt(Clock::now());
    EXPECT_EQ(store.allTasks(), (std::vector<TaskItem *>{a, b, twin, onCopy}));
    EXPECT_EQ(store.tasks(today), (std::vector<TaskItem *>{twin, onCopy}));
    EXPECT_EQ(store.archivedTasks(), (std::vector<TaskItem *>{b}));
}

TEST_F(TaskLifecycleTest, reminder_givesADueDay_andFollowsItAcrossADaylightSavingDay)
{
    store.setReminder(QTime(9, 0), *a); // 9:00 has passed at 10:00: tomorrow
    store.setReminder(QTime(18, 0), *b);
    EXPECT_EQ(a->dueDate(), localTime(2026, 3, 11));
    EXPECT_EQ(a->remindAt(), localTime(2026, 3, 11, 9));
    EXPECT_EQ(b->dueDate(), localTime(2026, 3, 10));
    EXPECT_EQ(b->remindAt(), localTime(2026, 3, 10, 18));

    store.setDueDate(localTime(2026, 3, 29, 12), *b); // clocks go forward that night
    EXPECT_EQ(b->remindAt(), localTime(2026, 3, 29, 18));
    store.setReminder(QTime(7, 30), *b);
    EXPECT_EQ(b->dueDate(), localTime(2026, 3, 29)) << "a due day stays where it is";
    EXPECT_EQ(b->remindAt(), localTime(2026, 3, 29, 7, 30));
    store.setDueDate(std::nullopt, *b);
    EXPECT_FALSE(b->remindAt());
}

TEST_F(TaskLifecycleTest, repeat_makesTheTaskDueToday_startsASeries_andStopsWithoutLosingIt)
{
    a->setDueDate(localTime(2026, 4, 1));
    store.setRepeat(QStringLiteral("FREQ=WEEKLY"), true, *a);
    store.setRepeat(QStringLiteral("FREQ=DAILY"), false, *b);
    EXPECT_EQ(a->dueDate(), localTime(2026, 4, 1));
    EXPECT_EQ(b->dueDate(), localTime(2026, 3, 10));
    EXPECT_EQ(a->seriesId(), a->id());
    EXPECT_TRUE(a->repeatFromDone());

    const QUuid series = QUuid::createUuid();
    c->setSeriesId(series);
    store.setRepeat(QStringLiteral("FREQ=MONTHLY"), false, *c);
    EXPECT_EQ(c->seriesId(), series) << "an occurrence stays in its series";
    store.setRepeat(QString(), true, *a);
    EXPECT_EQ(a->repeatRule(), QString());
    EXPECT_FALSE(a->repeatFromDone());
    EXPECT_EQ(a->seriesId(), a->id());
}

} // namespace
} // namespace furrow::test
