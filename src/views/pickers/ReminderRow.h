#pragma once

#include <QTime>
#include <QWidget>

#include <optional>

namespace furrow {

class ReminderTimeEdit;
class TaskItem;

// The due picker's "Remind me" row: a time of day for a reminder on the task's due day (the
// store gives a task without one a due day), set with the button or Return, and "No reminder"
// while the task has one.
class ReminderRow : public QWidget
{
    Q_OBJECT

public:
    explicit ReminderRow(const TaskItem &task, QWidget *parent = nullptr);

Q_SIGNALS:
    // The user chose a reminder's time of day, or none.
    void chosen(const std::optional<QTime> &time);

private:
    ReminderTimeEdit *m_time;
};

} // namespace furrow
