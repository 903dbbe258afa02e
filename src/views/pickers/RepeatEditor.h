#pragma once

#include "model/repeat/RepeatRule.h"

#include <QWidget>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QSpinBox;

namespace furrow {

// The due picker's "Custom…" repeat: every n days, weeks (on chosen weekdays), months or
// years, ending never, on a day or after a number of times, optionally counted from
// completion, with the rule shown in words as it is built.
class RepeatEditor : public QWidget
{
    Q_OBJECT

public:
    explicit RepeatEditor(QWidget *parent = nullptr);

    // Fills the fields from a rule; `due` gives the weekday a new weekly rule starts with.
    void setRule(const RepeatRule &rule, bool fromDone, QDate due);
    RepeatRule rule() const;
    bool fromDone() const;

Q_SIGNALS:
    // "Set" was pressed.
    void chosen(const furrow::RepeatRule &rule, bool fromDone);

private:
    QWidget *buildEvery();
    QWidget *buildWeekdays();
    QWidget *buildEnd();
    void refresh();

    QSpinBox *m_interval;
    QComboBox *m_unit;
    QWidget *m_weekdayRow = nullptr;
    QList<QAbstractButton *> m_weekdays;
    QComboBox *m_end;
    QDateEdit *m_until;
    QSpinBox *m_count;
    QCheckBox *m_fromDone;
    QLabel *m_words;
    QDate m_due;
};

} // namespace furrow
