#include "ReminderService.h"

#include "DesktopNotifier.h"

#include "model/Clock.h"
#include "model/ModelContext.h"
#include "model/Page.h"
#include "model/PlannerStore.h"
#include "model/Section.h"
#include "model/TaskItem.h"
#include "views/board/DueText.h"

#include <QDateTime>
#include <QLocale>
#include <QPointer>

namespace furrow {

namespace {
const QString kDone = QStringLiteral("done");
const QString kSnoozeKey = QStringLiteral("snooze");
} // namespace

ReminderService::ReminderService(ModelContext &context, DesktopNotifier &notifier, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_notifier(notifier)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ReminderService::check);
    connect(&m_context, &ModelContext::changed, this, &ReminderService::check);
    connect(&m_sleep, &SleepWatch::resumed, this, &ReminderService::check);
    connect(&m_notifier, &DesktopNotifier::actionInvoked, this, &ReminderService::onAction);
    connect(&m_notifier, &DesktopNotifier::closed, this, [this](uint id) { m_shown.erase(id); });
}

void ReminderService::start()
{
    m_log = ReminderLog::load();
    m_notifier.probe();
    check();
}

void ReminderService::check()
{
    const Instant now = Clock::now();
    const PlannerStore store(m_context);
    const auto reminders = ReminderSchedule::pending(store.allTasks());
    const auto firings = ReminderSchedule::due(reminders, m_log, now);
    for (const ReminderSchedule::Firing &firing : firings) {
        m_log.markFired(firing.taskId, firing.at);
        if (const TaskItem *task = store.task(firing.taskId))
            notify(*task, firing);
    }
    if (!firings.empty()) {
        m_log.forgetOlderThan(now - ReminderSchedule::kGivenUpAfter);
        m_log.save();
    }
    arm(ReminderSchedule::next(reminders, m_log, now));
}

void ReminderService::arm(OptionalInstant next)
{
    auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(kLongestWait);
    if (next)
        wait = std::min(wait, std::chrono::ceil<std::chrono::milliseconds>(*next - Clock::now()));
    m_timer.start(std::max(wait, std::chrono::milliseconds(0)));
}

void ReminderService::notify(const TaskItem &task, const ReminderSchedule::Firing &firing)
{
    QList<DesktopNotifier::Action> actions{
        {DesktopNotifier::kDefaultAction, QStringLiteral("Open")}};
    QString text = body(task, firing);
    if (m_notifier.offersActions()) {
        actions.append({kDone, QStringLiteral("Done")});
        actions.append({kSnoozeKey, QStringLiteral("Snooze 10 min")});
    } else {
        text += QStringLiteral("\nOpen Furrow to close it");
    }
    QPointer<ReminderService> self(this);
    m_notifier.notify(task.title(), text, actions, [self, taskId = task.id()](uint id) {
        if (self && id != 0)
            self->m_shown[id] = taskId;
    });
}

QString ReminderService::body(const TaskItem &task, const ReminderSchedule::Firing &firing) const
{
    QStringList parts;
    if (const Section *section = task.section())
        parts << section->page()->name() + QStringLiteral(" › ") + section->name();
    if (task.dueDate())
        parts << DueText::label(*task.dueDate(), Clock::now());
    if (firing.missed)
        parts << QStringLiteral("missed at ")
                     + QLocale().toString(toLocalDateTime(firing.at).time(), QLocale::ShortFormat);
    return parts.join(QStringLiteral(" · "));
}

void ReminderService::onAction(uint id, const QString &key)
{
    const auto shown = m_shown.find(id);
    if (shown == m_shown.end())
        return;
    const QUuid taskId = shown->second;
    PlannerStore store(m_context);
    TaskItem *task = store.task(taskId);
    if (!task)
        return;
    if (key == kDone) {
        if (!task->isDone())
            store.close(*task);
    } else if (key == kSnoozeKey) {
        snooze(taskId);
    } else if (key == DesktopNotifier::kDefaultAction) {
        Q_EMIT openTaskRequested(taskId);
    }
}

void ReminderService::snooze(const QUuid &taskId)
{
    const TaskItem *task = PlannerStore(m_context).task(taskId);
    if (!task || !task->remindAt())
        return;
    m_log.snooze(taskId, *task->remindAt(), Clock::now() + kSnooze);
    m_log.save();
    check();
}

} // namespace furrow
