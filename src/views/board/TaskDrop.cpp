#include "views/board/TaskDrop.h"

#include "model/PlannerStore.h"
#include "views/board/DragState.h"

#include <QMimeData>

#include <algorithm>

namespace furrow::TaskDrop {

namespace {

// A row's index counts the dragged task in its old place, and the store counts the section's
// tasks without it: a task moved down within its section goes one place less far.
std::optional<qint64> storeIndex(PlannerStore &store, const TaskItem &task, const Section &section,
                                 std::optional<qint64> rowIndex)
{
    if (!rowIndex || task.section() != &section)
        return rowIndex;
    const auto open = store.tasks(&section);
    const auto at = std::find(open.begin(), open.end(), &task);
    if (at != open.end() && at - open.begin() < *rowIndex)
        return *rowIndex - 1;
    return rowIndex;
}

} // namespace

bool isNoOp(const TaskDropTarget &target)
{
    const QUuid dragging = DragState::shared().draggingId();
    return !dragging.isNull() && dragging == target.anchorId;
}

bool handle(ModelContext &context, const QMimeData *data, const TaskDropTarget &target)
{
    if (isNoOp(target) || !data || !data->hasText())
        return false;
    DragState::shared().setDraggingId({});
    const QUuid id = QUuid::fromString(data->text().trimmed());
    if (id.isNull())
        return true;
    PlannerStore store(context);
    TaskItem *task = store.task(id);
    Section *section = store.liveSection(target.sectionId);
    if (task && section)
        store.move(*task, section, storeIndex(store, *task, *section, target.index));
    return true;
}

} // namespace furrow::TaskDrop
