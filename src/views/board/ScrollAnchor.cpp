#include "views/board/ScrollAnchor.h"

#include "views/board/RowStack.h"
#include "views/board/SectionBlock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLayout>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace furrow {

namespace {
constexpr std::size_t kSpots = 4; // a few, in case the first ones move away or go
constexpr int kRounds = 4;        // rows made in one round can shift the next
} // namespace

ScrollAnchor::ScrollAnchor(QScrollArea *scroll, Blocks blocks, QObject *parent)
    : QObject(parent)
    , m_scroll(scroll)
    , m_blocks(std::move(blocks))
{
    connect(bar(), &QScrollBar::valueChanged, this, &ScrollAnchor::scrolled);
    // A range that shrinks under the view moves it to the new end, as the layout's doing.
    connect(bar(), &QScrollBar::rangeChanged, this, [this] { m_rangeChanged = !m_restoring; });
}

QScrollBar *ScrollAnchor::bar() const
{
    return m_scroll->verticalScrollBar();
}

void ScrollAnchor::scrolled()
{
    if (m_restoring)
        return;
    if (std::exchange(m_rangeChanged, false) && bar()->value() == bar()->maximum()) {
        // The layout moved the view; a restore puts it back once the layout has run.
        makeRows();
        restoreLater();
        return;
    }
    // The user scrolled: keep the new top in place while the rows coming into view are made
    // and measured, so that rows above that turn out taller or shorter do not shift it.
    remember();
    restore();
}

void ScrollAnchor::remember()
{
    m_spots.clear();
    const int top = bar()->value();
    const int bottom = top + m_scroll->viewport()->height();
    for (const SectionBlock *block : m_blocks()) {
        if (m_spots.size() >= kSpots || block->y() >= bottom)
            break;
        if (block->y() + block->height() > top)
            rememberBlock(*block, top, bottom);
    }
}

void ScrollAnchor::rememberBlock(const SectionBlock &block, int top, int bottom)
{
    const RowStack *stack = block.stack();
    const int stackTop = block.y() + stack->y();
    for (qsizetype at = stack->rowAt(top - stackTop);
         at < stack->count() && m_spots.size() + 1 < kSpots; ++at) {
        const int rowTop = stackTop + stack->rowTop(at);
        if (rowTop >= bottom)
            break;
        m_spots.push_back(
            {block.sectionId(), stack->idAt(at), at >= stack->openCount(), rowTop - top});
    }
    m_spots.push_back({block.sectionId(), {}, false, block.y() - top});
}

std::optional<int> ScrollAnchor::topOf(const Spot &spot) const
{
    const auto &blocks = m_blocks();
    const auto found = std::find_if(blocks.begin(), blocks.end(), [&spot](const SectionBlock *b) {
        return b->sectionId() == spot.sectionId;
    });
    if (found == blocks.end())
        return std::nullopt;
    const SectionBlock *block = *found;
    if (spot.taskId.isNull())
        return block->y();
    // A task that went to another section or between the open and done rows has left the
    // place the user was looking at; the next spot stands for it.
    const RowStack *stack = block->stack();
    const qsizetype at = stack->indexOf(spot.taskId);
    if (at < 0 || (at >= stack->openCount()) != spot.done)
        return std::nullopt;
    return block->y() + stack->y() + stack->rowTop(at);
}

std::optional<int> ScrollAnchor::wantedTop() const
{
    for (const Spot &spot : m_spots) {
        if (const std::optional<int> top = topOf(spot))
            return *top - spot.offset;
    }
    return std::nullopt;
}

void ScrollAnchor::restore()
{
    if (m_restoring)
        return;
    const QScopedValueRollback guard(m_restoring, true);
    m_pending = false;
    for (int round = 0; round < kRounds; ++round) {
        settleLayout();
        const std::optional<int> wanted = wantedTop();
        if (wanted)
            bar()->setValue(*wanted);
        makeRows();
        settleLayout();
        if (!wanted || wantedTop() == wanted)
            break;
    }
    m_rangeChanged = false;
    remember();
}

void ScrollAnchor::restoreLater()
{
    if (m_restoring || m_pending)
        return;
    m_pending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_pending)
                restore();
        },
        Qt::QueuedConnection);
}

void ScrollAnchor::settleLayout()
{
    // Bottom up, as the posted layout requests would run: the parts that changed (a compose
    // line made compact, a row) first, then the blocks take their stacks' heights, the column
    // places the blocks, and the scroll range follows the column.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    for (SectionBlock *block : m_blocks())
        block->layout()->activate();
    m_scroll->widget()->layout()->activate();
    QEvent request(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(m_scroll, &request);
}

void ScrollAnchor::makeRows()
{
    for (SectionBlock *block : m_blocks())
        block->stack()->updateWindow();
}

} // namespace furrow
