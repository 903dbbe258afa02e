#include "QuitGuard.h"

#include "model/Log.h"
#include "model/ModelContext.h"
#include "model/PlannerStore.h"
#include "persistence/EmergencyDocument.h"
#include "persistence/PersistenceError.h"

#include <QMessageBox>
#include <QPushButton>

#include <optional>

namespace furrow::QuitGuard {

namespace {

// Saves once more; true when nothing is left unsaved.
bool saved(ModelContext &context)
{
    return !context.hasChanges() || PlannerStore(context).save().ok;
}

// Writes the emergency document; its path, or none when the folder does not take it.
std::optional<QString> writeEmergency(ModelContext &context, const QString &backupPath)
{
    try {
        const QString path = EmergencyDocument::write(PlannerStore(context), backupPath);
        logLine(QStringLiteral("несохранённый планер записан в ") + path);
        return path;
    } catch (const PersistenceError &error) {
        logLine(QStringLiteral("несохранённый планер не удалось записать — ")
                + error.description());
        return std::nullopt;
    }
}

QString question(const QString &failure, const std::optional<QString> &emergency)
{
    const QString copy
        = emergency ? QStringLiteral("A copy of the planner was written to %1.").arg(*emergency)
                    : QStringLiteral("No copy of the planner could be written either.");
    return QStringLiteral("Changes are not being saved: %1\n\n%2\n\nQuit anyway and lose the "
                          "changes that are not saved?")
        .arg(failure, copy);
}

} // namespace

bool mayQuit(ModelContext &context, const QString &backupPath, QWidget *parent)
{
    if (saved(context))
        return true;
    const std::optional<QString> emergency = writeEmergency(context, backupPath);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Furrow"),
                    question(context.saveFailure(), emergency), QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("unsavedChangesQuestion"));
    QPushButton *quit = box.addButton(QStringLiteral("Quit anyway"), QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.exec();
    return box.clickedButton() == quit;
}

void saveForLastTime(ModelContext &context, const QString &backupPath)
{
    if (!saved(context))
        writeEmergency(context, backupPath);
}

} // namespace furrow::QuitGuard
