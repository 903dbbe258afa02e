#include "SyncService.h"

#include "SyncStore.h"
#include "model/StoreBackend.h"
#include "sync/wire/SyncWireError.h"

namespace furrow {

namespace {

// A sealed body has exactly one member, `e`, holding text; anything else would be stored
// readable.
bool isSealed(const SyncBody &body)
{
    return body.size() == 1 && body.begin()->first == u"e" && body.begin()->second.isText();
}

SyncService::Outcome refusal(int status, const QByteArray &reason)
{
    SyncService::Outcome outcome;
    outcome.status = status;
    outcome.body = reason;
    return outcome;
}

} // namespace

SyncService::SyncService(SyncStore &store, qint64 pageSize)
    : m_store(store)
    , m_pageSize(pageSize)
{}

SyncService::Outcome SyncService::handle(QByteArrayView body) const
{
    SyncRequest request;
    try {
        request = SyncRequest::decode(body);
    } catch (const SyncWireError &error) {
        return refusal(400, "not a sync request: " + QByteArray(error.what()));
    }
    if (request.device.isEmpty())
        return refusal(400, "the device is empty");
    for (const SyncRecord &record : request.changes) {
        if (!isSealed(record.body))
            return refusal(400, "a record body is not sealed");
    }
    Outcome outcome;
    outcome.received = qint64(request.changes.size());
    try {
        const SyncResponse response = m_store.exchange(request, m_pageSize);
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
