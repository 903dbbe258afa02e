#include "views/board/RowStack.h"

#include "model/Clock.h"
#include "model/TaskItem.h"
#include "views/board/BoardState.h"
#include "views/board/DragState.h"
#include "views/board/RowContent.h"
#include "views/board/TaskRow.h"

#include <QEvent>
#include <QResizeEvent>
#include <QScopedValueRollback>

#include <algorithm>

namespace furrow {

namespace {
constexpr int kMinimumMargin = 240; // made beyond the view, so that Tab and scrolling find rows

// The window's focus widget, which it keeps while another application is active.
bool holdsFocus(const QWidget *widget)
{
    const QWidget *focus = widget->window()->focusWidget();
    return focus && (focus == widget || widget->isAncestorOf(focus));
}
} // namespace

RowStack::RowStack(BoardScope scope, const QUuid &sectionId, RowSource source, QWidget *parent)
    : QWidget(parent)
    , m_scope(scope)
    , m_sectionId(sectionId)
    , m_source(std::move(source))
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFixedHeight(0);
}

void RowStack::setViewport(QWidget *viewport)
{
    m_viewport = viewport;
}

void RowStack::setEntries(std::vector<Entry> entries, qsizetype openCount, bool fadeArrivals)
{
    const std::vector<Entry> old = std::exchange(m_entries, std::move(entries));
    m_openCount = openCount;
    const bool sameOrder
        = old.size() == m_entries.size()
          && std::equal(old.begin(), old.end(), m_entries.begin(),
                        [](const Entry &a, const Entry &b) { return a.id == b.id; });
    const bool sameHeights
        = sameOrder
          && std::equal(old.begin(), old.end(), m_entries.begin(),
                        [](const Entry &a, const Entry &b) { return a.hasNote == b.hasNote; });
    if (!sameOrder) {
        QHash<QUuid, qsizetype> index;
        index.reserve(qsizetype(m_entries.size()));
        m_arriving.clear();
        for (qsizetype i = 0; i < qsizetype(m_entries.size()); ++i) {
            const Entry &entry = m_entries[std::size_t(i)];
            index.insert(entry.id, i);
            const qsizetype before = m_index.value(entry.id, -1);
            // New to the section, or moved between its open and done parts.
            if (fadeArrivals && (before < 0 || old[std::size_t(before)].done != entry.done))
                m_arriving.insert(entry.id);
        }
        m_index = std::move(index);
    }
    if (!sameHeights)
        m_heights.setRows(heightRows());

    const Instant now = Clock::now();
    for (const QUuid &id : m_made.keys()) {
        const qsizetype at = indexOf(id);
        const auto task = taskAt(at);
        if (!task) {
            release(id);
            continue;
        }
        TaskRow *row = m_made.value(id);
        row->setContent(RowContent::of(*task, now));
        prepare(row, at);
        if (m_arriving.remove(id))
            row->fadeIn();
    }
    relayout();
    updateSeparators();
}

std::shared_ptr<TaskItem> RowStack::taskAt(qsizetype index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return std::static_pointer_cast<TaskItem>(m_entries[std::size_t(index)].task.lock());
}

std::vector<RowHeights::Row> RowStack::heightRows() const
{
    std::vector<RowHeights::Row> rows;
    rows.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        rows.push_back({entry.id, entry.hasNote && !m_notesHidden});
    return rows;
}

void RowStack::setNotesHidden(bool hidden)
{
    if (hidden == m_notesHidden)
        return;
    m_notesHidden = hidden;
    m_heights.setRows(heightRows());
    restyle();
}

void RowStack::restyle()
{
    m_heights.forgetMeasurements();
    m_lineSeen = 0;
    m_noteLineSeen = 0;
    relayout();
    updateWindow();
}

void RowStack::updateWindow()
{
    if (!m_viewport || m_windowing || width() <= 0)
        return;
    const QScopedValueRollback guard(m_windowing, true);
    bool changed = false;
    // Rows measured on the way may push the band's rows down; a few rounds settle it.
    for (int round = 0; round < 3; ++round) {
        const QRect visible(mapFrom(m_viewport, QPoint(0, 0)), m_viewport->size());
        const int margin = std::max(kMinimumMargin, visible.height() / 2);
        const qsizetype first = m_heights.firstBelow(visible.top() - margin);
        const qsizetype end = std::max(first, m_heights.endAbove(visible.bottom() + margin));
        const bool dragging = DragState::shared().isSourceRunning();
        for (const QUuid &id : m_made.keys()) {
            const qsizetype at = indexOf(id);
            if ((at < first || at >= end) && !dragging && !holdsState(m_made.value(id))) {
                release(id);
                changed = true;
            }
        }
        bool made = false;
        for (qsizetype i = first; i < end; ++i) {
            if (!m_made.contains(idAt(i)) && make(i))
                made = true;
        }
        if (!made)
            break;
        changed = true;
        measureMadeRows();
        placeMadeRows();
    }
    applyTotalHeight();
    if (changed) {
        updateSeparators();
        Q_EMIT madeRowsChanged();
    }
}

