// Importing a backup of 10 000 tasks while the planner shows a page: each step that runs on the
// main thread in one go (counting the preview, merging and saving, the board following the
// change) is an event-loop stall; reading and decoding the file runs on a worker, and the longest
// gap between the main thread's timer ticks meanwhile is its stall. The iteration time is the
// longest of them; the baseline is painting an empty window of the same size in the same run.

#include "EmptyWindowBaseline.h"
#include "ImportedBackup.h"
#include "model/PlannerStore.h"
#include "persistence/PlannerArchiveIO.h"
#include "persistence/PlannerContainer.h"
#include "persistence/PlannerSnapshot.h"
#include "shell/BackgroundWork.h"
#include "views/board/PageView.h"
#include "views/menus/MenuController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

namespace furrow {
namespace {

constexpr QSize kWindow(980, 760);

QString writeBackup(const QTemporaryDir &folder, int count)
{
    const PlannerArchive archive = importedBackup(count);
    const QString path = folder.filePath(QStringLiteral("backup.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(archive.encode()) < 0)
        return {};
    return path;
}

// The longest time the main thread went without serving a 1 ms timer while `work` ran.
double longestGapWhile(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start();
    work();
    longest = std::max(longest, clock.nsecsElapsed() - last);
    return double(longest) / 1e6;
}

void BM_Baseline_PaintEmptyWindow(benchmark::State &state)
{
    paintEmptyWindow(state, kWindow);
}

void BM_ImportBackupWhileShowingThePage(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString backup = writeBackup(folder, int(state.range(0)));
    double longest[4] = {};
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto container
            = PlannerContainer::open(folder.filePath(QStringLiteral("store-%1").arg(++round)));
        PlannerStore store(container->context());
        Page *page = store.ensureStarterPage();
        QWidget window;
        window.resize(kWindow);
        auto *layout = new QVBoxLayout(&window);
        auto *menus = new MenuController(&window);
        auto *view = new PageView(container->context(), *menus, &window);
        layout->addWidget(view);
        view->setPage(page->id());
        window.show();
        QCoreApplication::processEvents();
        state.ResumeTiming();

        QElapsedTimer clock;
        double steps[4];
        PlannerArchive archive;
        steps[0] = longestGapWhile([&] {
            BackgroundWork::run([&] { PlannerArchiveIO::readForImport(backup, archive); });
        });
        clock.start();
        benchmark::DoNotOptimize(PlannerSnapshot::preview(store, archive));
        steps[1] = double(clock.nsecsElapsed()) / 1e6;
        clock.restart();
        PlannerArchiveIO::restoreFrom(store, archive);
        steps[2] = double(clock.nsecsElapsed()) / 1e6;
        clock.restart();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.grab());
        steps[3] = double(clock.nsecsElapsed()) / 1e6;
        for (int i = 0; i < 4; ++i)
            longest[i] = std::max(longest[i], steps[i]);
        state.SetIterationTime(*std::max_element(steps, steps + 4) / 1000.0);
    }
    state.counters["read_ms"] = longest[0];
    state.counters["preview_ms"] = longest[1];
    state.counters["merge_save_ms"] = longest[2];
    state.counters["board_ms"] = longest[3];
}

BENCHMARK(BM_Baseline_PaintEmptyWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportBackupWhileShowingThePage)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace
} // namespace furrow
