#include "RequestLog.h"

#include <cstdio>
#include <ctime>

namespace furrow {

namespace {

// UTC with milliseconds, e.g. 2025-06-01T09:30:00.125Z.
std::string timestamp(std::chrono::system_clock::time_point at)
{
    const auto millis
        = std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count();
    const std::time_t seconds = std::time_t(millis / 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                  int(millis % 1000));
    return text;
}

} // namespace

RequestLog::RequestLog(std::ostream &out)
    : m_out(out)
{}

void RequestLog::request(const Entry &entry)
{
    std::string text = entry.address + ' ' + std::to_string(entry.status);
    if (entry.counts) {
        text += " записей: получено " + std::to_string(entry.counts->received) + ", принято "
                + std::to_string(entry.counts->accepted) + ", отдано "
                + std::to_string(entry.counts->sent) + ';';
    }
    char duration[32];
    std::snprintf(duration, sizeof duration, " %.1f мс", double(entry.duration.count()) / 1000.0);
    writeLine(entry.at, text + duration);
}

void RequestLog::note(const std::string &message)
{
    writeLine(std::chrono::system_clock::now(), message);
}

void RequestLog::writeLine(std::chrono::system_clock::time_point at, const std::string &text)
{
    const std::string line = timestamp(at) + ' ' + text + '\n';
    const std::lock_guard lock(m_mutex);
    m_out << line << std::flush;
}

} // namespace furrow
