// Quick find at the size of years of use: 10 000 open tasks (half of them in one section) and
// 50 000 archived, a third with notes. Measures opening the palette, one keystroke to painted
// results (with the index and with the linear search it replaces), going to a task in the
// middle of the long section, the heap memory the index adds, the longest main-thread
// stall while it builds after start-up, and `furrow search` with no planner running. Floors in
// the same run: painting the main window without the palette (and an empty window of its
// size), `furrow --version`, and a command that only opens the store.

#include "EmptyWindowBaseline.h"
#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "model/VectorStore.h"
#include "model/find/FindIndex.h"
#include "persistence/PlannerContainer.h"
#include "views/find/FindPalette.h"
#include "views/main/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <malloc.h>
#include <random>

namespace furrow {
namespace {

constexpr QSize kWindowSize(860, 900);
const char *const kWords[]
    = {"call",   "bank",   "garden", "report", "review",  "café", "plan",  "dentist", "invoice",
       "school", "travel", "ticket", "repair", "bicycle", "read", "write", "budget",  "quarter"};

// Fills a context with the planner measured; the long section's tasks are "Long task N".
void fillPlanner(ModelContext &context)
{
    PlannerStore store(context);
    std::mt19937 random(7);
    const auto words = [&random](int count) {
        QStringList list;
        for (int i = 0; i < count; ++i)
            list << QString::fromUtf8(kWords[random() % std::size(kWords)]);
        return list.join(u' ');
    };
    Page *page = store.createPage(QStringLiteral("Work"), QStringLiteral("house"));
    Section *lane = store.createSection(QStringLiteral("Today"), *page);
    Section *longSection = store.createSection(QStringLiteral("Backlog"), *page);
    for (int i = 0; i < 60000; ++i) {
        const bool inLong = i < 5000;
        auto *task = context.insert(std::make_shared<TaskItem>(
            inLong ? QStringLiteral("Long task %1").arg(i) : words(2 + int(random() % 4)),
            inLong ? longSection : lane, i, nullptr));
        if (i % 3 == 0)
            task->setNote(words(12));
        if (i >= 10000) {
            task->setDone(i % 2 == 0);
            task->setArchivedAt(Clock::now());
        }
    }
    context.save();
}

struct Planner
{
    Planner() { fillPlanner(context); }
    ModelContext context;
    VectorStore goals;
};

Planner &planner()
{
    static Planner shared;
    return shared;
}

// Heap bytes in use: unlike the resident size, not hidden by memory freed earlier in the run.
double heapMegabytes()
{
    return double(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

void reportSpread(benchmark::State &state, std::vector<double> times)
{
    if (times.empty())
        return;
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2] * 1000;
    state.counters["p95_ms"] = times[std::min(times.size() - 1, times.size() * 95 / 100)] * 1000;
}

// The main window over the planner, with the palette searching the index (or linearly).
struct Shown
{
    explicit Shown(bool withIndex)
        : index(planner().context)
        , window(planner().context, planner().goals)
    {
        if (withIndex) {
            index.buildNow();
            window.setFindIndex(&index);
        }
        window.resize(kWindowSize);
        window.show();
        QCoreApplication::processEvents();
    }
    FindPalette &palette() { return *window.findChild<FindPalette *>(); }
    QLineEdit &field() { return *window.findChild<QLineEdit *>(QStringLiteral("findField")); }

    FindIndex index;
    MainWindow window;
};

void BM_EmptyWindowFloor(benchmark::State &state)
{
    paintEmptyWindow(state, kWindowSize);
}

// Painting the main window over the planner without the palette: the floor of the palette's
// measures.
void BM_MainWindowPaintFloor(benchmark::State &state)
{
    Shown shown(true);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        benchmark::DoNotOptimize(shown.window.grab());
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}

void BM_OpenPalette(benchmark::State &state)
{
    Shown shown(true);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        shown.palette().open();
        benchmark::DoNotOptimize(shown.window.grab());
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        shown.palette().dismiss();
    }
}

// Types queries a character at a time; each keystroke is timed to the painted window.
void keystrokes(benchmark::State &state, bool withIndex)
{
    Shown shown(withIndex);
    shown.palette().open();
    const QString queries[] = {"call bank", "garden rev", "dentist", "caf plan", "long task 25"};
    std::vector<double> times;
    size_t query = 0;
    qsizetype typed = 0;
    for (auto _ : state) {
        if (typed == queries[query].size()) {
            query = (query + 1) % std::size(queries);
            typed = 0;
        }
        QElapsedTimer clock;
        clock.start();
        shown.field().setText(queries[query].left(++typed));
        benchmark::DoNotOptimize(shown.window.grab());
        times.push_back(double(clock.nsecsElapsed()) / 1e9);
        state.SetIterationTime(times.back());
    }
    reportSpread(state, times);
}

void BM_KeystrokeWithIndex(benchmark::State &state)
{
    keystrokes(state, true);
}

void BM_KeystrokeLinearSearch(benchmark::State &state)
{
    keystrokes(state, false);
}

// Return on a task in the middle of the 5 000-task section, to its focused, painted row.
void BM_GoToTaskInTheMiddleOfALongSection(benchmark::State &state)
{
    Shown shown(true);
    int n = 2400;
    for (auto _ : state) {
        shown.palette().open();
        shown.field().setText(QStringLiteral("long task %1").arg(n++ % 200 + 2400));
        QElapsedTimer clock;
        clock.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&shown.field(), &press);
        benchmark::DoNotOptimize(shown.window.grab());
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (!QApplication::focusWidget() || QApplication::focusWidget() == &shown.field())
            state.SkipWithError("no row took the focus");
    }
}

void BM_IndexResidentMemory(benchmark::State &state)
{
    planner();
    for (auto _ : state) {
        const double before = heapMegabytes();
        FindIndex index(planner().context);
        index.buildNow();
        state.counters["index_MB"] = heapMegabytes() - before;
        state.counters["planner_MB"] = before;
    }
}

// Built in slices between events after start-up: the longest single event-loop turn.
void BM_IndexBuildLongestStall(benchmark::State &state)
{
    planner();
    for (auto _ : state) {
        FindIndex index(planner().context);
        index.startBuilding();
        double longest = 0;
        while (!index.isReady()) {
            QElapsedTimer clock;
            clock.start();
            QCoreApplication::processEvents();
            longest = std::max(longest, double(clock.nsecsElapsed()) / 1e9);
        }
        state.SetIterationTime(longest);
    }
}

// A private data folder holding the planner's store, for the command-line runs.
struct StoreHome
{
    StoreHome()
    {
        const QString storePath = folder.filePath(QStringLiteral("data/Furrow/furrow.store"));
        QDir().mkpath(QFileInfo(storePath).path());
        auto container = PlannerContainer::open(storePath);
        fillPlanner(container->context());
    }
    QTemporaryDir folder;
};

void runCommand(benchmark::State &state, const QStringList &arguments, int exitCode = 0)
{
    static StoreHome home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.folder.filePath("data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.folder.filePath("config"));
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(environment);
        QElapsedTimer clock;
        clock.start();
        process.start(QStringLiteral(FURROW_EXECUTABLE), arguments);
        if (!process.waitForFinished(60000) || process.exitCode() != exitCode) {
            state.SkipWithError("the command failed");
            return;
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}

void BM_CommandFloorVersion(benchmark::State &state)
{
    runCommand(state, {QStringLiteral("--version")});
}

// Opens the store and refuses the file at once: the cost of loading the planner.
void BM_CommandFloorOpenStore(benchmark::State &state)
{
    runCommand(state, {QStringLiteral("import"), QStringLiteral("/dev/null")}, 1);
}

void BM_CommandSearch(benchmark::State &state)
{
    runCommand(state, {QStringLiteral("search"), QStringLiteral("call ban")});
}

} // namespace

BENCHMARK(BM_IndexResidentMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EmptyWindowFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MainWindowPaintFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_OpenPalette)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_KeystrokeWithIndex)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_KeystrokeLinearSearch)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100);
BENCHMARK(BM_GoToTaskInTheMiddleOfALongSection)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK(BM_IndexBuildLongestStall)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CommandFloorVersion)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CommandFloorOpenStore)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CommandSearch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace furrow
