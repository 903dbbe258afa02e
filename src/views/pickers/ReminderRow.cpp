#include "views/pickers/ReminderRow.h"

#include "model/TaskItem.h"
#include "views/pickers/ReminderTimeEdit.h"
#include "views/theme/Theme.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/Stacks.h"
#include "views/widgets/TextLabel.h"

#include <QDateTime>
#include <QLineEdit>

namespace furrow {

namespace {
// The time a new reminder starts from.
const QTime kDefaultTime(9, 0);
} // namespace

ReminderRow::ReminderRow(const TaskItem &task, QWidget *parent)
    : QWidget(parent)
    , m_time(new ReminderTimeEdit(this))
{
    setObjectName(QStringLiteral("reminderRow"));
    m_time->setObjectName(QStringLiteral("reminderTime"));
    m_time->setAccessibleName(QStringLiteral("Reminder time"));
    m_time->setTime(task.remindAt() ? toLocalDateTime(*task.remindAt()).time() : kDefaultTime);

    auto *row = Stacks::row(this, 8);
    row->addWidget(new TextLabel(QStringLiteral("Remind me"), Theme::small(), Theme::ink, this));
    row->addWidget(m_time);
    auto *set = new PillButton(QStringLiteral("Set"), PillButton::Kind::Normal, this);
    set->setObjectName(QStringLiteral("setReminder"));
    set->setCompact(true);
    row->addWidget(set);
    const auto choose = [this] {
        Q_EMIT chosen(m_time->time());
    };
    connect(set, &QAbstractButton::clicked, this, choose);
    connect(m_time, &QAbstractSpinBox::editingFinished, this, [this, choose] {
        // Return commits; leaving the field by Tab or a click does not.
        if (m_time->hasFocus())
            choose();
    });
    if (task.remindAt()) {
        auto *none = new PillButton(QStringLiteral("No reminder"), PillButton::Kind::Quiet, this);
        none->setObjectName(QStringLiteral("noReminder"));
        none->setCompact(true);
        row->addWidget(none);
        connect(none, &QAbstractButton::clicked, this, [this] { Q_EMIT chosen(std::nullopt); });
    }
    row->addStretch(1);
}

} // namespace furrow
