#pragma once

#include "CommandLine.h"
#include "SingleInstance.h"

namespace furrow {

class ModelContext;
class SyncEngine;

// Runs one headless command (add, export, import, the demo seed) on a store's context and answers
// with the exit code and the text for the terminal. The running planner uses it for command lines
// handed to it, a lone `furrow` process for its own.
namespace HeadlessCommands {

void execute(const CommandLine &command, ModelContext &context, SyncEngine &engine,
             const SingleInstance::Respond &respond);

} // namespace HeadlessCommands
} // namespace furrow
