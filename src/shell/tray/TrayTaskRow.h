#pragma once

#include <QUuid>
#include <QWidget>

namespace furrow {

class TaskBox;
class TaskItem;
class TextLabel;

// One open task in the tray panel: its check box and its title on one elided line. The box
// asks for the task to be closed; the row never keeps the task itself.
class TrayTaskRow : public QWidget
{
    Q_OBJECT

public:
    explicit TrayTaskRow(const TaskItem &task, QWidget *parent = nullptr);

    QUuid taskId() const { return m_taskId; }
    QString title() const;

Q_SIGNALS:
    void closeRequested(const QUuid &taskId);

private:
    QUuid m_taskId;
    TaskBox *m_box;
    TextLabel *m_title;
};

} // namespace furrow
