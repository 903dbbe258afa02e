#pragma once

#include "FindResult.h"

#include "model/VectorStore.h"

namespace furrow {

class PlannerStore;

// Find by looking at every task: what the palette uses until the index is built, and the
// yardstick the index is measured against.
namespace LinearFind {

// The best `limit` results in ranking order (all when the limit is negative).
std::vector<FindResult> search(const PlannerStore &store, const QString &query,
                               const std::vector<Vector> &goals, qsizetype limit);

} // namespace LinearFind
} // namespace furrow
