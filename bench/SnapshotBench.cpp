// Cost of the backup path after a save: the snapshot taken on the main thread and the encoding
// done by the backup writer's worker. The baseline is allTasks(), the cheapest whole-store
// query, over the same store.

#include "persistence/PlannerSnapshot.h"

#include <benchmark/benchmark.h>

#include <map>

using namespace furrow;

namespace {

// A planner of `taskCount` tasks spread over 4 pages of 5 sections and 12 projects, with
// notes, due dates and some done and archived tasks.
PlannerStore &plannerOf(int taskCount)
{
    static std::map<int, std::unique_ptr<ModelContext>> contexts;
    auto &context = contexts[taskCount];
    if (!context) {
        context = std::make_unique<ModelContext>();
        std::vector<Section *> sections;
        for (int p = 0; p < 4; ++p) {
            Page *page = context->insert(std::make_shared<Page>(QStringLiteral("Page %1").arg(p),
                                                                QStringLiteral("house"), p));
            for (int s = 0; s < 5; ++s)
                sections.push_back(context->insert(
                    std::make_shared<Section>(QStringLiteral("Section %1").arg(s), page, s)));
        }
        std::vector<Project *> projects;
        for (int i = 0; i < 12; ++i)
            projects.push_back(context->insert(std::make_shared<Project>(
                QStringLiteral("Project %1").arg(i), Project::paletteHex(i), i)));
        const Instant now = Clock::now();
        for (int i = 0; i < taskCount; ++i) {
            TaskItem *task = context->insert(std::make_shared<TaskItem>(
                QStringLiteral("Task number %1 with a title of usual length").arg(i),
                sections[size_t(i) % sections.size()], i,
                i % 3 ? projects[size_t(i) % 12] : nullptr));
            task->setNote(
                QStringLiteral("A note of a sentence or two, as people write them. %1").arg(i));
            if (i % 4 == 0)
                task->setDueDate(now + std::chrono::hours(24 * (i % 30)));
            if (i % 5 == 0) {
                task->setDone(true);
                task->setDoneAt(now);
            }
            if (i % 10 == 0)
                task->setArchivedAt(now);
        }
        for (int d = 0; d < 365; ++d)
            context->insert(std::make_shared<DayPlan>(now - std::chrono::hours(24 * d), now));
        context->save();
    }
    static std::map<int, std::unique_ptr<PlannerStore>> stores;
    auto &store = stores[taskCount];
    if (!store)
        store = std::make_unique<PlannerStore>(*context);
    return *store;
}

void BM_AllTasksBaseline(benchmark::State &state)
{
    const PlannerStore &store = plannerOf(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(store.allTasks());
}

void BM_SnapshotOnMainThread(benchmark::State &state)
{
    const PlannerStore &store = plannerOf(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(PlannerSnapshot::snapshot(store));
}

void BM_EncodeOnWorker(benchmark::State &state)
{
    const PlannerArchive archive = PlannerSnapshot::snapshot(plannerOf(int(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(archive.encode());
}

BENCHMARK(BM_AllTasksBaseline)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotOnMainThread)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeOnWorker)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace
