#pragma once

#include <QString>

#include <stdexcept>
#include <string>

namespace furrow {

// The base of every error Furrow's layers raise, so that a caller can catch them all in one
// place; the message is the error's description, meant for a log line or an alert.
class Error : public std::runtime_error
{
public:
    explicit Error(const std::string &description)
        : std::runtime_error(description)
    {}
    explicit Error(const QString &description)
        : std::runtime_error(description.toStdString())
    {}
    QString description() const { return QString::fromUtf8(what()); }
};

} // namespace furrow
