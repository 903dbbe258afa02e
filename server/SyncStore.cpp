#include "SyncStore.h"

#include "DatabaseFiles.h"
#include "ServerError.h"
#include "base/StoreError.h"

#include <QFile>

#include <sqlite3.h>

namespace furrow {

namespace {

constexpr qint64 kSchemaVersion = 1;
const QString kSealed = QStringLiteral("e");

SqliteDatabase openDatabase(const QString &path)
{
    DatabaseFiles::prepare(QFile::encodeName(path).toStdString());
    try {
        return SqliteDatabase(path);
    } catch (const StoreError &error) {
        throw ServerError("не удалось открыть базу " + path.toStdString() + " — " + error.what());
    }
}

} // namespace

SyncStore::SyncStore(const QString &path)
    : m_db(openDatabase(path))
{
    try {
        m_db.execute("PRAGMA busy_timeout = 5000");
        if (m_db.queryText("PRAGMA journal_mode = WAL").compare(u"wal", Qt::CaseInsensitive) != 0)
            throw StoreError(QStringLiteral("журнал WAL недоступен"));
        m_db.execute("PRAGMA synchronous = FULL");
        createSchema();
    } catch (const StoreError &error) {
        throw ServerError("не удалось открыть базу " + path.toStdString() + " — " + error.what());
    }
}

void SyncStore::createSchema()
{
    const qint64 version = m_db.queryInteger("PRAGMA user_version");
    if (version > kSchemaVersion)
        throw StoreError(QStringLiteral("база записана более новой версией сервера"));
    if (version == kSchemaVersion)
        return;
    SqliteTransaction transaction(m_db);
    m_db.execute("CREATE TABLE records ("
                 " kind TEXT NOT NULL,"
                 " id TEXT NOT NULL,"
                 " updated_at INTEGER NOT NULL,"
                 " deleted INTEGER NOT NULL,"
                 " sealed TEXT NOT NULL,"
                 " device TEXT NOT NULL,"
                 " seq INTEGER NOT NULL,"
                 " PRIMARY KEY (kind, id)) WITHOUT ROWID");
    m_db.execute("CREATE UNIQUE INDEX records_by_seq ON records (seq)");
    m_db.execute("PRAGMA user_version = 1");
    transaction.commit();
}

SyncResponse SyncStore::exchange(const SyncRequest &request, const Paging &paging)
{
    const std::lock_guard lock(m_mutex);
    SqliteTransaction transaction(m_db);
    qint64 lastSeq = m_db.queryInteger("SELECT COALESCE(MAX(seq), 0) FROM records");
    // Cursors only ever come from this database's answers, so one past its last sequence number
    // belongs to another database (a restored or replaced file): start over rather than skip
    // what this one holds.
    const qint64 since = request.since < 0 || request.since > lastSeq ? 0 : request.since;
    SyncResponse response;
    response.accepted = store(request, lastSeq);
    fillPage(request, since, lastSeq, paging, response);
    transaction.commit();
    return response;
}

qint64 SyncStore::store(const SyncRequest &request, qint64 &lastSeq)
{
    SqliteStatement upsert(
        m_db, "INSERT INTO records (kind, id, updated_at, deleted, sealed, device, seq)"
              " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)"
              " ON CONFLICT (kind, id) DO UPDATE SET updated_at = excluded.updated_at,"
              " deleted = excluded.deleted, sealed = excluded.sealed,"
              " device = excluded.device, seq = excluded.seq"
              " WHERE excluded.updated_at > records.updated_at");
    qint64 accepted = 0;
    for (const SyncRecord &record : request.changes) {
        upsert.bind(1, record.kind);
        upsert.bind(2, record.id);
        upsert.bind(3, record.updatedAt);
        upsert.bind(4, qint64(record.deleted));
        upsert.bind(5, record.body.at(kSealed).asText());
        upsert.bind(6, request.device);
        upsert.bind(7, lastSeq + 1);
        upsert.run();
        // Only a stored record takes a sequence number; an older or equal one changes nothing.
        if (sqlite3_changes(m_db.handle()) > 0) {
            ++lastSeq;
            ++accepted;
        }
    }
    return accepted;
}

void SyncStore::fillPage(const SyncRequest &request, qint64 since, qint64 lastSeq,
                         const Paging &paging, SyncResponse &response)
{
    // One row more than fits tells whether more remain.
    SqliteStatement rows(m_db, "SELECT kind, id, updated_at, deleted, sealed, seq FROM records"
                               " WHERE seq > ?1 AND device <> ?2 ORDER BY seq LIMIT ?3");
    rows.bind(1, since);
    rows.bind(2, request.device);
    rows.bind(3, paging.records + 1);
    // The cursor moves past every row up to the first one that did not fit, the requester's
    // own writes included, so that those are not looked at again.
    response.seq = lastSeq;
    qint64 bytes = 0;
    while (rows.step()) {
        const QString sealed = rows.text(4);
        const bool full = qint64(response.changes.size()) == paging.records
                          || (!response.changes.empty() && bytes + sealed.size() > paging.bytes);
        if (full) {
            response.more = true;
            response.seq = rows.integer(5) - 1;
            break;
        }
        bytes += sealed.size();
        response.changes.push_back({rows.text(0),
                                    rows.text(1),
                                    rows.integer(2),
                                    rows.integer(3) != 0,
                                    {{kSealed, SyncValue::text(sealed)}}});
    }
}

qint64 SyncStore::recordCount()
{
    const std::lock_guard lock(m_mutex);
    return m_db.queryInteger("SELECT COUNT(*) FROM records");
}

} // namespace furrow
