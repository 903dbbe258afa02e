#include "views/board/TaskDrop.h"

#include "model/PlannerStore.h"
#include "views/board/DragState.h"

#include <QMimeData>

namespace furrow::TaskDrop {

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
    TaskItem *task = PlannerStore(context).task(id);
    Section *section = PlannerStore(context).liveSection(target.sectionId);
    if (task && section)
        PlannerStore(context).move(*task, section, target.index);
    return true;
}

} // namespace furrow::TaskDrop
