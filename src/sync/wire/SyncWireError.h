#pragma once

#include <QString>

#include <stdexcept>

namespace furrow {

// Raised when a sync document does not decode; the message is the decoder's own description.
class SyncWireError : public std::runtime_error
{
public:
    explicit SyncWireError(const std::string &description)
        : std::runtime_error(description)
    {}
    QString description() const { return QString::fromUtf8(what()); }
};

} // namespace furrow
