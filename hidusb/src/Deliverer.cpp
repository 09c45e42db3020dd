#include "Deliverer.h"

#include <chrono>

#include <pthread.h>

namespace hidsim {

void Deliverer::ensureThread()
{
    if (!m_thread.joinable() && !m_stop) {
        m_thread = std::thread([this] { run(); });
        pthread_setname_np(m_thread.native_handle(), m_name);  // tells the threads apart in /proc, perf and strace
    }
}

void Deliverer::post(int delayMs, std::function<void()> call)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stop)
        return;
    ensureThread();
    m_queue.push_back(Item{delayMs < 0 ? 0 : delayMs, std::move(call)});
    m_wake.notify_all();
}

void Deliverer::clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_queue.clear();
    ++m_clears;
    m_wake.notify_all();
    if (!m_busy)
        m_idle.notify_all();
}

bool Deliverer::idle()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_queue.empty() && !m_busy;
}

bool Deliverer::waitIdle(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs),
                           [this] { return m_queue.empty() && !m_busy; });
}

void Deliverer::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_stop)
            break;
        const int delay = m_queue.front().delayMs;
        if (delay > 0) {
            const unsigned long clears = m_clears;
            m_busy = true;  // a waiting answer counts as pending
            const bool interrupted = m_wake.wait_for(lock, std::chrono::milliseconds(delay),
                                                     [&] { return m_stop || m_clears != clears; });
            m_busy = false;
            if (interrupted) {
                if (m_queue.empty())
                    m_idle.notify_all();
                continue;
            }
        }
        if (m_queue.empty())
            continue;
        std::function<void()> call = std::move(m_queue.front().call);
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        call();
        call = nullptr;
        lock.lock();
        m_busy = false;
        if (m_queue.empty())
            m_idle.notify_all();
    }
    m_exited = true;
    m_idle.notify_all();
}

void Deliverer::shutdown()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_stop = true;
    m_queue.clear();
    m_wake.notify_all();
    // A callback that blocks forever (for example waiting for a GUI thread that has ended)
    // must not hang the process at exit.
    endThread(lock, m_idle, m_exited, m_thread);
}

void endThread(std::unique_lock<std::mutex>& lock, std::condition_variable& idle, const bool& exited,
               std::thread& thread)
{
    if (!thread.joinable())
        return;
    const bool ended = idle.wait_for(lock, std::chrono::milliseconds(500), [&exited] { return exited; });
    lock.unlock();
    if (ended)
        thread.join();
    else
        thread.detach();
}

}  // namespace hidsim
