#pragma once

#include "views/board/BoardScope.h"
#include "views/board/RowStack.h"

#include <QUuid>
#include <QWidget>

#include <vector>

namespace furrow {

class ComposeLine;
class DropFeedback;
class SectionHeader;
class TaskRow;

// One section of the page: its header, its open tasks, its done tasks and the compose line.
// The block is a drop target that appends to its section; its open rows insert before
// themselves. The rows are a RowStack, which makes only those in view.
class SectionBlock : public QWidget
{
    Q_OBJECT

public:
    SectionBlock(BoardScope scope, const QUuid &sectionId, const QString &name,
                 RowStack::RowSource rows, QWidget *parent = nullptr);

    QUuid sectionId() const { return m_sectionId; }
    void setName(const QString &name);
    void setCompact(bool compact);

    // Shows the section's tasks in this order, open before done, and the header's count.
    void setTasks(std::vector<RowStack::Entry> tasks, qsizetype openCount, bool fadeArrivals);
    RowStack *stack() const { return m_stack; }
    // The rows made now, in the order shown.
    std::vector<TaskRow *> rows() const { return m_stack->rows(); }
    qsizetype openCount() const { return m_stack->openCount(); }
    // Puts the block's focusable widgets into the focus chain after `previous` (when given),
    // in the order shown; returns the last of them.
    QWidget *orderFocusChain(QWidget *previous);

    SectionHeader *header() const { return m_header; }
    ComposeLine *composeLine() const { return m_compose; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QUuid m_sectionId;
    SectionHeader *m_header;
    RowStack *m_stack;
    ComposeLine *m_compose;
    DropFeedback *m_drop;
};

} // namespace furrow
