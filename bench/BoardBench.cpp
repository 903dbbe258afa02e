// What a page of 300 open tasks costs the main thread: showing it, following one change,
// painting one scroll step, moving the pointer from row to row and opening a title editor. The
// baseline is painting an empty window of the same size in the same run; one frame at 60 Hz is 16.7
// ms.

#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "views/board/PageView.h"
#include "views/board/TaskRow.h"
#include "views/menus/MenuController.h"

#include <QApplication>
#include <QEnterEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

namespace furrow {
namespace {

constexpr QSize kWindow(980, 760);
constexpr int kShownTasks = 300;
constexpr int kOtherTasks = 9700;

// 10 000 tasks over 20 pages; the shown page holds 300 open tasks in three sections, a few
// with notes, due dates and projects.
struct Planner
{
    Planner()
    {
        PlannerStore store(context);
        for (int p = 0; p < 20; ++p) {
            Page *page
                = store.createPage(QStringLiteral("Page %1").arg(p), QStringLiteral("house"));
            for (int s = 0; s < 3; ++s)
                sections.push_back(store.createSection(QStringLiteral("Lane %1").arg(s), *page));
        }
        Project *project = store.createProject(QStringLiteral("Design"));
        for (int i = 0; i < kShownTasks + kOtherTasks; ++i) {
            Section *section = i < kShownTasks ? sections[std::size_t(i % 3)]
                                               : sections[3 + std::size_t(i) % 57];
            auto task = std::make_shared<TaskItem>(
                QStringLiteral("Task number %1 with a title of ordinary length").arg(i), section, i,
                i % 4 == 0 ? project : nullptr);
            if (i % 5 == 0)
                task->setNote(
                    QStringLiteral("A note with a [link](https://example.com/%1)").arg(i));
            if (i % 7 == 0)
                task->setDueDate(Clock::now());
            context.insert(task);
        }
        context.save();
        shownPage = sections.front()->page();
    }

    ModelContext context;
    std::vector<Section *> sections;
    Page *shownPage = nullptr;
};

// A window showing the planner's first page, laid out and painted once.
struct Board
{
    explicit Board(Planner &planner)
    {
        window.resize(kWindow);
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        menus = new MenuController(&window);
        view = new PageView(planner.context, *menus, &window);
        layout->addWidget(view);
        view->setPage(planner.shownPage->id());
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.grab());
    }

    QWidget window;
    MenuController *menus = nullptr;
    PageView *view = nullptr;
};

void BM_Baseline_PaintEmptyWindow(benchmark::State &state)
{
    QWidget window;
    window.resize(kWindow);
    window.setAutoFillBackground(true);
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state)
        benchmark::DoNotOptimize(window.grab());
}

void BM_ShowPageOf300Tasks(benchmark::State &state)
{
    Planner planner;
    for (auto _ : state) {
        Board board(planner);
        benchmark::DoNotOptimize(board.view);
    }
}

void BM_FollowOneTitleChange(benchmark::State &state)
{
    Planner planner;
    Board board(planner);
    PlannerStore store(planner.context);
    TaskItem *task = store.tasks(planner.sections[1]).front();
    int round = 0;
    for (auto _ : state) {
        store.applyInlineEdit(QStringLiteral("Renamed %1").arg(++round), *task);
        QCoreApplication::processEvents(); // the change signal and the refresh
        benchmark::DoNotOptimize(board.window.grab());
    }
}

void BM_PaintOneScrollStep(benchmark::State &state)
{
    Planner planner;
    Board board(planner);
    QScrollBar *bar = board.view->scrollArea()->verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        bar->setValue((++step * 40) % std::max(1, bar->maximum()));
        benchmark::DoNotOptimize(board.view->scrollArea()->viewport()->grab());
    }
}

void BM_HoverFromRowToRow(benchmark::State &state)
{
    Planner planner;
    Board board(planner);
    const auto tasks = PlannerStore(planner.context).tasks(planner.sections[0]);
    TaskRow *rows[] = {board.view->row(tasks[2]->id()), board.view->row(tasks[3]->id())};
    int turn = 0;
    for (auto _ : state) {
        TaskRow *from = rows[turn % 2];
        TaskRow *to = rows[++turn % 2];
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(from, &leave);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(to, &enter);
        benchmark::DoNotOptimize(board.view->scrollArea()->viewport()->grab());
    }
}

void BM_OpenTitleEditor(benchmark::State &state)
{
    Planner planner;
    Board board(planner);
    TaskRow *row
        = board.view->row(PlannerStore(planner.context).tasks(planner.sections[0])[5]->id());
    for (auto _ : state) {
        row->beginEdit();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(board.window.grab());
        state.PauseTiming();
        row->setFocus();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_Baseline_PaintEmptyWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowPageOf300Tasks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FollowOneTitleChange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintOneScrollStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoverFromRowToRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTitleEditor)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace furrow
