#pragma once

namespace furrow {

// Whether animations are shown.
namespace Motion {

// True when FURROW_REDUCE_MOTION=1 is set, or when the desktop asks for no animations (the
// desktop's setting is read once per process).
bool reduceMotion();

} // namespace Motion
} // namespace furrow