TaskRow *RowStack::realize(qsizetype index)
{
    if (index < 0 || index >= count())
        return nullptr;
    if (TaskRow *row = m_made.value(idAt(index)))
        return row;
    TaskRow *row = make(index);
    if (row) {
        relayout();
        updateSeparators();
        Q_EMIT madeRowsChanged();
    }
    return row;
}

TaskRow *RowStack::make(qsizetype index)
{
    const Entry &entry = m_entries[std::size_t(index)];
    const auto task = taskAt(index);
    if (!task)
        return nullptr;
    TaskRow *row = m_source.obtain(*task);
    const bool focusAlong = row->parentWidget() && row->parentWidget() != this && holdsFocus(row);
    if (row->parentWidget() != this)
        row->setParent(this);
    m_made.insert(entry.id, row);
    prepare(row, index);
    row->setGeometry(0, m_heights.top(index), width(), m_heights.height(index));
    row->show();
    // A row taken over from another section keeps the keyboard focus it had.
    if (focusAlong)
        row->restoreFocus();
    if (m_arriving.remove(entry.id))
        row->fadeIn();
    return row;
}

void RowStack::release(const QUuid &taskId)
{
    if (TaskRow *row = m_made.take(taskId))
        m_source.release(row);
}

bool RowStack::holdsState(const TaskRow *row) const
{
    return row->isEditingTitle() || row->isEditingNote() || holdsFocus(row);
}

void RowStack::prepare(TaskRow *row, qsizetype index)
{
    if (index < m_openCount)
        row->setDropTarget(TaskDropTarget{m_sectionId, index, row->taskId()});
    else
        row->setDropTarget(std::nullopt);
}

void RowStack::measureMadeRows()
{
    const int width = this->width();
    if (width <= 0)
        return;
    for (auto it = m_made.cbegin(); it != m_made.cend(); ++it) {
        const qsizetype at = indexOf(it.key());
        if (at < 0)
            continue;
        const TaskRow *row = it.value();
        const int height
            = row->hasHeightForWidth() ? row->heightForWidth(width) : row->sizeHint().height();
        learnEstimates(at, height);
        m_heights.setMeasured(at, height);
    }
}

void RowStack::learnEstimates(qsizetype index, int height)
{
    // The smallest rows seen stand for the rows never made: most titles take one line.
    const bool withNote = m_entries[std::size_t(index)].hasNote && !m_notesHidden;
    if (!withNote)
        m_lineSeen = m_lineSeen > 0 ? std::min(m_lineSeen, height) : height;
    else if (m_lineSeen > 0 && height > m_lineSeen)
        m_noteLineSeen = m_noteLineSeen > 0 ? std::min(m_noteLineSeen, height - m_lineSeen)
                                            : height - m_lineSeen;
    if (m_lineSeen > 0)
        m_heights.setEstimates(m_lineSeen, m_noteLineSeen > 0 ? m_noteLineSeen : m_lineSeen / 2);
}

void RowStack::relayout()
{
    measureMadeRows();
    placeMadeRows();
    applyTotalHeight();
}

void RowStack::placeMadeRows()
{
    for (auto it = m_made.cbegin(); it != m_made.cend(); ++it) {
        const qsizetype at = indexOf(it.key());
        if (at >= 0)
            it.value()->setGeometry(0, m_heights.top(at), width(), m_heights.height(at));
    }
}

void RowStack::applyTotalHeight()
{
    if (height() != m_heights.total())
        setFixedHeight(m_heights.total());
}

std::vector<TaskRow *> RowStack::rows() const
{
    std::vector<std::pair<qsizetype, TaskRow *>> made;
    for (auto it = m_made.cbegin(); it != m_made.cend(); ++it)
        made.emplace_back(indexOf(it.key()), it.value());
    std::sort(made.begin(), made.end());
    std::vector<TaskRow *> rows;
    for (const auto &[index, row] : made)
        rows.push_back(row);
    return rows;
}

void RowStack::updateSeparators()
{
    const QUuid lit = m_scope.state.litId();
    for (auto it = m_made.cbegin(); it != m_made.cend(); ++it) {
        const qsizetype at = indexOf(it.key());
        if (at < 0)
            continue;
        const bool nextToLit = it.key() == lit || (at > 0 && idAt(at - 1) == lit);
        it.value()->setSeparator(at > 0, !lit.isNull() && nextToLit);
    }
}

void RowStack::commitEdits()
{
    for (TaskRow *row : m_made.values())
        row->commitEdits();
}

QSize RowStack::sizeHint() const
{
    return {0, m_heights.total()};
}

bool RowStack::event(QEvent *event)
{
    // A made row changed its height: a note editor opened, a drop gap grew.
    if (event->type() == QEvent::LayoutRequest) {
        relayout();
        updateWindow();
    }
    return QWidget::event(event);
}

void RowStack::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // A new width re-measures the made rows only; the others keep what they measured at the
    // old width, a closer guess than the estimate, until they are made again.
    if (event->size().width() != event->oldSize().width()) {
        relayout();
        updateWindow();
    }
}

void RowStack::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    updateWindow();
}

} // namespace furrow
