#include "StoreFixture.h"

#include "model/Calendar.h"

namespace furrow::test {
namespace {

using std::chrono::hours;

using RecordsTest = StoreFixture;

TEST_F(RecordsTest, idText_isUpperCaseWithoutBraces)
{
    const QUuid id(QStringLiteral("{6f1c2d3e-4a5b-4c6d-8e9f-a0b1c2d3e4f5}"));
    EXPECT_EQ(idText(id), QStringLiteral("6F1C2D3E-4A5B-4C6D-8E9F-A0B1C2D3E4F5"));
}

TEST_F(RecordsTest, isOverdue_onlyForOpenTasksDueBeforeToday)
{
    TaskItem task;
    EXPECT_FALSE(task.isOverdue()) << "no due date";
    task.setDueDate(localTime(2026, 3, 10));
    EXPECT_FALSE(task.isOverdue()) << "due today";
    task.setDueDate(localTime(2026, 3, 9));
    EXPECT_TRUE(task.isOverdue()) << "due yesterday";
    task.setDone(true);
    EXPECT_FALSE(task.isOverdue()) << "done";
}

TEST_F(RecordsTest, calendar_addsWholeDaysAcrossDaylightSavingChange_keepingSubMilliseconds)
{
    // Europe/Berlin moves to summer time on 29 March 2026: that day has 23 hours.
    const Instant before = localTime(2026, 3, 28, 12);
    EXPECT_EQ(Calendar::addingDays(before, 2), localTime(2026, 3, 30, 12));
    EXPECT_EQ(*Calendar::addingDays(before, 2) - before, hours(47));
    const Calendar::Day day = Calendar::dayOf(localTime(2026, 3, 29, 12));
    EXPECT_EQ(day.end - day.start, hours(23));

    const Instant precise = localTime(2026, 3, 1, 9) + std::chrono::microseconds(1500);
    EXPECT_EQ(*Calendar::addingDays(precise, -1),
              localTime(2026, 2, 28, 9) + std::chrono::microseconds(1500));
}

} // namespace
} // namespace furrow::test
