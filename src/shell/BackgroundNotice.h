#pragma once

namespace furrow {

// The calm notice, shown once ever, that the planner keeps running after its main window was
// closed, with a button that starts the planner with the desktop session from then on.
namespace BackgroundNotice {

// Opens the notice unless it was shown before; returns at once.
void showOnce();

} // namespace BackgroundNotice
} // namespace furrow
