#include "views/pickers/DuePicker.h"
#include "Rendering.h"
#include "ViewTestSupport.h"
#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "views/board/RowContent.h"
#include "views/pickers/DayCell.h"
#include "views/pickers/MonthCalendar.h"
#include "views/theme/Theme.h"
#include "views/widgets/PillButton.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTimeEdit>

using namespace furrow;

TEST(MonthCalendar, showsSixWeeksFromTheMondayOnOrBeforeTheFirst)
{
    // February 2021 starts on a Monday and has 28 days; August 2021 starts on a Sunday.
    const std::pair<QDate, QDate> months[]
        = {{QDate(2021, 2, 17), QDate(2021, 2, 1)}, {QDate(2021, 8, 1), QDate(2021, 7, 26)}};
    for (const auto &[day, firstCell] : months) {
        const auto cells = MonthCalendar::cells(day);
        ASSERT_EQ(cells.size(), 42u);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            EXPECT_EQ(cells[i].date, firstCell.addDays(qint64(i)));
            EXPECT_EQ(cells[i].inMonth, cells[i].date.month() == day.month()) << i;
        }
    }
}

TEST(MonthCalendar, namesAreEnglishAndWeeksStartOnMondayWhateverTheLocale)
{
    const GermanLocale german;
    EXPECT_EQ(MonthCalendar::title(QDate(2021, 3, 9)), QStringLiteral("March 2021"));
    EXPECT_EQ(MonthCalendar::weekdaySymbols(),
              QStringList({"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"}));
}

namespace {

// A planner in memory with one task, on 10 August 2021 at noon.
class DuePickerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Clock::setNow(localTime(2021, 8, 10, 12));
        task = PlannerStore(context).capture(QStringLiteral("Call the plumber"), nullptr, nullptr);
        ASSERT_NE(task, nullptr);
    }
    void TearDown() override { Clock::useSystemTime(); }

    static PillButton *pill(DuePicker &picker, const QString &title)
    {
        for (PillButton *candidate : picker.findChildren<PillButton *>()) {
            if (candidate->text() == title)
                return candidate;
        }
        return nullptr;
    }

    static DayCell *cell(DuePicker &picker, QDate date)
    {
        for (DayCell *candidate : picker.findChildren<DayCell *>()) {
            if (candidate->date() == date)
                return candidate;
        }
        return nullptr;
    }

    ModelContext context;
    TaskItem *task = nullptr;
};

} // namespace

TEST_F(DuePickerTest, quickChoicesAndCalendarDays_setTheStartOfThatDayAndDismiss)
{
    // No title: the day's cell in the calendar.
    const std::pair<QString, QDate> choices[] = {{QStringLiteral("Today"), QDate(2021, 8, 10)},
                                                 {QStringLiteral("Tomorrow"), QDate(2021, 8, 11)},
                                                 {QStringLiteral("Next week"), QDate(2021, 8, 17)},
                                                 {QString(), QDate(2021, 8, 27)}};
    for (const auto &[title, day] : choices) {
        DuePicker picker(context, *task);
        QSignalSpy dismissed(&picker, &DuePicker::dismissRequested);
        picker.show();
        QTest::mouseClick(title.isEmpty() ? static_cast<QWidget *>(cell(picker, day))
                                          : pill(picker, title),
                          Qt::LeftButton);
        ASSERT_TRUE(task->dueDate());
        EXPECT_EQ(toLocalDateTime(*task->dueDate()), day.startOfDay()) << qPrintable(title);
        EXPECT_EQ(dismissed.size(), 1);
    }
}

TEST_F(DuePickerTest, keyboardAlone_picksAQuickChoiceOrAnyDayOfTheGrid)
{
    {
        DuePicker picker(context, *task);
        picker.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&picker));
        pill(picker, QStringLiteral("Tomorrow"))->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        ASSERT_TRUE(task->dueDate());
        EXPECT_EQ(toLocalDateTime(*task->dueDate()), QDate(2021, 8, 11).startOfDay());
    }
    // Tab goes from the quick choices past the chevrons to the due day in the grid; the arrows
    // cross into September and back.
    DuePicker picker(context, *task);
    QSignalSpy dismissed(&picker, &DuePicker::dismissRequested);
    picker.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&picker));
    pill(picker, QStringLiteral("Today"))->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 6 && !qobject_cast<DayCell *>(QApplication::focusWidget()); ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), cell(picker, QDate(2021, 8, 11)));
    const std::pair<Qt::Key, QDate> steps[]
        = {{Qt::Key_Right, QDate(2021, 8, 12)},  {Qt::Key_Down, QDate(2021, 8, 19)},
           {Qt::Key_Down, QDate(2021, 8, 26)},   {Qt::Key_Down, QDate(2021, 9, 2)},
           {Qt::Key_Left, QDate(2021, 9, 1)},    {Qt::Key_Left, QDate(2021, 8, 31)},
           {Qt::Key_PageUp, QDate(2021, 7, 31)}, {Qt::Key_PageDown, QDate(2021, 8, 31)},
           {Qt::Key_Up, QDate(2021, 8, 24)}};
    for (const auto &[key, day] : steps) {
        QTest::keyClick(QApplication::focusWidget(), key);
        ASSERT_EQ(QApplication::focusWidget(), cell(picker, day)) << qPrintable(day.toString());
        EXPECT_EQ(picker.findChild<MonthCalendar *>(u"calendar"_s)->month().month(), day.month());
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(toLocalDateTime(*task->dueDate()), QDate(2021, 8, 24).startOfDay());
    EXPECT_EQ(dismissed.size(), 1);
}

