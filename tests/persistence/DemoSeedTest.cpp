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

    void addTasks(int count)
    {
        for (int i = 0; i < count; ++i)
            context.insert(std::make_shared<TaskItem>("Mine", nullptr, i, nullptr));
        context.save();
    }

    ModelContext context;
    PlannerStore store{context};
};

} // namespace

TEST_F(DemoSeedTest, run_onAStoreWithTwoTasks_replacesItWithTheDemoPlanner)
{
    addTasks(2);
    context.rows<TaskItem>().back()->setDeletedAt(Clock::now());
    context.insert(std::make_shared<Project>("Old", "#2563EB", 0));
    context.insert(std::make_shared<DayPlan>(test::at("2025-03-01T10:00:00Z"), std::nullopt));
    test::CapturedOutput output;

    DemoSeed::run(context);

    EXPECT_EQ(output.text(), "Furrow: демо-данные поставлены\n");
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(context.rows<Project>().size(), 3u);
    EXPECT_EQ(context.rows<Page>().size(), 4u);
    EXPECT_EQ(context.rows<Section>().size(), 3u);
    EXPECT_EQ(context.rows<DayPlan>().size(), 1u);
    ASSERT_EQ(context.rows<TaskItem>().size(), 10u);
    EXPECT_EQ(store.closedTodayCount(), 2);
    int overdue = 0;
    for (const auto &task : context.rows<TaskItem>()) {
        EXPECT_EQ(task->section()->page()->name(), "Work");
        if (task->isOverdue()) {
            ++overdue;
            EXPECT_EQ(*task->dueDate(), Calendar::addingDays(Clock::now(), -6));
        }
    }
    EXPECT_EQ(overdue, 1);
    const TaskItem &first = *context.rows<TaskItem>().front();
    EXPECT_EQ(first.project()->name(), "Design");
    EXPECT_FALSE(first.note().isEmpty());
}

TEST_F(DemoSeedTest, run_onAStoreWithThreeTasks_leavesItAlone)
{
    addTasks(3);
    test::CapturedOutput output;

    DemoSeed::run(context);

    EXPECT_EQ(output.text(), "Furrow: база не пустая (3 задач) — демо-данные не ставятся\n");
    EXPECT_EQ(context.rows<TaskItem>().size(), 3u);
    EXPECT_TRUE(context.rows<Page>().empty());
}
