#pragma once

#include "base/Error.h"

namespace furrow {

// Raised when a backup document cannot be read or a file cannot be written; the message is the
// error's description, which callers put into their log line or alert.
class PersistenceError : public Error
{
public:
    explicit PersistenceError(const QString &description)
        : Error(description)
    {}
};

} // namespace furrow
