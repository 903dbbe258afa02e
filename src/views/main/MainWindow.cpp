#include "MainWindow.h"

#include "LayoutPreferences.h"
#include "MainToolbar.h"
#include "SaveFailureNotice.h"
#include "SidebarSlide.h"

#include "model/PlannerStore.h"
#include "model/VectorStore.h"
#include "model/find/FindIndex.h"
#include "model/find/FindScope.h"
#include "model/find/LinearFind.h"
#include "views/board/PageView.h"
#include "views/find/FindPalette.h"
#include "views/goals/GoalsPage.h"
#include "views/menus/MenuController.h"
#include "views/sidebar/Sidebar.h"
#include "views/theme/Theme.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QMenuBar>
#include <QPainter>
#include <QShortcut>
#include <QShowEvent>
#include <QStackedWidget>

namespace furrow {

namespace {
constexpr int kMinimumWidth = 860;
constexpr int kMinimumHeight = 560;
} // namespace

MainWindow::MainWindow(ModelContext &context, VectorStore &goals, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_goals(goals)
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Furrow"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(kMinimumWidth, 900);

    m_menus = new MenuController(this);
    m_toolbar = new MainToolbar(this);
    m_sidebar = new Sidebar(context, *m_menus, this);
    m_sidebar->setObjectName(QStringLiteral("sidebar"));
    m_goalsPage = new GoalsPage(goals, this);
    m_goalsPage->setObjectName(QStringLiteral("goalsPage"));
    m_pageView = new PageView(context, *m_menus, this);
    m_pageView->setObjectName(QStringLiteral("pageView"));
    m_sidebarSlide = new SidebarSlide(m_sidebar, this);
    m_content = new QStackedWidget(this);
    m_content->addWidget(m_goalsPage);
    m_content->addWidget(m_pageView);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(m_sidebarSlide);
    body->addWidget(m_content, 1);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_toolbar);
    column->addWidget(new SaveFailureNotice(context, this));
    column->addLayout(body, 1);

    connect(m_sidebarSlide, &SidebarSlide::slid, this, qOverload<>(&QWidget::update));

    LayoutPreferences &layout = LayoutPreferences::shared();
    connect(m_toolbar, &MainToolbar::sidebarToggled, this,
            [&layout] { layout.setSidebarHidden(!layout.sidebarHidden()); });
    connect(m_toolbar, &MainToolbar::notesToggled, this,
            [&layout] { layout.setNotesHidden(!layout.notesHidden()); });
    connect(m_toolbar, &MainToolbar::rowHeightToggled, this,
            [&layout] { layout.setCompact(!layout.compact()); });
    connect(m_toolbar, &MainToolbar::newCategoryRequested, m_pageView, &PageView::newCategory);
    connect(m_toolbar, &MainToolbar::settingsRequested, this, &MainWindow::settingsRequested);
    connect(m_toolbar, &MainToolbar::syncSettingsRequested, this,
            &MainWindow::syncSettingsRequested);
    connect(m_menus, &MenuController::projectSettingsRequested, this,
            &MainWindow::projectSettingsRequested);
    connect(&layout, &LayoutPreferences::changed, this, [this] { applyLayout(true); });

    connect(m_sidebar, &Sidebar::selectionChanged, this, &MainWindow::showSelection);
    connect(m_sidebar, &Sidebar::archiveRequested, this, &MainWindow::archiveRequested);
    connect(m_pageView, &PageView::shownPageChanged, this, [this] {
        m_toolbar->setPageShown(m_sidebar->selection().kind == SidebarSelection::Kind::Page,
                                m_pageView->hasPage());
    });
    connect(&context, &ModelContext::changed, this, &MainWindow::followModel);

    m_find = new FindPalette(
        context, [this](const QString &query, qsizetype limit) { return find(query, limit); },
        [this](const FindResult &result) { return goTo(result); }, this);
    for (const QKeySequence &keys :
         {QKeySequence(Qt::CTRL | Qt::Key_K), QKeySequence(Qt::CTRL | Qt::Key_F)}) {
        auto *shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, m_find, &FindPalette::toggle);
    }

    applyLayout(false);
    showSelection();
}

MainWindow::~MainWindow() = default;

