#pragma once

#include "model/Log.h"

#include <mutex>
#include <string>

namespace furrow::test {

// Collects the log lines written while it lives, from any thread, instead of printing them.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    // The lines logged since the last call, each ending in a line break, as printed.
    std::string take();

private:
    std::mutex m_mutex;
    std::string m_lines;
    LogSink m_previous; // last: installing the sink needs the members above
};

} // namespace furrow::test
