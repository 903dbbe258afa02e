#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace furrow {

// Counts the open connections in total and per client address, so that a few slow or idle
// clients cannot take every connection the server is willing to hold.
class ConnectionLimiter
{
public:
    // A held connection; releases its place when it goes.
    class Slot
    {
    public:
        Slot(Slot &&other) noexcept;
        Slot &operator=(Slot &&) = delete;
        Slot(const Slot &) = delete;
        ~Slot();

    private:
        friend class ConnectionLimiter;
        Slot(ConnectionLimiter *limiter, std::string address);
        ConnectionLimiter *m_limiter;
        std::string m_address;
    };

    ConnectionLimiter(std::size_t total, std::size_t perAddress);

    // A place for one more connection from `address`, or nothing when a limit is reached.
    std::optional<Slot> admit(const std::string &address);

private:
    void release(const std::string &address);

    const std::size_t m_total;
    const std::size_t m_perAddress;
    std::mutex m_mutex;
    std::size_t m_open = 0;
    std::map<std::string, std::size_t> m_byAddress;
};

} // namespace furrow
