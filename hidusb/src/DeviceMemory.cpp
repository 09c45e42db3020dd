#include "DeviceMemory.h"

#include "Deliverer.h"
#include "Files.h"
#include "ImageCodec.h"
#include "MemoryFile.h"
#include "SimState.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>

#include <pthread.h>
#include <pwd.h>
#include <unistd.h>

namespace hidsim {

namespace {

std::string baseName(const std::string& fileName)
{
    const size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

// Twins (same identity) are told apart by their order: the second is "-2", and so on.
std::string withTwinNumber(const char* base, int twinsBefore)
{
    std::string name = base;
    if (twinsBefore > 0)
        name += "-" + std::to_string(twinsBefore + 1);
    return name + ".state";
}

std::string mouseFileName(State& s, const SimMouse& m)
{
    int twins = 0;
    for (const auto& entry : s.mice) {
        const SimMouse& other = entry.second;
        twins += other.id < m.id && other.cid == m.cid && other.mid == m.mid &&
                 std::memcmp(other.address, m.address, sizeof m.address) == 0;
    }
    char base[48];
    std::snprintf(base, sizeof base, "mouse-%02X-%02X-%02X%02X%02X", m.cid, m.mid, m.address[0], m.address[1],
                  m.address[2]);
    return withTwinNumber(base, twins);
}

std::string receiverFileName(State& s, const SimInterface& i)
{
    int twins = 0;
    for (const auto& entry : s.interfaces) {
        const SimInterface& other = entry.second;
        twins += other.id < i.id && isReceiverKind(other.kind) && other.vidValue == i.vidValue &&
                 other.pidValue == i.pidValue;
    }
    char base[48];
    std::snprintf(base, sizeof base, "receiver-%04lX-%04lX", i.vidValue, i.pidValue);
    return withTwinNumber(base, twins);
}

std::string encodeMouse(const SimMouse& m)
{
    MouseMemory memory;
    memory.version = static_cast<uint32_t>(m.version);
    memory.boot = static_cast<uint8_t>(m.boot ? 1 : 0);
    memory.activeProfile = static_cast<uint8_t>(m.activeProfile & 3);
    memory.profiles = m.profiles;
    return encodeMouseMemory(memory);
}

ReceiverKept keptOf(const SimInterface& i)
{
    ReceiverKept kept;
    kept.mouseId = i.mouseId;
    kept.version = i.version;
    kept.boot = i.boot;
    kept.lightMode = i.lightMode;
    kept.longRange = i.longRange;
    kept.ownCid = i.ownCid;
    kept.ownMid = i.ownMid;
    return kept;
}

void applyKept(SimInterface& i, const ReceiverKept& kept)
{
    i.mouseId = kept.mouseId;
    i.version = kept.version;
    i.boot = kept.boot;
    i.lightMode = kept.lightMode;
    i.longRange = kept.longRange;
    i.ownCid = kept.ownCid;
    i.ownMid = kept.ownMid;
}

std::string encodeReceiver(State& s, const SimInterface& i)
{
    const SimMouse* paired = mouseByIdLocked(s, i.mouseId);
    ReceiverMemory memory;
    memory.kept = keptOf(i);
    memory.pairedMouseFile = paired && !paired->memoryFile.empty() ? baseName(paired->memoryFile) : std::string();
    return encodeReceiverMemory(memory);
}

// The name of a device's file (mouseFileName, receiverFileName).
bool isMemoryFileName(const std::string& name)
{
    const std::string ending = ".state";
    if ((name.rfind("mouse-", 0) != 0 && name.rfind("receiver-", 0) != 0) || name.size() <= ending.size() ||
        name.compare(name.size() - ending.size(), ending.size(), ending) != 0)
        return false;
    for (const char c : name) {
        if (!isFileNameCharacter(c))
            return false;
    }
    return true;
}

// A mouse pairs with one receiver: any other that held i's mouse lets it go.
void unpairOthersLocked(State& s, const SimInterface& i, bool remember)
{
    if (i.mouseId < 0)
        return;
    for (auto& entry : s.interfaces) {
        SimInterface& other = entry.second;
        if (other.id != i.id && isReceiverKind(other.kind) && other.mouseId == i.mouseId) {
            other.mouseId = -1;
            if (remember)
                rememberInterfaceLocked(s, other);
        }
    }
}

// Reads the device's file and hands its bytes to `decode`, which takes a sound file of its kind
// and says why it refuses any other. False when nothing is kept (never written, or removed) or
// the file is damaged, which is said on standard error: the device keeps its factory values.
bool readKept(State& s, const std::string& fileName, size_t size,
              const std::function<std::string(const std::string&)>& decode)
{
    bool removed = false;
    std::string bytes;
    std::string why;
    ReadResult result = ReadResult::Read;
    if (s.memory.queued(fileName, &bytes, &removed))
        result = removed ? ReadResult::Missing : ReadResult::Read;
    else
        result = readSmallFile(fileName, size, &bytes, &why);
    if (result == ReadResult::Missing)
        return false;
    if (result == ReadResult::Failed && why == "the file is too large")
        why = "wrong size";
    if (result == ReadResult::Read)
        why = decode(bytes);
    if (why.empty())
        return true;
    std::fprintf(stderr, "HIDUsb: %s is damaged (%s): the simulated device starts with its factory values\n",
                 fileName.c_str(), why.c_str());
    return false;
}

void loadMouseLocked(State& s, SimMouse& m)
{
    MouseMemory memory;
    if (!readKept(s, m.memoryFile, MouseMemoryFileSize,
                  [&memory](const std::string& bytes) { return decodeMouseMemory(bytes, &memory); }))
        return;
    m.version = static_cast<int>(memory.version);
    m.boot = memory.boot;
    m.activeProfile = memory.activeProfile;
    m.profiles = memory.profiles;
}

void loadReceiverLocked(State& s, SimInterface& i)
{
    ReceiverMemory memory;
    if (!readKept(s, i.memoryFile, ReceiverMemoryFileSize,
                  [&memory](const std::string& bytes) { return decodeReceiverMemory(bytes, &memory); }))
        return;
    ReceiverKept kept = memory.kept;
    // The mouse it was paired with, when that mouse is here.
    const std::string& name = memory.pairedMouseFile;
    for (const auto& entry : s.mice) {
        if (!name.empty() && !entry.second.memoryFile.empty() && baseName(entry.second.memoryFile) == name)
            kept.mouseId = entry.first;
    }
    applyKept(i, kept);
    unpairOthersLocked(s, i, false);
}

}  // namespace

std::string memoryFolderFromEnvironment()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string folder;
    if (state && state[0] == '/') {
        folder = state;
    } else {
        const char* home = std::getenv("HOME");
        std::string homeFolder = home && home[0] == '/' ? home : "";
        if (homeFolder.empty()) {
            if (const passwd* entry = ::getpwuid(::geteuid()))
                homeFolder = entry->pw_dir ? entry->pw_dir : "";
        }
        if (homeFolder.empty() || homeFolder[0] != '/')
            return std::string();
        folder = homeFolder + "/.local/state";
    }
    return folder + "/kavro-sim";
}

void MemoryWriter::save(const std::string& fileName, std::string bytes)
{
    put(fileName, false, std::move(bytes));
}

void MemoryWriter::remove(const std::string& fileName)
{
    put(fileName, true, std::string());
}

void MemoryWriter::put(const std::string& fileName, bool remove, std::string bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stop)
        return;
    const bool waiting = m_entries.count(fileName) != 0;
    Entry& entry = m_entries[fileName];
    if (!waiting) {
        const auto written = m_written.find(fileName);
        entry.due = written != m_written.end() ? written->second + std::chrono::milliseconds(GapMs) : Clock::now();
    }
    entry.sequence = ++m_sequence;
    entry.remove = remove;
    entry.bytes = std::move(bytes);
    if (!m_thread.joinable()) {
        m_thread = std::thread([this] { run(); });
        pthread_setname_np(m_thread.native_handle(), "hidsim-memory");  // tells the threads apart in /proc and strace
    }
    m_wake.notify_all();
}

