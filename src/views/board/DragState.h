#pragma once

#include <QObject>
#include <QPoint>
#include <QUuid>

class QMimeData;
class QWidget;

namespace furrow {

// What is being dragged in the process: the id of the task whose row started a drag, whether
// that row is still inside the drag (views hold back changes that would delete it), what the
// drag carries, and where over the board's drop targets the pointer is.
class DragState : public QObject
{
    Q_OBJECT

public:
    static DragState &shared();

    QUuid draggingId() const { return m_draggingId; }
    void setDraggingId(const QUuid &id);

    bool isSourceRunning() const { return m_sourceRunning; }
    void setSourceRunning(bool running);

    // The payload of the drag a row runs now, or null.
    const QMimeData *payload() const { return m_payload; }
    void setPayload(const QMimeData *payload) { m_payload = payload; }

    // A drag is over `over`, at `global`; or it left `over`.
    void reportHover(QWidget *over, const QPoint &global);
    void reportLeave(QWidget *over);

Q_SIGNALS:
    void draggingChanged(const QUuid &id);
    // The row that started a drag has come back from it.
    void sourceFinished();
    void hovered(QWidget *over, const QPoint &global);
    void left(QWidget *over);

private:
    DragState() = default;

    QUuid m_draggingId;
    bool m_sourceRunning = false;
    const QMimeData *m_payload = nullptr;
};

} // namespace furrow
