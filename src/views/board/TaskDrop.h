#pragma once

#include <QUuid>

#include <optional>

class QMimeData;

namespace furrow {

class ModelContext;

// Where a dragged task would land: a section and, for a row, the index among the section's
// open tasks before which it goes (none appends). `anchorId` is the task whose row carries
// the target; it is null for a section block.
struct TaskDropTarget
{
    QUuid sectionId;
    std::optional<qint64> index;
    QUuid anchorId;
};

// Drops of dragged tasks. The payload is the task's id as plain text; the task is looked up
// again in the store, so text from other programs and ids of tasks deleted meanwhile change
// nothing.
namespace TaskDrop {

// Dropping here would change nothing: the task being dragged is the target's own row.
bool isNoOp(const TaskDropTarget &target);

// Handles a drop: false when it is refused (a no-op target, no text), true when it is taken,
// whether or not the text named a task that could be moved.
bool handle(ModelContext &context, const QMimeData *data, const TaskDropTarget &target);

} // namespace TaskDrop
} // namespace furrow
