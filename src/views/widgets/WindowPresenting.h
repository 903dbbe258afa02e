#pragma once

class QWidget;

namespace furrow {

// Brings a top-level window of the planner to the front with the keyboard: shown, restored when
// minimised, raised and activated.
void presentWindow(QWidget &window);

} // namespace furrow
