#include "DebounceThread.h"

#include <utility>

namespace furrow {

DebounceThread::DebounceThread()
    : m_thread([this] { run(); })
{}

DebounceThread::~DebounceThread()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void DebounceThread::schedule(std::chrono::milliseconds delay, Work work)
{
    {
        const std::lock_guard lock(m_mutex);
        m_waiting = std::move(work);
        m_due = SteadyClock::now() + delay;
    }
    m_wake.notify_all();
}

bool DebounceThread::waitIdle(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, timeout, [this] { return !m_waiting && !m_running; });
}

void DebounceThread::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || m_waiting; });
        if (m_stopping)
            return;
        // A later schedule moves the due time; wait again until it holds still.
        if (SteadyClock::now() < m_due) {
            m_wake.wait_until(lock, m_due);
            continue;
        }
        const Work work = std::exchange(m_waiting, nullptr);
        m_running = true;
        lock.unlock();
        work();
        lock.lock();
        m_running = false;
        m_idle.notify_all();
    }
}

} // namespace furrow
