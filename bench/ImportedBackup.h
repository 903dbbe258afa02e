#pragma once

#include "model/Clock.h"
#include "persistence/PlannerArchive.h"

namespace furrow {

// A backup document of `count` tasks, as someone moving over from another planner brings:
// ordinary titles, a fifth with notes, a tenth done. Restored, they all land in one section.
inline PlannerArchive importedBackup(int count)
{
    PlannerArchive archive;
    const Instant now = Clock::now();
    for (int i = 0; i < count; ++i) {
        PlannerArchive::TaskRecord task;
        task.id = QUuid::createUuid();
        task.title = QStringLiteral("Imported task %1 with a title of ordinary length").arg(i);
        task.order = i;
        if (i % 5 == 0)
            task.note = QStringLiteral("A note with a [link](https://example.com/%1)").arg(i);
        task.isDone = i % 10 == 0;
        if (task.isDone)
            task.doneAt = now;
        task.createdAt = now;
        task.updatedAt = now;
        archive.tasks.push_back(task);
    }
    return archive;
}

} // namespace furrow