bool MemoryWriter::queued(const std::string& fileName, std::string* bytes, bool* removed)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_entries.find(fileName);
    if (it == m_entries.end())
        return false;
    *bytes = it->second.bytes;
    *removed = it->second.remove;
    return true;
}

bool MemoryWriter::idle()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return idleLocked();
}

bool MemoryWriter::waitIdle(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    ++m_hurry;
    m_wake.notify_all();
    const bool done = m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs),
                                      [this] { return idleLocked() || m_exited; });
    --m_hurry;
    return done && idleLocked();
}

void MemoryWriter::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop) {
        if (m_entries.empty()) {
            m_idle.notify_all();
            m_wake.wait(lock, [this] { return m_stop || !m_entries.empty(); });
            continue;
        }
        auto next = m_entries.begin();
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->second.due < next->second.due)
                next = it;
        }
        const Clock::time_point due = next->second.due;
        if (m_hurry == 0 && due > Clock::now()) {
            // A new file, a waiting caller or the end may come first.
            m_wake.wait_until(lock, due);
            continue;
        }
        const std::string fileName = next->first;
        const Entry taken = next->second;
        m_writing = true;
        lock.unlock();
        std::string error;
        const bool done = taken.remove ? removeFile(fileName, &error) : writeFileAtomically(fileName, taken.bytes, &error);
        lock.lock();
        m_writing = false;
        const Clock::time_point now = Clock::now();
        for (auto it = m_written.begin(); it != m_written.end();)
            it = now - it->second >= std::chrono::milliseconds(GapMs) ? m_written.erase(it) : std::next(it);
        m_written[fileName] = now;
        // Kept while a newer change waits: a device made meanwhile must read that one, and the
        // file is written again after its gap.
        const auto it = m_entries.find(fileName);
        if (it != m_entries.end() && it->second.sequence == taken.sequence)
            m_entries.erase(it);
        else if (it != m_entries.end())
            it->second.due = now + std::chrono::milliseconds(GapMs);
        if (!done && !m_warned) {
            m_warned = true;
            lock.unlock();
            std::fprintf(stderr, "HIDUsb: the simulated devices cannot keep their memory: %s\n", error.c_str());
            lock.lock();
        }
    }
    m_exited = true;
    m_idle.notify_all();
}

