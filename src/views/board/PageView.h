#pragma once

#include "views/board/BoardScope.h"
#include "views/board/BoardState.h"

#include <QHash>
#include <QUuid>
#include <QWidget>

#include <vector>

class QScrollArea;
class QVBoxLayout;

namespace furrow {

class EmptyPageBlock;
class IconView;
class Page;
class ScrollAnchor;
class Section;
class SectionBlock;
class TaskItem;
class TaskRow;
class TextLabel;

// The right side of the main window while a page is selected: the page's icon and name over
// a scrolling column of section blocks, or the empty-page block. It owns the row interaction
// state and follows the model's changes in place: blocks and rows are kept by id and only
// what changed is redrawn, so open editors and the focus survive. Only the rows in view are
// made (see RowStack), so a page of any length costs what one screen of it costs.
class PageView : public QWidget
{
    Q_OBJECT

public:
    PageView(ModelContext &model, MenuController &menus, QWidget *parent = nullptr);
    ~PageView() override;

    // Shows the first live page with that id, or nothing.
    void setPage(const QUuid &pageId);
    QUuid pageId() const { return m_pageId; }
    // Whether the page asked for exists and is shown.
    bool hasPage() const { return m_hasPage; }

    void setCompact(bool compact);
    bool isCompact() const { return m_compact; }
    void setNotesHidden(bool hidden);
    bool notesHidden() const { return m_notesHidden; }

    // Makes the task's row wherever it is on the page, scrolls to it, focuses it and highlights
    // it briefly; false when the page does not show the task.
    bool revealTask(const QUuid &taskId);
    // Opens the compose line of the page's first section, if it has one.
    void beginComposeInFirstSection();
    // Adds a "New category" section to the page and opens its name for editing.
    void newCategory();
    // Saves what the open title, note and section name editors hold and closes them, as a loss
    // of focus would (an unfinished compose line is discarded). For a window that hides or an
    // application that quits.
    void commitEdits();

    BoardState &state() { return m_state; }
    const std::vector<SectionBlock *> &blocks() const { return m_blocks; }
    SectionBlock *block(const QUuid &sectionId) const;
    // The row of that task if it is made now (in view, focused or editing), else null.
    TaskRow *row(const QUuid &taskId) const;
    bool showsEmptyPage() const;

Q_SIGNALS:
    // hasPage() changed, or another page is shown.
    void shownPageChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildHeader();
    QScrollArea *buildColumn();
    Page *shownPage() const;
    std::vector<Section *> shownSections(const Page *page) const;

    void refresh();
    void syncBlocks(const std::vector<Section *> &sections);
    TaskRow *obtainRow(const TaskItem &task);
    void releaseRow(TaskRow *row);
    void dismissSpareRows();
    SectionBlock *takeBlock(const Section &section);
    void placeBlocks(const std::vector<SectionBlock *> &blocks);
    void orderFocusChain();
    // Takes a widget off the page; the focus it holds moves to the page itself first.
    void dismiss(QWidget *widget);
    void parkFocusOutOf(QWidget *widget);
    void dropStaleState(const std::vector<Section *> &sections);
    void stepFocus(const QUuid &fromId, int step);
    void followNaming(const QUuid &sectionId);
    void revealLater(QWidget *widget);

    ModelContext &m_model;
    BoardState m_state;
    BoardScope m_scope;
    QUuid m_pageId;
    QUuid m_namingNew; // the section "New category" made, while its first name is typed
    bool m_hasPage = false;
    bool m_compact = false;
    bool m_notesHidden = false;
    bool m_refreshPending = false;
    bool m_filled = false;  // rows shown once for this page; later arrivals fade in
    bool m_syncing = false; // rows released now may be taken up by another block

    IconView *m_icon;
    TextLabel *m_title;
    QWidget *m_header;
    QScrollArea *m_scroll;
    QVBoxLayout *m_blockLayout;
    EmptyPageBlock *m_empty;
    ScrollAnchor *m_anchor = nullptr;
    std::vector<SectionBlock *> m_blocks;
    QHash<QUuid, TaskRow *> m_spare; // released during a refresh, not yet taken up again
};

} // namespace furrow
