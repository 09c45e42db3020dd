#include "DeviceMemory.h"

#include "Files.h"
#include "ImageCodec.h"
#include "MemoryFile.h"
#include "SimState.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

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
    Entry& entry = m_entries[fileName];
    entry.sequence = ++m_sequence;
    entry.remove = remove;
    entry.bytes = std::move(bytes);
    if (!entry.posted) {
        entry.posted = true;
        m_thread.post(0, [this, fileName] { writeOut(fileName); });
    }
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

void MemoryWriter::writeOut(const std::string& fileName)
{
    Entry taken;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_entries.find(fileName);
        if (it == m_entries.end())
            return;
        it->second.posted = false;
        taken = it->second;
    }
    std::string error;
    const bool done = taken.remove ? removeFile(fileName, &error) : writeFileAtomically(fileName, taken.bytes, &error);
    bool warn = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // Kept while a newer change waits: a device made meanwhile must read that one.
        const auto it = m_entries.find(fileName);
        if (it != m_entries.end() && it->second.sequence == taken.sequence)
            m_entries.erase(it);
        warn = !done && !m_warned;
        m_warned = m_warned || warn;
    }
    if (warn)
        std::fprintf(stderr, "HIDUsb: the simulated devices cannot keep their memory: %s\n", error.c_str());
}

void MemoryWriter::shutdown(int timeoutMs)
{
    m_thread.waitIdle(timeoutMs);
    m_thread.shutdown();
}

void finishDevicesLocked(State& s, bool remember)
{
    const bool remembering = remember && !s.memoryFolder.empty();
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
        }
    }
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
