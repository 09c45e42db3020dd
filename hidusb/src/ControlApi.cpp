// The scripting side used by tests, the demo start and the plug tool.
#include "HIDUsbControl.h"

#include "ImageCodec.h"
#include "SimState.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstring>

using namespace hidsim;

namespace {

bool onGuiThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

int copyText(const std::string& text, char* buffer, int size)
{
    if (!buffer || size <= 0 || static_cast<int>(text.size()) >= size)
        return -1;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return 0;
}

// Runs `use` on a mouse or an interface under the state lock and returns its answer;
// -1 for an unknown id.
template <typename Use>
int withMouse(int mouseId, Use use)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    SimMouse* m = mouseByIdLocked(s, mouseId);
    return m ? use(s, *m) : -1;
}

template <typename Use>
int withInterface(int interfaceId, Use use)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    SimInterface* i = interfaceByIdLocked(s, interfaceId);
    return i ? use(s, *i) : -1;
}

}  // namespace

extern "C" {

int HidSim_AddMouse(const HidSimMouseSetup* setup)
{
    State& s = ensureStarted();
    if (!setup)
        return -1;
    std::lock_guard<std::mutex> lock(s.mutex);
    SimMouse mouse;
    mouse.cid = setup->cid;
    mouse.mid = setup->mid;
    std::memcpy(mouse.address, setup->address, 3);
    mouse.version = setup->version;
    mouse.battery = setup->battery;
    mouse.charging = setup->charging ? 1 : 0;
    mouse.awake = setup->awake ? 1 : 0;
    const int id = addMouseLocked(s, mouse);
    finishDevicesLocked(s, true);
    postHotplugLocked(s);
    return id;
}

int HidSim_RemoveMouse(int mouseId)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.mice.erase(mouseId))
        return -1;
    // Its cable goes with it; receivers keep no pairing with a mouse that is gone.
    for (auto it = s.interfaces.begin(); it != s.interfaces.end();) {
        if (it->second.mouseId == mouseId && !isReceiverKind(it->second.kind)) {
            it = s.interfaces.erase(it);
            continue;
        }
        if (it->second.mouseId == mouseId)
            it->second.mouseId = -1;
        ++it;
    }
    postHotplugLocked(s);
    return 0;
}

int HidSim_AddInterface(const HidSimInterfaceSetup* setup)
{
    State& s = ensureStarted();
    if (!setup || !setup->vid || !setup->pid)
        return -1;
    std::lock_guard<std::mutex> lock(s.mutex);
    const int id = addInterfaceLocked(s, setup->vid, setup->pid, setup->kind, setup->version, setup->mouseId,
                                      setup->hasLongRange, setup->identifyAfter);
    if (id >= 0) {
        finishDevicesLocked(s, true);
        postHotplugLocked(s);
    }
    return id;
}

int HidSim_RemoveInterface(int interfaceId)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.interfaces.erase(interfaceId))
        return -1;
    postHotplugLocked(s);
    return 0;
}

int HidSim_SetPlugged(int interfaceId, int plugged)
{
    return withInterface(interfaceId, [plugged](State& s, SimInterface& i) {
        if (i.plugged != (plugged != 0)) {
            i.plugged = plugged != 0;
            postHotplugLocked(s);
        }
        return 0;
    });
}

int HidSim_InterfacePath(int interfaceId, char* buffer, int size)
{
    return withInterface(interfaceId,
                         [buffer, size](State&, const SimInterface& i) { return copyText(i.path, buffer, size); });
}

void HidSim_Reset(void)
{
    State& s = ensureStarted();
    setLinkCallHook(nullptr, nullptr);
    // The memory of the devices that go is written out first: nothing writes into a folder
    // after the caller has moved on.
    s.memory.waitIdle(5000);
    std::lock_guard<std::mutex> lock(s.mutex);
    s.memoryFolder.clear();
    removeAllDevicesLocked(s);
    closeLinkLocked(s);
    s.firmware.clear();
    s.pcDriverStatus = 0;
    s.pairingScript = PairingScript();
    s.firmwareScript = FirmwareScript();
    s.callLog.clear();
    // Hot-plug calls posted for the devices that are gone are dropped; the registration stays.
    ++s.hotplugGeneration;
}