void MemoryWriter::shutdown(int timeoutMs)
{
    waitIdle(timeoutMs);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_stop = true;
    m_wake.notify_all();
    // A write that never returns (a file system that hangs) must not hang the process at exit.
    endThread(lock, m_idle, m_exited, m_thread);
}

void finishDevicesLocked(State& s, bool remember)
{
    const bool remembering = remember && !s.memoryFolder.empty();
    bool readFolder = false;
    // Mice first: a receiver finds the mouse it was paired with by that mouse's file.
    for (auto& entry : s.mice) {
        SimMouse& m = entry.second;
        if (m.sealed)
            continue;
        m.sealed = true;
        m.factoryVersion = m.version;
        m.factoryBoot = m.boot;
        if (remembering) {
            m.memoryFile = s.memoryFolder + "/" + mouseFileName(s, m);
            loadMouseLocked(s, m);
            readFolder = true;
        }
    }
    for (auto& entry : s.interfaces) {
        SimInterface& i = entry.second;
        if (i.sealed)
            continue;
        i.sealed = true;
        i.factory = keptOf(i);
        if (remembering && isReceiverKind(i.kind)) {
            i.memoryFile = s.memoryFolder + "/" + receiverFileName(s, i);
            loadReceiverLocked(s, i);
            readFolder = true;
        }
    }
    if (readFolder)
        removeLeftoverTemporaries(s.memoryFolder, isMemoryFileName);
}

void rememberMouseLocked(State& s, const SimMouse& mouse)
{
    if (!mouse.memoryFile.empty())
        s.memory.save(mouse.memoryFile, encodeMouse(mouse));
}

void rememberInterfaceLocked(State& s, const SimInterface& i)
{
    if (!i.memoryFile.empty())
        s.memory.save(i.memoryFile, encodeReceiver(s, i));
}

void factoryResetMouseLocked(State& s, SimMouse& mouse)
{
    for (Image& profile : mouse.profiles)
        profile = mouse.factory;
    mouse.activeProfile = 0;
    mouse.version = mouse.factoryVersion;
    mouse.boot = mouse.factoryBoot;
    if (!mouse.memoryFile.empty())
        s.memory.remove(mouse.memoryFile);
    if (linkMouseLocked(s) == &mouse) {
        const uint8_t changed[7] = {0, 0, 1, 0, 0, 0, 0};
        queueAnswerLocked(s, 10, 0, 0, changed, 7);
    }
}

void factoryResetInterfaceLocked(State& s, SimInterface& i)
{
    ReceiverKept factory = i.factory;
    if (!mouseByIdLocked(s, factory.mouseId))
        factory.mouseId = -1;
    applyKept(i, factory);
    unpairOthersLocked(s, i, true);
    if (!i.memoryFile.empty())
        s.memory.remove(i.memoryFile);
}

}  // namespace hidsim
