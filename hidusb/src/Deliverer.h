#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace hidsim {

// One library thread that runs queued calls one at a time, in order. Each call waits its
// own delay after the previous one. The calls run without any lock of this class held.
class Deliverer {
public:
    // name: the thread's name, at most 15 characters.
    explicit Deliverer(const char* name) : m_name(name) {}
    Deliverer(const Deliverer&) = delete;
    Deliverer& operator=(const Deliverer&) = delete;

    void post(int delayMs, std::function<void()> call);
    // Drops every queued call; a call already running finishes.
    void clear();
    // True when nothing is queued and no call runs.
    bool idle();
    // Waits until idle, at most timeoutMs; true when idle.
    bool waitIdle(int timeoutMs);
    // Ends the thread at library unload; leaves it detached when a call does not return.
    void shutdown();

private:
    struct Item {
        int delayMs;
        std::function<void()> call;
    };
    void run();
    void ensureThread();  // with m_mutex held

    const char* m_name;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Item> m_queue;
    unsigned long m_clears = 0;
    bool m_busy = false;
    bool m_stop = false;
    bool m_exited = false;
    std::thread m_thread;
};

// Ends a library thread whose loop was told to stop (lock held on its mutex): waits at most
// half a second for it to set `exited` and notify `idle`, then joins it; one that does not
// end in time (a call that never returns) is left detached, so it cannot hang the exit.
void endThread(std::unique_lock<std::mutex>& lock, std::condition_variable& idle, const bool& exited,
               std::thread& thread);

}  // namespace hidsim
