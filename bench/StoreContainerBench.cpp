// The SQLite store: opening a large store, and saving one changed row as the store grows. The
// one-row save at 1 000 tasks is the baseline the larger stores are compared with.

#include "persistence/PlannerContainer.h"

#include "model/PlannerStore.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace furrow {
namespace {

// A store file of `taskCount` tasks over 100 sections, in a temporary folder.
struct StoreOnDisk
{
    explicit StoreOnDisk(int taskCount)
    {
        auto container = PlannerContainer::open(path());
        ModelContext &context = container->context();
        std::vector<Section *> sections;
        for (int p = 0; p < 20; ++p) {
            Page *page = context.insert(std::make_shared<Page>("Page", "house", p));
            for (int s = 0; s < 5; ++s)
                sections.push_back(context.insert(std::make_shared<Section>("Lane", page, s)));
        }
        for (int i = 0; i < taskCount; ++i) {
            auto *task = context.insert(
                std::make_shared<TaskItem>(QStringLiteral("Task number %1").arg(i),
                                           sections[std::size_t(i) % 100], i, nullptr));
            task->setNote(QStringLiteral("A short note for the task"));
        }
        context.save();
    }
    QString path() const { return folder.filePath(QStringLiteral("furrow.store")); }

    QTemporaryDir folder;
};

void BM_OpenStore(benchmark::State &state)
{
    StoreOnDisk disk(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(PlannerContainer::open(disk.path()));
}

void BM_SaveOneChangedRow(benchmark::State &state)
{
    StoreOnDisk disk(int(state.range(0)));
    auto container = PlannerContainer::open(disk.path());
    TaskItem *task = container->context().rows<TaskItem>().front().get();
    qint64 n = 0;
    for (auto _ : state) {
        task->setOrder(++n);
        if (!container->context().save().ok)
            state.SkipWithError("save failed");
    }
}

BENCHMARK(BM_OpenStore)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveOneChangedRow)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace furrow
