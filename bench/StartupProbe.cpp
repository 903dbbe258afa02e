// Started by the start-up benchmark: launches the planner on the store of $XDG_DATA_HOME (or, in
// "empty" mode, shows one empty window), prints "painted <resident kB>" when the window first
// paints, and quits.

#include "model/PlannerStore.h"
#include "persistence/PlannerContainer.h"
#include "shell/PlannerApplication.h"
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

// Reports the first paint of the watched window and ends the process's event loop.
class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_reported) {
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
    bool m_reported = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FirstPaint watcher;
    if (QCoreApplication::arguments().value(1) == QLatin1String("empty")) {
        QWidget window;
        window.resize(860, 900);
        window.installEventFilter(&watcher);
        window.show();
        return QApplication::exec();
    }
    FontLoader::registerBundledFonts();
    Theme::applyToApplication();
    const QString path = PlannerContainer::defaultStorePath();
    PlannerApplication planner(PlannerContainer::open(path), path);
    planner.start(QCoreApplication::arguments().contains(QStringLiteral("--seed-demo")), {});
    planner.mainWindow()->installEventFilter(&watcher);
    return QApplication::exec();
}
