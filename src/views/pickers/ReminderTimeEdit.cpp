#include "views/pickers/ReminderTimeEdit.h"

#include <QLocale>

namespace furrow {

ReminderTimeEdit::ReminderTimeEdit(QWidget *parent)
    : QTimeEdit(parent)
{
    setDisplayFormat(locale().timeFormat(QLocale::ShortFormat));
    // Midnight steps on to the next day's first minutes rather than stopping.
    setWrapping(true);
}

void ReminderTimeEdit::stepBy(int steps)
{
    if (currentSection() != MinuteSection) {
        QTimeEdit::stepBy(steps);
        return;
    }
    // From 9:03, up goes to 9:05 and down to 9:00: onto the five-minute grid first.
    const int minutes = time().hour() * 60 + time().minute();
    const int onGrid = steps > 0
                           ? (minutes / kMinuteStep + steps) * kMinuteStep
                           : ((minutes + kMinuteStep - 1) / kMinuteStep + steps) * kMinuteStep;
    const int day = 24 * 60;
    const int wrapped = ((onGrid % day) + day) % day;
    setTime(QTime(wrapped / 60, wrapped % 60));
}

} // namespace furrow
