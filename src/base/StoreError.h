#pragma once

#include "base/Error.h"

namespace furrow {

// Raised by a persistent store, or by the SQLite connection beneath one, when it cannot read or
// write; the message is the store's own description. A damaged store (not a database, corrupt,
// or not of the expected schema) is told apart from one that is only out of reach for now (a
// full disk, an I/O error, no permission, busy): only a damaged store may be set aside.
class StoreError : public Error
{
public:
    enum class Cause { Unavailable, Damaged };

    explicit StoreError(const QString &description, Cause cause = Cause::Unavailable)
        : Error(description)
        , m_cause(cause)
    {}

    bool isDamaged() const { return m_cause == Cause::Damaged; }

private:
    Cause m_cause;
};

} // namespace furrow
