#include "views/pickers/DuePicker.h"

#include "model/Calendar.h"
#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "views/pickers/MonthCalendar.h"
#include "views/pickers/ReminderRow.h"
#include "views/widgets/HairLine.h"
#include "views/widgets/PillButton.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace furrow {

DuePicker::DuePicker(ModelContext &context, const TaskItem &task, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_taskId(task.id())
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(12);
    // Made in the order they are shown, so that Tab goes from the quick choices to the grid.
    addQuickChoices();
    layout->addWidget(new HairLine(this));
    m_calendar = new MonthCalendar(this);
    m_calendar->setObjectName(QStringLiteral("calendar"));

    if (task.dueDate())
        m_calendar->setSelected(toLocalDateTime(*task.dueDate()).date());
    layout->addWidget(m_calendar);
    connect(m_calendar, &MonthCalendar::picked, this,
            [this](QDate day) { setDueDate(instantFromDateTime(day.startOfDay())); });

    layout->addWidget(new HairLine(this));
    auto *reminder = new ReminderRow(task, this);
    layout->addWidget(reminder);
    connect(reminder, &ReminderRow::chosen, this, &DuePicker::setReminder);

    if (task.dueDate()) {
        auto *clear
            = new PillButton(QStringLiteral("Clear the date"), PillButton::Kind::Quiet, this);
        clear->setCompact(true);
        layout->addWidget(clear, 0, Qt::AlignLeft);
        connect(clear, &QAbstractButton::clicked, this, [this] { setDueDate(std::nullopt); });
    }
}

void DuePicker::addQuickChoices()
{
    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    const std::pair<const char *, int> choices[]
        = {{"Today", 0}, {"Tomorrow", 1}, {"Next week", 7}};
    for (const auto &[title, days] : choices) {
        auto *pill = new PillButton(QString::fromLatin1(title), PillButton::Kind::Normal, this);
        pill->setCompact(true);
        row->addWidget(pill);
        connect(pill, &QAbstractButton::clicked, this,
                [this, days = days] { chooseDaysFromNow(days); });
    }
    row->addStretch();
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
}

void DuePicker::chooseDaysFromNow(int days)
{
    const Instant now = Clock::now();
    setDueDate(Calendar::addingDays(now, days).value_or(now));
}

void DuePicker::setReminder(const std::optional<QTime> &time)
{
    PlannerStore store(m_context);
    if (TaskItem *task = store.task(m_taskId))
        store.setReminder(time, *task);
    Q_EMIT dismissRequested();
}

void DuePicker::setDueDate(const OptionalInstant &day)
{
    // The task is looked up again: it may have been deleted while the popup was open.
    PlannerStore store(m_context);
    if (TaskItem *task = store.task(m_taskId))
        store.setDueDate(day, *task);
    Q_EMIT dismissRequested();
}

} // namespace furrow
