#include "StoreFixture.h"

#include "model/repeat/OccurrenceId.h"

namespace furrow::test {
namespace {

using std::chrono::hours;
using std::chrono::minutes;

// A section "Today" holding a, a daily task r due today (10 March 2026) with a note and a
// project, and c; with an undo history.
class RepeatingTasksTest : public StoreFixture
{
protected:
    RepeatingTasksTest()
    {
        context.setUndoHistory(&history);
        a = addTask(QStringLiteral("a"), today, 0);
        r = addTask(QStringLiteral("Water the plants"), today, 1,
                    addProject(QStringLiteral("Home")));
        c = addTask(QStringLiteral("c"), today, 2);
        store.setNote(QStringLiteral("the ferns too"), *r);
        store.setRepeat(QStringLiteral("FREQ=DAILY"), false, *r);
        endEventLoopTurn();
        history.clear();
    }

    // The open task that follows r, found by the id derived from the series and the day.
    TaskItem *occurrenceOn(const TaskItem &of, int month, int day) const
    {
        const QUuid id = OccurrenceId::of(of.seriesId(), QDate(2026, month, day));
        TaskItem *found = store.task(id);
        return found && !found->isDone() ? found : nullptr;
    }
    std::size_t taskCount() const { return store.allTasks().size(); }

    UndoHistory history;
    Page *page = addPage(QStringLiteral("Inbox"));
    Section *today = addSection(QStringLiteral("Today"), page, 0);
    TaskItem *a = nullptr;
    TaskItem *r = nullptr;
    TaskItem *c = nullptr;
};

TEST_F(RepeatingTasksTest, closingOrDropping_startsTheNextOccurrenceWhereTheClosedOneStood)
{
    for (const bool drop : {false, true}) {
        SCOPED_TRACE(drop ? "drop" : "close");
        TaskItem *current = drop ? occurrenceOn(*r, 3, 11) : r;
        ASSERT_NE(current, nullptr);
        drop ? store.archive(*current) : store.close(*current);
        TaskItem *next = occurrenceOn(*r, 3, drop ? 12 : 11);
        ASSERT_NE(next, nullptr);
        EXPECT_EQ(titles(store.tasks(today)), (std::vector<QString>{"a", "Water the plants", "c"}));
        EXPECT_EQ(store.tasks(today)[1], next);
        EXPECT_EQ(next->note(), r->note());
        EXPECT_EQ(next->project(), r->project());
        EXPECT_EQ(next->repeatRule(), r->repeatRule());
        EXPECT_EQ(next->seriesId(), r->seriesId());
        EXPECT_FALSE(next->isDone() || next->isArchived());
    }
    EXPECT_TRUE(r->isDone());
    EXPECT_EQ(taskCount(), 5u);
}

TEST_F(RepeatingTasksTest, theNextDueDay_isTodayForALateClose_andAStartOfDayAcrossSummerTime)
{
    store.setDueDate(localTime(2026, 3, 6), *r);
    store.setReminder(QTime(8, 30), *r);
    store.close(*r);
    TaskItem *next = occurrenceOn(*r, 3, 10);
    ASSERT_NE(next, nullptr) << "three days late: due today, once";
    EXPECT_EQ(taskCount(), 4u);
    EXPECT_EQ(next->remindAt(), localTime(2026, 3, 10, 8, 30));

    // Europe/Berlin: 29 March 2026 has 23 hours.
    Clock::setNow(localTime(2026, 3, 28, 21));
    store.setDueDate(localTime(2026, 3, 28), *next);
    store.close(*next);
    for (const int day : {29, 30}) {
        Clock::setNow(localTime(2026, 3, day, 9));
        TaskItem *following = occurrenceOn(*r, 3, day);
        ASSERT_NE(following, nullptr) << day;
        EXPECT_EQ(following->dueDate(), localTime(2026, 3, day));
        EXPECT_EQ(following->remindAt(), localTime(2026, 3, day, 8, 30));
        store.close(*following);
    }
}

TEST_F(RepeatingTasksTest, reopeningOrUndoingTheClose_withdrawsTheUntouchedNextInTheSameStep)
{
    store.close(*r);
    endEventLoopTurn();
    store.reopen(*r);
    EXPECT_EQ(occurrenceOn(*r, 3, 11), nullptr);
    EXPECT_EQ(taskCount(), 3u);
    EXPECT_EQ(r->repeatRule(), QStringLiteral("FREQ=DAILY"));
    endEventLoopTurn();

    const auto before = titles(store.tasks(today));
    store.close(*r);
    endEventLoopTurn();
    ASSERT_NE(occurrenceOn(*r, 3, 11), nullptr) << "closed again: the same next occurrence";
    ASSERT_TRUE(store.undo());
    EXPECT_FALSE(r->isDone());
    EXPECT_EQ(occurrenceOn(*r, 3, 11), nullptr);
    EXPECT_EQ(titles(store.tasks(today)), before);
    ASSERT_TRUE(store.redo());
    EXPECT_NE(occurrenceOn(*r, 3, 11), nullptr);
    EXPECT_EQ(taskCount(), 4u);
}

TEST_F(RepeatingTasksTest, reopeningWhenTheNextWasEdited_keepsItAndMakesTheReopenedOneAOneOff)
{
    store.close(*r);
    TaskItem *next = occurrenceOn(*r, 3, 11);
    store.setNote(QStringLiteral("and the palm"), *next);
    store.reopen(*r);
    EXPECT_EQ(occurrenceOn(*next, 3, 11), next);
    EXPECT_EQ(next->note(), QStringLiteral("and the palm"));
    EXPECT_FALSE(r->isDone());
    EXPECT_TRUE(r->repeatRule().isEmpty());
    EXPECT_TRUE(r->seriesId().isNull());
}

TEST_F(RepeatingTasksTest, puttingBackFromTheArchive_leavesTheNextOccurrenceAlone)
{
    store.close(*r);
    store.archive(*r);
    TaskItem *next = occurrenceOn(*r, 3, 11);
    const Instant stamped = next->updatedAt();
    Clock::advance(minutes(1));
    store.unarchive(*r, nullptr);
    EXPECT_FALSE(r->isDone() || r->isArchived());
    EXPECT_EQ(next->updatedAt(), stamped);
    EXPECT_EQ(next->repeatRule(), QStringLiteral("FREQ=DAILY"));
    EXPECT_EQ(taskCount(), 4u);
}

TEST_F(RepeatingTasksTest, countUntilStopAndRulesOutsideTheSubset_endTheSeries)
{
    const std::pair<const char *, int> rules[]
        = {{"FREQ=DAILY;COUNT=2", 1}, {"FREQ=DAILY;UNTIL=20260311", 1}, {"FREQ=DAILY;BYHOUR=9", 0}};
    for (const auto &[rule, nextOnes] : rules) {
        SCOPED_TRACE(rule);
        TaskItem *task = addTask(QString::fromUtf8(rule), today, 9);
        store.setRepeat(QString::fromUtf8(rule), false, *task);
        const std::size_t before = taskCount();
        for (int step = 0; step < 3 && task; ++step) {
            store.close(*task);
            task = occurrenceOn(*task, 3, 11);
        }
        EXPECT_EQ(taskCount(), before + std::size_t(nextOnes));
        EXPECT_EQ(task, nullptr);
    }

    store.setRepeat(QString(), false, *r);
    EXPECT_TRUE(r->repeatRule().isEmpty());
    const std::size_t before = taskCount();
    store.close(*r);
    EXPECT_EQ(taskCount(), before);
}

} // namespace
} // namespace furrow::test
