#pragma once

#include "model/find/FindResult.h"
#include "views/sidebar/SidebarSelection.h"

#include <QWidget>

class QMenuBar;
class QStackedWidget;

namespace furrow {

class FindIndex;
class FindPalette;
class GoalsPage;
class MainToolbar;
class MenuController;
class ModelContext;
class Page;
class PageView;
class Sidebar;
class SidebarSlide;
class VectorStore;

// The planner's main window (object name "main"): the toolbar strip over the sidebar and, on
// the right, the goals page or the selected page. Each time it is shown it says so, for the
// owner to tidy the store, and then picks what to show.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    MainWindow(ModelContext &context, VectorStore &goals, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The application's main window if one is open and visible.
    static MainWindow *existing();

    void setMenuBar(QMenuBar *menuBar);
    SidebarSelection selection() const;
    void setSelection(const SidebarSelection &selection);
    // After the store was tidied on showing: with goals set for the quarter the window opens
    // on them, otherwise on the starter page.
    void openOn(const Page &starter);
    // Saves what the open title, note and name editors hold and closes them, as a loss of focus
    // would; before the application quits and whenever the window hides.
    void commitEdits();
    // Starts a new task in the first section of the page shown (New Task); does nothing on the
    // goals or without a page.
    void focusInput();

    // Shows the page that holds the task, scrolled to it, focused and briefly highlighted, as
    // the find palette does; false when the task is on no page any more.
    bool revealTask(const QUuid &taskId);

    // The index the find palette searches; without one it searches linearly.
    void setFindIndex(FindIndex *index) { m_findIndex = index; }
    MainToolbar *toolbar() const { return m_toolbar; }

Q_SIGNALS:
    // The window was shown (not restored from minimised): time for the store's housekeeping.
    void shown();
    // The Settings chip was clicked: the settings window opens where it was left.
    void settingsRequested();
    // "Manage projects…" was chosen: the settings window opens on its Projects tab.
    void projectSettingsRequested();
    // The Settings chip was clicked while sync is failing: the settings window opens on its
    // Sync tab.
    void syncSettingsRequested();
    // The sidebar's Archive row was chosen.
    void archiveRequested();
    // The find palette went to an archived task: the archive window shows it.
    void archivedTaskRequested(const QUuid &taskId);
    // The user closed the window; the planner keeps running without it.
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void showSelection();
    void followModel();
    std::vector<FindResult> find(const QString &query, qsizetype limit) const;
    bool goTo(const FindResult &result);
    void applyLayout(bool animated);

    ModelContext &m_context;
    VectorStore &m_goals;
    MenuController *m_menus = nullptr;
    MainToolbar *m_toolbar = nullptr;
    Sidebar *m_sidebar = nullptr;
    QStackedWidget *m_content = nullptr;
    GoalsPage *m_goalsPage = nullptr;
    PageView *m_pageView = nullptr;
    FindPalette *m_find = nullptr;
    FindIndex *m_findIndex = nullptr;
    SidebarSlide *m_sidebarSlide = nullptr;
};

} // namespace furrow
