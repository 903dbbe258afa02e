#pragma once

#include "views/board/BoardScope.h"

#include <QUuid>
#include <QWidget>

#include <vector>

namespace furrow {

class AnchoredButton;
class IconButton;

// The hover controls at the end of a task row. An open task has three 24-point controls:
// the date (due picker), the note and the row menu; a done task has one, "File it now".
class RowControls : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSide = 24;
    static constexpr int kGap = 8;
    static constexpr int widthFor(bool done) { return done ? kSide : 3 * kSide + 2 * kGap; }

    RowControls(BoardScope scope, const QUuid &taskId, bool done, QWidget *parent = nullptr);

    bool isForDone() const { return m_done; }
    // Words the help of the date and note controls to the task.
    void setHelp(bool hasDueDate, bool hasNote);

    // The controls in tab order.
    std::vector<QWidget *> focusWidgets() const;

    // Opens the row menu under the menu control.
    void openMenu();

Q_SIGNALS:
    void noteRequested();

private:
    void buildOpen();
    void buildDone();
    QWidget *buildDuePicker();
    QWidget *buildMenu();

    BoardScope m_scope;
    QUuid m_taskId;
    bool m_done;
    AnchoredButton *m_date = nullptr;
    IconButton *m_note = nullptr;
    AnchoredButton *m_menu = nullptr;
    IconButton *m_file = nullptr;
};

} // namespace furrow
