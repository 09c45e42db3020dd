// The 37 functions the program calls, answered by the simulated devices.
#include "HIDUsb.h"

#include "ImageCodec.h"
#include "SimState.h"

#include <cstring>
#include <string>
#include <vector>

using namespace hidsim;

namespace {

const char* safe(const char* text)
{
    return text ? text : "(null)";
}

// The finders' answer belongs to the library until the next find call; each thread has its
// own, so a find on one thread never pulls the array away from another.
struct FoundPaths {
    std::vector<std::string> paths;
    std::vector<char*> pointers;
};
thread_local FoundPaths t_found;

char** findPaths(const char* vid, const char* pid, int maxCount, int* count)
{
    State& s = state();
    const long vidValue = parseHexId(vid);
    const long pidValue = parseHexId(pid);
    int limit = maxCount;
    if (count && *count > 0 && (limit <= 0 || *count < limit))
        limit = *count;
    std::vector<std::string> paths;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        for (const auto& entry : s.interfaces) {
            const SimInterface& i = entry.second;
            if (!interfaceListedLocked(i) || vidValue < 0 || pidValue < 0)
                continue;
            if (i.vidValue != vidValue || i.pidValue != pidValue)
                continue;
            if (limit > 0 && static_cast<int>(paths.size()) >= limit)
                break;
            paths.push_back(i.path);
        }
    }
    t_found.paths = std::move(paths);
    t_found.pointers.clear();
    for (std::string& path : t_found.paths)
        t_found.pointers.push_back(&path[0]);
    t_found.pointers.push_back(nullptr);
    if (count)
        *count = static_cast<int>(t_found.paths.size());
    return t_found.pointers.data();
}

// Queues an answer built from the open link's mouse when it answers.
template <typename Build>
int readFromMouse(const char* name, Build build)
{
    State& s = ensureStarted();
    runLinkCallHook(name);
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "%s()", name);
    SimMouse* mouse = linkMouseLocked(s);
    if (!mouse)
        return 0;
    return build(s, *mouse) ? 1 : 0;
}

const uint8_t* activeImage(const SimMouse& mouse)
{
    return mouse.profiles[static_cast<size_t>(mouse.activeProfile & 3)].data();
}

// Only a listed 4K receiver (kind 1) has a light the program sets.
SimInterface* lightReceiverLocked(State& s, const char* path)
{
    SimInterface* i = listedInterfaceByPathLocked(s, path);
    return i && i->kind == 1 ? i : nullptr;
}

// The long-range calls answer only for a listed interface that has the mode.
SimInterface* longRangeInterfaceLocked(State& s, const char* path)
{
    SimInterface* i = listedInterfaceByPathLocked(s, path);
    return i && i->hasLongRange ? i : nullptr;
}

}  // namespace

extern "C" {

char** UsbFinderC_FindHidDevicesByDeviceId(const char* vid, const char* pid, int interfaceNumber, int maxCount,
                                          int* count)
{
    State& s = ensureStarted();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        logCallLocked(s, "UsbFinderC_FindHidDevicesByDeviceId(%s, %s, %d, %d)", safe(vid), safe(pid), interfaceNumber,
                      maxCount);
    }
    return findPaths(vid, pid, maxCount, count);
}

char** UsbFinderC_FindHidDevicesByDefaultDeviceId(const char* vid, const char* pid, int* count)
{
    State& s = ensureStarted();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        logCallLocked(s, "UsbFinderC_FindHidDevicesByDefaultDeviceId(%s, %s)", safe(vid), safe(pid));
    }
    return findPaths(vid, pid, 0, count);
}

UsbDeviceInfo UsbFinderC_GetDeviceInfo(const char* path)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbFinderC_GetDeviceInfo(%s)", safe(path));
    UsbDeviceInfo info{0, 0, 0};
    SimInterface* i = listedInterfaceByPathLocked(s, path);
    if (!i)
        return info;
    info.kind = static_cast<uint8_t>(i->kind);
    if (i->identifyAfter > 0) {
        --i->identifyAfter;
        return info;
    }
    if (const SimMouse* mouse = mouseBehindLocked(s, *i)) {
        info.cid = mouse->cid;
        info.mid = mouse->mid;
    }
    return info;
}

int UsbFinderC_GetUsbDeviceAttribute(const char* path, UsbDeviceAttribute* attribute)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbFinderC_GetUsbDeviceAttribute(%s)", safe(path));
    const SimInterface* i = listedInterfaceByPathLocked(s, path);
    if (!i || !attribute)
        return 0;
    uint8_t* b = attribute->bytes;
    b[0] = static_cast<uint8_t>(i->vidValue & 0xFF);
    b[1] = static_cast<uint8_t>((i->vidValue >> 8) & 0xFF);
    b[2] = static_cast<uint8_t>(i->pidValue & 0xFF);
    b[3] = static_cast<uint8_t>((i->pidValue >> 8) & 0xFF);
    b[8] = static_cast<uint8_t>(i->version & 0xFF);
    b[9] = static_cast<uint8_t>((i->version >> 8) & 0xFF);
    return 1;
}

