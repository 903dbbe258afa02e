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
// reader sees either the old or the new file, never a part. Missing folders are created private.
// Throws PersistenceError and leaves any previous file as it was.
void write(const PlannerArchive &archive, const QString &path);
// The same for bytes already encoded. A new file is readable by its owner only (0600); a
// replaced regular file keeps its permissions. A symbolic link at `path` is replaced by a new
// file, and the file it pointed to is left alone.
void writeBytes(const QByteArray &bytes, const QString &path);

// The whole file; throws PersistenceError when it cannot be read.
QByteArray readBytes(const QString &path);

// Creates the folder (and its parents) when missing; a folder it creates is private to the
// owner (0700) whatever the umask. Answers whether the folder exists afterwards.
bool makePrivateFolder(const QString &folder);

// Moves a file from the older location to the current one when only the older one exists;
// a failed move is logged and leaves both places alone.
void migrateLegacyBackup();

} // namespace PlannerFile
} // namespace furrow
