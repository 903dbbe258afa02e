#include "SyncStatusText.h"

#include <QDateTime>
#include <QLocale>

namespace furrow::SyncStatusText {

namespace {

QString shortTime(Instant at)
{
    return QLocale().toString(toLocalDateTime(at).time(), QLocale::ShortFormat);
}

} // namespace

QString describe(const SyncStatus &status, const OptionalInstant &lastSynced)
{
    switch (status.kind) {
    case SyncStatus::Kind::Off:
        return QStringLiteral("Off");
    case SyncStatus::Kind::Idle:
        return QStringLiteral("Waiting for the first sync");
    case SyncStatus::Kind::Running:
        return QStringLiteral("Talking to the server…");
    case SyncStatus::Kind::Failed:
        if (lastSynced)
            return QStringLiteral("Last synced ") + shortTime(*lastSynced) + QStringLiteral(" · ")
                   + status.message;
        return status.message;
    case SyncStatus::Kind::Done:
        break;
    }
    const QString time = shortTime(status.at);
    if (status.count > 0)
        return QString::number(status.count) + QStringLiteral(" brought over · ") + time;
    return QStringLiteral("Up to date · ") + time;
}

} // namespace furrow::SyncStatusText
