#include "Planner.h"

#include "model/UserDefaults.h"
#include "persistence/PlannerSnapshot.h"
#include "sync/SyncRecordMapping.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace furrow {
void PrintTo(const SyncRecord &record, std::ostream *out)
{
    nlohmann::json json;
    record.toJson(json);
    *out << json.dump();
}
} // namespace furrow

namespace furrow::test {

namespace {

template<class T>
void collect(const ModelContext &context, std::map<std::pair<QString, QString>, SyncRecord> &out)
{
    for (const auto &row : context.rows<T>()) {
        const SyncRecord record = syncRecord(*row);
        out[{record.kind, record.id}] = record;
    }
}

template<class T>
void sortById(std::vector<T> &list)
{
    std::sort(list.begin(), list.end(), [](const T &a, const T &b) { return a.id < b.id; });
}

} // namespace

Planner::Planner(const QString &configFolder, const QString &url, const QString &token,
                 const QString &phrase)
{
    // The engine opens its defaults once, when it is made; pointing the configuration folder
    // elsewhere for that moment gives it a file of its own.
    const QByteArray shared = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", configFolder.toUtf8());
    {
        const auto defaults = UserDefaults::open();
        defaults->clear();
        defaults->setValue("sync.address", url);
        defaults->setValue("sync.token", token);
        defaults->setValue("sync.phrase", phrase);
        defaults->setValue("sync.on", true);
        defaults->sync();
    }
    using namespace std::chrono_literals;
    m_engine = std::make_unique<SyncEngine>(m_context, SyncEngine::Timing{1h, 1h, 10s});
    qputenv("XDG_CONFIG_HOME", shared);
}

std::map<std::pair<QString, QString>, SyncRecord> Planner::records()
{
    std::map<std::pair<QString, QString>, SyncRecord> out;
    collect<Project>(m_context, out);
    collect<Page>(m_context, out);
    collect<Section>(m_context, out);
    collect<TaskItem>(m_context, out);
    collect<DayPlan>(m_context, out);
    return out;
}

QByteArray Planner::exportedDocument()
{
    PlannerArchive archive = PlannerSnapshot::snapshot(store());
    archive.savedAt = Instant();
    sortById(archive.projects);
    sortById(archive.tasks);
    std::sort(archive.days.begin(), archive.days.end(),
              [](const auto &a, const auto &b) { return a.date < b.date; });
    return archive.encode();
}

} // namespace furrow::test
