#pragma once

#include "model/ModelContext.h"
#include "model/StoreBackend.h"
#include "sqlite/SqliteDatabase.h"

#include <memory>

namespace furrow {

// The planner's records in one SQLite file: a table per record type, each row under the row key
// the model context gave it, instants as microseconds since 1970 and references as the row key
// of the referenced row (ids may repeat, row keys never do). WAL journal, synchronous=FULL; a
// save is one transaction.
class SqliteStore final : public StoreBackend
{
public:
    static constexpr int kSchemaVersion = 2;

    // Opens the file, creating the schema in a new one and bringing a store of the first schema
    // up to date; raises StoreError, marked damaged when the file is not a store of either.
    explicit SqliteStore(const QString &path);
    ~SqliteStore() override;

    // Inserts every stored row into the context, in stored order, with its references.
    void loadInto(ModelContext &context);
    void write(const ChangeSet &changes) override;

private:
    struct Statements;

    void prepareSchema();
    void checkColumns();

    SqliteDatabase m_db;
    std::unique_ptr<Statements> m_statements;
};

} // namespace furrow
