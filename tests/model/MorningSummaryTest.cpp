#include "model/MorningSummary.h"
#include "StoreFixture.h"

namespace furrow {
namespace {

using test::localTime;

class MorningSummaryTest : public test::StoreFixture
{
};

TEST_F(MorningSummaryTest, countsOpenTasksDueTodayAndOverdue_inThePagesOrder)
{
    EXPECT_FALSE(MorningSummary::of(store, Clock::now())) << "nothing due";

    Section *home = addSection(QStringLiteral("Now"), addPage(QStringLiteral("Home"), 0));
    Page *work = addPage(QStringLiteral("Work"), 1);
    Section *office = addSection(QStringLiteral("Now"), work);
    const Instant today = localTime(2026, 3, 10);
    addTask(QStringLiteral("Undated"), home, 0);
    store.setDueDate(localTime(2026, 3, 17), *addTask(QStringLiteral("Next week"), home, 1));
    TaskItem *closed = addTask(QStringLiteral("Closed"), home, 2);
    store.setDueDate(today, *closed);
    store.close(*closed);
    EXPECT_FALSE(MorningSummary::of(store, Clock::now())) << "only open tasks count";

    int order = 0;
    for (const char *title : {"Call the bank", "Send the invoice", "Book the room", "File taxes"})
        store.setDueDate(today, *addTask(QString::fromLatin1(title), office, order++));
    store.setDueDate(localTime(2026, 3, 8), *addTask(QStringLiteral("Water plants"), home, 9));

    const auto summary = MorningSummary::of(store, Clock::now());
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->title(), QStringLiteral("4 due today · 1 overdue"));
    EXPECT_EQ(summary->body(), QStringLiteral("Water plants\nCall the bank\nSend the invoice"));
    EXPECT_EQ(summary->firstPageId, home->page()->id());
}

} // namespace
} // namespace furrow
