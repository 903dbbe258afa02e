#include "views/board/DragState.h"

namespace furrow {

DragState &DragState::shared()
{
    static DragState state;
    return state;
}

void DragState::setDraggingId(const QUuid &id)
{
    if (id == m_draggingId)
        return;
    m_draggingId = id;
    Q_EMIT draggingChanged(id);
}

void DragState::setSourceRunning(bool running)
{
    if (running == m_sourceRunning)
        return;
    m_sourceRunning = running;
    if (!running)
        Q_EMIT sourceFinished();
}

void DragState::reportHover(QWidget *over, const QPoint &global)
{
    Q_EMIT hovered(over, global);
}

void DragState::reportLeave(QWidget *over)
{
    Q_EMIT left(over);
}

} // namespace furrow