TEST_F(DuePickerTest, calendarOpensOnTheCurrentMonth_andMarksTheDueDayOnceSteppedTo)
{
    PlannerStore(context).setDueDate(localTime(2021, 9, 20, 12), *task);
    DuePicker picker(context, *task);
    picker.show();
    EXPECT_EQ(picker.findChild<MonthCalendar *>(u"calendar"_s)->titleText(),
              QStringLiteral("August 2021"));
    EXPECT_TRUE(cell(picker, QDate(2021, 8, 10))->isToday());
    EXPECT_EQ(cell(picker, QDate(2021, 8, 10))->textColor(), Theme::clay);
    EXPECT_EQ(cell(picker, QDate(2021, 9, 20)), nullptr);
    picker.findChild<MonthCalendar *>(u"calendar"_s)->stepMonth(1);
    EXPECT_EQ(picker.findChild<MonthCalendar *>(u"calendar"_s)->titleText(),
              QStringLiteral("September 2021"));
    EXPECT_TRUE(cell(picker, QDate(2021, 9, 20))->isSelected());
    EXPECT_EQ(cell(picker, QDate(2021, 9, 20))->textColor(), Theme::pine);
}

TEST_F(DuePickerTest, clearTheDate_isOfferedOnlyForADatedTask)
{
    {
        DuePicker undated(context, *task);
        EXPECT_EQ(pill(undated, QStringLiteral("Clear the date")), nullptr);
    }
    PlannerStore(context).setDueDate(localTime(2021, 8, 12, 12), *task);
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
    PlannerStore(context).setDueDate(localTime(2021, 8, 19, 12), *task);
    QWidget window;
    window.resize(400, 500);
    window.setAutoFillBackground(true);
    MenuController menus(&window);
    window.show();
    menus.show(330, QRect(340, 12, 24, 24), new DuePicker(context, *task));
    saveRendering(&window, QStringLiteral("due-picker"));
}

TEST_F(DuePickerTest, remindMe_stepsByFiveMinutesFromTheKeyboard_andSetsOrClearsTheReminder)
{
    PlannerStore(context).setDueDate(localTime(2021, 8, 12, 12), *task);
    {
        DuePicker picker(context, *task);
        QSignalSpy dismissed(&picker, &DuePicker::dismissRequested);
        EXPECT_EQ(pill(picker, QStringLiteral("No reminder")), nullptr);
        picker.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&picker));
        auto *time = picker.findChild<QTimeEdit *>(u"reminderTime"_s);
        EXPECT_EQ(time->displayFormat(), time->locale().timeFormat(QLocale::ShortFormat));
        time->setFocus(Qt::TabFocusReason);
        time->setTime(QTime(9, 3));
        time->setCurrentSection(QDateTimeEdit::MinuteSection);
        const std::pair<Qt::Key, QTime> steps[] = {{Qt::Key_Up, QTime(9, 5)},
                                                   {Qt::Key_Up, QTime(9, 10)},
                                                   {Qt::Key_Down, QTime(9, 5)},
                                                   {Qt::Key_Down, QTime(9, 0)},
                                                   {Qt::Key_Down, QTime(8, 55)}};
        for (const auto &[key, expected] : steps) {
            QTest::keyClick(time, key);
            EXPECT_EQ(time->time(), expected);
        }
        QTest::keyClick(time, Qt::Key_Return);
        ASSERT_TRUE(task->remindAt());
        EXPECT_EQ(toLocalDateTime(*task->remindAt()), QDateTime(QDate(2021, 8, 12), QTime(8, 55)))
            << "on the due day";
        EXPECT_EQ(dismissed.size(), 1);
    }
    DuePicker picker(context, *task);
    picker.show();
    EXPECT_EQ(picker.findChild<QTimeEdit *>(u"reminderTime"_s)->time(), QTime(8, 55));
    QTest::mouseClick(pill(picker, QStringLiteral("No reminder")), Qt::LeftButton);
    EXPECT_FALSE(task->remindAt());
}

TEST_F(DuePickerTest, theRowShowsABell_onlyWhileAnOpenTasksReminderIsAhead)
{
    PlannerStore store(context);
    EXPECT_FALSE(RowContent::of(*task, Clock::now()).reminderPending);
    store.setReminder(QTime(15, 0), *task);
    EXPECT_TRUE(RowContent::of(*task, Clock::now()).reminderPending);
    EXPECT_FALSE(RowContent::of(*task, localTime(2021, 8, 10, 16)).reminderPending);
    store.close(*task);
    EXPECT_FALSE(RowContent::of(*task, Clock::now()).reminderPending);
}