MainWindow *MainWindow::existing()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->objectName().startsWith(QLatin1String("main")))
            return qobject_cast<MainWindow *>(window);
    }
    return nullptr;
}

void MainWindow::setMenuBar(QMenuBar *menuBar)
{
    layout()->setMenuBar(menuBar);
}

SidebarSelection MainWindow::selection() const
{
    return m_sidebar->selection();
}

void MainWindow::setSelection(const SidebarSelection &selection)
{
    m_sidebar->setSelection(selection);
    showSelection();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        Q_EMIT shown();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        Q_EMIT closed();
}

void MainWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Closed or hidden, not minimised: an editor left open would come back stale.
    if (!event->spontaneous())
        commitEdits();
}

void MainWindow::commitEdits()
{
    m_pageView->commitEdits();
}

void MainWindow::paintEvent(QPaintEvent *)
{
    // Paper to the window's edges; under the toolbar strip the sidebar's colour continues up.
    QPainter painter(this);
    painter.fillRect(rect(), Theme::paper);
    const QRect strip(0, m_toolbar->y(), m_sidebarSlide->width(), m_toolbar->height());
    painter.fillRect(strip, Theme::backdrop);
    painter.fillRect(QRect(strip.right(), strip.top(), 1, strip.height()), Theme::hair);
}

void MainWindow::openOn(const Page &starter)
{
    if (selection().isGoals() && m_goals.visible().empty())
        setSelection(SidebarSelection::page(starter.id()));
}

void MainWindow::showSelection()
{
    const SidebarSelection current = selection();
    if (current.isGoals()) {
        m_content->setCurrentWidget(m_goalsPage);
    } else {
        m_pageView->setPage(current.pageId);
        m_content->setCurrentWidget(m_pageView);
    }
    m_toolbar->setPageShown(!current.isGoals(), m_pageView->hasPage());
}

// A selected page that disappeared (undo, sync, import) gives way to the first live page, or to
// the goals page when none is left.
void MainWindow::followModel()
{
    const SidebarSelection current = selection();
    if (current.isGoals())
        return;
    const auto pages = PlannerStore(m_context).pages();
    const bool present = std::any_of(
        pages.begin(), pages.end(), [&](const Page *page) { return page->id() == current.pageId; });
    if (present)
        return;
    setSelection(pages.empty() ? SidebarSelection::goals()
                               : SidebarSelection::page(pages.front()->id()));
}

void MainWindow::focusInput()
{
    if (!selection().isGoals() && m_pageView->hasPage())
        m_pageView->beginComposeInFirstSection();
}

std::vector<FindResult> MainWindow::find(const QString &query, qsizetype limit) const
{
    if (m_findIndex)
        return m_findIndex->search(query, m_goals.visible(), limit);
    return LinearFind::search(PlannerStore(m_context), query, m_goals.visible(), limit);
}

bool MainWindow::revealTask(const QUuid &taskId)
{
    FindResult result;
    result.id = taskId;
    return goTo(result);
}

bool MainWindow::goTo(const FindResult &result)
{
    const PlannerStore store(m_context);
    switch (result.kind) {
    case FindResult::Kind::Goal:
        setSelection(SidebarSelection::goals());
        return true;
    case FindResult::Kind::Page:
        if (!store.livePage(result.id))
            return false;
        setSelection(SidebarSelection::page(result.id));
        return true;
    case FindResult::Kind::Task:
        break;
    }
    // Where the task is now, which a sync or an undo may have changed since it was listed.
    const TaskItem *task = store.task(result.id);
    if (!task || !FindScope::isSearchable(*task))
        return false;
    if (task->isArchived()) {
        Q_EMIT archivedTaskRequested(result.id);
        return true;
    }
    setSelection(SidebarSelection::page(task->section()->page()->id()));
    return m_pageView->revealTask(result.id);
}

void MainWindow::applyLayout(bool animated)
{
    const LayoutPreferences &layout = LayoutPreferences::shared();
    m_pageView->setCompact(layout.compact());
    m_pageView->setNotesHidden(layout.notesHidden());
    m_toolbar->setLayoutState(layout.sidebarHidden(), layout.notesHidden(), layout.compact());
    if (layout.sidebarHidden() == m_sidebarSlide->isShown())
        m_sidebarSlide->setShown(!layout.sidebarHidden(), animated);
}

} // namespace furrow
