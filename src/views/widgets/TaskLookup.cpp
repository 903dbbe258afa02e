#include "views/widgets/TaskLookup.h"

#include "model/PlannerStore.h"

namespace furrow::TaskLookup {

// The store's queries do not change the context; it takes a mutable one for its operations.
TaskItem *task(const ModelContext &context, const QUuid &id)
{
    return PlannerStore(const_cast<ModelContext &>(context)).task(id);
}

Section *liveSection(const ModelContext &context, const QUuid &id)
{
    return PlannerStore(const_cast<ModelContext &>(context)).liveSection(id);
}

} // namespace furrow::TaskLookup
