#pragma once

#include <stdexcept>
#include <string>

namespace furrow {

// Raised when the server cannot start or a request cannot be served; the message is the
// description printed for the person running it.
class ServerError : public std::runtime_error
{
public:
    explicit ServerError(const std::string &description)
        : std::runtime_error(description)
    {}
};

} // namespace furrow
