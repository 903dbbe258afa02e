#pragma once

#include "model/Record.h"
#include "views/sidebar/SidebarSelection.h"

#include <QWidget>

#include <optional>
#include <vector>

class QVBoxLayout;

namespace furrow {

class MenuController;
class ModelContext;
class Page;
class PageRow;
class QuietScrollArea;
class SidebarRow;

// The main window's left column: the goals entry, one row per live page with its open-task
// count, and a foot with "Archive" and "New page". It selects what the window shows and
// creates, renames, re-icons and deletes pages through the planner store.
class Sidebar : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidth = 236;

    Sidebar(ModelContext &context, MenuController &menus, QWidget *parent = nullptr);

    SidebarSelection selection() const { return m_selection; }
    // Highlights the entry; emits selectionChanged when the selection differs.
    void setSelection(const SidebarSelection &selection);

    // Space above the goals entry, for a toolbar strip laid over the window's top edge.
    void setTopInset(int inset);

    // Creates "New page" with the folder icon, selects it and opens its name for editing.
    void createPage();
    // Deletes the page; when it was selected, the first remaining page (or goals) is.
    void deletePage(const QUuid &pageId);
    // Opens the page's name for editing; Return commits, Escape cancels.
    void beginRename(const QUuid &pageId);
    std::optional<QUuid> editingPage() const { return m_editingPage; }

    const std::vector<PageRow *> &pageRows() const { return m_pageRows; }
    PageRow *rowFor(const QUuid &pageId) const;

Q_SIGNALS:
    void selectionChanged(furrow::SidebarSelection selection);
    void archiveRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *buildGoalsRow();
    QWidget *buildFoot();
    void onModelChanged(RecordKinds kinds);
    void refresh(bool recount = true);
    PageRow *makeRow(const QUuid &pageId);
    void commitRename(const QUuid &pageId, const QString &draft);
    void endRename();
    void setIcon(const QUuid &pageId, const QString &iconName);
    void stepFocus(SidebarRow *from, int step);
    void updateHighlight();
    Page *livePage(const QUuid &pageId) const;

    ModelContext &m_context;
    MenuController &m_menus;
    SidebarSelection m_selection;
    std::optional<QUuid> m_editingPage;
    QVBoxLayout *m_layout;
    SidebarRow *m_goalsRow = nullptr;
    QVBoxLayout *m_pageLayout = nullptr;
    QuietScrollArea *m_area = nullptr;
    std::vector<PageRow *> m_pageRows;
    QHash<QUuid, qint64> m_counts; // open tasks by page
};

} // namespace furrow