void HidSim_LoadDefaults(void)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    loadDefaultsLocked(s);
    postHotplugLocked(s);
}

int HidSim_LoadScenario(const char* fileName)
{
    State& s = ensureStarted();
    if (!fileName)
        return -1;
    std::string text;
    std::string error;
    if (!readScenarioFile(fileName, &text, &error))
        return -1;
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!loadScenarioTextLocked(s, text, &error))
        return -1;
    postHotplugLocked(s);
    return 0;
}

int HidSim_SetAwake(int mouseId, int awake)
{
    return withMouse(mouseId, [awake](State&, SimMouse& m) {
        m.awake = awake ? 1 : 0;
        return 0;
    });
}

int HidSim_SetBattery(int mouseId, int level, int charging)
{
    return withMouse(mouseId, [level, charging](State& s, SimMouse& m) {
        m.battery = level < 0 ? 0 : (level > 100 ? 100 : level);
        m.charging = charging ? 1 : 0;
        // The mouse reports the change itself, as a real one does.
        if (linkMouseLocked(s) == &m) {
            const uint8_t event[4] = {static_cast<uint8_t>(m.battery), static_cast<uint8_t>(m.charging), 0, 0};
            queueAnswerLocked(s, 4, 0, 0, event, 4);
        }
        return 0;
    });
}

int HidSim_SetMouseVersion(int mouseId, int version)
{
    return withMouse(mouseId, [version](State& s, SimMouse& m) {
        m.version = version;
        rememberMouseLocked(s, m);
        return 0;
    });
}

int HidSim_SetInterfaceVersion(int interfaceId, int version)
{
    return withInterface(interfaceId, [version](State& s, SimInterface& i) {
        i.version = version;
        rememberInterfaceLocked(s, i);
        return 0;
    });
}

int HidSim_SetIdentifyAfter(int interfaceId, int calls)
{
    return withInterface(interfaceId, [calls](State&, SimInterface& i) {
        i.identifyAfter = calls > 0 ? calls : 0;
        return 0;
    });
}

int HidSim_SetMouseBootMode(int mouseId, int boot)
{
    return withMouse(mouseId, [boot](State& s, SimMouse& m) {
        m.boot = boot ? 1 : 0;
        rememberMouseLocked(s, m);
        postHotplugLocked(s);
        return 0;
    });
}

int HidSim_SetInterfaceBootMode(int interfaceId, int boot, uint8_t cid, uint8_t mid)
{
    return withInterface(interfaceId, [boot, cid, mid](State& s, SimInterface& i) {
        i.boot = boot ? 1 : 0;
        if (boot) {
            i.ownCid = cid;
            i.ownMid = mid;
        }
        rememberInterfaceLocked(s, i);
        postHotplugLocked(s);
        return 0;
    });
}

int HidSim_SetImage(int mouseId, int profile, const uint8_t* image)
{
    State& s = ensureStarted();
    if (!image || profile < -1 || profile > 3 || !imageFits(image))
        return -1;
    std::lock_guard<std::mutex> lock(s.mutex);
    SimMouse* m = mouseByIdLocked(s, mouseId);
    if (!m)
        return -1;
    Image& target = profile < 0 ? m->factory : m->profiles[static_cast<size_t>(profile)];
    target.assign(image, image + ImageSize);
    if (profile >= 0)
        rememberMouseLocked(s, *m);
    return 0;
}

int HidSim_GetImage(int mouseId, int profile, uint8_t* image)
{
    State& s = ensureStarted();
    if (!image || profile < -1 || profile > 3)
        return -1;
    std::lock_guard<std::mutex> lock(s.mutex);
    const SimMouse* m = mouseByIdLocked(s, mouseId);
    if (!m)
        return -1;
    const Image& source = profile < 0 ? m->factory : m->profiles[static_cast<size_t>(profile)];
    std::memcpy(image, source.data(), ImageSize);
    return 0;
}

