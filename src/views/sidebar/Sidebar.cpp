#include "views/sidebar/Sidebar.h"

#include "model/PlannerStore.h"
#include "views/menus/MenuController.h"
#include "views/sidebar/PageRow.h"
#include "views/sidebar/SidebarFootButton.h"
#include "views/theme/IconView.h"
#include "views/theme/Theme.h"
#include "views/widgets/HairLine.h"
#include "views/widgets/QuietScrollArea.h"
#include "views/widgets/TextLabel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QTimer>

namespace furrow {

namespace {
constexpr int kSideMargin = 8;
constexpr int kRowSpacing = 2;
} // namespace

Sidebar::Sidebar(ModelContext &context, MenuController &menus, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_menus(menus)
    , m_layout(new QVBoxLayout(this))
{
    setFixedWidth(kWidth);
    // The trailing hair line is painted in the last column.
    m_layout->setContentsMargins(0, 12, 1, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(buildGoalsRow());
    m_layout->addSpacing(10);

    auto *list = new QWidget;
    m_pageLayout = new QVBoxLayout(list);
    m_pageLayout->setContentsMargins(kSideMargin, 0, kSideMargin, 8);
    m_pageLayout->setSpacing(kRowSpacing);
    m_pageLayout->addStretch();
    m_area = new QuietScrollArea(this);
    m_area->setContent(list);
    m_layout->addWidget(m_area, 1);
    m_layout->addWidget(new HairLine(this));
    m_layout->addWidget(buildFoot());

    connect(&context, &ModelContext::changed, this, &Sidebar::onModelChanged);
    refresh();
    updateHighlight();
}

QWidget *Sidebar::buildGoalsRow()
{
    auto *holder = new QWidget(this);
    auto *holderLayout = new QHBoxLayout(holder);
    holderLayout->setContentsMargins(kSideMargin, 0, kSideMargin, 0);
    m_goalsRow = new SidebarRow(holder);
    m_goalsRow->setAccessibleName(QStringLiteral("Goals"));
    auto *icon = IconView::symbol(QStringLiteral("target"), 18, Theme::gray, m_goalsRow);
    icon->setFixedSize(28, 28);
    auto *title = new TextLabel(QStringLiteral("Goals"), Theme::body(), Theme::gray, m_goalsRow);
    m_goalsRow->contentLayout()->setContentsMargins(3, 0, 3, 0);
    m_goalsRow->contentLayout()->setSpacing(4);
    m_goalsRow->contentLayout()->addWidget(icon);
    m_goalsRow->contentLayout()->addWidget(title, 1);
    holderLayout->addWidget(m_goalsRow);

    connect(m_goalsRow, &SidebarRow::activated, this,
            [this] { setSelection(SidebarSelection::goals()); });
    connect(m_goalsRow, &SidebarRow::selectedChanged, this, [icon, title](bool selected) {
        icon->setColor(selected ? Theme::ink : Theme::gray);
        title->setColor(selected ? Theme::ink : Theme::gray);
    });
    connect(m_goalsRow, &SidebarRow::stepRequested, this,
            [this](int step) { stepFocus(m_goalsRow, step); });
    return holder;
}

QWidget *Sidebar::buildFoot()
{
    auto *foot = new QWidget(this);
    auto *layout = new QHBoxLayout(foot);
    // With the buttons' own 8 of padding, their icons and labels sit 16 in from the edges.
    layout->setContentsMargins(8, 12, 8, 12);
    layout->setSpacing(4);
    auto *archive = new SidebarFootButton(QStringLiteral("archive"), QStringLiteral("Archive"));
    auto *newPage = new SidebarFootButton(QStringLiteral("plus"), QStringLiteral("New page"));
    archive->setObjectName(QStringLiteral("sidebarArchive"));
    layout->addWidget(archive);
    layout->addStretch();
    layout->addWidget(newPage);
    connect(archive, &QAbstractButton::clicked, this, &Sidebar::archiveRequested);
    connect(newPage, &QAbstractButton::clicked, this, &Sidebar::createPage);
    return foot;
}

void Sidebar::setSelection(const SidebarSelection &selection)
{
    const bool changed = !(selection == m_selection);
    m_selection = selection;
    updateHighlight();
    if (changed)
        Q_EMIT selectionChanged(selection);
}

void Sidebar::setTopInset(int inset)
{
    m_layout->setContentsMargins(0, inset, 1, 0);
}

void Sidebar::updateHighlight()
{
    m_goalsRow->setSelected(m_selection.isGoals());
    for (PageRow *row : m_pageRows)
        row->setSelected(!m_selection.isGoals() && m_selection.pageId == row->pageId());
}

void Sidebar::onModelChanged(RecordKinds kinds)
{
    // Only tasks and sections change the counts; a page's name or icon does not.
    const RecordKinds counted = RecordKinds(RecordKind::Section) | RecordKind::Task;
    if (kinds & (counted | RecordKind::Page))
        refresh(kinds.testAnyFlags(counted));
}

void Sidebar::refresh(bool recount)
{
    const PlannerStore store(m_context);
    QHash<QUuid, PageRow *> unused;
    for (PageRow *row : m_pageRows)
        unused.insert(row->pageId(), row);
    const auto pages = store.pages();
    // A page that comes back (undo, sync) brings the tasks of its sections with it.
    recount = recount || std::any_of(pages.begin(), pages.end(), [&](const Page *page) {
                  return !unused.contains(page->id());
              });
    if (recount)
        m_counts = store.openCounts();
    std::vector<PageRow *> rows;
    for (const Page *page : pages) {
        PageRow *row = unused.take(page->id());
        if (!row)
            row = makeRow(page->id());
        row->showPage(*page, m_counts.value(page->id()));
        rows.push_back(row);
    }
    for (PageRow *row : std::as_const(unused)) {
        if (m_editingPage == row->pageId())
            m_editingPage.reset();
        m_pageLayout->removeWidget(row);
        row->hide();
        // Later: the row may be the sender of the signal that led here.
        row->deleteLater();
    }
    if (rows != m_pageRows) {
        for (PageRow *row : rows)
            m_pageLayout->removeWidget(row);
        for (std::size_t i = 0; i < rows.size(); ++i)
            m_pageLayout->insertWidget(int(i), rows[i]);
    }
    m_pageRows = std::move(rows);
    updateHighlight();
}

PageRow *Sidebar::makeRow(const QUuid &pageId)
{
    auto *row = new PageRow(pageId, m_menus, m_pageLayout->parentWidget());
    row->show();
    connect(row, &SidebarRow::activated, this,
            [this, pageId] { setSelection(SidebarSelection::page(pageId)); });
    connect(row, &SidebarRow::stepRequested, this, [this, row](int step) { stepFocus(row, step); });
    connect(row, &PageRow::iconPicked, this,
            [this, pageId](const QString &name) { setIcon(pageId, name); });
    connect(row, &PageRow::renameRequested, this, [this, pageId] { beginRename(pageId); });
    connect(row, &PageRow::deleteRequested, this, [this, pageId] { deletePage(pageId); });
    connect(row, &PageRow::renameCommitted, this,
            [this, pageId](const QString &draft) { commitRename(pageId, draft); });
    connect(row, &PageRow::renameCancelled, this, &Sidebar::endRename);
    return row;
}

PageRow *Sidebar::rowFor(const QUuid &pageId) const
{
    for (PageRow *row : m_pageRows) {
        if (row->pageId() == pageId)
            return row;
    }
    return nullptr;
}

Page *Sidebar::livePage(const QUuid &pageId) const
{
    return PlannerStore(m_context).livePage(pageId);
}

void Sidebar::createPage()
{
    Page *page
        = PlannerStore(m_context).createPage(QStringLiteral("New page"), QStringLiteral("folder"));
    refresh();
    setSelection(SidebarSelection::page(page->id()));
    beginRename(page->id());
}

void Sidebar::deletePage(const QUuid &pageId)
{
    Page *page = livePage(pageId);
    if (!page)
        return;
    std::vector<QUuid> others;
    for (const Page *other : PlannerStore(m_context).pages()) {
        if (other != page)
            others.push_back(other->id());
    }
    const PageRow *row = rowFor(pageId);
    const bool hadFocus = row && row->hasFocusWithin();
    const bool fromKeyboard = row && row->hasKeyboardFocus();
    PlannerStore(m_context).deletePage(*page);
    refresh();
    if (m_selection == SidebarSelection::page(pageId)) {
        setSelection(others.empty() ? SidebarSelection::goals()
                                    : SidebarSelection::page(others.front()));
    }
    if (hadFocus) {
        PageRow *selected = m_selection.isGoals() ? nullptr : rowFor(m_selection.pageId);
        (selected ? static_cast<SidebarRow *>(selected) : m_goalsRow)
            ->setFocus(fromKeyboard ? Qt::OtherFocusReason : Qt::MouseFocusReason);
    }
}

void Sidebar::beginRename(const QUuid &pageId)
{
    const Page *page = livePage(pageId);
    PageRow *row = rowFor(pageId);
    if (!page || !row)
        return;
    // One name is edited at a time; an edit left open elsewhere is dropped.
    endRename();
    m_editingPage = pageId;
    row->beginEditing(page->name());
    QTimer::singleShot(0, m_area, [area = m_area, row] { area->ensureWidgetVisible(row); });
}

void Sidebar::commitRename(const QUuid &pageId, const QString &draft)
{
    if (Page *page = livePage(pageId))
        PlannerStore(m_context).rename(*page, draft);
    endRename();
}

void Sidebar::endRename()
{
    if (!m_editingPage)
        return;
    if (PageRow *row = rowFor(*m_editingPage))
        row->endEditing();
    m_editingPage.reset();
}

void Sidebar::setIcon(const QUuid &pageId, const QString &iconName)
{
    if (Page *page = livePage(pageId))
        PlannerStore(m_context).setIcon(iconName, *page);
}

void Sidebar::stepFocus(SidebarRow *from, int step)
{
    std::vector<SidebarRow *> rows{m_goalsRow};
    rows.insert(rows.end(), m_pageRows.begin(), m_pageRows.end());
    const auto at = std::find(rows.begin(), rows.end(), from);
    if (at == rows.end())
        return;
    const auto index
        = std::clamp<qsizetype>(at - rows.begin() + step, 0, qsizetype(rows.size()) - 1);
    SidebarRow *next = rows[std::size_t(index)];
    next->setFocus(Qt::TabFocusReason);
    if (next != m_goalsRow)
        m_area->ensureWidgetVisible(next);
}

void Sidebar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::backdrop);
    painter.fillRect(QRect(width() - 1, 0, 1, height()), Theme::hair);
}

} // namespace furrow
