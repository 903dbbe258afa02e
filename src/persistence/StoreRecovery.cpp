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

// What stood in the way of restoring the backup file: it could not be read, or the store could
// not save what was restored (those rows stay pending).
struct Problem
{
    QString reading;
    QString saving;
};

Outcome withKind(Outcome::Kind kind, qsizetype restoredTasks = 0)
{
    Outcome outcome;
    outcome.kind = kind;
    outcome.restoredTasks = restoredTasks;
    return outcome;
}

Problem restore(ModelContext &context, const QString &backupPath)
{
    PlannerArchive archive;
    try {
        archive = PlannerArchiveIO::readFrom(backupPath);
    } catch (const PersistenceError &error) {
        return {error.description(), {}};
    }
    PlannerStore store(context);
    if (const ModelContext::SaveResult saved = PlannerSnapshot::restore(store, archive); !saved.ok)
        return {{}, saved.error};
    return {};
}

Outcome unfinished(const QString &reason)
{
    logLine(QStringLiteral("восстановление не завершено (%1); оно продолжится при следующем "
                           "запуске, резервный файл не перезаписывается")
                .arg(reason));
    Outcome outcome = withKind(Outcome::Kind::Unfinished);
    outcome.reason = reason;
    return outcome;
}

bool holdsRecords(const ModelContext &context)
{
    return !context.rows<TaskItem>().empty() || !context.rows<Project>().empty()
           || !context.rows<Page>().empty() || !context.rows<Section>().empty()
           || !context.rows<DayPlan>().empty();
}

Outcome setBackupAside(const QString &backupPath, const QString &suffix, const QString &why)
{
    const QString target = backupPath + suffix;
    QFile file(backupPath);
    if (!file.rename(target)) {
        logLine(QStringLiteral("резервный файл не восстановлен (%1) и не отодвинут (%2); "
                               "до перезапуска он не перезаписывается")
                    .arg(why, file.errorString()));
        return withKind(Outcome::Kind::BackupStuck);
    }
    logLine(
        QStringLiteral("резервный файл не восстановлен (%1). Он отодвинут в %2").arg(why, target));
    Outcome outcome = withKind(Outcome::Kind::BackupSetAside);
    outcome.backupAside = target;
    return outcome;
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
        *outcome = withKind(Outcome::Kind::Restored, count);
        outcome->storeCopy = copy;
        return true;
    }
    return false;
}

Outcome recoverFromScratch(PlannerContainer &container, const QString &backupPath)
{
    Outcome fromCopy;
    if (restoreStoreCopy(container, backupPath, &fromCopy))
        return fromCopy;
    if (!QFileInfo::exists(backupPath))
        return withKind(Outcome::Kind::NothingToRestore);
    ModelContext &context = container.context();
    const Problem problem = restore(context, backupPath);
    if (!problem.saving.isEmpty())
        return unfinished(problem.saving);
    if (!problem.reading.isEmpty())
        return setBackupAside(backupPath, container.asideSuffix(), problem.reading);
    const auto count = qsizetype(context.rows<TaskItem>().size());
    logLine(QStringLiteral("хранилище восстановлено из резервного файла (%1 задач)").arg(count));
    return withKind(Outcome::Kind::Restored, count);
}

} // namespace

Outcome recoverAfterSetAside(PlannerContainer &container, const QString &backupPath)
{
    const bool resuming = container.opening() == PlannerContainer::Opening::RecoveryUnfinished;
    if (container.opening() == PlannerContainer::Opening::AsItWas)
        return {};
    Outcome outcome;
    // Rows in the clean store can only have come from the recovery's own save: it got that far
    // before it was cut short, and a store copy must not replace them.
    if (resuming && holdsRecords(container.context())) {
        const auto count = qsizetype(container.context().rows<TaskItem>().size());
        logLine(QStringLiteral("восстановление хранилища завершено (%1 задач)").arg(count));
        outcome = withKind(Outcome::Kind::Restored, count);
    } else {
        if (resuming)
            logLine(QStringLiteral("незавершённое восстановление хранилища продолжается"));
        outcome = recoverFromScratch(container, backupPath);
    }
    outcome.resumed = resuming;
    if (outcome.kind != Outcome::Kind::Unfinished)
        container.finishRecovery();
    return outcome;
}

} // namespace furrow::StoreRecovery
