#include "LogCapture.h"
#include "TestSupport.h"

#include "persistence/DemoSeed.h"

#include "model/PlannerStore.h"

#include <gtest/gtest.h>

using namespace furrow;

TEST(DemoSeed, run_leavesAStoreOfThreeTasksAlone_andReplacesOneOfTwoWithTheDemoPlanner)
{
    Clock::setNow(test::at("2025-03-12T10:00:00Z"));
    ModelContext context;
    for (int i = 0; i < 3; ++i)
        context.insert(std::make_shared<TaskItem>("Mine", nullptr, i, nullptr));
    context.insert(std::make_shared<Project>("Old", "#2563EB", 0));
    context.insert(std::make_shared<DayPlan>(test::at("2025-03-01T10:00:00Z"), std::nullopt));
    context.save();

    test::LogCapture log;
    DemoSeed::run(context);
    EXPECT_EQ(log.take(), "Furrow: база не пустая (3 задач) — демо-данные не ставятся\n");
    EXPECT_EQ(context.rows<TaskItem>().size(), 3u);
    EXPECT_TRUE(context.rows<Page>().empty());

    context.remove(*context.rows<TaskItem>().front());
    DemoSeed::run(context);
    EXPECT_EQ(log.take(), "Furrow: демо-данные поставлены\n");
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(context.rows<DayPlan>().size(), 1u); // kept
    EXPECT_EQ(context.rows<TaskItem>().size(), 10u);
    Clock::useSystemTime();
}
