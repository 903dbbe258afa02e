#include "SyncStatusText.h"

#include <QDateTime>
#include <QLocale>

namespace furrow::SyncStatusText {

QString describe(const SyncStatus &status)
{
    switch (status.kind) {
    case SyncStatus::Kind::Off:
        return QStringLiteral("Off");
    case SyncStatus::Kind::Idle:
        return QStringLiteral("Waiting for the first sync");
    case SyncStatus::Kind::Running:
        return QStringLiteral("Talking to the server…");
    case SyncStatus::Kind::Failed:
        return status.message;
    case SyncStatus::Kind::Done:
        break;
    }
    const QString time
        = QLocale().toString(toLocalDateTime(status.at).time(), QLocale::ShortFormat);
    if (status.count > 0)
        return QString::number(status.count) + QStringLiteral(" brought over · ") + time;
    return QStringLiteral("Up to date · ") + time;
}

} // namespace furrow::SyncStatusText
