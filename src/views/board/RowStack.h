#pragma once

#include "views/board/BoardScope.h"
#include "views/board/RowHeights.h"

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace furrow {

class Record;
class TaskItem;
class TaskRow;

// The rows of one section block, open before done. Only the rows in view and a margin around
// it are real TaskRow widgets, placed at their tops; the others are only a height. A row that
// holds the focus or an open editor stays made wherever it scrolls, and rows are handed in and
// out through the page view, so that a row moving to another section keeps its state.
class RowStack : public QWidget
{
    Q_OBJECT

public:
    struct Entry
    {
        QUuid id;
        std::weak_ptr<Record> task; // a task; never used once it has been freed
        bool done = false;
        bool hasNote = false;
    };

    // How rows are made and taken back: obtain answers a row showing the task (one handed back
    // by another stack in this refresh, or a new one); release hands a row back to the page.
    struct RowSource
    {
        std::function<TaskRow *(const TaskItem &task)> obtain;
        std::function<void(TaskRow *row)> release;
    };

    RowStack(BoardScope scope, const QUuid &sectionId, RowSource source, QWidget *parent = nullptr);

    // The column's viewport, whose visible band decides which rows are made.
    void setViewport(QWidget *viewport);
    // Takes the section's rows in the order shown; made rows whose task left are released,
    // those that stay show their task afresh. With `fadeArrivals`, rows new to the
    // section fade in when they are made.
    void setEntries(std::vector<Entry> entries, qsizetype openCount, bool fadeArrivals);
    void setNotesHidden(bool hidden);
    // The made rows changed their style (compact rows): every height is measured again.
    void restyle();
    // Makes the rows in view and a margin, and releases the others that hold nothing.
    void updateWindow();
    // Makes the row at `index` wherever it is, as for a row the keyboard moves to.
    TaskRow *realize(qsizetype index);

    qsizetype count() const { return qsizetype(m_entries.size()); }
    qsizetype openCount() const { return m_openCount; }
    qsizetype indexOf(const QUuid &taskId) const { return m_index.value(taskId, -1); }
    QUuid idAt(qsizetype index) const { return m_entries[std::size_t(index)].id; }
    // Where row `index` starts in the stack, and the first row that reaches below `y`.
    int rowTop(qsizetype index) const { return m_heights.top(index); }
    qsizetype rowAt(int y) const { return m_heights.firstBelow(y); }
    TaskRow *row(const QUuid &taskId) const { return m_made.value(taskId); }
    // The made rows in the order shown.
    std::vector<TaskRow *> rows() const;
    // Hides the hairlines next to the lit row.
    void updateSeparators();
    // Saves what open editors hold, as a loss of focus would.
    void commitEdits();

    QSize sizeHint() const override;

Q_SIGNALS:
    // Rows were made or released; the block puts its focus chain in order again.
    void madeRowsChanged();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    std::vector<RowHeights::Row> heightRows() const;
    std::shared_ptr<TaskItem> taskAt(qsizetype index) const;
    bool holdsState(const TaskRow *row) const;
    TaskRow *make(qsizetype index);
    void release(const QUuid &taskId);
    // Measures the made rows, places them at their tops and sets the stack's height.
    void relayout();
    void measureMadeRows();
    void learnEstimates(qsizetype index, int height);
    void placeMadeRows();
    void applyTotalHeight();
    void prepare(TaskRow *row, qsizetype index);

    BoardScope m_scope;
    QUuid m_sectionId;
    RowSource m_source;
    QPointer<QWidget> m_viewport;
    std::vector<Entry> m_entries;
    QHash<QUuid, qsizetype> m_index;
    QHash<QUuid, TaskRow *> m_made;
    QSet<QUuid> m_arriving; // ids new to the stack in the last refresh, until made
    RowHeights m_heights;
    qsizetype m_openCount = 0;
    bool m_notesHidden = false;
    bool m_windowing = false;
    int m_lineSeen = 0;     // the lowest made row without a note line
    int m_noteLineSeen = 0; // the least a note line added
};

} // namespace furrow
