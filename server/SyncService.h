#pragma once

#include <QByteArray>

namespace furrow {

class SyncStore;

// Serves one sync request body: strict decoding of the request, sealed bodies only, the store's
// exchange, and the response body.
class SyncService
{
public:
    struct Outcome
    {
        int status = 200;
        QByteArray body;       // the response document, or a short reason for a refusal
        qint64 received = 0;   // records pushed
        qint64 accepted = 0;   // records stored
        qint64 sent = 0;       // records answered
        QByteArray storeError; // why the database failed, for the server's log
    };

    SyncService(SyncStore &store, qint64 pageSize);

    Outcome handle(QByteArrayView body) const;

private:
    SyncStore &m_store;
    qint64 m_pageSize;
};

} // namespace furrow
