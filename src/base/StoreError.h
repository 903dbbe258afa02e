#pragma once

#include "base/Error.h"

namespace furrow {

// Raised by a persistent store, or by the SQLite connection beneath one, when it cannot read or
// write; the message is the store's own description.
class StoreError : public Error
{
public:
    explicit StoreError(const QString &description)
        : Error(description)
    {}
};

} // namespace furrow
