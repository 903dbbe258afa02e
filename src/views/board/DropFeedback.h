#pragma once

#include "views/board/TaskDrop.h"

#include <QObject>

class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QPainter;
class QRectF;
class QWidget;

namespace furrow {

class EasedValue;

// The drop-target side of a task row or a section block: accepts plain text, shows where a
// task would land and hands the drop to TaskDrop. A row target that would move the task
// opens a gap with an insertion mark; a section, or a task's own row, gets a faint fill.
class DropFeedback : public QObject
{
    Q_OBJECT

public:
    enum class Look { None, Gap, Faint };
    static constexpr qreal kGap = 12;

    DropFeedback(ModelContext &model, QWidget *owner);

    void setTarget(const TaskDropTarget &target) { m_target = target; }
    const TaskDropTarget &target() const { return m_target; }

    Look look() const { return m_look; }
    // How far the look is shown, 0 to 1.
    qreal progress() const;
    // The height of the opened gap.
    qreal gapHeight() const;

    void dragEnter(QDragEnterEvent *event);
    void dragMove(QDragMoveEvent *event);
    void dragLeave();
    void drop(QDropEvent *event);

    // Draws the look: the faint fill over `area`, or the insertion mark centred in the gap
    // that starts at `gapTop`, spanning `area`'s width.
    void paint(QPainter &painter, const QRectF &area, qreal gapTop) const;

Q_SIGNALS:
    // The look or its progress changed: repaint, and relayout for the gap.
    void changed();

private:
    void show(Look look);

    ModelContext &m_model;
    TaskDropTarget m_target;
    Look m_look = Look::None;
    EasedValue *m_progress;
};

} // namespace furrow
