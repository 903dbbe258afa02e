#pragma once

#include "CommandLine.h"

namespace furrow {

// Runs a headless command from the terminal: hands it to the running planner when there is one,
// else opens the store itself, runs the command and writes the backup file before it exits.
// Answers the process's exit code.
int runHeadless(const CommandLine &command);

// Writes text to standard output or standard error as UTF-8.
void printOut(const QString &text);
void printError(const QString &text);

} // namespace furrow
