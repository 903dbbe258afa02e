#pragma once

class QWidget;

namespace furrow {

// Places widgets that are made later (editors, fields) where they belong in the tab order.
namespace FocusChain {

// Puts `widget` into the focus chain just before `anchor`, after the nearest focusable widget
// that precedes it.
void placeBefore(QWidget *widget, QWidget *anchor);

} // namespace FocusChain
} // namespace furrow
