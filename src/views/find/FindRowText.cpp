#include "FindRowText.h"

#include "views/board/DueText.h"

#include <QStringList>

namespace furrow::FindRowText {

QString place(const FindResult &result, Instant now)
{
    switch (result.kind) {
    case FindResult::Kind::Page:
        return QStringLiteral("Page");
    case FindResult::Kind::Goal:
        return QStringLiteral("Goals");
    case FindResult::Kind::Task:
        break;
    }
    if (result.state == FindResult::State::Archived) {
        QStringList parts = {QStringLiteral("Archive"),
                             result.dropped ? QStringLiteral("Dropped") : QStringLiteral("Done")};
        if (result.archiveDay)
            parts << DueText::label(*result.archiveDay, now);
        return parts.join(QStringLiteral(" · "));
    }
    return result.pageName + QStringLiteral(" › ") + result.sectionName;
}

QString due(const FindResult &result, Instant now)
{
    return result.due ? DueText::label(*result.due, now) : QString();
}

QString line(const FindResult &result, Instant now)
{
    QStringList parts = {result.title, place(result, now)};
    if (!result.projectName.isEmpty())
        parts << result.projectName;
    if (const QString dueText = due(result, now); !dueText.isEmpty())
        parts << dueText;
    return parts.join(QStringLiteral(" · "));
}

} // namespace furrow::FindRowText
