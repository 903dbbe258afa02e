#pragma once

#include <chrono>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>

namespace furrow {

// The server's log: one line per request with its time, client address, status, record counts
// and duration, and a few lines about the server itself. Nothing of a request's body or headers
// is ever written.
class RequestLog
{
public:
    struct Counts
    {
        long long received = 0;
        long long accepted = 0;
        long long sent = 0;
    };
    struct Entry
    {
        std::chrono::system_clock::time_point at;
        std::string address;
        int status = 0;
        std::optional<Counts> counts; // only for sync requests that were served
        std::chrono::microseconds duration{0};
    };

    explicit RequestLog(std::ostream &out);

    void request(const Entry &entry);
    void note(const std::string &message);

private:
    void writeLine(std::chrono::system_clock::time_point at, const std::string &text);

    std::ostream &m_out;
    std::mutex m_mutex;
};

} // namespace furrow
