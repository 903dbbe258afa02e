#include "DescriptorLimit.h"

#include <sys/resource.h>

#include <algorithm>

namespace furrow {

std::size_t DescriptorLimit::connectionCap(std::size_t connections)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return connections;
    const rlim_t wanted = rlim_t(connections + kReserve);
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < wanted) {
        rlimit raised = limit;
        raised.rlim_cur
            = limit.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, limit.rlim_max);
        if (::setrlimit(RLIMIT_NOFILE, &raised) == 0)
            limit = raised;
    }
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= wanted)
        return connections;
    const auto soft = std::size_t(limit.rlim_cur);
    return soft > kReserve + 1 ? soft - kReserve : 1;
}

} // namespace furrow
