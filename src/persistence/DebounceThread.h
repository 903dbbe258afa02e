#pragma once

#include "DebounceQueue.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace furrow {

// The debounce queue on a worker thread of its own, timed by the steady clock.
class DebounceThread final : public DebounceQueue
{
public:
    DebounceThread();
    // Lets a running item finish and drops the one still waiting.
    ~DebounceThread() override;
    DebounceThread(const DebounceThread &) = delete;
    DebounceThread &operator=(const DebounceThread &) = delete;

    void schedule(std::chrono::milliseconds delay, Work work) override;
    bool waitIdle(std::chrono::milliseconds timeout) override;

private:
    using SteadyClock = std::chrono::steady_clock;

    void run();

    std::mutex m_mutex; // guards the members below
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    Work m_waiting;
    SteadyClock::time_point m_due;
    bool m_running = false;
    bool m_stopping = false;

    std::thread m_thread; // last: starts after the state above exists
};

} // namespace furrow
