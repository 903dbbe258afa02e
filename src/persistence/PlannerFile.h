#pragma once

#include "PlannerArchive.h"

#include <QString>

namespace furrow {

// Where the backup file lives, how a document reaches the disk, and the move of a file left
// at the older location.
namespace PlannerFile {

// <data folder>/Furrow/planner.json, the data folder being GenericDataLocation
// (~/.local/share).
QString backupPath();
// The same file under the folder the planner used before, "Plotter".
QString legacyBackupPath();

// Encodes the document and replaces the file at `path` atomically: the bytes go to a temporary
// file in the same folder, are synced, and the temporary file is renamed over the target, so a
// reader sees either the old or the new file, never a part. Missing folders are created.
// Throws PersistenceError and leaves any previous file as it was.
void write(const PlannerArchive &archive, const QString &path);

// Moves a file from the older location to the current one when only the older one exists;
// a failed move is logged and leaves both places alone.
void migrateLegacyBackup();

} // namespace PlannerFile
} // namespace furrow
