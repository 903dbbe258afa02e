// Main-thread cost of the commonest store operations, each followed by its save, on planners of
// growing size. The baseline is one pass over every task (fetching them all), measured at the
// same size in the same run.

#include "model/PlannerStore.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace furrow {
namespace {

constexpr int kSectionsPerPage = 5;
constexpr int kPages = 20;

// A planner of `taskCount` open tasks spread over 20 pages of 5 sections, with an undo history
// installed as in the application.
struct Planner
{
    explicit Planner(int taskCount)
    {
        context.setUndoHistory(&history);
        for (int p = 0; p < kPages; ++p) {
            Page *page = context.insert(std::make_shared<Page>(QStringLiteral("Page %1").arg(p),
                                                               QStringLiteral("house"), p));
            for (int s = 0; s < kSectionsPerPage; ++s)
                sections.push_back(context.insert(
                    std::make_shared<Section>(QStringLiteral("Lane %1").arg(s), page, s)));
        }
        for (int i = 0; i < 3; ++i)
            context.insert(std::make_shared<Project>(QStringLiteral("Project %1").arg(i),
                                                     Project::paletteHex(i), i));
        for (int i = 0; i < taskCount; ++i) {
            Section *section = sections[std::size_t(i) % sections.size()];
            context.insert(std::make_shared<TaskItem>(QStringLiteral("Task number %1").arg(i),
                                                      section, i, nullptr));
        }
        context.save();
    }

    // One event-loop turn, as between two user events: closes the undo step.
    static void endTurn() { QCoreApplication::processEvents(); }

    UndoHistory history;
    ModelContext context;
    PlannerStore store{context};
    std::vector<Section *> sections;
};

void BM_Baseline_FetchAllTasks(benchmark::State &state)
{
    Planner planner(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(planner.context.fetchAll<TaskItem>());
}

void BM_CaptureAndSave(benchmark::State &state)
{
    Planner planner(int(state.range(0)));
    Section *section = planner.sections.front();
    for (auto _ : state) {
        planner.store.capture(QStringLiteral("Call the plumber #project 1"), section, nullptr);
        Planner::endTurn();
    }
}

void BM_CloseAndSave(benchmark::State &state)
{
    Planner planner(int(state.range(0)));
    std::vector<TaskItem *> open = planner.context.fetchAll<TaskItem>();
    std::size_t next = 0;
    for (auto _ : state) {
        if (next == open.size()) {
            state.PauseTiming();
            for (TaskItem *task : open)
                planner.store.reopen(*task);
            next = 0;
            state.ResumeTiming();
        }
        planner.store.close(*open[next++]);
        Planner::endTurn();
    }
}

void BM_MoveAndSave(benchmark::State &state)
{
    Planner planner(int(state.range(0)));
    std::vector<TaskItem *> tasks = planner.context.fetchAll<TaskItem>();
    std::size_t next = 0;
    for (auto _ : state) {
        TaskItem *task = tasks[next++ % tasks.size()];
        Section *target = planner.sections[next % planner.sections.size()];
        planner.store.move(*task, target, 0);
        Planner::endTurn();
    }
}

void sizes(benchmark::internal::Benchmark *benchmark)
{
    benchmark->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_Baseline_FetchAllTasks)->Apply(sizes);
BENCHMARK(BM_CaptureAndSave)->Apply(sizes);
BENCHMARK(BM_CloseAndSave)->Apply(sizes);
BENCHMARK(BM_MoveAndSave)->Apply(sizes);

} // namespace
} // namespace furrow
