#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace furrow {

// The dated copies kept in the "backups" folder beside the backup file: on the first replacement
// of the backup file on a day, the file as it was (planner-YYYY-MM-DD.json) and a copy of the
// store taken with SQLite's online backup (furrow-YYYY-MM-DD.store), the newest kKept of each.
// A copy is named after the day it is made on, the one date that fits both: the backup file is
// the planner as the day began, the store copy is the store at that moment.
namespace DatedCopies {

constexpr int kKept = 14;

QString folderFor(const QString &backupPath);

// Makes the day's copies unless the day has its copy already, then drops the oldest beyond
// kKept. Runs on the backup writer's thread, before it replaces the backup file; the store is
// read through a read-only connection of its own. An empty `storePath` keeps no store copy.
// A failure is logged and leaves the backup file to be written as usual.
void keepBeforeReplacing(const QString &backupPath, const QString &storePath, QDate day);

// Copies the store at `storePath` to `target` with SQLite's online backup, through a temporary
// file renamed into place. Throws PersistenceError.
void copyStore(const QString &storePath, const QString &target);

// The store copies in `folder`, the newest first.
QStringList storeCopiesNewestFirst(const QString &folder);
// The copies of the backup file in `folder`, the newest first.
QStringList backupCopiesNewestFirst(const QString &folder);

} // namespace DatedCopies
} // namespace furrow
