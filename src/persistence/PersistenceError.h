#pragma once

#include <QString>

#include <stdexcept>

namespace furrow {

// Raised when a backup document cannot be read or a file cannot be written; the message is the
// error's description, which callers put into their log line or alert.
class PersistenceError : public std::runtime_error
{
public:
    explicit PersistenceError(const QString &description)
        : std::runtime_error(description.toStdString())
    {}
    QString description() const { return QString::fromStdString(what()); }
};

} // namespace furrow
