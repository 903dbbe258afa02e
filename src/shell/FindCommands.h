#pragma once

#include "CommandLine.h"
#include "SingleInstance.h"

#include "model/find/FindResult.h"

#include <functional>

namespace furrow {

class ModelContext;

// The command lines that find tasks and act on what they found: `search`, `done` and `reopen`.
namespace FindCommands {

// Runs a query for at most `limit` results: the running planner's index, or a linear search.
using Search = std::function<std::vector<FindResult>(const QString &query, qsizetype limit)>;

// Searches over the context's tasks and the saved goals, linearly.
Search linearSearch(ModelContext &context);

// Prints the results of `search QUERY`, one line each or as a JSON array; without a search
// function, searches linearly.
SingleInstance::Reply search(const CommandLine &command, ModelContext &context, const Search &find);
// Closes the task with that id; an unknown id, or an archived task, fails.
SingleInstance::Reply close(const QString &idText, ModelContext &context);
// Reopens the task with that id, or puts it back on the board from the archive.
SingleInstance::Reply reopen(const QString &idText, ModelContext &context);

} // namespace FindCommands
} // namespace furrow
