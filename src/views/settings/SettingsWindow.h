#pragma once

#include "views/settings/BackupTab.h"
#include "views/settings/SettingsTab.h"

#include <QWidget>

class QStackedWidget;

namespace furrow {

class MenuController;
class ModelContext;
class ProjectsTab;
class TabPillBar;

// The "settings" window: a header with the application's name, the five tab pills and the
// current tab's page. Ctrl+Tab and Ctrl+PgDown go to the next tab, Ctrl+Shift+Tab and
// Ctrl+PgUp to the previous one; Escape closes an open popover, else, like Ctrl+W, the window,
// keeping the names typed.
class SettingsWindow : public QWidget
{
    Q_OBJECT

public:
    using Tab = SettingsTab;

    SettingsWindow(ModelContext &context, BackupTab::Actions backupActions,
                   QWidget *parent = nullptr);

    // Puts `content` in the tab's page, inset like the window's own tabs and scrolled when tall,
    // replacing (and deleting) what was there.
    void setTabContent(Tab tab, QWidget *content);
    QWidget *tabContent(Tab tab) const;
    void showTab(Tab tab);
    Tab currentTab() const;

    // Shows the window (restored if minimised), raises it and gives it the focus.
    void present();
    // Saves the project names being typed; whenever the window hides and before a quit.
    void commitEdits();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *buildHeader();
    void stepTab(int delta);
    // Keeps the window within the available area of its screen: centred there the first time,
    // brought back in (and shrunk if need be) when it was left outside.
    void placeOnScreen();

    MenuController *m_menus;
    ProjectsTab *m_projects;
    TabPillBar *m_tabs = nullptr;
    QStackedWidget *m_pages = nullptr;
};

} // namespace furrow
