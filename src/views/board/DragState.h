#pragma once

#include <QObject>
#include <QUuid>

namespace furrow {

// What is being dragged in the process: the id of the task whose row started a drag, and
// whether that row is still inside the drag (views hold back changes that would delete it).
class DragState : public QObject
{
    Q_OBJECT

public:
    static DragState &shared();

    QUuid draggingId() const { return m_draggingId; }
    void setDraggingId(const QUuid &id);

    bool isSourceRunning() const { return m_sourceRunning; }
    void setSourceRunning(bool running);

Q_SIGNALS:
    void draggingChanged(const QUuid &id);
    // The row that started a drag has come back from it.
    void sourceFinished();

private:
    DragState() = default;

    QUuid m_draggingId;
    bool m_sourceRunning = false;
};

} // namespace furrow
