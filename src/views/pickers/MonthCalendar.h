#pragma once

#include <QDate>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;

namespace furrow {

class DayCell;

// A month grid of 42 days, weeks starting on Monday, with English month and weekday names
// whatever the system's language. Chevrons step by month; a click on a day picks it. From the
// keyboard the grid is one Tab stop: the arrows move by day and week, Page Up and Page Down by
// month, crossing into the next month where the grid ends, and Return or Space picks the day.
class MonthCalendar : public QWidget
{
    Q_OBJECT

public:
    struct Cell
    {
        QDate date;
        bool inMonth = false;
    };

    explicit MonthCalendar(QWidget *parent = nullptr);

    // The 42 cells (six Monday-first weeks) showing the month that holds `month`.
    static std::vector<Cell> cells(QDate month);
    // The month's name and year, "August 2021".
    static QString title(QDate month);
    // Mo, Tu, We, Th, Fr, Sa, Su.
    static QStringList weekdaySymbols();

    QDate month() const { return m_month; }
    void setMonth(QDate month);
    void stepMonth(int months);
    void setSelected(std::optional<QDate> day);
    std::optional<QDate> selected() const { return m_selected; }

    QString titleText() const;

Q_SIGNALS:
    void picked(QDate day);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    QDate defaultFocusDay() const;
    void moveFocus(QDate day);

    QDate m_month;
    std::optional<QDate> m_selected;
    // The day whose cell takes the keyboard; always in the month shown.
    QDate m_focusDay;
    QLabel *m_title;
    QList<DayCell *> m_cells;
};

} // namespace furrow
