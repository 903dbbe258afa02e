#pragma once

#include "base/Error.h"

#include <string>

namespace furrow {

// Raised when the server cannot start or a request cannot be served; the message is the
// description printed for the person running it.
class ServerError : public Error
{
public:
    explicit ServerError(const std::string &description)
        : Error(description)
    {}
};

} // namespace furrow
