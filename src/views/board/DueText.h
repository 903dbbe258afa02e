#pragma once

#include "model/Instant.h"

#include <QString>

namespace furrow {

// The words a task row shows for a due date.
namespace DueText {

// "Today", "Tomorrow" or "Yesterday" for those days; otherwise the day and the English short
// month ("5 Mar"), with a two-digit year when it is not the year of `now` ("5 Mar 24").
QString label(Instant due, Instant now);

} // namespace DueText
} // namespace furrow
