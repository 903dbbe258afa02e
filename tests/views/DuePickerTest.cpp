#include "views/pickers/DuePicker.h"
#include "QtPrinters.h"
#include "Rendering.h"
#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "views/menus/MenuController.h"
#include "views/pickers/DayCell.h"
#include "views/pickers/MonthCalendar.h"
#include "views/theme/Theme.h"
#include "views/widgets/PillButton.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace furrow;

namespace {

struct Shape
{
    int lead = 0, inMonth = 0, trail = 0;
    bool operator==(const Shape &) const = default;
};

Shape shapeOf(const std::vector<MonthCalendar::Cell> &cells)
{
    Shape shape;
    for (const auto &cell : cells) {
        if (cell.inMonth)
            ++shape.inMonth;
        else if (shape.inMonth == 0)
            ++shape.lead;
        else
            ++shape.trail;
    }
    return shape;
}

} // namespace

TEST(MonthCalendar, februaryOfANonLeapYearStartingOnMonday_hasNoLeadingDays)
{
    const auto cells = MonthCalendar::cells(QDate(2021, 2, 17));
    ASSERT_EQ(cells.size(), 42u);
    EXPECT_EQ(shapeOf(cells), (Shape{0, 28, 14}));
    EXPECT_EQ(cells.front().date, QDate(2021, 2, 1));
    EXPECT_EQ(cells.back().date, QDate(2021, 3, 14));
}

TEST(MonthCalendar, thirtyOneDayMonthStartingOnSunday_hasSixLeadingDays)
{
    const auto cells = MonthCalendar::cells(QDate(2021, 8, 1));
    ASSERT_EQ(cells.size(), 42u);
    EXPECT_EQ(shapeOf(cells), (Shape{6, 31, 5}));
    EXPECT_EQ(cells.front().date, QDate(2021, 7, 26));
    for (std::size_t i = 1; i < cells.size(); ++i)
        EXPECT_EQ(cells[i - 1].date.addDays(1), cells[i].date);
}

TEST(MonthCalendar, namesAreEnglishAndWeeksStartOnMondayWhateverTheLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(MonthCalendar::title(QDate(2021, 3, 9)), QStringLiteral("March 2021"));
    EXPECT_EQ(MonthCalendar::weekdaySymbols(),
              QStringList({"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"}));
    QLocale::setDefault(before);
}

namespace {

Instant berlin(int year, int month, int day, int hour = 12)
{
    return instantFromDateTime(QDateTime(QDate(year, month, day), QTime(hour, 0)));
}

QDate localDate(Instant instant)
{
    return toLocalDateTime(instant).date();
}

// A planner in memory with one task, on 10 August 2021 at noon.
class DuePickerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Clock::setNow(berlin(2021, 8, 10));
        PlannerStore store(context);
        task = store.capture(QStringLiteral("Call the plumber"), nullptr, nullptr);
        ASSERT_NE(task, nullptr);
    }
    void TearDown() override { Clock::useSystemTime(); }

    PillButton *pill(DuePicker &picker, const QString &title)
    {
        for (PillButton *candidate : picker.findChildren<PillButton *>()) {
            if (candidate->text() == title)
                return candidate;
        }
        return nullptr;
    }

    DayCell *cell(DuePicker &picker, QDate date)
    {
        for (DayCell *candidate : picker.calendar()->dayCells()) {
            if (candidate->date() == date)
                return candidate;
        }
        return nullptr;
    }

    ModelContext context;
    TaskItem *task = nullptr;
};

} // namespace

TEST_F(DuePickerTest, quickChoices_setTheDayAndDismiss)
{
    const std::pair<const char *, QDate> choices[] = {{"Today", QDate(2021, 8, 10)},
                                                      {"Tomorrow", QDate(2021, 8, 11)},
                                                      {"Next week", QDate(2021, 8, 17)}};
    for (const auto &[title, day] : choices) {
        DuePicker picker(context, *task);
        QSignalSpy dismissed(&picker, &DuePicker::dismissRequested);
        picker.show();
        QTest::mouseClick(pill(picker, QString::fromLatin1(title)), Qt::LeftButton);
        ASSERT_TRUE(task->dueDate());
        EXPECT_EQ(localDate(*task->dueDate()), day) << title;
        EXPECT_EQ(toLocalDateTime(*task->dueDate()).time(), QTime(0, 0)); // start of the day
        EXPECT_EQ(dismissed.size(), 1);
    }
}

TEST_F(DuePickerTest, calendarOpensOnTheCurrentMonth_andMarksTheDueDayOnceSteppedTo)
{
    PlannerStore(context).setDueDate(berlin(2021, 9, 20), *task);
    DuePicker picker(context, *task);
    picker.show();
    EXPECT_EQ(picker.calendar()->titleText(), QStringLiteral("August 2021"));
    EXPECT_TRUE(cell(picker, QDate(2021, 8, 10))->isToday());
    EXPECT_EQ(cell(picker, QDate(2021, 8, 10))->textColor(), Theme::clay);
    EXPECT_EQ(cell(picker, QDate(2021, 9, 20)), nullptr);
    picker.calendar()->stepMonth(1);
    EXPECT_EQ(picker.calendar()->titleText(), QStringLiteral("September 2021"));
    EXPECT_TRUE(cell(picker, QDate(2021, 9, 20))->isSelected());
    EXPECT_EQ(cell(picker, QDate(2021, 9, 20))->textColor(), Theme::pine);
}

TEST_F(DuePickerTest, pickingADay_setsItAndDismisses)
{
    DuePicker picker(context, *task);
    QSignalSpy dismissed(&picker, &DuePicker::dismissRequested);
    picker.show();
    QTest::mouseClick(cell(picker, QDate(2021, 8, 27)), Qt::LeftButton);
    ASSERT_TRUE(task->dueDate());
    EXPECT_EQ(localDate(*task->dueDate()), QDate(2021, 8, 27));
    EXPECT_EQ(dismissed.size(), 1);
}

TEST_F(DuePickerTest, clearTheDate_isOfferedOnlyForADatedTask)
{
    {
        DuePicker undated(context, *task);
        EXPECT_EQ(pill(undated, QStringLiteral("Clear the date")), nullptr);
    }
    PlannerStore(context).setDueDate(berlin(2021, 8, 12), *task);
    DuePicker dated(context, *task);
    dated.show();
    QTest::mouseClick(pill(dated, QStringLiteral("Clear the date")), Qt::LeftButton);
    EXPECT_FALSE(task->dueDate());
}

TEST_F(DuePickerTest, choiceForATaskDeletedMeanwhile_onlyDismisses)
{
    DuePicker picker(context, *task);
    QSignalSpy dismissed(&picker, &DuePicker::dismissRequested);
    task->setDeletedAt(Clock::now());
    picker.show();
    QTest::mouseClick(pill(picker, QStringLiteral("Today")), Qt::LeftButton);
    EXPECT_FALSE(task->dueDate());
    EXPECT_EQ(dismissed.size(), 1);
}

// Not a check: leaves renderings/due-picker.png for people to review.
TEST_F(DuePickerTest, rendersThePicker)
{
    PlannerStore(context).setDueDate(berlin(2021, 8, 19), *task);
    QWidget window;
    window.resize(400, 500);
    window.setAutoFillBackground(true);
    MenuController menus(&window);
    window.show();
    menus.show(330, QRect(340, 12, 24, 24), new DuePicker(context, *task));
    saveRendering(&window, QStringLiteral("due-picker"));
}
