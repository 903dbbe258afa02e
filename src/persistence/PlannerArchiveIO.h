#pragma once

#include "PlannerArchive.h"

#include "model/PlannerStore.h"

#include <QString>

namespace furrow {

// Export and import of the planner as a backup document, without any window: the caller picks
// the file and shows the alert text of a failure.
namespace PlannerArchiveIO {

struct Outcome
{
    bool succeeded = true;
    QString alertText; // the warning to show when the command failed
};

// Reads and decodes the whole file; throws PersistenceError with the error's description.
PlannerArchive readFrom(const QString &path);

// Writes a snapshot of the store to `path` (folders created, file replaced atomically).
// Fails with "Не удалось выгрузить: " and the error's description.
Outcome exportTo(const PlannerStore &store, const QString &path);
// Reads and decodes the whole file, then merges it into the store. Fails with "Не удалось
// прочитать файл: " and the description, leaving the store untouched, and with "Не удалось
// сохранить загруженное: " when the merged records cannot be saved (they stay pending).
Outcome importFrom(PlannerStore &store, const QString &path);
// The two halves of importFrom(), for a caller that shows what the import will do in between:
// reading fails with "Не удалось прочитать файл: ", merging with "Не удалось сохранить
// загруженное: ".
Outcome readForImport(const QString &path, PlannerArchive &archive);
Outcome restoreFrom(PlannerStore &store, const PlannerArchive &archive);

} // namespace PlannerArchiveIO
} // namespace furrow
