#pragma once

#include <QString>

namespace furrow {

class PlannerContainer;

// Brings the planner back after its store had to be set aside: the newest dated store copy that
// opens takes the clean store's place (it keeps everything), else the backup file's planner is
// restored into the clean store, or, when that cannot be done, the backup file is set aside
// too, so that no write of the empty planner replaces the one copy of the user's data. A
// recovery whose restore could not be saved stays marked and is resumed at the next opening.
namespace StoreRecovery {

struct Outcome
{
    enum class Kind {
        NotNeeded,        // the store opened as it was
        Restored,         // a store copy, or the backup file's planner, is in the store, saved
        NothingToRestore, // there was no backup file
        BackupSetAside,   // the backup file could not be restored and was renamed
        BackupStuck,      // it could not be restored nor renamed: it must not be written over
        Unfinished,       // the restore could not be saved; it is resumed at the next start
    };

    Kind kind = Kind::NotNeeded;
    qsizetype restoredTasks = 0;
    QString backupAside;  // where the backup file was renamed to, for BackupSetAside
    QString storeCopy;    // the store copy restored, for Restored; empty for the backup file
    QString reason;       // why the restore could not be saved, for Unfinished
    bool resumed = false; // it finished a recovery that an earlier start left unfinished

    // Whether the backup writer may replace the backup file in this process.
    bool backupMayBeReplaced() const
    {
        return kind != Kind::BackupStuck && kind != Kind::Unfinished;
    }
};

// Does nothing for a store that opened as it was. Run it before the backup writer is attached
// to the container's context and before anything else saves. Logs what it did.
Outcome recoverAfterSetAside(PlannerContainer &container, const QString &backupPath);

} // namespace StoreRecovery
} // namespace furrow
