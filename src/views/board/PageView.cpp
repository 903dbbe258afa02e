#include "views/board/PageView.h"

#include "model/Clock.h"
#include "model/LiveRecords.h"
#include "model/PlannerStore.h"
#include "views/board/ComposeLine.h"
#include "views/board/DragState.h"
#include "views/board/EmptyPageBlock.h"
#include "views/board/SectionBlock.h"
#include "views/board/SectionHeader.h"
#include "views/board/TaskRow.h"
#include "views/theme/IconView.h"
#include "views/theme/Theme.h"
#include "views/widgets/TaskLookup.h"
#include "views/widgets/TextLabel.h"

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
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kSideMargin - TaskRow::kInset, kTopMargin, kSideMargin, 0);
    layout->setSpacing(18);
    m_header = buildHeader();
    layout->addWidget(m_header);
    m_scroll = buildColumn();
    layout->addWidget(m_scroll, 1);

    connect(&model, &ModelContext::changed, this, [this](RecordKinds kinds) {
        if (kinds & kShownKinds)
            refresh();
    });
    connect(&DragState::shared(), &DragState::sourceFinished, this, [this] {
        // Queued: the row that ran the drag is still on the stack.
        if (m_refreshPending)
            QMetaObject::invokeMethod(this, &PageView::refresh, Qt::QueuedConnection);
    });
    connect(&m_state, &BoardState::litChanged, this,
            [this](const QUuid &previous, const QUuid &current) {
                for (const QUuid &id : {previous, current}) {
                    if (TaskRow *row = m_rows.value(id))
                        row->updateControls();
                }
                for (SectionBlock *block : m_blocks)
                    block->updateSeparators();
            });
    connect(&m_state, &BoardState::composingChanged, this, [this](const QUuid &, const QUuid &id) {
        if (SectionBlock *block = this->block(id))
            revealLater(block->composeLine());
    });
    connect(&m_state, &BoardState::renamingChanged, this, [this](const QUuid &, const QUuid &id) {
        if (SectionBlock *block = this->block(id))
            revealLater(block->header());
    });
    connect(m_empty, &EmptyPageBlock::addCategory, this, &PageView::newCategory);
    refresh();
}

PageView::~PageView()
{
    // Rows and fields that lose the focus as they go still report to the state, so they go
    // first, and the state no longer reaches back into them.
    disconnect(&m_state, nullptr, this, nullptr);
    delete m_scroll;
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
    if (m_pageId.isNull())
        return nullptr;
    for (Page *page : live(m_model.fetchAll<Page>())) {
        if (page->id() == m_pageId)
            return page;
    }
    return nullptr;
}

std::vector<Section *> PageView::shownSections(const Page *page) const
{
    return page ? liveOn(m_model.fetchAll<Section>(), page) : std::vector<Section *>();
}

std::vector<PageView::SectionTasks> PageView::tasksOf(const std::vector<Section *> &sections) const
{
    std::vector<SectionTasks> result(sections.size());
    QHash<QUuid, std::size_t> index;
    for (std::size_t i = 0; i < sections.size(); ++i)
        index.insert(sections[i]->id(), i);
    for (const auto &task : m_model.rows<TaskItem>()) {
        if (!task->isActive() || !task->section())
            continue;
        const auto found = index.constFind(task->section()->id());
        if (found == index.constEnd())
            continue;
        SectionTasks &tasks = result[*found];
        (task->isDone() ? tasks.done : tasks.open).push_back(task.get());
    }
    for (SectionTasks &tasks : result) {
        sortByOrder(tasks.open);
        // Most recently done first; a done task without a time counts as done long ago.
        std::stable_sort(
            tasks.done.begin(), tasks.done.end(), [](const TaskItem *a, const TaskItem *b) {
                return a->doneAt().value_or(distantPast()) > b->doneAt().value_or(distantPast());
            });
    }
    return result;
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
    const std::vector<SectionTasks> tasks = tasksOf(sections);
    std::vector<SectionBlock *> blocks;
    QHash<QUuid, TaskRow *> rows;
    std::vector<TaskRow *> landed;
    m_rowOrder.clear();
    for (std::size_t i = 0; i < sections.size(); ++i) {
        SectionBlock *block = takeBlock(*sections[i]);
        std::vector<TaskRow *> open, done;
        for (TaskItem *task : tasks[i].open)
            open.push_back(takeRow(*task, rows, landed));
        for (TaskItem *task : tasks[i].done)
            done.push_back(takeRow(*task, rows, landed));
        block->setRows(open, done);
        m_rowOrder.insert(m_rowOrder.end(), block->rows().begin(), block->rows().end());
        blocks.push_back(block);
    }
    // What is left belongs to sections and tasks that are no longer on the page. An editor
    // there saves its draft into the task, wherever it went, rather than losing it.
    for (TaskRow *row : std::as_const(m_rows)) {
        row->commitEdits();
        dismiss(row);
    }
    m_rows = rows;
    placeBlocks(blocks);
    orderFocusChain();
    if (m_filled) {
        for (TaskRow *row : landed)
            row->fadeIn();
    }
}

TaskRow *PageView::takeRow(const TaskItem &task, QHash<QUuid, TaskRow *> &rows,
                           std::vector<TaskRow *> &landed)
{
    const RowContent content = RowContent::of(task, Clock::now());
    TaskRow *row = m_rows.take(task.id());
    if (!row) {
        row = new TaskRow(m_scope, content);
        row->setCompact(m_compact);
        row->setNotesHidden(m_notesHidden);
        connect(row, &TaskRow::focusStepRequested, this,
                [this, row](int step) { stepFocus(row, step); });
        landed.push_back(row);
    } else {
        if (row->content().sectionId != content.sectionId || row->content().done != content.done)
            landed.push_back(row);
        row->setContent(content);
    }
    rows.insert(task.id(), row);
    return row;
}

SectionBlock *PageView::takeBlock(const Section &section)
{
    SectionBlock *block = this->block(section.id());
    if (!block) {
        block = new SectionBlock(m_scope, section.id(), section.name());
        block->setCompact(m_compact);
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
    for (TaskRow *row : std::as_const(m_rows))
        row->setCompact(compact);
    for (SectionBlock *block : m_blocks)
        block->setCompact(compact);
}

void PageView::setNotesHidden(bool hidden)
{
    m_notesHidden = hidden;
    for (TaskRow *row : std::as_const(m_rows))
        row->setNotesHidden(hidden);
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
    }
}

void PageView::commitEdits()
{
    for (TaskRow *row : std::as_const(m_rows))
        row->commitEdits();
    for (SectionBlock *block : m_blocks)
        block->header()->commit();
    m_state.setComposingSection({});
}

void PageView::stepFocus(TaskRow *from, int step)
{
    const auto at = std::find(m_rowOrder.begin(), m_rowOrder.end(), from);
    if (at == m_rowOrder.end())
        return;
    const auto index = (at - m_rowOrder.begin()) + step;
    if (index < 0 || index >= qsizetype(m_rowOrder.size()))
        return;
    TaskRow *target = m_rowOrder[index];
    window()->setAttribute(Qt::WA_KeyboardFocusChange);
    target->setFocus(Qt::TabFocusReason);
    m_state.setSelectedId(target->taskId());
    m_scroll->ensureWidgetVisible(target, 0, 24);
}

void PageView::revealLater(QWidget *widget)
{
    // After the focus lands, once the layout has settled.
    QTimer::singleShot(0, widget, [this, widget] { m_scroll->ensureWidgetVisible(widget, 0, 24); });
}

} // namespace furrow
