#pragma once

class QWidget;

namespace furrow {

class ModelContext;

// The Export…, Import… and Show Backup File commands: file dialogs limited to JSON, and a
// warning alert with the failure's text when a file cannot be written or read.
namespace BackupCommands {

void exportWithDialog(ModelContext &context, QWidget *parent);
void importWithDialog(ModelContext &context, QWidget *parent);
// Schedules a fresh backup write and shows the backup file in the file manager at once.
void revealBackup(ModelContext &context);

} // namespace BackupCommands
} // namespace furrow
