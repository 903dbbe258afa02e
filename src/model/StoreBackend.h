#pragma once

#include "Record.h"
#include "base/StoreError.h"

#include <vector>

namespace furrow {

// What a save hands to the persistent store: the rows to write and the rows to delete.
struct ChangeSet
{
    struct RemovedRow
    {
        RecordKind kind;
        qint64 rowKey;
    };
    std::vector<const Record *> written; // inserted or changed rows, in no particular order
    std::vector<RemovedRow> removed;

    bool isEmpty() const { return written.empty() && removed.empty(); }
};

// The persistent store behind a ModelContext. write() applies one change set atomically or
// throws StoreError and leaves the store as it was.
class StoreBackend
{
public:
    virtual ~StoreBackend() = default;
    virtual void write(const ChangeSet &changes) = 0;
};

} // namespace furrow
