#include "ConnectionLimiter.h"

#include <utility>

namespace furrow {

ConnectionLimiter::Slot::Slot(ConnectionLimiter *limiter, std::string address)
    : m_limiter(limiter)
    , m_address(std::move(address))
{}

ConnectionLimiter::Slot::Slot(Slot &&other) noexcept
    : m_limiter(std::exchange(other.m_limiter, nullptr))
    , m_address(std::move(other.m_address))
{}

ConnectionLimiter::Slot::~Slot()
{
    if (m_limiter)
        m_limiter->release(m_address);
}

ConnectionLimiter::ConnectionLimiter(std::size_t total, std::size_t perAddress)
    : m_total(total)
    , m_perAddress(perAddress)
{}

std::optional<ConnectionLimiter::Slot> ConnectionLimiter::admit(const std::string &address)
{
    const std::lock_guard lock(m_mutex);
    std::size_t &fromAddress = m_byAddress[address];
    if (m_open >= m_total || fromAddress >= m_perAddress) {
        if (fromAddress == 0)
            m_byAddress.erase(address);
        return std::nullopt;
    }
    ++fromAddress;
    ++m_open;
    return Slot(this, address);
}

void ConnectionLimiter::release(const std::string &address)
{
    const std::lock_guard lock(m_mutex);
    --m_open;
    if (const auto found = m_byAddress.find(address);
        found != m_byAddress.end() && --found->second == 0)
        m_byAddress.erase(found);
}

} // namespace furrow
