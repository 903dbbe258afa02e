#include "views/widgets/TaskLookup.h"

#include "model/ModelContext.h"

namespace furrow::TaskLookup {

TaskItem *task(const ModelContext &context, const QUuid &id)
{
    if (id.isNull())
        return nullptr;
    for (const auto &row : context.rows<TaskItem>()) {
        if (row->id() == id && !row->deletedAt())
            return row.get();
    }
    return nullptr;
}

Section *liveSection(const ModelContext &context, const QUuid &id)
{
    if (id.isNull())
        return nullptr;
    for (const auto &row : context.rows<Section>()) {
        if (row->id() == id && row->isLive())
            return row.get();
    }
    return nullptr;
}

} // namespace furrow::TaskLookup
