#pragma once

#include "sync/wire/SyncRecord.h"

#include <vector>

namespace furrow {

class ModelContext;

// Merges the opened records of a whole cycle into the context: page by page, each page's
// projects first, then pages, sections, tasks and days, and the relationships last, once every
// object is there. Answers how many records changed something. Nothing is saved.
namespace SyncMerge {

qint64 applyPages(ModelContext &context, const std::vector<std::vector<SyncRecord>> &pages);

} // namespace SyncMerge
} // namespace furrow
