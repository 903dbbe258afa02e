#pragma once

#include <QString>

#include <vector>

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
// scheduled first (it is not while the backup file must not be written over). Without a file
// manager, an alert over `parent` gives the file's path with a button that copies it.
void revealBackup(ModelContext &context, bool refresh, QWidget *parent);

// A dated copy of the backup file: where it is, and its day and task count for a list.
struct DatedCopy
{
    QString path;
    QString label;
};
// The dated copies kept beside the backup file, the newest first.
std::vector<DatedCopy> datedCopies();
// Lets the user pick one of the dated copies, then importFile() on it.
void restoreCopyWithDialog(ModelContext &context, QWidget *parent);

} // namespace BackupCommands
} // namespace furrow
