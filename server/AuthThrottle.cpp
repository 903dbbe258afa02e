#include "AuthThrottle.h"

#include <algorithm>

namespace furrow {

namespace {
// Past this many tracked addresses, the ones that stayed quiet long enough are dropped.
constexpr std::size_t kPruneAbove = 4096;
} // namespace

AuthThrottle::AuthThrottle(Policy policy, Now now)
    : m_policy(policy)
    , m_now(std::move(now))
{}

std::chrono::milliseconds AuthThrottle::pauseLeft(const std::string &address)
{
    const std::lock_guard lock(m_mutex);
    const auto found = m_entries.find(address);
    if (found == m_entries.end())
        return {};
    const TimePoint now = m_now();
    if (found->second.pausedUntil <= now)
        return {};
    return std::chrono::ceil<std::chrono::milliseconds>(found->second.pausedUntil - now);
}

void AuthThrottle::failed(const std::string &address)
{
    const std::lock_guard lock(m_mutex);
    const TimePoint now = m_now();
    if (m_entries.size() > kPruneAbove)
        forgetQuietAddresses(now);
    Entry &entry = m_entries[address];
    if (entry.failures > 0 && now - entry.lastFailure > m_policy.longestPause * 2)
        entry = Entry();
    entry.failures += 1;
    entry.lastFailure = now;
    const int beyond = entry.failures - m_policy.freeFailures;
    if (beyond <= 0)
        return;
    // Doubling stops at the longest pause; the shift is capped so that it cannot overflow.
    const auto doubled = m_policy.firstPause * (std::int64_t(1) << std::min(beyond - 1, 30));
    entry.pausedUntil = now + std::min<std::chrono::milliseconds>(doubled, m_policy.longestPause);
}

void AuthThrottle::succeeded(const std::string &address)
{
    const std::lock_guard lock(m_mutex);
    m_entries.erase(address);
}

void AuthThrottle::forgetQuietAddresses(TimePoint now)
{
    std::erase_if(m_entries, [&](const auto &item) {
        return now - item.second.lastFailure > m_policy.longestPause * 2;
    });
}

} // namespace furrow
