#include "EmergencyDocument.h"

#include "PlannerFile.h"
#include "PlannerSnapshot.h"

#include "model/Clock.h"
#include "model/Instant.h"

#include <QDateTime>
#include <QFileInfo>

namespace furrow::EmergencyDocument {

QString write(const PlannerStore &store, const QString &backupPath)
{
    const QString stamp
        = toLocalDateTime(Clock::now()).toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    const QString path = QFileInfo(backupPath).absolutePath() + QStringLiteral("/planner-unsaved-")
                         + stamp + QStringLiteral(".json");
    PlannerFile::write(PlannerSnapshot::snapshot(store), path);
    return path;
}

} // namespace furrow::EmergencyDocument
