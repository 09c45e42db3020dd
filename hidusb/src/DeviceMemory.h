#pragma once
// The simulated devices' own memory: what a real mouse or receiver keeps when it is unplugged
// (the mouse's profiles, the receiver's pairing, both firmware versions) lives in one file per
// device in the user's state folder, written on the library's own thread.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace hidsim {

// "$XDG_STATE_HOME/kavro-sim" ("~/.local/state/kavro-sim" by default); empty without a home.
std::string memoryFolderFromEnvironment();

// Writes the devices' files on a thread of its own. A file is written at once after a quiet
// spell, and then at most once a gap: a burst of changes (a drag that sends an image at every
// move) costs a few writes a second, each with the latest bytes, and the last change is always
// written, at the end of its gap or at once when a caller waits for the writes.
class MemoryWriter {
public:
    static constexpr int GapMs = 500;

    MemoryWriter() = default;
    MemoryWriter(const MemoryWriter&) = delete;
    MemoryWriter& operator=(const MemoryWriter&) = delete;

    void save(const std::string& fileName, std::string bytes);
    void remove(const std::string& fileName);
    // What fileName will hold once the writes queued for it are done; false when none is queued.
    // *removed: it will be gone.
    bool queued(const std::string& fileName, std::string* bytes, bool* removed);
    // True when nothing is queued (also nothing waiting for its gap) and nothing is written.
    bool idle();
    // Writes what is queued without waiting for the gaps, and waits until it is written, at
    // most timeoutMs; true when idle.
    bool waitIdle(int timeoutMs);
    // At library unload: what is queued is written first (for at most timeoutMs).
    void shutdown(int timeoutMs);

private:
    using Clock = std::chrono::steady_clock;
    struct Entry {
        uint64_t sequence = 0;
        bool remove = false;
        std::string bytes;
        Clock::time_point due;  // not written before
    };
    void put(const std::string& fileName, bool remove, std::string bytes);
    void run();
    bool idleLocked() const { return m_entries.empty() && !m_writing; }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::map<std::string, Entry> m_entries;
    std::map<std::string, Clock::time_point> m_written;  // each file's last write, for a gap
    uint64_t m_sequence = 0;
    int m_hurry = 0;  // callers waiting for the queue written without gaps
    bool m_writing = false;
    bool m_warned = false;
    bool m_stop = false;
    bool m_exited = false;
    std::thread m_thread;
};

}  // namespace hidsim
