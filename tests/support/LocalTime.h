#pragma once

#include "model/Instant.h"

namespace furrow::test {

// A local time in the test time zone (TZ=Europe/Berlin).
Instant localTime(int year, int month, int day, int hour = 0, int minute = 0);

} // namespace furrow::test
