#pragma once

#include "Instant.h"

namespace furrow {

// The one source of "now". Tests fix it and move it forward instead of waiting.
class Clock
{
public:
    static Instant now();

    static void setNow(Instant instant);
    static void advance(std::chrono::microseconds by);
    static void useSystemTime();
};

} // namespace furrow
