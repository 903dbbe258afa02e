#pragma once

#include <cstddef>

namespace furrow {

// How many connections the process's limit on open files leaves room for. Each connection holds
// one descriptor; the rest of the server (database, log, listening socket, event loop, threads)
// needs a few more.
class DescriptorLimit
{
public:
    static constexpr std::size_t kReserve = 32;

    // Raises the soft limit towards the hard one as far as `connections` and the reserve need,
    // then answers the connections that fit under it: `connections` or fewer, at least one.
    static std::size_t connectionCap(std::size_t connections);
};

} // namespace furrow
