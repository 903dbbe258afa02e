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

    // Deeper JSON is refused before any tree is built: a body of nested brackets would
    // otherwise cost the parser far more memory than its size.
    static constexpr int kMaxNesting = 64;
    static constexpr qsizetype kMaxRecords = 50'000;
    // A record stamped further ahead than this would win every later merge on every device.
    static constexpr qint64 kMaxAheadMs = 366LL * 24 * 60 * 60 * 1000;

    SyncService(SyncStore &store, qint64 pageSize, qint64 pageBytes);

    Outcome handle(QByteArrayView body) const;

private:
    SyncStore &m_store;
    qint64 m_pageSize;
    qint64 m_pageBytes;
};

} // namespace furrow
