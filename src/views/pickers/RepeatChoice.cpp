#include "views/pickers/RepeatChoice.h"

#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "model/repeat/RepeatWords.h"
#include "views/pickers/RepeatEditor.h"

#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace furrow {

namespace {

using Frequency = RepeatRule::Frequency;

// Item data of the entries that set no rule of their own.
const QString kNever = u""_s;
const QString kCustom = u"custom"_s;
const QString kCurrent = u"current"_s;

// The presets for a task due on `due`, as rules.
QList<RepeatRule> presets(QDate due)
{
    RepeatRule weekdays(Frequency::Weekly);
    weekdays.setWeekdays({Qt::Monday, Qt::Tuesday, Qt::Wednesday, Qt::Thursday, Qt::Friday});
    RepeatRule weekly(Frequency::Weekly);
    weekly.setWeekdays({Qt::DayOfWeek(due.dayOfWeek())});
    RepeatRule monthly(Frequency::Monthly);
    monthly.setMonthDay(due.day() == due.daysInMonth() && due.day() > 28 ? -1 : due.day());
    return {RepeatRule(Frequency::Daily), weekdays, weekly, monthly, RepeatRule(Frequency::Yearly)};
}

} // namespace

RepeatChoice::RepeatChoice(ModelContext &context, const TaskItem &task, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_taskId(task.id())
    , m_due(toLocalDateTime(task.dueDate().value_or(Clock::now())).date())
    , m_choices(new QComboBox(this))
    , m_editor(new RepeatEditor(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *line = new QHBoxLayout;
    line->addWidget(new QLabel(u"Repeat"_s, this));
    m_choices->setObjectName(u"repeatChoice"_s);
    m_choices->setAccessibleName(u"Repeat"_s);
    line->addWidget(m_choices, 1);
    layout->addLayout(line);
    m_editor->setObjectName(u"repeatEditor"_s);
    m_editor->hide();
    layout->addWidget(m_editor);
    addChoices(task);
    connect(m_choices, &QComboBox::activated, this, &RepeatChoice::choose);
    connect(m_editor, &RepeatEditor::chosen, this,
            [this](const RepeatRule &rule, bool fromDone) { apply(rule.text(), fromDone); });
}

void RepeatChoice::addChoices(const TaskItem &task)
{
    m_choices->addItem(u"Never"_s, kNever);
    const auto current = RepeatRule::parse(task.repeatRule());
    bool listed = task.repeatRule().isEmpty();
    for (const RepeatRule &preset : presets(m_due)) {
        m_choices->addItem(RepeatWords::describe(preset, false), preset.text());
        if (!task.repeatFromDone() && current == preset) {
            m_choices->setCurrentIndex(m_choices->count() - 1);
            listed = true;
        }
    }
    m_choices->addItem(u"Custom…"_s, kCustom);
    if (!listed) {
        m_choices->insertItem(1, RepeatWords::describe(task.repeatRule(), task.repeatFromDone()),
                              kCurrent);
        m_choices->setCurrentIndex(1);
    }
    m_editor->setRule(current.value_or(RepeatRule(Frequency::Daily)), task.repeatFromDone(), m_due);
}

void RepeatChoice::choose(int index)
{
    const QString choice = m_choices->itemData(index).toString();
    if (choice == kCustom) {
        m_editor->show();
        return;
    }
    m_editor->hide();
    if (choice != kCurrent)
        apply(choice, false);
}

void RepeatChoice::apply(const QString &rule, bool fromDone)
{
    // The task is looked up again: it may have been deleted while the popup was open.
    PlannerStore store(m_context);
    if (TaskItem *task = store.task(m_taskId))
        store.setRepeat(rule, fromDone, *task);
    Q_EMIT dismissRequested();
}

} // namespace furrow
