#pragma once

#include <QString>

class QWidget;

namespace furrow {

class ModelContext;

// Keeps changes the store has not taken from going unnoticed at quitting: one more save, and
// when that fails too, the planner written to an emergency document beside the backup file and,
// where someone can be asked, the question whether to quit anyway.
namespace QuitGuard {

// Answers whether the planner may quit now; asks in a window over `parent` (object name
// "unsavedChangesQuestion", "Quit anyway" or "Cancel") only when changes would be lost.
bool mayQuit(ModelContext &context, const QString &backupPath, QWidget *parent);

// For a quit that nobody can be asked about, as when the session ends: saves once more, else
// writes the emergency document; what fails is logged.
void saveForLastTime(ModelContext &context, const QString &backupPath);

} // namespace QuitGuard
} // namespace furrow
