#pragma once

#include <QAbstractButton>
#include <QDate>

namespace furrow {

// One day of the month calendar: its number centred in a 36-pixel square, on a lime circle
// when selected, clay when it is today, faint when outside the month shown.
class DayCell : public QAbstractButton
{
    Q_OBJECT

public:
    explicit DayCell(QWidget *parent = nullptr);

    void setDay(QDate date, bool inMonth, bool selected, bool today);
    QDate date() const { return m_date; }
    bool isInMonth() const { return m_inMonth; }
    bool isSelected() const { return m_selected; }
    bool isToday() const { return m_today; }
    // The number's colour, first rule that holds: selected, outside the month, today, other.
    QColor textColor() const;

    QSize sizeHint() const override { return {36, 36}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QDate m_date;
    bool m_inMonth = false;
    bool m_selected = false;
    bool m_today = false;
};

} // namespace furrow
