#include "shell/reminders/MorningSummaryService.h"
#include "shell/reminders/DesktopNotifier.h"

#include "LocalTime.h"
#include "NotificationServerFixture.h"
#include "model/ModelContext.h"
#include "model/MorningSummaryPreference.h"
#include "model/PlannerStore.h"

#include <QSignalSpy>
#include <QTest>

namespace furrow {
namespace {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using test::localTime;

// The morning summary turned on for 8:30, over a planner with a task due on 10 March 2026.
class MorningSummaryServiceTest : public test::NotificationServerFixture
{
protected:
    void SetUp() override
    {
        NotificationServerFixture::SetUp();
        if (IsSkipped())
            return;
        MorningSummaryPreference::setOn(true);
        MorningSummaryPreference::setTime(QTime(8, 30));
        MorningSummaryPreference::setLastSent({});
        Clock::setNow(localTime(2026, 3, 9, 12));
        PlannerStore store(context);
        page = store.createPage(u"Work"_s, u"briefcase"_s);
        TaskItem *task
            = store.capture(u"Call the bank"_s, store.createSection(u"Today"_s, *page), nullptr);
        store.setDueDate(localTime(2026, 3, 10), *task);
    }
    void TearDown() override
    {
        MorningSummaryPreference::setOn(false);
        NotificationServerFixture::TearDown();
    }
    // Checks at `now`, then lets the server's answers arrive.
    void checkAt(Instant now)
    {
        Clock::setNow(now);
        service.check();
        QTest::qWait(100);
    }

    ModelContext context;
    Page *page = nullptr;
    DesktopNotifier notifier{clientBus()};
    MorningSummaryService service{context, notifier};
};

TEST_F(MorningSummaryServiceTest, sentOnceAtItsTime_onlyOnADayWithSomethingDue)
{
    checkAt(localTime(2026, 3, 9, 9)); // nothing due on the 9th
    checkAt(localTime(2026, 3, 10, 8, 29));
    EXPECT_TRUE(server->shown.empty());
    checkAt(localTime(2026, 3, 10, 8, 30));
    ASSERT_EQ(server->shown.size(), 1u);
    EXPECT_EQ(server->shown[0].title, u"1 due today · 0 overdue"_s);
    EXPECT_EQ(server->shown[0].body, u"Call the bank"_s);
    checkAt(localTime(2026, 3, 10, 8, 31));
    EXPECT_EQ(server->shown.size(), 1u) << "once a day";

    QSignalSpy opened(&service, &MorningSummaryService::openPageRequested);
    server->invoke(1, DesktopNotifier::kDefaultAction);
    ASSERT_TRUE(opened.wait(2000));
    EXPECT_EQ(opened.front().front().toUuid(), page->id());
}

TEST_F(MorningSummaryServiceTest, missedWhileAsleep_isSentLaterThatDayOnly_andNeverWhileOff)
{
    checkAt(localTime(2026, 3, 11, 7)); // overdue since yesterday; 8:30 passes asleep
    checkAt(localTime(2026, 3, 11, 23));
    ASSERT_EQ(server->shown.size(), 1u);
    EXPECT_EQ(server->shown[0].title, u"0 due today · 1 overdue"_s);

    MorningSummaryPreference::setOn(false);
    checkAt(localTime(2026, 3, 12, 9));
    EXPECT_EQ(server->shown.size(), 1u);
}

} // namespace
} // namespace furrow