int UsbFinderC_GetDeviceOnLine(const char* path)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbFinderC_GetDeviceOnLine(%s)", safe(path));
    const SimInterface* i = interfaceByPathLocked(s, path);
    return i && interfaceOnlineLocked(s, *i) ? 1 : 0;
}

int UsbFinderC_GetDeviceOnLineWithUsbAddress(const char* path, UsbAddressStatus* status)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbFinderC_GetDeviceOnLineWithUsbAddress(%s)", safe(path));
    const SimInterface* i = listedInterfaceByPathLocked(s, path);
    if (!i)
        return 0;
    const int online = interfaceOnlineLocked(s, *i) ? 1 : 0;
    if (status) {
        status->bytes[6] = static_cast<uint8_t>(online);
        if (const SimMouse* mouse = mouseBehindLocked(s, *i))
            std::memcpy(status->bytes + 7, mouse->address, 3);
    }
    return online;
}

int UsbFinderC_GetVersion(const char* path)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbFinderC_GetVersion(%s)", safe(path));
    const SimInterface* i = interfaceByPathLocked(s, path);
    if (!i || !interfaceOnlineLocked(s, *i))
        return 0;
    const SimMouse* mouse = mouseBehindLocked(s, *i);
    return mouse ? mouse->version : 0;
}

int UsbFinderC_GetSlaveVersion(const char* path, int* version)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbFinderC_GetSlaveVersion(%s)", safe(path));
    const SimInterface* i = listedInterfaceByPathLocked(s, path);
    if (!i || !isReceiverKind(i->kind))
        return 0;
    if (version)
        *version = i->version;
    return 1;
}

int StartUsbChanged(UsbChangedCallback callback, int settleMs)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "StartUsbChanged(%d)", settleMs);
    ++s.hotplugGeneration;
    s.hotplugCallback = callback;
    s.settleMs = settleMs < 0 ? 0 : settleMs;
    // Nothing has changed yet: the new callback runs on the event loop's next turn, and the
    // settle time applies to the plug changes that follow.
    postHotplugLocked(s, false);
    return callback ? 1 : 0;
}

int StopUsbChanged(void)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "StopUsbChanged()");
    ++s.hotplugGeneration;
    s.hotplugCallback = nullptr;
    return 1;
}

int UsbServerC_Start(const char* path, const char* path2, UsbDataCallback callback)
{
    State& s = ensureStarted();
    runLinkCallHook("UsbServerC_Start");
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbServerC_Start(%s, %s)", safe(path), safe(path2));
    closeLinkLocked(s);
    s.linkOpen = path != nullptr && callback != nullptr;
    s.linkPath = path ? path : "";
    s.linkCallback = callback;
    return s.linkOpen && interfaceByPathLocked(s, path) ? 1 : 0;
}

void UsbServer_Exit(void)
{
    State& s = ensureStarted();
    runLinkCallHook("UsbServer_Exit");
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbServer_Exit()");
    closeLinkLocked(s);
}

int UsbServer_SetPCDriverStatus(uint8_t status)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbServer_SetPCDriverStatus(%d)", status);
    s.pcDriverStatus = status;
    return 1;
}

int UsbServer_ReadAllFlashData(void)
{
    return readFromMouse("UsbServer_ReadAllFlashData", [](State& s, SimMouse& mouse) {
        uint8_t answer[FullAnswerSize];
        // An image written with more than eight macros comes back with its first eight.
        packFullAnswer(activeImage(mouse), answer);
        return queueAnswerLocked(s, 8, 0, 0, answer, FullAnswerSize);
    });
}

int UsbServer_ReadBatteryLevel(void)
{
    return readFromMouse("UsbServer_ReadBatteryLevel", [](State& s, SimMouse& mouse) {
        const uint8_t answer[4] = {static_cast<uint8_t>(mouse.battery), static_cast<uint8_t>(mouse.charging ? 1 : 0),
                                   0, 0};
        return queueAnswerLocked(s, 4, 0, 0, answer, 4);
    });
}

int UsbServer_ReadConfig(void)
{
    return readFromMouse("UsbServer_ReadConfig", [](State& s, SimMouse& mouse) {
        const uint8_t answer = static_cast<uint8_t>(mouse.activeProfile);
        return queueAnswerLocked(s, 14, 0, 0, &answer, 1);
    });
}

int UsbServer_ReadVersion(void)
{
    return readFromMouse("UsbServer_ReadVersion",
                         [](State& s, SimMouse&) { return queueAnswerLocked(s, 18, 0, 0, nullptr, 0); });
}

int UsbServer_ReadCurrentDPI(void)
{
    return readFromMouse("UsbServer_ReadCurrentDPI", [](State& s, SimMouse& mouse) {
        const uint8_t answer = activeImage(mouse)[2];
        return queueAnswerLocked(s, 8, 0, 4, &answer, 1);
    });
}

