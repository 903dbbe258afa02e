#pragma once

#include <QEasingCurve>

namespace furrow {

// Whether animations are shown, and how long each kind of motion takes and how it eases: every
// animation of the interface takes its timing from here.
namespace Motion {

// A change of state: a row landing, hairlines, a drop gap opening, a list fading over.
inline constexpr int kEaseMs = 150;
inline constexpr QEasingCurve::Type kEaseOut = QEasingCurve::OutCubic;
// The hover background of chips and pills.
inline constexpr int kHoverMs = 120;
inline constexpr QEasingCurve::Type kHoverEasing = QEasingCurve::InOutQuad;
// A popup appearing.
inline constexpr int kPopupMs = 140;
// The sidebar sliding in or out from the leading edge.
inline constexpr int kSlideMs = 200;
// The brief highlight of a row the find palette went to.
inline constexpr int kFlashMs = 900;

// True when FURROW_REDUCE_MOTION=1 is set, or when the desktop asks for no animations (the
// desktop's setting is read once per process).
bool reduceMotion();

} // namespace Motion
} // namespace furrow
