#include "views/board/SectionBlock.h"

#include "views/board/BoardState.h"
#include "views/board/ComposeLine.h"
#include "views/board/DropFeedback.h"
#include "views/board/SectionHeader.h"
#include "views/board/TaskRow.h"

#include <QPainter>
#include <QVBoxLayout>

namespace furrow {

SectionBlock::SectionBlock(BoardScope scope, const QUuid &sectionId, const QString &name,
                           RowStack::RowSource rows, QWidget *parent)
    : QWidget(parent)
    , m_sectionId(sectionId)
    , m_header(new SectionHeader(scope, sectionId, name, this))
    , m_stack(new RowStack(scope, sectionId, std::move(rows), this))
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
    layout->addWidget(m_stack);
    layout->addWidget(m_compose);
    m_drop->setTarget({sectionId, std::nullopt, {}});
    connect(m_drop, &DropFeedback::changed, this, qOverload<>(&QWidget::update));
    connect(m_stack, &RowStack::madeRowsChanged, this, [this] { orderFocusChain(nullptr); });
}

void SectionBlock::setName(const QString &name)
{
    m_header->setName(name);
}

void SectionBlock::setCompact(bool compact)
{
    m_compose->setCompact(compact);
}

void SectionBlock::setTasks(std::vector<RowStack::Entry> tasks, qsizetype openCount,
                            bool fadeArrivals)
{
    m_stack->setEntries(std::move(tasks), openCount, fadeArrivals);
    m_header->setOpenCount(openCount);
}

QWidget *SectionBlock::orderFocusChain(QWidget *previous)
{
    // Rows are made and moved between blocks over time, so the chain that Qt keeps in
    // creation order is put into the order they are shown. Only made rows are in it; the
    // stack makes rows beyond the view, so Tab always finds the next one.
    std::vector<QWidget *> chain = m_header->focusWidgets();
    for (const TaskRow *row : m_stack->rows()) {
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
