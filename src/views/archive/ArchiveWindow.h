#pragma once

#include <QUuid>
#include <QWidget>

namespace furrow {

class ArchiveView;
class ModelContext;

// The "archive" window: the archive view on paper, 560 × 520 by default; Escape and Ctrl+W
// close it.
class ArchiveWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ArchiveWindow(ModelContext &context, QWidget *parent = nullptr);

    // Shows the window (restored if minimised), raises it and gives it the focus.
    void present();
    // Shows the task on its tab, scrolled to and highlighted; false when it is not archived.
    bool reveal(const QUuid &taskId);

private:
    ArchiveView *m_view;
};

} // namespace furrow