int UsbServer_ReadReportRate(void)
{
    return readFromMouse("UsbServer_ReadReportRate", [](State& s, SimMouse& mouse) {
        const uint8_t answer = activeImage(mouse)[0];
        return queueAnswerLocked(s, 8, 0, 0, &answer, 1);
    });
}

int UsbServer_ReadDPILed(void)
{
    return readFromMouse("UsbServer_ReadDPILed", [](State& s, SimMouse& mouse) {
        uint8_t answer[8] = {0};
        std::memcpy(answer, activeImage(mouse) + 63, 4);
        return queueAnswerLocked(s, 8, 0, 0x4C, answer, 8);
    });
}

int UsbServer_ReadLedBar(void)
{
    return readFromMouse("UsbServer_ReadLedBar", [](State& s, SimMouse& mouse) {
        uint8_t answer[9] = {0};
        std::memcpy(answer, activeImage(mouse) + 67, 7);
        return queueAnswerLocked(s, 8, 0, 0xA0, answer, 9);
    });
}

int ProtocolDataUpdate(struct FlashDataMap* image)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "ProtocolDataUpdate(%s)", image ? "image" : "(null)");
    SimMouse* mouse = linkMouseLocked(s);
    if (!mouse || !image)
        return 0;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(image);
    mouse->profiles[static_cast<size_t>(mouse->activeProfile & 3)].assign(bytes, bytes + ImageSize);
    mouse->lastWritten.assign(bytes, bytes + ImageSize);
    ++mouse->writeCount;
    rememberMouseLocked(s, *mouse);
    return 1;
}

int UsbServer_SetCurrentConfig(uint8_t profile)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbServer_SetCurrentConfig(%d)", profile);
    SimMouse* mouse = linkMouseLocked(s);
    if (!mouse || profile > 3)
        return 0;
    mouse->activeProfile = profile;
    rememberMouseLocked(s, *mouse);
    const uint8_t changed[7] = {0, 0, 1, 0, 0, 0, 0};
    queueAnswerLocked(s, 10, 0, 0, changed, 7);
    return 1;
}

int UsbServer_SetClearSetting(void)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbServer_SetClearSetting()");
    SimMouse* mouse = linkMouseLocked(s);
    if (!mouse)
        return 0;
    for (Image& profile : mouse->profiles)
        profile = mouse->factory;
    mouse->activeProfile = 0;
    ++mouse->resetCount;
    rememberMouseLocked(s, *mouse);
    const uint8_t changed[7] = {0, 0, 1, 0, 0, 0, 0};
    queueAnswerLocked(s, 10, 0, 0, changed, 7);
    return 1;
}

void ProtocolDataParser(uint8_t* data, struct FlashDataMap* image)
{
    if (!data || !image)
        return;
    parseFullAnswer(data, reinterpret_cast<uint8_t*>(image));
}

void BufferToDPILed(uint8_t* data, uint8_t* dpiLight)
{
    if (data && dpiLight)
        std::memcpy(dpiLight, data, 4);
}

void BufferToLedBar(uint8_t* data, uint8_t* lightBar)
{
    if (data && lightBar)
        std::memcpy(lightBar, data, 7);
}

void GetDeviceBatteryStatus(uint8_t* data, BatteryStatus* status)
{
    if (data && status)
        std::memcpy(status->bytes, data, 4);
}

void GetDeviceStatusChanged(uint8_t* data, DeviceStatusFlags* flags)
{
    if (data && flags)
        std::memcpy(flags->bytes, data, 7);
}

int UsbFinderC_Set4KDongleRGB(const char* path, DongleRGB* record)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbFinderC_Set4KDongleRGB(%s, %d)", safe(path), record ? record->bytes[0] : -1);
    SimInterface* i = lightReceiverLocked(s, path);
    if (!i || !record)
        return 0;
    i->lightMode = record->bytes[0];
    rememberInterfaceLocked(s, *i);
    return 1;
}

int UsbFinderC_Get4KDongleRGBValue(const char* path, DongleRGB* record)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbFinderC_Get4KDongleRGBValue(%s)", safe(path));
    const SimInterface* i = lightReceiverLocked(s, path);
    if (!i || !record)
        return 0;
    record->bytes[0] = static_cast<uint8_t>(i->lightMode);
    return 1;
}

int UsbFinderC_SetLongRangeMode(const char* path, uint8_t on)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbFinderC_SetLongRangeMode(%s, %d)", safe(path), on);
    SimInterface* i = longRangeInterfaceLocked(s, path);
    if (!i)
        return 0;
    i->longRange = on ? 1 : 0;
    rememberInterfaceLocked(s, *i);
    return 1;
}

int UsbFinderC_GetLongRangeMode(const char* path, uint8_t* mode)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbFinderC_GetLongRangeMode(%s)", safe(path));
    const SimInterface* i = longRangeInterfaceLocked(s, path);
    if (!i || !mode)
        return 0;
    *mode = static_cast<uint8_t>(i->longRange);
    return 1;
}

}  // extern "C"
