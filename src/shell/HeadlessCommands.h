#pragma once

#include "CommandLine.h"
#include "FindCommands.h"
#include "SingleInstance.h"

namespace furrow {

class ModelContext;
class SyncEngine;

// Runs one headless command (add, export, import, sync, search, done, reopen) on a store's context
// and answers with the exit code and the text for the terminal. The running planner uses it for
// command lines handed to it, a lone `furrow` process for its own.
namespace HeadlessCommands {

// `search` answers search commands; without one they search linearly.
void execute(const CommandLine &command, ModelContext &context, SyncEngine &engine,
             const SingleInstance::Respond &respond, const FindCommands::Search &search = {});

} // namespace HeadlessCommands
} // namespace furrow
