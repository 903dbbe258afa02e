#pragma once

#include "Files.h"
#include "model/Clock.h"
#include "persistence/InternetTime.h"

namespace furrow::test {

// The instant written as internet date-time text.
inline Instant at(const char *text)
{
    return InternetTime::parse(text).value();
}

} // namespace furrow::test
