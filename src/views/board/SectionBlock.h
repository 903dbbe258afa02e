#pragma once

#include "views/board/BoardScope.h"

#include <QUuid>
#include <QWidget>

#include <vector>

class QVBoxLayout;

namespace furrow {

class ComposeLine;
class DropFeedback;
class SectionHeader;
class TaskRow;

// One section of the page: its header, its open tasks, its done tasks and the compose line.
// The block is a drop target that appends to its section; its open rows insert before
// themselves.
class SectionBlock : public QWidget
{
    Q_OBJECT

public:
    SectionBlock(BoardScope scope, const QUuid &sectionId, const QString &name,
                 QWidget *parent = nullptr);

    QUuid sectionId() const { return m_sectionId; }
    void setName(const QString &name);
    void setCompact(bool compact);

    // Shows these rows in this order, open before done, taking them over from wherever they
    // were; sets their drop targets and the header's count.
    void setRows(const std::vector<TaskRow *> &open, const std::vector<TaskRow *> &done);
    const std::vector<TaskRow *> &rows() const { return m_rows; }
    qsizetype openCount() const { return m_openCount; }
    // Hides the hairlines next to the lit row (the hovered one, or the one the keyboard focused).
    void updateSeparators();
    // Puts the block's focusable widgets into the focus chain after `previous` (when given),
    // in the order shown; returns the last of them.
    QWidget *orderFocusChain(QWidget *previous);

    SectionHeader *header() const { return m_header; }
    ComposeLine *composeLine() const { return m_compose; }
    DropFeedback *dropFeedback() const { return m_drop; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void placeRows(const std::vector<TaskRow *> &rows);

    BoardScope m_scope;
    QUuid m_sectionId;
    SectionHeader *m_header;
    QVBoxLayout *m_rowLayout;
    ComposeLine *m_compose;
    DropFeedback *m_drop;
    std::vector<TaskRow *> m_rows;
    qsizetype m_openCount = 0;
};

} // namespace furrow
