#include "views/board/DueText.h"

#include "model/Calendar.h"

#include <QDateTime>
#include <QLocale>

namespace furrow::DueText {

QString label(Instant due, Instant now)
{
    const std::pair<int, const char *> nearDays[]
        = {{0, "Today"}, {1, "Tomorrow"}, {-1, "Yesterday"}};
    for (const auto &[offset, word] : nearDays) {
        const auto day = Calendar::addingDays(now, offset);
        if (day && Calendar::isSameDay(due, *day))
            return QString::fromLatin1(word);
    }
    // Month names stay English whatever the system language.
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QDate date = toLocalDateTime(due).date();
    const bool thisYear = date.year() == toLocalDateTime(now).date().year();
    return english.toString(date, thisYear ? QStringLiteral("d MMM") : QStringLiteral("d MMM yy"));
}

} // namespace furrow::DueText
