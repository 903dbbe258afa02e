#pragma once

#include "base/Error.h"

namespace furrow {

// Raised when a sync document does not decode; the message is the decoder's own description.
class SyncWireError : public Error
{
public:
    explicit SyncWireError(const std::string &description)
        : Error(description)
    {}
};

} // namespace furrow
