// Process start to the first painted main window, and the resident memory at that moment, for
// the planner with the demo data, with 10 000 tasks over 20 pages whose shown page holds 300 open
// tasks, and with 1 000, 10 000 and 50 000 tasks imported from a backup into a fresh store, which
// files them all in the starter page's first section. The floor is an empty Qt window started
// and painted the same way, in the same run.

#include "ImportedBackup.h"
#include "model/PlannerStore.h"
#include "persistence/PlannerContainer.h"
#include "persistence/PlannerSnapshot.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace furrow {
namespace {

// A private home for the probe: its own data, settings and runtime folders.
struct ProbeHome
{
    ProbeHome()
    {
        QDir(folder.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(folder.filePath(QStringLiteral("runtime")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                  | QFileDevice::ExeOwner);
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), folder.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"),
                           folder.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           folder.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           folder.filePath(QStringLiteral("runtime")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return environment;
    }

    QString storePath() const
    {
        return folder.filePath(QStringLiteral("data/Furrow/furrow.store"));
    }

    QTemporaryDir folder;
};

struct Launch
{
    double milliseconds = 0;
    qint64 residentKilobytes = 0;
};

std::optional<Launch> launch(const ProbeHome &home, const QStringList &arguments)
{
    QProcess probe;
    probe.setProcessEnvironment(home.environment());
    QElapsedTimer clock;
    clock.start();
    probe.start(QStringLiteral(FURROW_STARTUP_PROBE), arguments);
    // The planner's own log lines come first; the probe's line ends the wait.
    while (probe.waitForReadyRead(30000)) {
        while (probe.canReadLine()) {
            const QByteArray line = probe.readLine().trimmed();
            if (!line.startsWith("painted "))
                continue;
            const double elapsed = double(clock.nsecsElapsed()) / 1e6;
            probe.waitForFinished(30000);
            return Launch{elapsed, line.mid(8).toLongLong()};
        }
    }
    return std::nullopt;
}

void run(benchmark::State &state, const ProbeHome &home, const QStringList &arguments)
{
    qint64 resident = 0;
    for (auto _ : state) {
        const auto result = launch(home, arguments);
        if (!result) {
            state.SkipWithError("the probe did not paint");
            return;
        }
        state.SetIterationTime(result->milliseconds / 1000.0);
        resident = result->residentKilobytes;
    }
    state.counters["resident_MB"] = double(resident) / 1024.0;
}

// 10 000 tasks over 20 pages of 3 sections; the first page, shown at start, holds 300 open.
void fillLargeStore(const QString &storePath)
{
    auto container = PlannerContainer::open(storePath);
    ModelContext &context = container->context();
    PlannerStore store(context);
    std::vector<Section *> sections;
    for (int p = 0; p < 20; ++p) {
        Page *page = store.createPage(QStringLiteral("Page %1").arg(p), QStringLiteral("house"));
        for (int s = 0; s < 3; ++s)
            sections.push_back(store.createSection(QStringLiteral("Lane %1").arg(s), *page));
    }
    for (int i = 0; i < 10000; ++i) {
        Section *section
            = i < 300 ? sections[std::size_t(i % 3)] : sections[3 + std::size_t(i) % 57];
        auto *task = context.insert(std::make_shared<TaskItem>(
            QStringLiteral("Task number %1 with a title of ordinary length").arg(i), section, i,
            nullptr));
        if (i % 5 == 0)
            task->setNote(QStringLiteral("A note with a [link](https://example.com/%1)").arg(i));
    }
    context.save();
}

// A backup of `count` tasks restored into a fresh store.
void fillByImport(const QString &storePath, int count)
{
    auto container = PlannerContainer::open(storePath);
    PlannerStore store(container->context());
    PlannerSnapshot::restore(store, importedBackup(count));
}

void BM_EmptyWindowFloor(benchmark::State &state)
{
    ProbeHome home;
    run(state, home, {QStringLiteral("empty")});
}

void BM_PlannerWithDemoData(benchmark::State &state)
{
    ProbeHome home;
    if (!launch(home, {QStringLiteral("--seed-demo")})) {
        state.SkipWithError("seeding failed");
        return;
    }
    run(state, home, {});
}

void BM_PlannerWith10000Tasks(benchmark::State &state)
{
    ProbeHome home;
    QDir().mkpath(QFileInfo(home.storePath()).path());
    fillLargeStore(home.storePath());
    run(state, home, {});
}

void BM_PlannerWithImportedTasksInOneSection(benchmark::State &state)
{
    ProbeHome home;
    QDir().mkpath(QFileInfo(home.storePath()).path());
    fillByImport(home.storePath(), int(state.range(0)));
    run(state, home, {});
}

// `furrow --quick-capture` with no planner running: process start to the panel with the keyboard.
void BM_QuickCaptureLaunch(benchmark::State &state)
{
    ProbeHome home;
    run(state, home, {QStringLiteral("--quick-capture")});
}

BENCHMARK(BM_EmptyWindowFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_PlannerWithDemoData)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_PlannerWith10000Tasks)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_PlannerWithImportedTasksInOneSection)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_QuickCaptureLaunch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
} // namespace furrow
