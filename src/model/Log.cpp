#include "Log.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace furrow {

namespace {

void writeToStdout(const QString &line)
{
    const QByteArray bytes = (line + u'\n').toUtf8();
    // One call per line keeps lines whole when another process shares the output.
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

std::mutex &sinkMutex()
{
    static std::mutex mutex;
    return mutex;
}

LogSink &currentSink()
{
    static LogSink sink = writeToStdout;
    return sink;
}

} // namespace

void logLine(const QString &message)
{
    const QString line = QStringLiteral("Furrow: ") + message;
    const std::lock_guard lock(sinkMutex());
    currentSink()(line);
}

LogSink setLogSink(LogSink sink)
{
    const std::lock_guard lock(sinkMutex());
    return std::exchange(currentSink(), sink ? std::move(sink) : LogSink(writeToStdout));
}

} // namespace furrow
