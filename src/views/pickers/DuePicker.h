#pragma once

#include "model/Instant.h"

#include <QTime>
#include <QUuid>
#include <QWidget>

namespace furrow {

class ModelContext;
class MonthCalendar;
class TaskItem;

// The popup behind a task's date control: "Today", "Tomorrow" and "Next week", a month
// calendar that always opens on the current month, the "Remind me" row, and "Clear the date"
// when the task has a due date. Every choice goes through the planner store, then asks to be
// dismissed.
class DuePicker : public QWidget
{
    Q_OBJECT

public:
    DuePicker(ModelContext &context, const TaskItem &task, QWidget *parent = nullptr);

Q_SIGNALS:
    // A choice was made (or the task is gone); the opener closes the popup.
    void dismissRequested();

private:
    void addQuickChoices();
    void chooseDaysFromNow(int days);
    void setDueDate(const OptionalInstant &day);
    void setReminder(const std::optional<QTime> &time);

    ModelContext &m_context;
    QUuid m_taskId;
    MonthCalendar *m_calendar = nullptr;
};

} // namespace furrow
