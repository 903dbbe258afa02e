#pragma once

#include <QString>

#include <functional>

namespace furrow {

// Entries of the desktop's keyring filed under the application id, read and written
// asynchronously: a locked keyring first asks the user to unlock it.
namespace Keyring {

struct Answer
{
    bool ok = false;
    // Read: the value, empty when there is no entry.
    QString value;
    // Why the keyring refused, when it did.
    QString error;
};
using Done = std::function<void(const Answer &)>;

void read(const QString &key, Done done);
// `done` learns whether the keyring confirmed that it keeps the value.
void write(const QString &key, const QString &value, Done done);

} // namespace Keyring
} // namespace furrow
