#pragma once

#include "PlannerArchive.h"
#include "RestorePlan.h"

#include "model/PlannerStore.h"

namespace furrow {

// Copies the store into a backup document and merges a document back into the store.
namespace PlannerSnapshot {

// Every project, task and day plan, tombstoned and archived ones included, in fetch order.
// Reads only; cheap enough to run after every save on the main thread.
PlannerArchive snapshot(const PlannerStore &store);

// Adds what is missing and updates what is older; never removes a row. A record overwrites a
// row only when its updatedAt is strictly later. Tasks that the merge creates are filed into a
// live section so that some page shows them. Ends with store.save() and answers its result.
ModelContext::SaveResult restore(PlannerStore &store, const PlannerArchive &archive);
// What restore() would do with the document now, counted without writing anything.
RestorePlan::Counts preview(const PlannerStore &store, const PlannerArchive &archive);

} // namespace PlannerSnapshot
} // namespace furrow
