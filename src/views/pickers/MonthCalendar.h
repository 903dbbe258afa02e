#pragma once

#include <QDate>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;

namespace furrow {

class DayCell;

// A month grid of 42 days, weeks starting on Monday, with English month and weekday names
// whatever the system's language. Chevrons step by month; a click on a day picks it.
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
    QList<DayCell *> dayCells() const { return m_cells; }

Q_SIGNALS:
    void picked(QDate day);

private:
    void refresh();

    QDate m_month;
    std::optional<QDate> m_selected;
    QLabel *m_title;
    QList<DayCell *> m_cells;
};

} // namespace furrow
