#pragma once

#include "SleepWatch.h"
#include "model/ReminderLog.h"
#include "model/ReminderSchedule.h"

#include <QObject>
#include <QTimer>

#include <map>

namespace furrow {

class DesktopNotifier;
class ModelContext;
class TaskItem;

// Shows the reminders of tasks as desktop notifications while the planner runs, with or
// without its window. One timer waits for the next reminder; it is re-armed when the planner
// changes, when the computer resumes, and at least every half minute, so that a change of the
// system clock is followed too. Done closes the task, Snooze moves this computer's reminder ten
// minutes on, and a click on the notification asks for the task to be shown.
class ReminderService : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::minutes kSnooze{10};
    static constexpr std::chrono::seconds kLongestWait{30};

    ReminderService(ModelContext &context, DesktopNotifier &notifier, QObject *parent = nullptr);

    // Loads what this computer has notified before, notifies what is due (missed ones too) and
    // waits for the next.
    void start();
    // Notifies what is due now and arms the timer for the next reminder.
    void check();

Q_SIGNALS:
    // The user clicked a reminder: the main window should show this task.
    void openTaskRequested(const QUuid &taskId);

private:
    void notify(const TaskItem &task, const ReminderSchedule::Firing &firing);
    QString body(const TaskItem &task, const ReminderSchedule::Firing &firing) const;
    void arm(OptionalInstant next);
    void onAction(uint id, const QString &key);
    void snooze(const QUuid &taskId);

    ModelContext &m_context;
    DesktopNotifier &m_notifier;
    ReminderLog m_log;
    QTimer m_timer;
    SleepWatch m_sleep;
    // The notifications shown, by id, with the task each is about.
    std::map<uint, QUuid> m_shown;
};

} // namespace furrow
