#pragma once

#include <QString>

#include <functional>

namespace furrow {

// Writes one diagnostic line, "Furrow: " followed by the message, to the log sink: standard
// output unless a sink is installed. Safe to call from any thread.
void logLine(const QString &message);

// Receives each whole line, "Furrow: " and the message, without the line break.
using LogSink = std::function<void(const QString &line)>;

// Sends every later line to `sink` (standard output again when it is empty) and answers the sink
// it replaces. Lines are handed to the sink one at a time, whatever thread logs them.
LogSink setLogSink(LogSink sink);

} // namespace furrow
