#include "shell/reminders/ReminderService.h"
#include "shell/reminders/DesktopNotifier.h"

#include "LocalTime.h"
#include "NotificationServerFixture.h"
#include "model/Clock.h"
#include "model/ModelContext.h"
#include "model/PlannerStore.h"
#include "model/UserDefaults.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

// A private session bus with the fake server on it, a planner with one page and a task due
// today with a reminder at 9:00, and the service under test.
class ReminderServiceTest : public test::NotificationServerFixture
{
protected:
    void SetUp() override
    {
        NotificationServerFixture::SetUp();
        if (IsSkipped())
            return;
        UserDefaults::open()->remove(u"reminders.fired"_s);
        UserDefaults::open()->remove(u"reminders.snoozed"_s);

        Clock::setNow(test::localTime(2026, 3, 10, 8));
        Page *page = store.createPage(u"Work"_s, u"briefcase"_s);
        task = store.capture(u"Call the bank"_s, store.createSection(u"Today"_s, *page), nullptr);
        store.setReminder(QTime(9, 0), *task);
    }
    // Starts the service at `now` and waits for the server to have shown `count` notifications.
    void startAt(Instant now, std::size_t count)
    {
        Clock::setNow(now);
        service.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return server->shown.size() == count; }));
    }

    ModelContext context;
    PlannerStore store{context};
    TaskItem *task = nullptr;
    const Instant nine = test::localTime(2026, 3, 10, 9);
    DesktopNotifier notifier{clientBus()};
    ReminderService service{context, notifier};
};

TEST_F(ReminderServiceTest, dueReminder_isShownOnce_andDoneClosesTheTaskWithoutAWindow)
{
    startAt(nine + 2s, 1);
    const auto &shown = server->shown.front();
    EXPECT_EQ(shown.title, u"Call the bank"_s);
    EXPECT_EQ(shown.body, u"Work › Today · Today"_s);
    EXPECT_EQ(shown.actions, (QStringList{u"default"_s, u"Open"_s, u"done"_s, u"Done"_s,
                                          u"snooze"_s, u"Snooze 10 min"_s}));
    service.check();
    QTest::qWait(50);
    EXPECT_EQ(server->shown.size(), 1u) << "never twice";

    server->invoke(1, u"done"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return task->isDone(); }));
    EXPECT_FALSE(context.hasChanges()) << "saved";
    for (const QWidget *window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
}

TEST_F(ReminderServiceTest, missedReminder_saysSo_andSnoozeShowsItAgainTenMinutesLater)
{
    startAt(nine + 3h, 1);
    const QString missedAt = QLocale().toString(QTime(9, 0), QLocale::ShortFormat);
    EXPECT_EQ(server->shown.front().body, u"Work › Today · Today · missed at "_s + missedAt);

    server->invoke(1, u"snooze"_s);
    QTest::qWait(50);
    Clock::setNow(nine + 3h + 9min);
    service.check();
    QTest::qWait(50);
    EXPECT_EQ(server->shown.size(), 1u);
    Clock::setNow(nine + 3h + 10min);
    service.check();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->shown.size() == 2; }));
    EXPECT_EQ(server->shown.back().body, u"Work › Today · Today"_s);
    EXPECT_EQ(task->remindAt(), nine) << "a snooze is this computer's, not the task's";
}

TEST_F(ReminderServiceTest, clickOpensTheTask_andWithoutActionsTheBodySaysWhereToCloseIt)
{
    server->capabilities = {u"body"_s};
    QSignalSpy opened(&service, &ReminderService::openTaskRequested);
    Clock::setNow(nine - 1min);
    service.start();
    QTest::qWait(50); // the server's capabilities arrive
    Clock::setNow(nine);
    service.check();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->shown.size() == 1; }));
    EXPECT_EQ(server->shown.front().body, u"Work › Today · Today\nOpen Furrow to close it"_s);
    EXPECT_EQ(server->shown.front().actions, (QStringList{u"default"_s, u"Open"_s}));

    server->invoke(1, u"default"_s);
    ASSERT_TRUE(opened.wait(2000));
    EXPECT_EQ(opened.front().front().toUuid(), task->id());
}

TEST_F(ReminderServiceTest, closedOrClearedTasks_neverNotify)
{
    TaskItem *other = store.capture(u"Post the letter"_s, task->section(), nullptr);
    store.setReminder(QTime(9, 0), *other);
    store.close(*task);
    store.setReminder(std::nullopt, *other);
    Clock::setNow(nine + 1min);
    service.start();
    QTest::qWait(100);
    EXPECT_TRUE(server->shown.empty());
}

} // namespace
} // namespace furrow
