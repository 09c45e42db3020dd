#pragma once
// The simulated devices' own memory: what a real mouse or receiver keeps when it is unplugged
// (the mouse's profiles, the receiver's pairing, both firmware versions) lives in one file per
// device in the user's state folder, written on the library's own thread.
#include "Deliverer.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace hidsim {

// "$XDG_STATE_HOME/kavro-sim" ("~/.local/state/kavro-sim" by default); empty without a home.
std::string memoryFolderFromEnvironment();

// Writes the devices' files in the order they changed; a file changed again before its turn is
// written once, with its latest bytes.
class MemoryWriter {
public:
    void save(const std::string& fileName, std::string bytes);
    void remove(const std::string& fileName);
    // What fileName will hold once the writes queued for it are done; false when none is queued.
    // *removed: it will be gone.
    bool queued(const std::string& fileName, std::string* bytes, bool* removed);
    bool idle() { return m_thread.idle(); }
    bool waitIdle(int timeoutMs) { return m_thread.waitIdle(timeoutMs); }
    // At library unload: what is queued is written first (for at most timeoutMs).
    void shutdown(int timeoutMs);

private:
    struct Entry {
        uint64_t sequence = 0;
        bool remove = false;
        bool posted = false;  // a write for it waits on the thread
        std::string bytes;
    };
    void put(const std::string& fileName, bool remove, std::string bytes);
    void writeOut(const std::string& fileName);

    std::mutex m_mutex;
    std::map<std::string, Entry> m_entries;
    uint64_t m_sequence = 0;
    bool m_warned = false;
    Deliverer m_thread{"hidsim-memory"};
};

}  // namespace hidsim
