// Started by the start-up benchmark: launches the planner on the store of $XDG_DATA_HOME (or, in
// "empty" mode, shows one empty window; with "--quick-capture", the capture panel alone), prints
// "painted <resident kB>" when the window first paints (the panel: once its field also has the
// keyboard), and quits.

#include "TopLevelWindow.h"
#include "model/PlannerStore.h"
#include "persistence/PlannerContainer.h"
#include "shell/PlannerApplication.h"
#include "shell/capture/QuickCaptureController.h"
#include "views/main/MainWindow.h"
#include "views/theme/FontLoader.h"
#include "views/theme/Theme.h"

#include <QApplication>
#include <QFile>
#include <QPaintEvent>
#include <QTimer>

#include <cstdio>

using namespace furrow;

namespace {

qint64 residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Reports the first paint of the watched window, once the keyboard is in it when that is asked
// for, and ends the process's event loop. Installed on the application, it sees every event.
class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget *window, bool withKeyboard)
        : m_window(window)
        , m_withKeyboard(withKeyboard)
    {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched == m_window)
            m_painted = true;
        const QWidget *focus = QApplication::focusWidget();
        const bool ready = !m_withKeyboard || (focus && focus->window() == m_window);
        if (m_painted && ready && !m_reported) {
            m_reported = true;
            // Report after the paint has finished and reached the window.
            QTimer::singleShot(0, [] {
                std::printf("painted %lld\n", residentKilobytes());
                std::fflush(stdout);
                QApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_window;
    bool m_withKeyboard;
    bool m_painted = false;
    bool m_reported = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.value(1) == QLatin1String("empty")) {
        QWidget window;
        window.resize(860, 900);
        FirstPaint watcher(&window, false);
        app.installEventFilter(&watcher);
        window.show();
        return QApplication::exec();
    }
    FontLoader::registerBundledFonts();
    Theme::applyToApplication();
    const QString path = PlannerContainer::defaultStorePath();
    PlannerApplication planner(PlannerContainer::open(path), path);
    if (arguments.contains(QStringLiteral("--quick-capture"))) {
        planner.start(false, {}, PlannerApplication::Opening::QuickCapture);
        planner.quickCapture()->show();
        FirstPaint watcher(topLevelWindow(QStringLiteral("quickCapturePanel")), true);
        app.installEventFilter(&watcher);
        return QApplication::exec();
    }
    planner.start(arguments.contains(QStringLiteral("--seed-demo")), {});
    FirstPaint watcher(planner.mainWindow(), false);
    app.installEventFilter(&watcher);
    return QApplication::exec();
}
