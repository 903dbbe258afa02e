#pragma once

#include "model/Instant.h"

#include <optional>
#include <string>
#include <string_view>

namespace furrow {

// Instants as internet date-time text (RFC 3339) with whole seconds, the form of the backup
// document: 2025-03-01T09:30:00Z.
namespace InternetTime {

// UTC text with the designator Z; the sub-second part is dropped (rounded towards the past).
std::string format(Instant instant);
// Reads a full date and time with a zone designator (Z or ±hh:mm) and no fraction of a second;
// anything else gives none.
std::optional<Instant> parse(std::string_view text);

} // namespace InternetTime
} // namespace furrow
