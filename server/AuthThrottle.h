#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

namespace furrow {

// Slows down guessing of tokens, per client address. After a few failed attempts an address
// must pause before its next attempt is looked at, and each further failure doubles the pause
// up to a limit. A success ends the pause count; an address that stayed quiet for a while
// starts afresh.
class AuthThrottle
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Now = std::function<TimePoint()>;

    struct Policy
    {
        int freeFailures = 3;
        std::chrono::milliseconds firstPause{1'000};
        std::chrono::milliseconds longestPause{60'000};
    };

    explicit AuthThrottle(Policy policy, Now now = &std::chrono::steady_clock::now);

    // How long the address must still wait before an attempt of it is looked at; zero when it
    // may try now.
    std::chrono::milliseconds pauseLeft(const std::string &address);
    void failed(const std::string &address);
    void succeeded(const std::string &address);

private:
    struct Entry
    {
        int failures = 0;
        TimePoint pausedUntil;
        TimePoint lastFailure;
    };

    void forgetQuietAddresses(TimePoint now);

    Policy m_policy;
    Now m_now;
    std::mutex m_mutex;
    std::unordered_map<std::string, Entry> m_entries;
};

} // namespace furrow
