#include "views/pickers/MonthCalendar.h"

#include "model/Clock.h"
#include "views/pickers/DayCell.h"
#include "views/theme/Theme.h"
#include "views/widgets/IconButton.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

#include <algorithm>

namespace furrow {

namespace {

constexpr int kCellCount = 42;

// The calendar's names are English whatever the system language.
const QLocale &english()
{
    static const QLocale locale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

IconButton *chevron(const QString &symbol, const QString &name, QWidget *parent)
{
    auto *button = new IconButton(symbol, 14, parent);
    button->setAccessibleName(name);
    button->setSide(28);
    return button;
}

} // namespace

MonthCalendar::MonthCalendar(QWidget *parent)
    : QWidget(parent)
    , m_month(toLocalDateTime(Clock::now()).date())
    , m_title(new QLabel(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    auto *head = new QHBoxLayout;
    auto *back = chevron(QStringLiteral("chevron.left"), QStringLiteral("Previous month"), this);
    auto *forward = chevron(QStringLiteral("chevron.right"), QStringLiteral("Next month"), this);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setFont(Theme::sans(14, QFont::Medium));
    QPalette titleColors = m_title->palette();
    titleColors.setColor(QPalette::WindowText, Theme::ink);
    m_title->setPalette(titleColors);
    head->addWidget(back);
    head->addWidget(m_title, 1);
    head->addWidget(forward);
    layout->addLayout(head);
    connect(back, &QAbstractButton::clicked, this, [this] { stepMonth(-1); });
    connect(forward, &QAbstractButton::clicked, this, [this] { stepMonth(1); });

    auto *grid = new QGridLayout;
    grid->setSpacing(2);
    const QStringList weekdays = weekdaySymbols();
    for (int column = 0; column < 7; ++column) {
        auto *label = new QLabel(weekdays[column], this);
        label->setAlignment(Qt::AlignCenter);
        label->setFont(Theme::sans(11, QFont::Medium));
        QPalette colors = label->palette();
        colors.setColor(QPalette::WindowText, Theme::muted);
        label->setPalette(colors);
        grid->addWidget(label, 0, column);
        grid->setColumnStretch(column, 1);
    }
    for (int i = 0; i < kCellCount; ++i) {
        auto *cell = new DayCell(this);
        grid->addWidget(cell, 1 + i / 7, i % 7, Qt::AlignCenter);
        m_cells.append(cell);
        connect(cell, &QAbstractButton::clicked, this,
                [this, cell] { Q_EMIT picked(cell->date()); });
        cell->installEventFilter(this);
    }
    layout->addLayout(grid);
    refresh();
}

std::vector<MonthCalendar::Cell> MonthCalendar::cells(QDate month)
{
    const QDate first(month.year(), month.month(), 1);
    const int days = first.daysInMonth();
    // Qt numbers weekdays from Monday (1) to Sunday (7), so Monday-first weeks lead with
    // dayOfWeek − 1 days of the month before.
    const int lead = first.dayOfWeek() - 1;
    std::vector<Cell> result;
    result.reserve(kCellCount);
    for (int i = lead; i >= 1; --i)
        result.push_back({first.addDays(-i), false});
    for (int d = 0; d < days; ++d)
        result.push_back({first.addDays(d), true});
    while (result.size() < kCellCount || result.size() % 7 != 0)
        result.push_back({result.back().date.addDays(1), false});
    return result;
}

QString MonthCalendar::title(QDate month)
{
    return english().toString(QDate(month.year(), month.month(), 1), QStringLiteral("MMMM yyyy"));
}

QStringList MonthCalendar::weekdaySymbols()
{
    QStringList symbols;
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        symbols.append(english().dayName(day, QLocale::ShortFormat).left(2));
    return symbols;
}

void MonthCalendar::setMonth(QDate month)
{
    m_month = month;
    refresh();
}

void MonthCalendar::stepMonth(int months)
{
    setMonth(m_month.addMonths(months));
}

void MonthCalendar::setSelected(std::optional<QDate> day)
{
    m_selected = day;
    m_focusDay = {};
    refresh();
}

QString MonthCalendar::titleText() const
{
    return m_title->text();
}

void MonthCalendar::refresh()
{
    m_title->setText(title(m_month));
    const QDate today = toLocalDateTime(Clock::now()).date();
    if (m_focusDay.year() != m_month.year() || m_focusDay.month() != m_month.month())
        m_focusDay = defaultFocusDay();
    const std::vector<Cell> shown = cells(m_month);
    for (int i = 0; i < kCellCount; ++i) {
        const Cell &cell = shown[std::size_t(i)];
        m_cells[i]->setDay(cell.date, cell.inMonth, m_selected == cell.date, cell.date == today);
        // One cell stands for the whole grid in the Tab order; a click never takes the focus.
        m_cells[i]->setFocusPolicy(cell.date == m_focusDay ? Qt::TabFocus : Qt::NoFocus);
    }
}

QDate MonthCalendar::defaultFocusDay() const
{
    const QDate today = toLocalDateTime(Clock::now()).date();
    for (const std::optional<QDate> &day : {m_selected, std::optional(today)}) {
        if (day && day->year() == m_month.year() && day->month() == m_month.month())
            return *day;
    }
    return QDate(m_month.year(), m_month.month(), 1);
}

void MonthCalendar::moveFocus(QDate day)
{
    const bool hadFocus = std::any_of(m_cells.begin(), m_cells.end(),
                                      [](const DayCell *cell) { return cell->hasFocus(); });
    m_focusDay = day;
    setMonth(day);
    for (DayCell *cell : std::as_const(m_cells)) {
        if (cell->date() == day && hadFocus)
            cell->setFocus(Qt::TabFocusReason);
    }
}

bool MonthCalendar::eventFilter(QObject *watched, QEvent *event)
{
    auto *cell = qobject_cast<DayCell *>(watched);
    if (!cell || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const QDate day = cell->date();
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Left:
        moveFocus(day.addDays(-1));
        return true;
    case Qt::Key_Right:
        moveFocus(day.addDays(1));
        return true;
    case Qt::Key_Up:
        moveFocus(day.addDays(-7));
        return true;
    case Qt::Key_Down:
        moveFocus(day.addDays(7));
        return true;
    case Qt::Key_PageUp:
        moveFocus(day.addMonths(-1));
        return true;
    case Qt::Key_PageDown:
        moveFocus(day.addMonths(1));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        cell->click();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

} // namespace furrow
