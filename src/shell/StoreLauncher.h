#pragma once

#include "CommandLine.h"

#include <memory>
#include <optional>
#include <variant>

namespace furrow {

class PlannerContainer;

// Starting a `furrow` process on the store: a command line goes to the running planner when
// there is one; otherwise this process opens the store itself.
namespace StoreLauncher {

// Hands the command line to the running planner; its exit code, or none when no planner runs.
std::optional<int> handOver(const CommandLine &command);

// Either the opened store, or the exit code of a command the running planner answered after all
// (it was starting) or of a store that could not be opened, with the message already printed.
using Opened = std::variant<std::unique_ptr<PlannerContainer>, int>;

// Moves a backup file left at the older location, then opens the store.
Opened openStore(const CommandLine &command);

// Runs a headless command: through the running planner, or on the store opened here, writing
// the backup file before the process exits. Answers the process's exit code.
int runHeadless(const CommandLine &command);

} // namespace StoreLauncher

// Writes text to standard output or standard error as UTF-8.
void printOut(const QString &text);
void printError(const QString &text);

} // namespace furrow
