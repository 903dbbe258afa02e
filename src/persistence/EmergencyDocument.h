#pragma once

#include <QString>

namespace furrow {

class PlannerStore;

// The planner written as a backup document of its own when the store cannot save it: beside the
// backup file, named planner-unsaved-YYYY-MM-DD-HHMMSS.json after the local time.
namespace EmergencyDocument {

// Writes a snapshot of the store, changes not yet saved included, and answers the file's path.
// Throws PersistenceError when the folder does not take it.
QString write(const PlannerStore &store, const QString &backupPath);

} // namespace EmergencyDocument
} // namespace furrow
