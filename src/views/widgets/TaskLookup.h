#pragma once

#include <QUuid>

namespace furrow {

class ModelContext;
class Section;
class TaskItem;

// Finds records again by id when a view acts, so that no view keeps a record that may have
// been deleted since it was shown. Forwards to the planner store's lookups.
namespace TaskLookup {

// The task with that id among every task without tombstone, or null.
TaskItem *task(const ModelContext &context, const QUuid &id);
// The section with that id, if it is live; null otherwise.
Section *liveSection(const ModelContext &context, const QUuid &id);

} // namespace TaskLookup
} // namespace furrow
