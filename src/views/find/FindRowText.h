#pragma once

#include "model/find/FindResult.h"

namespace furrow {

// The words that say where a find result lives, shared by the palette's rows and the command
// line.
namespace FindRowText {

// "Work › Inbox" for a task on a page, "Archive · Done · 3 Dec" for an archived one, "Page" for
// a page and "Goals" for a goal.
QString place(const FindResult &result, Instant now);
// The due day as a task row shows it; empty without one.
QString due(const FindResult &result, Instant now);
// "title · place · project · due", leaving out the parts a result does not have.
QString line(const FindResult &result, Instant now);

} // namespace FindRowText
} // namespace furrow
