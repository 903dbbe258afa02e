#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace furrow {

class RequestLog;

// Notes failed TLS handshakes in the server's log with the peer's address and the reason, at
// most one line per interval, so that a scanner knocking all day cannot flood the log; the
// failures held back meanwhile are counted in the next line. Safe from any thread.
class HandshakeLog
{
public:
    using Now = std::function<std::chrono::steady_clock::time_point()>;

    explicit HandshakeLog(RequestLog &log, std::chrono::seconds interval = std::chrono::seconds(60),
                          Now now = &std::chrono::steady_clock::now);

    void failed(const std::string &address, const std::string &reason);

private:
    RequestLog &m_log;
    std::chrono::seconds m_interval;
    Now m_now;
    std::mutex m_mutex;
    std::optional<std::chrono::steady_clock::time_point> m_last;
    long long m_held = 0;
};

} // namespace furrow
