// What the planner's other long lists cost the main thread. The archive window over 10 000
// archived tasks (7 000 done over 300 days, 3 000 dropped within the last 30): opening it, one
// scroll step, following one change elsewhere. The sidebar over 200 pages holding 10 000 open
// tasks: building it, following a page rename and a closed task, one scroll step. The baselines
// paint an empty window of the same size in the same run; one frame at 60 Hz is 16.7 ms.

#include "EmptyWindowBaseline.h"
#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "views/archive/ArchiveView.h"
#include "views/archive/ArchiveWindow.h"
#include "views/menus/MenuController.h"
#include "views/sidebar/Sidebar.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>

#include <benchmark/benchmark.h>

namespace furrow {
namespace {

using namespace Qt::StringLiterals;

constexpr QSize kArchiveWindow(560, 520);
constexpr QSize kSidebarWindow(Sidebar::kWidth, 900);
constexpr int kDone = 7000;
constexpr int kDropped = 3000;
constexpr int kPages = 200;
constexpr int kOpenTasks = 10000;

constexpr qint64 kDayMs = 24 * 3600 * 1000;

Instant daysAgo(double days)
{
    return Clock::now() - std::chrono::milliseconds(qint64(days * double(kDayMs)));
}

// One page with a section and a few open tasks, and the archive.
struct ArchivePlanner
{
    ArchivePlanner()
    {
        PlannerStore store(context);
        Page *page = store.createPage(QStringLiteral("Work"), QStringLiteral("house"));
        section = store.createSection(QStringLiteral("Now"), *page);
        Project *project = store.createProject(QStringLiteral("Design"));
        for (int i = 0; i < 20; ++i)
            store.capture(QStringLiteral("Open task %1").arg(i), section, nullptr);
        for (int i = 0; i < kDone + kDropped; ++i) {
            auto task = std::make_shared<TaskItem>(
                QStringLiteral("Archived task %1 with a title of ordinary length").arg(i), section,
                i, i % 4 == 0 ? project : nullptr);
            if (i < kDone) {
                const Instant closed = daysAgo(300.0 * i / kDone + 0.01);
                task->setDone(true);
                task->setDoneAt(closed);
                task->setArchivedAt(closed);
            } else {
                task->setArchivedAt(daysAgo(29.0 * (i - kDone) / kDropped + 0.01));
            }
            context.insert(task);
        }
        context.save();
    }

    ModelContext context;
    Section *section = nullptr;
};

QScrollBar *scrollBarOf(QWidget &widget)
{
    return widget.findChild<QScrollArea *>()->verticalScrollBar();
}

void BM_Baseline_PaintEmptyArchiveSizedWindow(benchmark::State &state)
{
    paintEmptyWindow(state, kArchiveWindow);
}

void BM_Baseline_PaintEmptySidebarSizedWindow(benchmark::State &state)
{
    paintEmptyWindow(state, kSidebarWindow);
}

void BM_ArchiveOpen(benchmark::State &state)
{
    ArchivePlanner planner;
    for (auto _ : state) {
        ArchiveWindow window(planner.context);
        window.resize(kArchiveWindow);
        window.present();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.grab());
    }
}

void BM_ArchiveScrollStep(benchmark::State &state, ArchiveView::Tab tab)
{
    ArchivePlanner planner;
    ArchiveWindow window(planner.context);
    window.resize(kArchiveWindow);
    window.present();
    window.findChild<ArchiveView *>(u"archiveView"_s)->setTab(tab);
    QCoreApplication::processEvents();
    QScrollBar *bar = scrollBarOf(window);
    QWidget *viewport = window.findChild<QScrollArea *>()->viewport();
    int step = 0;
    for (auto _ : state) {
        bar->setValue((++step * 40) % std::max(1, bar->maximum()));
        benchmark::DoNotOptimize(viewport->grab());
    }
}

void BM_ArchiveFollowATaskClosedOnTheBoard(benchmark::State &state)
{
    ArchivePlanner planner;
    ArchiveWindow window(planner.context);
    window.resize(kArchiveWindow);
    window.present();
    QCoreApplication::processEvents();
    PlannerStore store(planner.context);
    TaskItem *task = store.tasks(planner.section).front();
    for (auto _ : state) {
        if (task->isDone())
            store.reopen(*task);
        else
            store.close(*task);
        QCoreApplication::processEvents(); // the change signal and the refresh
        benchmark::DoNotOptimize(window.grab());
    }
}

// 200 pages of two sections each, with 10 000 open tasks spread over them.
struct SidebarPlanner
{
    SidebarPlanner()
    {
        PlannerStore store(context);
        for (int p = 0; p < kPages; ++p) {
            Page *page = store.createPage(QStringLiteral("Page number %1").arg(p),
                                          QStringLiteral("folder"));
            pages.push_back(page);
            for (int s = 0; s < 2; ++s)
                sections.push_back(store.createSection(QStringLiteral("Lane %1").arg(s), *page));
        }
        for (int i = 0; i < kOpenTasks; ++i) {
            context.insert(std::make_shared<TaskItem>(QStringLiteral("Task %1").arg(i),
                                                      sections[std::size_t(i) % sections.size()], i,
                                                      nullptr));
        }
        context.save();
    }

