#include "views/board/PageView.h"

#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "views/board/ComposeLine.h"
#include "views/board/DragScroller.h"
#include "views/board/DragState.h"
#include "views/board/EmptyPageBlock.h"
#include "views/board/ScrollAnchor.h"
#include "views/board/SectionBlock.h"
#include "views/board/SectionHeader.h"
#include "views/board/TaskRow.h"
#include "views/theme/IconView.h"
#include "views/theme/Theme.h"
#include "views/widgets/FlashHighlight.h"
#include "views/widgets/TextLabel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

namespace furrow {

namespace {
constexpr int kSideMargin = 36;
constexpr int kTopMargin = 12; // the toolbar strip sits above the view
constexpr int kBlockSpacing = 30;
constexpr RecordKinds kShownKinds
    = RecordKinds(RecordKind::Task) | RecordKind::Section | RecordKind::Page | RecordKind::Project;

} // namespace

PageView::PageView(ModelContext &model, MenuController &menus, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_scope{model, menus, m_state}
    , m_icon(IconView::pageIcon({}, 22, Theme::ink))
    , m_title(new TextLabel({}, Theme::slab(24), Theme::ink))
    , m_empty(new EmptyPageBlock)
{
    m_empty->setObjectName(QStringLiteral("emptyPage"));
    m_title->setObjectName(QStringLiteral("pageTitle"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kSideMargin - TaskRow::kInset, kTopMargin, kSideMargin, 0);
    layout->setSpacing(18);
    m_header = buildHeader();
    layout->addWidget(m_header);
    m_scroll = buildColumn();
    m_scroll->setObjectName(QStringLiteral("pageScroll"));
    layout->addWidget(m_scroll, 1);

    connect(&model, &ModelContext::changed, this, [this](RecordKinds kinds) {
        if (kinds & kShownKinds)
            refresh();
    });
    connect(&DragState::shared(), &DragState::sourceFinished, this, [this] {
        // Queued: the row that ran the drag is still on the stack.
        if (m_refreshPending)
            QMetaObject::invokeMethod(this, &PageView::refresh, Qt::QueuedConnection);
        // Rows made while the drag scrolled the page go again.
        m_anchor->restoreLater();
    });
    connect(&m_state, &BoardState::litChanged, this,
            [this](const QUuid &previous, const QUuid &current) {
                for (const QUuid &id : {previous, current}) {
                    if (TaskRow *row = this->row(id))
                        row->updateControls();
                }
                for (SectionBlock *block : m_blocks)
                    block->stack()->updateSeparators();
            });
    connect(&m_state, &BoardState::composingChanged, this, [this](const QUuid &, const QUuid &id) {
        if (SectionBlock *block = this->block(id))
            revealLater(block->composeLine());
    });
    connect(&m_state, &BoardState::renamingChanged, this, [this](const QUuid &, const QUuid &id) {
        // Another rename, even of the new section, is no longer its naming.
        if (!id.isNull())
            m_namingNew = {};
        if (SectionBlock *block = this->block(id))
            revealLater(block->header());
    });
    connect(m_empty, &EmptyPageBlock::addCategory, this, &PageView::newCategory);
    m_anchor = new ScrollAnchor(
        m_scroll, [this]() -> const std::vector<SectionBlock *> & { return m_blocks; }, this);
    new DragScroller(this, m_scroll);
    m_scroll->viewport()->installEventFilter(this);
    m_scroll->widget()->installEventFilter(this);
    refresh();
}

PageView::~PageView()
{
    // Rows and fields that lose the focus as they go still report to the state, so they go
    // first, and the state no longer reaches back into them.
    disconnect(&m_state, nullptr, this, nullptr);
    // Nor does the column's teardown reach back to make rows.
    delete std::exchange(m_anchor, nullptr);
    m_scroll->viewport()->removeEventFilter(this);
    delete m_scroll;
}

bool PageView::eventFilter(QObject *watched, QEvent *event)
{
    // The view's size, the column's height or a block's place changed: the rows to show
    // are found again once the layout has run, with the row at the top of the view kept there.
    const QEvent::Type type = event->type();
    if (m_anchor
        && (type == QEvent::Resize || (type == QEvent::Move && watched != m_scroll->viewport())))
        m_anchor->restoreLater();
    return QWidget::eventFilter(watched, event);
}

QWidget *PageView::buildHeader()
{
    auto *header = new QWidget(this);
    auto *layout = new QHBoxLayout(header);
    layout->setContentsMargins(TaskRow::kInset, 0, 0, 0);
    layout->setSpacing(10);
    m_title->setElided(true);
    layout->addWidget(m_icon, 0, Qt::AlignVCenter);
    layout->addWidget(m_title, 1);
    return header;
}

QScrollArea *PageView::buildColumn()
{
    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->setAutoFillBackground(false);
    auto *column = new QWidget;
    column->setAutoFillBackground(false);
    // A click on the page's empty space takes the focus, so an open field there loses it.
    column->setFocusPolicy(Qt::ClickFocus);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 48);
    layout->setSpacing(0);
    m_blockLayout = new QVBoxLayout;
    m_blockLayout->setSpacing(kBlockSpacing);
    layout->addLayout(m_blockLayout);
    layout->addWidget(m_empty);
    layout->addStretch();
    scroll->setWidget(column);
    return scroll;
}

void PageView::setPage(const QUuid &pageId)
{
    if (pageId == m_pageId)
        return;
    m_pageId = pageId;
    m_state.setComposingSection({});
    m_state.setRenamingSection({});
    m_state.setSelectedId({});
    m_filled = false;
    refresh();
    m_scroll->verticalScrollBar()->setValue(0);
}

TaskRow *PageView::row(const QUuid &taskId) const
{
    for (SectionBlock *block : m_blocks) {
        if (TaskRow *row = block->stack()->row(taskId))
            return row;
    }
    return nullptr;
}

SectionBlock *PageView::block(const QUuid &sectionId) const
{
    for (SectionBlock *block : m_blocks) {
        if (block->sectionId() == sectionId)
            return block;
    }
    return nullptr;
}

bool PageView::showsEmptyPage() const
{
    return m_empty->isVisibleTo(this);
}

Page *PageView::shownPage() const
{
    return PlannerStore(m_model).livePage(m_pageId);
}

std::vector<Section *> PageView::shownSections(const Page *page) const
{
    return PlannerStore(m_model).sections(page);
}

void PageView::refresh()
{
    // A row inside a running drag must not be deleted; the drag's end brings the refresh.
    if (DragState::shared().isSourceRunning()) {
        m_refreshPending = true;
        return;
    }
    m_refreshPending = false;
    const Page *page = shownPage();
    const bool hadPage = std::exchange(m_hasPage, page != nullptr);
    if (page) {
        m_icon->setPageIcon(page->iconName());
        m_title->setText(page->name());
    }
    m_header->setVisible(page != nullptr);
    const std::vector<Section *> sections = shownSections(page);
    m_empty->setVisible(page != nullptr && sections.empty());
    syncBlocks(sections);
    dropStaleState(sections);
    m_filled = page != nullptr;
    if (hadPage != m_hasPage)
        Q_EMIT shownPageChanged();
}

void PageView::syncBlocks(const std::vector<Section *> &sections)
{
    const auto shown = PlannerStore(m_model).shownTasks(sections);
    std::vector<SectionBlock *> blocks;
    // Rows that leave a block wait in m_spare until every block has taken what it shows, so
    // that a row moving to another section keeps its focus and open editors.
    m_syncing = true;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        SectionBlock *block = takeBlock(*sections[i]);
        std::vector<RowStack::Entry> entries;
        entries.reserve(shown[i].open.size() + shown[i].done.size());
        for (const auto *part : {&shown[i].open, &shown[i].done}) {
            for (TaskItem *task : *part) {
                entries.push_back({task->id(), task->weak_from_this(), task->isDone(),
                                   RowContent::holdsText(task->note())});
            }
        }
        block->setTasks(std::move(entries), qsizetype(shown[i].open.size()), m_filled);
        blocks.push_back(block);
    }
    placeBlocks(blocks);
    // The blocks' places decide which rows are in view.
    m_anchor->restore();
    // A focused or editing row whose task moved out of view is made where it went.
    const QWidget *focus = window()->focusWidget();
    for (auto it = m_spare.cbegin(); it != m_spare.cend(); ++it) {
        const TaskRow *row = it.value();
        if (!row->isEditingTitle() && !row->isEditingNote()
            && !(focus && (focus == row || row->isAncestorOf(focus))))
            continue;
        for (SectionBlock *block : m_blocks) {
            if (const qsizetype at = block->stack()->indexOf(it.key()); at >= 0)
                block->stack()->realize(at);
        }
    }
    m_syncing = false;
    dismissSpareRows();
    orderFocusChain();
}

TaskRow *PageView::obtainRow(const TaskItem &task)
{
    const RowContent content = RowContent::of(task, Clock::now());
    if (TaskRow *row = m_spare.take(task.id())) {
        row->setContent(content);
        return row;
    }
    auto *row = new TaskRow(m_scope, content);
    row->setCompact(m_compact);
    row->setNotesHidden(m_notesHidden);
    connect(row, &TaskRow::focusStepRequested, this,
            [this, id = task.id()](int step) { stepFocus(id, step); });
    return row;
}

void PageView::releaseRow(TaskRow *row)
{
    m_spare.insert(row->taskId(), row);
    if (!m_syncing)
        dismissSpareRows();
}

void PageView::dismissSpareRows()
{
    // What is left belongs to tasks no longer shown here, or scrolled out of view. An editor
    // there saves its draft into the task, wherever it went, rather than losing it.
    for (TaskRow *row : std::exchange(m_spare, {})) {
        row->commitEdits();
        dismiss(row);
    }
}

SectionBlock *PageView::takeBlock(const Section &section)
{
    SectionBlock *block = this->block(section.id());
    if (!block) {
        block = new SectionBlock(m_scope, section.id(), section.name(),
                                 {[this](const TaskItem &task) { return obtainRow(task); },
                                  [this](TaskRow *row) {
                                      releaseRow(row);
                                  }});
        block->setCompact(m_compact);
        block->stack()->setNotesHidden(m_notesHidden);
        block->stack()->setViewport(m_scroll->viewport());
        block->installEventFilter(this);
        connect(block->header(), &SectionHeader::nameSubmitted, this,
                [this, id = section.id()] { followNaming(id); });
    } else {
        block->setName(section.name());
    }
    return block;
}

void PageView::placeBlocks(const std::vector<SectionBlock *> &blocks)
{
    for (SectionBlock *block : m_blocks) {
        if (std::find(blocks.begin(), blocks.end(), block) == blocks.end())
            dismiss(block);
    }
    if (blocks != m_blocks) {
        for (SectionBlock *block : blocks)
            m_blockLayout->removeWidget(block);
        for (SectionBlock *block : blocks) {
            m_blockLayout->addWidget(block);
            block->show();
        }
    }
    m_blocks = blocks;
}

void PageView::dismiss(QWidget *widget)
{
    parkFocusOutOf(widget);
    widget->hide();
    widget->deleteLater();
}

void PageView::parkFocusOutOf(QWidget *widget)
{
    // Left alone, Qt would hand the focus of a hidden widget to the next one in the chain: a
    // compose line or a row, where the user's next keys would file or close a task.
    const QWidget *focus = window()->focusWidget();
    if (focus && (focus == widget || widget->isAncestorOf(focus)))
        m_scroll->widget()->setFocus(Qt::OtherFocusReason);
}

void PageView::orderFocusChain()
{
    QWidget *previous = nullptr;
    for (SectionBlock *block : m_blocks)
        previous = block->orderFocusChain(previous);
}

void PageView::dropStaleState(const std::vector<Section *> &sections)
{
    const auto shown = [&sections](const QUuid &id) {
        return std::any_of(sections.begin(), sections.end(),
                           [&id](const Section *section) { return section->id() == id; });
    };
    if (!shown(m_state.composingSection()))
        m_state.setComposingSection({});
    if (!shown(m_state.renamingSection()))
        m_state.setRenamingSection({});
}

void PageView::setCompact(bool compact)
{
    m_compact = compact;
    for (SectionBlock *block : m_blocks) {
        block->setCompact(compact);
        for (TaskRow *row : block->rows())
            row->setCompact(compact);
        block->stack()->restyle();
    }
    m_anchor->restore();
}

void PageView::setNotesHidden(bool hidden)
{
    m_notesHidden = hidden;
    for (SectionBlock *block : m_blocks) {
        for (TaskRow *row : block->rows())
            row->setNotesHidden(hidden);
        block->stack()->setNotesHidden(hidden);
    }
    m_anchor->restore();
}

void PageView::beginComposeInFirstSection()
{
    const std::vector<Section *> sections = shownSections(shownPage());
    if (!sections.empty())
        m_state.setComposingSection(sections.front()->id());
}

void PageView::newCategory()
{
    if (Page *page = shownPage()) {
        Section *section
            = PlannerStore(m_model).createSection(QStringLiteral("New category"), *page);
        m_state.setRenamingSection(section->id());
        m_namingNew = section->id();
    }
}

void PageView::followNaming(const QUuid &sectionId)
{
    // A section that was just named is where the next words go: its first task.
    if (sectionId == std::exchange(m_namingNew, {}))
        m_state.setComposingSection(sectionId);
}

void PageView::commitEdits()
{
    for (SectionBlock *block : m_blocks) {
        block->stack()->commitEdits();
        block->header()->commit();
    }
    m_state.setComposingSection({});
}

void PageView::stepFocus(const QUuid &fromId, int step)
{
    // The rows of all blocks in the order shown, blocks without rows skipped.
    auto from = std::find_if(m_blocks.begin(), m_blocks.end(), [&fromId](SectionBlock *block) {
        return block->stack()->indexOf(fromId) >= 0;
    });
    if (from == m_blocks.end())
        return;
    RowStack *stack = (*from)->stack();
    qsizetype index = stack->indexOf(fromId) + step;
    while (index < 0 || index >= stack->count()) {
        if (step < 0 ? from == m_blocks.begin() : from + 1 == m_blocks.end())
            return;
        from += step < 0 ? -1 : 1;
        stack = (*from)->stack();
        index = step < 0 ? stack->count() - 1 : 0;
    }
    TaskRow *target = stack->realize(index);
    if (!target)
        return;
    window()->setAttribute(Qt::WA_KeyboardFocusChange);
    target->setFocus(Qt::TabFocusReason);
    m_state.setSelectedId(target->taskId());
    m_scroll->ensureWidgetVisible(target, 0, 24);
}

bool PageView::revealTask(const QUuid &taskId)
{
    for (SectionBlock *block : m_blocks) {
        const qsizetype index = block->stack()->indexOf(taskId);
        if (index < 0)
            continue;
        // A page set just now has not been laid out yet; the row's place must be known.
        if (QLayout *column = m_scroll->widget()->layout())
            column->activate();
        TaskRow *target = block->stack()->realize(index);
        if (!target)
            return false;
        target->setFocus(Qt::OtherFocusReason);
        m_state.setSelectedId(taskId);
        m_scroll->ensureWidgetVisible(target, 0, m_scroll->viewport()->height() / 3);
        revealLater(target);
        FlashHighlight::flash(target);
        return true;
    }
    return false;
}

void PageView::revealLater(QWidget *widget)
{
    // After the focus lands, once the layout has settled.
    QTimer::singleShot(0, widget, [this, widget] { m_scroll->ensureWidgetVisible(widget, 0, 24); });
}

} // namespace furrow
