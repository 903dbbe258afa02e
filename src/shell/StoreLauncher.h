#pragma once

#include "CommandLine.h"

#include "persistence/StoreRecovery.h"

#include <functional>
#include <memory>
#include <optional>
#include <variant>

namespace furrow {

class ModelContext;
class PlannerContainer;

// Starting a `furrow` process on the store: a command line goes to the running planner when
// there is one; otherwise this process opens the store itself.
namespace StoreLauncher {

// Hands the command line to the running planner; its exit code, or none when no planner runs.
std::optional<int> handOver(const CommandLine &command);

// The store opened by this process, and what was done when it had to be set aside.
struct OpenStore
{
    std::unique_ptr<PlannerContainer> container;
    StoreRecovery::Outcome recovery;
};

// Either the opened store, or the exit code of a command the running planner answered after all
// (it was starting) or of a store that could not be opened, with the message already reported.
using Opened = std::variant<OpenStore, int>;

// Tells the user why the store could not be opened.
using ReportFailure = std::function<void(const QString &message)>;

// Moves a backup file left at the older location, opens the store and, when the store had to be
// set aside, recovers the planner from the backup file. Nothing has saved yet. A store that
// cannot be opened, or whose recovery could not be saved, is reported through `report`.
Opened openStore(const CommandLine &command, const ReportFailure &report);

// Attaches the backup writer to the store's context, unless the recovery left a backup file
// that must not be written over.
void attachBackupWriter(ModelContext &context, const StoreRecovery::Outcome &recovery);

// Runs a headless command: through the running planner, or on the store opened here, writing
// the backup file before the process exits. Answers the process's exit code.
int runHeadless(const CommandLine &command);

} // namespace StoreLauncher

// Writes text to standard output or standard error as UTF-8.
void printOut(const QString &text);
void printError(const QString &text);

} // namespace furrow
