// Saves tasks into a store in a tight loop until it is killed, printing "saved N" after each
// save that reached the disk. Used by the crash test; its arguments are the store, the backup
// file and the number of the first task.

#include "model/PlannerStore.h"
#include "persistence/ArchiveWriter.h"
#include "persistence/PlannerContainer.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

using namespace furrow;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    auto container = PlannerContainer::open(args[1]);
    ModelContext &context = container->context();
    ArchiveWriter writer(args[2], std::chrono::milliseconds(15));
    writer.attachTo(context);
    PlannerStore store(context);
    for (qint64 n = args[3].toLongLong();; ++n) {
        TaskItem *task = store.capture(QStringLiteral("task %1").arg(n), nullptr, nullptr);
        if (n % 3 == 0)
            store.close(*task);
        if (context.hasChanges())
            continue; // the save failed; the next one retries
        std::printf("saved %lld\n", n);
        std::fflush(stdout);
        // Pause now and then so that the backup writer's delay runs out and it writes.
        if (n % 40 == 0)
            QThread::msleep(20);
    }
}
