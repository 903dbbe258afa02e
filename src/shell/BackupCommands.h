#pragma once

class QString;
class QWidget;

namespace furrow {

class ModelContext;

// The Export…, Import… and Show Backup File commands: file dialogs limited to JSON, a preview
// of the import to confirm, and a warning alert with the failure's text when a file cannot be
// written or read.
namespace BackupCommands {

void exportWithDialog(ModelContext &context, QWidget *parent);
// Picks a file, then importFile().
void importWithDialog(ModelContext &context, QWidget *parent);
// Reads the file, shows what importing it would add and update, and imports it only when the
// user presses Import; answers whether it imported.
bool importFile(ModelContext &context, const QString &path, QWidget *parent);
// Shows the backup file in the file manager at once; with `refresh`, a fresh backup write is
// scheduled first (it is not while the backup file must not be written over).
void revealBackup(ModelContext &context, bool refresh);

} // namespace BackupCommands
} // namespace furrow
