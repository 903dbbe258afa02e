#pragma once

#include <chrono>
#include <functional>

namespace furrow {

// A serial queue that holds at most one delayed work item: scheduling replaces the item still
// waiting, so a burst of schedules runs once, after the delay of the last. The backup writer
// runs its writes on one; tests substitute a queue whose time they move by hand.
class DebounceQueue
{
public:
    using Work = std::function<void()>;

    virtual ~DebounceQueue() = default;

    // Runs `work` once `delay` has passed, in place of the item still waiting; an item already
    // running finishes first.
    virtual void schedule(std::chrono::milliseconds delay, Work work) = 0;
    // Waits until no item waits or runs; false when `timeout` passes first.
    virtual bool waitIdle(std::chrono::milliseconds timeout) = 0;
};

} // namespace furrow
