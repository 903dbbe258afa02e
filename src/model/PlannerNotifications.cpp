#include "PlannerNotifications.h"

namespace furrow {

PlannerNotifications &PlannerNotifications::center()
{
    static PlannerNotifications instance;
    return instance;
}

} // namespace furrow
