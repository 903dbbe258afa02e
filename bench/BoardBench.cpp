// What a page costs the main thread: showing it, following one change, painting one scroll step,
// moving the pointer from row to row, closing a task by Space and opening a title editor, for a
// page of 300 open tasks in three sections and for 10 000 in one section (what a restored backup
// gives). The baseline is painting an empty window of the same size in the same run; one frame at
// 60 Hz is 16.7 ms.

#include "EmptyWindowBaseline.h"
#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "views/board/PageView.h"
#include "views/board/TaskRow.h"
#include "views/menus/MenuController.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

namespace furrow {
namespace {

using namespace Qt::StringLiterals;

constexpr QSize kWindow(980, 760);
constexpr int kOtherTasks = 9700;

// The shown page's tasks (300 in three sections, or 10 000 in one), a few with notes, due dates
// and projects, and 9 700 more over 19 other pages.
struct Planner
{
    explicit Planner(int shownTasks)
        : shownCount(shownTasks)
        , laneCount(shownTasks > 1000 ? 1 : 3)
    {
        PlannerStore store(context);
        for (int p = 0; p < 20; ++p) {
            Page *page
                = store.createPage(QStringLiteral("Page %1").arg(p), QStringLiteral("house"));
            for (int s = 0; s < 3; ++s)
                sections.push_back(store.createSection(QStringLiteral("Lane %1").arg(s), *page));
        }
        Project *project = store.createProject(QStringLiteral("Design"));
        for (int i = 0; i < shownCount + kOtherTasks; ++i) {
            Section *section = i < shownCount ? sections[std::size_t(i % laneCount)]
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

    const int shownCount;
    const int laneCount;
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
    paintEmptyWindow(state, kWindow);
}

void BM_ShowPage(benchmark::State &state)
{
    Planner planner(int(state.range(0)));
    for (auto _ : state) {
        Board board(planner);
        benchmark::DoNotOptimize(board.view);
    }
}

void BM_FollowOneTitleChange(benchmark::State &state)
{
    Planner planner(int(state.range(0)));
    Board board(planner);
    PlannerStore store(planner.context);
    TaskItem *task = store.tasks(planner.sections[0])[1];
    int round = 0;
    for (auto _ : state) {
        store.applyInlineEdit(QStringLiteral("Renamed %1").arg(++round), *task);
        QCoreApplication::processEvents(); // the change signal and the refresh
        benchmark::DoNotOptimize(board.window.grab());
    }
}

void BM_PaintOneScrollStep(benchmark::State &state)
{
    Planner planner(int(state.range(0)));
    Board board(planner);
    QScrollBar *bar = board.view->findChild<QScrollArea *>(u"pageScroll"_s)->verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        bar->setValue((++step * 40) % std::max(1, bar->maximum()));
        benchmark::DoNotOptimize(
            board.view->findChild<QScrollArea *>(u"pageScroll"_s)->viewport()->grab());
    }
}

void BM_HoverFromRowToRow(benchmark::State &state)
{
    Planner planner(int(state.range(0)));
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
        benchmark::DoNotOptimize(
            board.view->findChild<QScrollArea *>(u"pageScroll"_s)->viewport()->grab());
    }
}

void BM_OpenTitleEditor(benchmark::State &state)
{
    Planner planner(int(state.range(0)));
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

void BM_CloseBySpace(benchmark::State &state)
{
    Planner planner(int(state.range(0)));
    Board board(planner);
    PlannerStore store(planner.context);
    TaskItem *task = store.tasks(planner.sections[0])[3];
    for (auto _ : state) {
        TaskRow *row = board.view->row(task->id());
        row->setFocus();
        QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(row, &space);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(board.window.grab());
        state.PauseTiming();
        store.reopen(*task);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_Baseline_PaintEmptyWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowPage)->Arg(300)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FollowOneTitleChange)->Arg(300)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintOneScrollStep)->Arg(300)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoverFromRowToRow)->Arg(300)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseBySpace)->Arg(300)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTitleEditor)->Arg(300)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace furrow
