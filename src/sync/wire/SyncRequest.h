#pragma once

#include "SyncRecord.h"

#include <QByteArray>

#include <vector>

namespace furrow {

// What the client posts: who it is, where it got to on the server and its local changes.
struct SyncRequest
{
    QString device;
    qint64 since = 0;
    std::vector<SyncRecord> changes;

    bool operator==(const SyncRequest &other) const = default;

    // Compact UTF-8 JSON.
    QByteArray encode() const;
    // Every member is required; unknown members are ignored. Throws SyncWireError.
    static SyncRequest decode(QByteArrayView json);
};

} // namespace furrow
