#include "views/board/SectionBlock.h"

#include "views/board/BoardState.h"
#include "views/board/ComposeLine.h"
#include "views/board/DropFeedback.h"
#include "views/board/SectionHeader.h"
#include "views/board/TaskRow.h"

#include <QApplication>
#include <QPainter>
#include <QVBoxLayout>

namespace furrow {

SectionBlock::SectionBlock(BoardScope scope, const QUuid &sectionId, const QString &name,
                           QWidget *parent)
    : QWidget(parent)
    , m_scope(scope)
    , m_sectionId(sectionId)
    , m_header(new SectionHeader(scope, sectionId, name, this))
    , m_rowLayout(new QVBoxLayout)
    , m_compose(new ComposeLine(scope, sectionId, this))
    , m_drop(new DropFeedback(scope.model, this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(0);
    auto *headerMargins = new QVBoxLayout;
    headerMargins->setContentsMargins(TaskRow::kInset, 0, TaskRow::kInset, 6);
    headerMargins->addWidget(m_header);
    layout->addLayout(headerMargins);
    m_rowLayout->setSpacing(0);
    layout->addLayout(m_rowLayout);
    layout->addWidget(m_compose);
    m_drop->setTarget({sectionId, std::nullopt, {}});
    connect(m_drop, &DropFeedback::changed, this, qOverload<>(&QWidget::update));
}

void SectionBlock::setName(const QString &name)
{
    m_header->setName(name);
}

void SectionBlock::setCompact(bool compact)
{
    m_compose->setCompact(compact);
}

void SectionBlock::setRows(const std::vector<TaskRow *> &open, const std::vector<TaskRow *> &done)
{
    for (qsizetype i = 0; i < qsizetype(open.size()); ++i)
        open[i]->setDropTarget(TaskDropTarget{m_sectionId, i, open[i]->taskId()});
    for (TaskRow *row : done)
        row->setDropTarget(std::nullopt);
    std::vector<TaskRow *> rows = open;
    rows.insert(rows.end(), done.begin(), done.end());
    m_openCount = qsizetype(open.size());
    m_header->setOpenCount(m_openCount);
    if (rows != m_rows)
        placeRows(rows);
    updateSeparators();
}

void SectionBlock::placeRows(const std::vector<TaskRow *> &rows)
{
    for (TaskRow *row : m_rows)
        m_rowLayout->removeWidget(row);
    for (TaskRow *row : rows) {
        // A new row is shown by the layout once it has its place and width, so that it is
        // not laid out first at a size it will never have.
        const QWidget *focus = QApplication::focusWidget();
        const bool takesFocusAlong = row->parentWidget() && row->parentWidget() != this && focus
                                     && (focus == row || row->isAncestorOf(focus));
        m_rowLayout->addWidget(row);
        // A row taken over from another block keeps the keyboard focus it had.
        if (takesFocusAlong) {
            row->show();
            row->restoreFocus();
        }
    }
    m_rows = rows;
}

void SectionBlock::updateSeparators()
{
    const QUuid hovered = m_scope.state.litId();
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const bool nextToHover
            = m_rows[i]->taskId() == hovered || (i > 0 && m_rows[i - 1]->taskId() == hovered);
        m_rows[i]->setSeparator(i > 0, !hovered.isNull() && nextToHover);
    }
}

QWidget *SectionBlock::orderFocusChain(QWidget *previous)
{
    // Rows are made and moved between blocks over time, so the chain that Qt keeps in
    // creation order is put into the order they are shown.
    std::vector<QWidget *> chain = m_header->focusWidgets();
    for (const TaskRow *row : m_rows) {
        const auto parts = row->focusWidgets();
        chain.insert(chain.end(), parts.begin(), parts.end());
    }
    for (QWidget *widget : m_compose->focusWidgets())
        chain.push_back(widget);
    for (QWidget *widget : chain) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    return previous;
}

void SectionBlock::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_drop->paint(painter, QRectF(rect()), 0);
}

void SectionBlock::dragEnterEvent(QDragEnterEvent *event)
{
    m_drop->dragEnter(event);
}

void SectionBlock::dragMoveEvent(QDragMoveEvent *event)
{
    m_drop->dragMove(event);
}

void SectionBlock::dragLeaveEvent(QDragLeaveEvent *)
{
    m_drop->dragLeave();
}

void SectionBlock::dropEvent(QDropEvent *event)
{
    m_drop->drop(event);
}

} // namespace furrow
