#include "TestSupport.h"

#include "persistence/DemoSeed.h"

#include "model/Calendar.h"
#include "model/Clock.h"
#include "model/PlannerStore.h"

#include <gtest/gtest.h>

using namespace furrow;

namespace {

class DemoSeedTest : public testing::Test
{
protected:
    void SetUp() override { Clock::setNow(test::at("2025-03-12T10:00:00Z")); }
    void TearDown() override { Clock::useSystemTime(); }

    std::string seed(int tasksBefore)
    {
        for (int i = 0; i < tasksBefore; ++i)
            context.insert(std::make_shared<TaskItem>("Mine", nullptr, i, nullptr));
        context.insert(std::make_shared<Project>("Old", "#2563EB", 0));
        context.insert(std::make_shared<DayPlan>(test::at("2025-03-01T10:00:00Z"), std::nullopt));
        context.save();
        testing::internal::CaptureStdout();
        DemoSeed::run(context);
        return testing::internal::GetCapturedStdout();
    }

    ModelContext context;
    PlannerStore store{context};
};

} // namespace

TEST_F(DemoSeedTest, run_onAStoreWithTwoTasks_replacesItWithTheDemoPlanner)
{
    EXPECT_EQ(seed(2), "Furrow: демо-данные поставлены\n");

    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(context.rows<Project>().size(), 3u);
    EXPECT_EQ(context.rows<Page>().size(), 4u);
    EXPECT_EQ(context.rows<Section>().size(), 3u);
    EXPECT_EQ(context.rows<DayPlan>().size(), 1u); // kept
    ASSERT_EQ(context.rows<TaskItem>().size(), 10u);
    EXPECT_EQ(store.closedTodayCount(), 2);
    std::vector<TaskItem *> overdue;
    for (const auto &task : context.rows<TaskItem>()) {
        EXPECT_EQ(task->section()->page()->name(), "Work");
        if (task->isOverdue())
            overdue.push_back(task.get());
    }
    ASSERT_EQ(overdue.size(), 1u);
    EXPECT_EQ(overdue[0]->dueDate(), Calendar::addingDays(Clock::now(), -6));
    EXPECT_FALSE(context.rows<TaskItem>().front()->note().isEmpty());
}

TEST_F(DemoSeedTest, run_onAStoreWithThreeTasks_leavesItAlone)
{
    EXPECT_EQ(seed(3), "Furrow: база не пустая (3 задач) — демо-данные не ставятся\n");
    EXPECT_EQ(context.rows<TaskItem>().size(), 3u);
    EXPECT_TRUE(context.rows<Page>().empty());
}
