#pragma once

#include <QTimeEdit>

namespace furrow {

// A time of day in the locale's short time format whose minutes step by five from the keyboard
// (Up, Down, Page Up, Page Down), so that the usual reminder times are a few keys away.
class ReminderTimeEdit : public QTimeEdit
{
    Q_OBJECT

public:
    static constexpr int kMinuteStep = 5;

    explicit ReminderTimeEdit(QWidget *parent = nullptr);

    void stepBy(int steps) override;
};

} // namespace furrow
