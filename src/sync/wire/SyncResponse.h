#pragma once

#include "SyncRecord.h"

#include <QByteArray>

#include <vector>

namespace furrow {

// What the server answers: its cursor after this answer, whether more follows, and its changes.
struct SyncResponse
{
    qint64 seq = 0;
    qint64 accepted = 0;
    bool more = false;
    std::vector<SyncRecord> changes;

    bool operator==(const SyncResponse &other) const = default;

    // Compact UTF-8 JSON.
    QByteArray encode() const;
    // Every member is required; unknown members are ignored. Throws SyncWireError.
    static SyncResponse decode(QByteArrayView json);
};

} // namespace furrow
