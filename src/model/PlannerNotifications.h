#pragma once

#include <QObject>

namespace furrow {

// The process-wide notice that the planner's data changed, so that the backup writer and sync
// can follow every change without each store holding a reference to them.
class PlannerNotifications : public QObject
{
    Q_OBJECT

public:
    static PlannerNotifications &center();

Q_SIGNALS:
    void plannerDidChange();

private:
    PlannerNotifications() = default;
};

} // namespace furrow
