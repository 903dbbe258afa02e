#pragma once

#include "sqlite/SqliteDatabase.h"
#include "sync/wire/SyncRequest.h"
#include "sync/wire/SyncResponse.h"

#include <QString>

#include <mutex>

namespace furrow {

// The server's records in SQLite: per (kind, id) the latest record with its sealed body, the
// device that wrote it and a sequence number drawn from one counter, so that every stored
// change is later than all before it. Exchanges run one at a time, each in one transaction.
class SyncStore
{
public:
    // How much one answer carries at most: a count of records, and their sealed bodies' bytes
    // (at least one record always goes, whatever its size).
    struct Paging
    {
        qint64 records = 500;
        qint64 bytes = 4 * 1024 * 1024;
    };

    // Opens or creates the database and its folder. Throws ServerError.
    explicit SyncStore(const QString &path);

    // Stores each pushed record that is strictly newer than the stored one, then answers up to
    // one page (`paging`) of records of other devices after `since`, in sequence order. The bodies
    // must be sealed. Throws StoreError, leaving the database as it was.
    SyncResponse exchange(const SyncRequest &request, const Paging &paging);

    // How many records are stored.
    qint64 recordCount();

private:
    void createSchema();
    qint64 store(const SyncRequest &request, qint64 &lastSeq);
    void fillPage(const SyncRequest &request, qint64 since, qint64 lastSeq, const Paging &paging,
                  SyncResponse &response);

    SqliteDatabase m_db;
    std::mutex m_mutex;
};

} // namespace furrow
