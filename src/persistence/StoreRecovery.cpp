#include "StoreRecovery.h"

#include "DatedCopies.h"
#include "PersistenceError.h"
#include "PlannerArchiveIO.h"
#include "PlannerContainer.h"
#include "PlannerSnapshot.h"

#include "model/Log.h"
#include "model/PlannerStore.h"

#include <QFile>
#include <QFileInfo>

namespace furrow::StoreRecovery {

namespace {

// Restores the document into the clean store; answers why it could not, or an empty text.
QString restore(ModelContext &context, const QString &backupPath)
{
    PlannerArchive archive;
    try {
        archive = PlannerArchiveIO::readFrom(backupPath);
    } catch (const PersistenceError &error) {
        return error.description();
    }
    PlannerStore store(context);
    PlannerSnapshot::restore(store, archive);
    // A failed save is logged by the store and leaves the restored rows unsaved.
    if (context.hasChanges())
        return QStringLiteral("хранилище не сохранилось");
    return {};
}

Outcome setBackupAside(const QString &backupPath, const QString &suffix, const QString &why)
{
    const QString target = backupPath + suffix;
    QFile file(backupPath);
    if (!file.rename(target)) {
        logLine(QStringLiteral("резервный файл не восстановлен (%1) и не отодвинут (%2); "
                               "до перезапуска он не перезаписывается")
                    .arg(why, file.errorString()));
        return {Outcome::Kind::BackupStuck, 0, {}, {}};
    }
    logLine(
        QStringLiteral("резервный файл не восстановлен (%1). Он отодвинут в %2").arg(why, target));
    return {Outcome::Kind::BackupSetAside, 0, target, {}};
}

// Puts the newest store copy that opens in place of the clean store; false when none does.
bool restoreStoreCopy(PlannerContainer &container, const QString &backupPath, Outcome *outcome)
{
    for (const QString &copy :
         DatedCopies::storeCopiesNewestFirst(DatedCopies::folderFor(backupPath))) {
        QString error;
        if (!container.replaceWithCopy(copy, &error)) {
            logLine(QStringLiteral("копия хранилища %1 не открылась (%2)").arg(copy, error));
            continue;
        }
        const auto count = qsizetype(container.context().rows<TaskItem>().size());
        logLine(
            QStringLiteral("хранилище восстановлено из копии %1 (%2 задач)").arg(copy).arg(count));
        *outcome = {Outcome::Kind::Restored, count, {}, copy};
        return true;
    }
    return false;
}

} // namespace

Outcome recoverAfterSetAside(PlannerContainer &container, const QString &backupPath)
{
    if (container.opening() == PlannerContainer::Opening::AsItWas)
        return {};
    Outcome fromCopy;
    if (restoreStoreCopy(container, backupPath, &fromCopy))
        return fromCopy;
    if (!QFileInfo::exists(backupPath))
        return {Outcome::Kind::NothingToRestore, 0, {}, {}};
    ModelContext &context = container.context();
    const QString problem = restore(context, backupPath);
    if (!problem.isEmpty())
        return setBackupAside(backupPath, container.asideSuffix(), problem);
    const auto count = qsizetype(context.rows<TaskItem>().size());
    logLine(QStringLiteral("хранилище восстановлено из резервного файла (%1 задач)").arg(count));
    return {Outcome::Kind::Restored, count, {}, {}};
}

} // namespace furrow::StoreRecovery
