#pragma once

#include "SyncValue.h"

namespace furrow {

// One changed planner object on the wire: a flat envelope and a body of field values.
struct SyncRecord
{
    QString kind;         // "project", "page", "section", "task", "day" or a kind we ignore
    QString id;           // canonical identifier text, or "yyyy-MM-dd" for a day
    qint64 updatedAt = 0; // milliseconds since 1970
    bool deleted = false; // a tombstone
    SyncBody body;

    bool operator==(const SyncRecord &other) const = default;

    void toJson(nlohmann::json &out) const;
    // Every member is required; unknown members are ignored. Throws SyncWireError.
    static SyncRecord fromJson(const nlohmann::json &in);
};

} // namespace furrow
