#pragma once

#include "model/ModelContext.h"
#include "model/PlannerStore.h"
#include "sync/SyncEngine.h"
#include "sync/wire/SyncRecord.h"

#include "sync/TestPrinters.h"

#include <QString>

#include <map>
#include <memory>
#include <ostream>

namespace furrow {
// Failure messages show a record as its JSON.
void PrintTo(const SyncRecord &record, std::ostream *out);
} // namespace furrow

namespace furrow::test {

// One planner of an end-to-end scenario: a context of its own and a sync engine whose defaults
// live in a folder of their own, so that two planners in one process have separate devices,
// cursors and marks.
class Planner
{
public:
    Planner(const QString &configFolder, const QString &url, const QString &token,
            const QString &phrase);

    PlannerStore store() { return PlannerStore(m_context); }
    ModelContext &context() { return m_context; }
    SyncEngine &engine() { return *m_engine; }
    // One cycle; the status says how it ended.
    bool sync() { return m_engine->syncAndWait(); }

    // Every record as the wire carries it, unsealed, by kind and id: all fields, the links as
    // identifiers, times in milliseconds.
    std::map<std::pair<QString, QString>, SyncRecord> records();
    // The backup document with its lists in identifier order, as exported.
    QByteArray exportedDocument();

private:
    ModelContext m_context;
    std::unique_ptr<SyncEngine> m_engine;
};

} // namespace furrow::test
