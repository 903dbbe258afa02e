#pragma once

#include <QString>

namespace furrow {

// Writes one diagnostic line, "Furrow: " followed by the message, to standard output.
// Safe to call from any thread.
void logLine(const QString &message);

} // namespace furrow
