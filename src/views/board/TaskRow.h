#pragma once

#include "views/board/BoardScope.h"
#include "views/board/RowContent.h"
#include "views/board/TaskDrop.h"

#include <QWidget>

#include <optional>

class QHBoxLayout;
class QVBoxLayout;

namespace furrow {

class DropFeedback;
class EasedValue;
class KeyboardFocus;
class NoteEditor;
class NoteText;
class RowControls;
class RowTrailing;
class TaskBox;
class TextLabel;
class CaptureMarks;
class TitleEditor;
class TitleText;

// One task in a section block: its check box, title, note, due label, project tag and the
// hover controls. The title and the note are edited in place; the title of an open task is
// where a drag starts, and an open row is a drop target that inserts before itself.
class TaskRow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kInset = 10; // the hover fill reaches this far beyond the content
    static constexpr qreal kBoxSide = 18;

    TaskRow(BoardScope scope, const RowContent &content, QWidget *parent = nullptr);

    QUuid taskId() const { return m_content.id; }
    const RowContent &content() const { return m_content; }
    void setContent(const RowContent &content);
    void setCompact(bool compact);
    void setNotesHidden(bool hidden);

    // Where a drop on this row lands; none for a done row, which is no target.
    void setDropTarget(const std::optional<TaskDropTarget> &target);
    // The hairline above the row: absent on a block's first row, faded out next to the
    // hovered row.
    void setSeparator(bool present, bool faded);
    bool hasSeparator() const { return m_separatorPresent; }
    qreal separatorOpacity() const;

    void toggle();
    // Opens the title editor with the cursor before character `cursorPosition`, or at the end.
    void beginEdit(int cursorPosition = -1);
    void beginNote();
    void openMenu();
    // Saves what an open title or note editor holds and closes it, as a loss of focus would.
    void commitEdits();
    bool isEditingTitle() const { return m_titleEditor != nullptr; }
    bool isEditingNote() const { return m_noteEditor != nullptr; }
    bool isHovering() const { return m_hovering; }
    // The row looks hovered (controls and fill): it is the board's lit row and not editing its
    // title. A row is lit while the pointer is over it, or while it holds focus that came from
    // the keyboard; a click focuses the row but lights it only as long as the pointer stays.
    bool showsControls() const;
    // Gives the row the focus back after a move took it away, lit as it was before.
    void restoreFocus();
    // Shows or hides the hover controls after the lit row changed.
    void updateControls();
    // Fades the row in where it has just landed.
    void fadeIn();

    RowControls *controls() const;
    // The row and its focusable parts in tab order: editors, then the controls.
    std::vector<QWidget *> focusWidgets() const;

Q_SIGNALS:
    // Up or Down on the focused row: move the focus to the row before or after.
    void focusStepRequested(int step);

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    TaskItem *task() const;
    void buildMainLine();
    void applyDone();
    void commitTitle(bool refocus);
    void endEdit(bool refocus);
    void commitNote();
    void endNote();
    void updateNoteLine();
    void updateMargins();
    void ensureControls();
    void orderFocusChain();
    void openProjectPicker();
    void startDrag();
    QPixmap dragPreview() const;

    BoardScope m_scope;
    RowContent m_content;
    bool m_compact = false;
    bool m_notesHidden = false;
    bool m_hovering = false;
    bool m_separatorPresent = false;

    QVBoxLayout *m_layout;
    QHBoxLayout *m_mainLine;
    QHBoxLayout *m_noteLine;
    TaskBox *m_box;
    TitleText *m_title;
    RowTrailing *m_trailing;
    TitleEditor *m_titleEditor = nullptr;
    CaptureMarks *m_titleMarks = nullptr;
    NoteText *m_noteText = nullptr;
    NoteEditor *m_noteEditor = nullptr;
    TextLabel *m_noteHint = nullptr; // under the note editor while it is open
    EasedValue *m_separator;
    KeyboardFocus *m_keyFocus;
    DropFeedback *m_drop = nullptr;
};

} // namespace furrow
