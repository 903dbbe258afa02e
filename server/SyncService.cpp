#include "SyncService.h"

#include "SyncStore.h"
#include "base/StoreError.h"
#include "sync/wire/SyncWireError.h"

#include <chrono>

namespace furrow {

namespace {

// A sealed body has exactly one member, `e`, holding text; anything else would be stored
// readable.
bool isSealed(const SyncBody &body)
{
    return body.size() == 1 && body.begin()->first == u"e" && body.begin()->second.isText();
}

// Whether the JSON text nests arrays and objects deeper than `limit`, counting brackets outside
// strings; one pass, nothing built.
bool nestsDeeperThan(QByteArrayView json, int limit)
{
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : json) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit)
                return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

qint64 nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

SyncService::Outcome refusal(int status, const QByteArray &reason)
{
    SyncService::Outcome outcome;
    outcome.status = status;
    outcome.body = reason;
    return outcome;
}

} // namespace

SyncService::SyncService(SyncStore &store, qint64 pageSize, qint64 pageBytes)
    : m_store(store)
    , m_pageSize(pageSize)
    , m_pageBytes(pageBytes)
{}

SyncService::Outcome SyncService::handle(QByteArrayView body) const
{
    if (nestsDeeperThan(body, kMaxNesting))
        return refusal(400, "nested too deeply");
    SyncRequest request;
    try {
        request = SyncRequest::decode(body);
    } catch (const SyncWireError &error) {
        return refusal(400, "not a sync request: " + QByteArray(error.what()));
    }
    if (request.device.isEmpty())
        return refusal(400, "the device is empty");
    if (qsizetype(request.changes.size()) > kMaxRecords)
        return refusal(400, "too many records in one request");
    const qint64 latest = nowMs() + kMaxAheadMs;
    for (const SyncRecord &record : request.changes) {
        if (!isSealed(record.body))
            return refusal(400, "a record body is not sealed");
        if (record.updatedAt > latest)
            return refusal(400, "a record is stamped more than a year ahead");
    }
    Outcome outcome;
    outcome.received = qint64(request.changes.size());
    try {
        const SyncResponse response = m_store.exchange(request, {m_pageSize, m_pageBytes});
        outcome.body = response.encode();
        outcome.accepted = response.accepted;
        outcome.sent = qint64(response.changes.size());
    } catch (const StoreError &error) {
        outcome.status = 500;
        outcome.body = "the database failed";
        outcome.storeError = error.what();
    }
    return outcome;
}

} // namespace furrow
