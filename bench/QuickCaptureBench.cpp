// From the hotkey's action (or `furrow --quick-capture` handed to the running planner) to the
// capture panel shown with the keyboard in its field, in a planner of 10 000 tasks and 12
// projects. The baseline is showing an empty frameless window until it has the keyboard, in the
// same run.

#include "TopLevelWindow.h"
#include "model/PlannerStore.h"
#include "shell/capture/QuickCaptureController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPaintEvent>

#include <benchmark/benchmark.h>

namespace furrow {
namespace {

// Notes the first paint of a window.
class PaintWatch : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
    bool painted = false;
};

// Runs the event loop until `window` is painted with `field` as the widget that takes its keys.
// Whether the desktop then gives the window the keyboard is the platform's part, the same for
// both windows measured.
void waitUntilReady(QWidget *window, QWidget *field, PaintWatch &watch)
{
    while (!(watch.painted && window->focusWidget() == field))
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

void BM_EmptyFramelessWindow(benchmark::State &state)
{
    for (auto _ : state) {
        QWidget window(nullptr, Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint);
        window.resize(560, 138);
        QLineEdit field(&window);
        PaintWatch watch;
        window.installEventFilter(&watch);
        QElapsedTimer clock;
        clock.start();
        window.show();
        window.activateWindow();
        field.setFocus();
        waitUntilReady(&window, &field, watch);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}

void BM_QuickCapturePanel(benchmark::State &state)
{
    ModelContext context;
    PlannerStore store(context);
    Page *page = store.createPage(QStringLiteral("Inbox"), QStringLiteral("tray"));
    Section *section = store.createSection(QStringLiteral("Today"), *page);
    for (int i = 0; i < 12; ++i)
        store.createProject(QStringLiteral("Project %1").arg(i));
    for (int i = 0; i < 10000; ++i)
        context.insert(
            std::make_shared<TaskItem>(QStringLiteral("Task %1").arg(i), section, i, nullptr));
    context.save();
    QuickCaptureController capture(context);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        capture.toggle();
        QWidget *panel = topLevelWindow(QStringLiteral("quickCapturePanel"));
        PaintWatch watch;
        panel->installEventFilter(&watch);
        waitUntilReady(panel, panel->findChild<QLineEdit *>(), watch);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        panel->removeEventFilter(&watch);
        capture.toggle();
        QApplication::processEvents();
    }
}

BENCHMARK(BM_EmptyFramelessWindow)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickCapturePanel)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace furrow
