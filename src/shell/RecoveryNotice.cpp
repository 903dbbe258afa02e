#include "RecoveryNotice.h"

namespace furrow::RecoveryNotice {

namespace {

QString outcomeText(const StoreRecovery::Outcome &recovery, const QString &folder)
{
    using Kind = StoreRecovery::Outcome::Kind;
    const QString emptyStart
        = QStringLiteral("Furrow could not open its store and started with an empty planner. ");
    switch (recovery.kind) {
    case Kind::NotNeeded:
        return {};
    case Kind::Restored:
        return QStringLiteral(
            "Furrow could not open its store and restored your planner from the backup file.");
    case Kind::NothingToRestore:
        return emptyStart + QStringLiteral("The old store was kept in %1.").arg(folder);
    case Kind::BackupSetAside:
        return emptyStart
               + QStringLiteral("The backup file could not be restored; it and the old store "
                                "were kept in %1.")
                     .arg(folder);
    case Kind::BackupStuck:
        return emptyStart
               + QStringLiteral("The backup file in %1 could not be restored and will not be "
                                "rewritten until Furrow starts again.")
                     .arg(folder);
    case Kind::Unfinished:
        return QStringLiteral("The store was damaged and set aside, and your planner could not "
                              "be saved into a new one. The backup file and the old store in %1 "
                              "are kept; the restore is tried again at the next start.")
            .arg(folder);
    }
    return {};
}

} // namespace

QString text(const StoreRecovery::Outcome &recovery, const QString &folder)
{
    const QString text = outcomeText(recovery, folder);
    if (text.isEmpty() || !recovery.resumed)
        return text;
    return QStringLiteral("An earlier start was interrupted while it restored your planner; it "
                          "was finished now. ")
           + text;
}

} // namespace furrow::RecoveryNotice
