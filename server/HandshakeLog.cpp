#include "HandshakeLog.h"

#include "RequestLog.h"

#include <utility>

namespace furrow {

HandshakeLog::HandshakeLog(RequestLog &log, std::chrono::seconds interval, Now now)
    : m_log(log)
    , m_interval(interval)
    , m_now(std::move(now))
{}

void HandshakeLog::failed(const std::string &address, const std::string &reason)
{
    long long held = 0;
    {
        const std::lock_guard lock(m_mutex);
        const auto now = m_now();
        if (m_last && now - *m_last < m_interval) {
            ++m_held;
            return;
        }
        m_last = now;
        held = std::exchange(m_held, 0);
    }
    std::string line = "TLS-рукопожатие с " + address + " не удалось: " + reason;
    if (held > 0)
        line += " (ещё " + std::to_string(held) + " таких с прошлой записи)";
    m_log.note(line);
}

} // namespace furrow
