#include "views/pickers/RepeatEditor.h"

#include "model/repeat/RepeatWords.h"
#include "views/widgets/PillButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace furrow {

namespace {

using Frequency = RepeatRule::Frequency;

enum End { Never, OnDay, After };

QHBoxLayout *row(QWidget *owner)
{
    auto *layout = new QHBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    return layout;
}

} // namespace

RepeatEditor::RepeatEditor(QWidget *parent)
    : QWidget(parent)
    , m_interval(new QSpinBox(this))
    , m_unit(new QComboBox(this))
    , m_end(new QComboBox(this))
    , m_until(new QDateEdit(this))
    , m_count(new QSpinBox(this))
    , m_fromDone(new QCheckBox(u"From completion"_s, this))
    , m_words(new QLabel(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(buildEvery());
    layout->addWidget(buildWeekdays());
    layout->addWidget(buildEnd());
    m_fromDone->setObjectName(u"repeatFromDone"_s);
    m_fromDone->setToolTip(u"Count the next one from the day it is done"_s);
    layout->addWidget(m_fromDone);
    m_words->setObjectName(u"repeatWords"_s);
    m_words->setWordWrap(true);
    layout->addWidget(m_words);
    auto *set = new PillButton(u"Set"_s, PillButton::Kind::Primary, this);
    set->setObjectName(u"repeatSet"_s);
    set->setCompact(true);
    layout->addWidget(set, 0, Qt::AlignLeft);
    connect(set, &QAbstractButton::clicked, this, [this] { Q_EMIT chosen(rule(), fromDone()); });
    connect(m_fromDone, &QCheckBox::toggled, this, &RepeatEditor::refresh);
    setRule(RepeatRule(Frequency::Daily), false, QDate::currentDate());
}

QWidget *RepeatEditor::buildEvery()
{
    auto *every = new QWidget(this);
    QHBoxLayout *layout = row(every);
    layout->addWidget(new QLabel(u"Every"_s, every));
    m_interval->setObjectName(u"repeatInterval"_s);
    m_interval->setAccessibleName(u"Interval"_s);
    m_interval->setRange(1, RepeatRule::kMaxInterval);
    layout->addWidget(m_interval);
    m_unit->setObjectName(u"repeatUnit"_s);
    m_unit->setAccessibleName(u"Unit"_s);
    m_unit->addItems({u"days"_s, u"weeks"_s, u"months"_s, u"years"_s});
    layout->addWidget(m_unit);
    layout->addStretch();
    connect(m_interval, &QSpinBox::valueChanged, this, &RepeatEditor::refresh);
    connect(m_unit, &QComboBox::currentIndexChanged, this, &RepeatEditor::refresh);
    return every;
}

QWidget *RepeatEditor::buildWeekdays()
{
    m_weekdayRow = new QWidget(this);
    QHBoxLayout *layout = row(m_weekdayRow);
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day) {
        auto *button = new QToolButton(m_weekdayRow);
        button->setText(RepeatWords::weekdayName(Qt::DayOfWeek(day)).left(2));
        button->setObjectName(u"repeatWeekday%1"_s.arg(day));
        button->setAccessibleName(RepeatWords::weekdayName(Qt::DayOfWeek(day)));
        button->setCheckable(true);
        layout->addWidget(button);
        m_weekdays.append(button);
        connect(button, &QAbstractButton::toggled, this, &RepeatEditor::refresh);
    }
    layout->addStretch();
    return m_weekdayRow;
}

QWidget *RepeatEditor::buildEnd()
{
    auto *end = new QWidget(this);
    QHBoxLayout *layout = row(end);
    m_end->setObjectName(u"repeatEnd"_s);
    m_end->setAccessibleName(u"Ends"_s);
    m_end->addItems({u"Never ends"_s, u"Ends on"_s, u"Ends after"_s});
    layout->addWidget(m_end);
    m_until->setObjectName(u"repeatUntil"_s);
    m_until->setDisplayFormat(u"d MMM yyyy"_s);
    m_until->setCalendarPopup(false);
    layout->addWidget(m_until);
    m_count->setObjectName(u"repeatCount"_s);
    m_count->setRange(1, RepeatRule::kMaxCount);
    m_count->setSuffix(u" times"_s);
    layout->addWidget(m_count);
    layout->addStretch();
    connect(m_end, &QComboBox::currentIndexChanged, this, &RepeatEditor::refresh);
    connect(m_until, &QDateEdit::dateChanged, this, &RepeatEditor::refresh);
    connect(m_count, &QSpinBox::valueChanged, this, &RepeatEditor::refresh);
    return end;
}

void RepeatEditor::setRule(const RepeatRule &rule, bool fromDone, QDate due)
{
    m_due = due;
    const QSignalBlocker blockers[]
        = {QSignalBlocker(m_interval), QSignalBlocker(m_unit),  QSignalBlocker(m_end),
           QSignalBlocker(m_until),    QSignalBlocker(m_count), QSignalBlocker(m_fromDone)};
    m_interval->setValue(rule.interval());
    m_unit->setCurrentIndex(int(rule.frequency()));
    QList<Qt::DayOfWeek> days = rule.weekdays();
    if (days.isEmpty())
        days.append(Qt::DayOfWeek(due.dayOfWeek()));
    for (QAbstractButton *button : std::as_const(m_weekdays)) {
        const QSignalBlocker blocker(button);
        button->setChecked(days.contains(Qt::DayOfWeek(m_weekdays.indexOf(button) + 1)));
    }
    m_end->setCurrentIndex(rule.until() ? OnDay : rule.count() ? After : Never);
    m_until->setDate(rule.until().value_or(due.addMonths(1)));
    m_count->setValue(rule.count().value_or(10));
    m_fromDone->setChecked(fromDone);
    refresh();
}

RepeatRule RepeatEditor::rule() const
{
    RepeatRule rule(Frequency(m_unit->currentIndex()), m_interval->value());
    if (rule.frequency() == Frequency::Weekly) {
        QList<Qt::DayOfWeek> days;
        for (qsizetype i = 0; i < m_weekdays.size(); ++i) {
            if (m_weekdays.at(i)->isChecked())
                days.append(Qt::DayOfWeek(i + 1));
        }
        rule.setWeekdays(days);
    }
    if (m_end->currentIndex() == OnDay)
        rule.setUntil(m_until->date());
    else if (m_end->currentIndex() == After)
        rule.setCount(m_count->value());
    return rule;
}

bool RepeatEditor::fromDone() const
{
    return m_fromDone->isChecked();
}

void RepeatEditor::refresh()
{
    m_weekdayRow->setVisible(Frequency(m_unit->currentIndex()) == Frequency::Weekly);
    m_until->setVisible(m_end->currentIndex() == OnDay);
    m_count->setVisible(m_end->currentIndex() == After);
    m_words->setText(RepeatWords::describe(rule(), fromDone()));
}

} // namespace furrow