int HidSim_ActiveProfile(int mouseId)
{
    return withMouse(mouseId, [](State&, const SimMouse& m) { return m.activeProfile; });
}

int HidSim_LastWrittenImage(int mouseId, uint8_t* image)
{
    return withMouse(mouseId, [image](State&, const SimMouse& m) {
        if (!image || m.lastWritten.size() != static_cast<size_t>(ImageSize))
            return -1;
        std::memcpy(image, m.lastWritten.data(), ImageSize);
        return 0;
    });
}

int HidSim_WriteCount(int mouseId)
{
    return withMouse(mouseId, [](State&, const SimMouse& m) { return m.writeCount; });
}

int HidSim_ResetCount(int mouseId)
{
    return withMouse(mouseId, [](State&, const SimMouse& m) { return m.resetCount; });
}

int HidSim_LightMode(int interfaceId)
{
    return withInterface(interfaceId, [](State&, const SimInterface& i) { return i.lightMode; });
}

int HidSim_LongRangeMode(int interfaceId)
{
    return withInterface(interfaceId, [](State&, const SimInterface& i) { return i.longRange; });
}

int HidSim_PCDriverStatus(void)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.pcDriverStatus;
}

int HidSim_Inject(uint8_t kind, uint8_t sub, uint8_t command, const uint8_t* data, uint32_t length)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    return queueAnswerLocked(s, kind, sub, command, data, length) ? 0 : -1;
}

void HidSim_ScriptPairing(int pairingAnswers, int outcome, int mouseId)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.pairingScript.pairingAnswers = pairingAnswers < 0 ? 0 : pairingAnswers;
    s.pairingScript.outcome = outcome == 3 || outcome == 0 ? outcome : 2;
    s.pairingScript.mouseId = mouseId;
}

void HidSim_ScriptFirmware(int steps, int delayMs, int success)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.firmwareScript.steps = steps < 0 ? 0 : (steps > 100 ? 100 : steps);
    s.firmwareScript.delayMs = delayMs < 0 ? 0 : delayMs;
    s.firmwareScript.success = success == 1 || success == HIDSIM_FIRMWARE_SILENT ? success : 0;
    s.firmwareScript.stopPercent = 100;
}

void HidSim_ScriptFirmwareStop(int percent)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.firmwareScript.stopPercent = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
}

int HidSim_SetMemory(int on)
{
    State& s = ensureStarted();
    const std::string folder = on ? memoryFolderFromEnvironment() : std::string();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.memoryFolder = folder;
    return on && folder.empty() ? -1 : 0;
}

void HidSim_SetZeroDelays(int zero)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.zeroDelays = zero != 0;
}

int HidSim_DeliverPending(int timeoutMs)
{
    State& s = ensureStarted();
    const bool gui = onGuiThread();
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (gui)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        const bool hotplugDone = !gui || s.pendingHotplug.load() <= 0;
        if (s.data.idle() && s.firmware.idle() && s.memory.idle() && hotplugDone) {
            if (!gui)
                return 0;
            // Something just delivered may have posted more (a blocking emit, a hot-plug call).
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (s.data.idle() && s.firmware.idle() && s.memory.idle() && s.pendingHotplug.load() <= 0)
                return 0;
        }
        if (clock.elapsed() >= timeoutMs)
            return -1;
        if (gui)
            QThread::usleep(200);
        else
            s.data.waitIdle(5);
    }
}

int HidSim_CallLogCount(void)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    return static_cast<int>(s.callLog.size());
}

int HidSim_CallLogEntry(int index, char* buffer, int size)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (index < 0 || index >= static_cast<int>(s.callLog.size()))
        return -1;
    return copyText(s.callLog[static_cast<size_t>(index)], buffer, size);
}

void HidSim_ClearCallLog(void)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.callLog.clear();
}

void HidSim_SetLinkCallHook(HidSimLinkCallHook hook, void* context)
{
    setLinkCallHook(hook, context);
}

}  // extern "C"
