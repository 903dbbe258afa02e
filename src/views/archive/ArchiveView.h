#pragma once

#include "model/Record.h"

#include <QWidget>

namespace furrow {

class ArchiveColumn;
class ArchiveRow;
class ModelContext;
class PillButton;
class QuietScrollArea;
class TextLabel;

// The archive window's content: the tasks that have left the board, on two tabs (the done-task
// archive; the backup document is `PlannerArchive`, in persistence). Done lists the filed-away
// done tasks by the day they were closed; Dropped lists tasks archived while open, with the
// days left before they are purged. Every task can be put back. Each time the view is shown,
// dropped tasks older than 30 days are purged.
class ArchiveView : public QWidget
{
    Q_OBJECT

public:
    enum class Tab { Done, Dropped };

    explicit ArchiveView(ModelContext &context, QWidget *parent = nullptr);

    Tab tab() const { return m_tab; }
    void setTab(Tab tab);

    // Brings the task back as an open task, into the fallback section when its own is gone.
    void putBack(const QUuid &taskId);
    // Opens the tab that lists the archived task, scrolls to it and highlights it; false when
    // the archive does not hold it.
    bool reveal(const QUuid &taskId);

    // The line under the title and the empty text for the current tab.
    QString lineText() const;
    // The empty text while the tab lists nothing, otherwise empty.
    QString emptyText() const;
    // The rows that have widgets: those in view and a few around them, top to bottom.
    QList<ArchiveRow *> rows() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildHead();
    void onModelChanged(RecordKinds kinds);
    void rebuild();
    static QString emptyTextOf(Tab tab);

    ModelContext &m_context;
    Tab m_tab = Tab::Done;
    TextLabel *m_line = nullptr;
    PillButton *m_doneTab = nullptr;
    PillButton *m_droppedTab = nullptr;
    QuietScrollArea *m_area = nullptr;
    ArchiveColumn *m_column = nullptr;
};

} // namespace furrow