    ModelContext context;
    std::vector<Page *> pages;
    std::vector<Section *> sections;
};

// A window of the sidebar's size holding it, laid out and painted once.
struct SidebarWindow
{
    explicit SidebarWindow(SidebarPlanner &planner)
    {
        window.resize(kSidebarWindow);
        menus = new MenuController(&window);
        sidebar = new Sidebar(planner.context, *menus, &window);
        sidebar->setGeometry(QRect(QPoint(), kSidebarWindow));
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.grab());
    }

    QWidget window;
    MenuController *menus = nullptr;
    Sidebar *sidebar = nullptr;
};

void BM_SidebarBuild(benchmark::State &state)
{
    SidebarPlanner planner;
    for (auto _ : state) {
        SidebarWindow shown(planner);
        benchmark::DoNotOptimize(shown.sidebar);
    }
}

void BM_SidebarFollowAPageRename(benchmark::State &state)
{
    SidebarPlanner planner;
    SidebarWindow shown(planner);
    PlannerStore store(planner.context);
    int round = 0;
    for (auto _ : state) {
        store.rename(*planner.pages[3], QStringLiteral("Renamed %1").arg(++round));
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(shown.window.grab());
    }
}

void BM_SidebarFollowATaskClosed(benchmark::State &state)
{
    SidebarPlanner planner;
    SidebarWindow shown(planner);
    PlannerStore store(planner.context);
    TaskItem *task = store.tasks(planner.sections[4]).front();
    for (auto _ : state) {
        if (task->isDone())
            store.reopen(*task);
        else
            store.close(*task);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(shown.window.grab());
    }
}

void BM_SidebarScrollStep(benchmark::State &state)
{
    SidebarPlanner planner;
    SidebarWindow shown(planner);
    QScrollBar *bar = scrollBarOf(*shown.sidebar);
    QWidget *viewport = shown.sidebar->findChild<QScrollArea *>()->viewport();
    int step = 0;
    for (auto _ : state) {
        bar->setValue((++step * 40) % std::max(1, bar->maximum()));
        benchmark::DoNotOptimize(viewport->grab());
    }
}

BENCHMARK(BM_Baseline_PaintEmptyArchiveSizedWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArchiveOpen)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ArchiveScrollStep, done, ArchiveView::Tab::Done)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ArchiveScrollStep, dropped, ArchiveView::Tab::Dropped)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArchiveFollowATaskClosedOnTheBoard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_PaintEmptySidebarSizedWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SidebarBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SidebarFollowAPageRename)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SidebarFollowATaskClosed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SidebarScrollStep)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace furrow
