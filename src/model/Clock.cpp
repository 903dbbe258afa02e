#include "Clock.h"

#include <atomic>
#include <limits>

namespace furrow {

namespace {
// Microseconds since 1970 of the fixed time, or kSystem when the system clock is used.
constexpr qint64 kSystem = std::numeric_limits<qint64>::min();
std::atomic<qint64> fixedMicroseconds{kSystem};
} // namespace

Instant Clock::now()
{
    const qint64 fixed = fixedMicroseconds.load(std::memory_order_relaxed);
    if (fixed != kSystem)
        return instantFromMicroseconds(fixed);
    return std::chrono::floor<std::chrono::microseconds>(std::chrono::system_clock::now());
}

void Clock::setNow(Instant instant)
{
    fixedMicroseconds.store(microsecondsSinceEpoch(instant));
}

void Clock::advance(std::chrono::microseconds by)
{
    setNow(now() + by);
}

void Clock::useSystemTime()
{
    fixedMicroseconds.store(kSystem);
}

} // namespace furrow
