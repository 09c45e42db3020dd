#include "SimState.h"

#include "ImageCodec.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QTimer>

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace hidsim {

namespace {

constexpr size_t CallLogLimit = 100000;

State* g_state = nullptr;
std::once_flag g_stateOnce;
std::once_flag g_startOnce;

// Stops the library threads when the library is unloaded. The state itself is never freed,
// so a thread left running by a callback that never returns touches only live memory.
struct Shutdown {
    ~Shutdown()
    {
        if (!g_state)
            return;
        stopControlServer();
        g_state->data.shutdown();
        g_state->firmware.shutdown();
        // Last: the devices' memory of the last changes is written before the process ends.
        g_state->memory.shutdown(5000);
    }
} g_shutdown;

void fireHotplug(uint64_t generation)
{
    State& s = state();
    UsbChangedCallback callback = nullptr;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (generation == s.hotplugGeneration)
            callback = s.hotplugCallback;
        --s.pendingHotplug;
    }
    if (callback)
        callback();
}

// Runs on the GUI thread: waits the settle time there (after a plug change only), then calls.
void settleHotplug(uint64_t generation, bool settleFirst)
{
    State& s = state();
    int settle = 0;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (generation != s.hotplugGeneration || !s.hotplugCallback) {
            --s.pendingHotplug;
            return;
        }
        settle = s.zeroDelays || !settleFirst ? 0 : s.settleMs;
    }
    QCoreApplication* app = QCoreApplication::instance();
    if (settle > 0 && app)
        QTimer::singleShot(settle, app, [generation] { fireHotplug(generation); });
    else
        fireHotplug(generation);
}

void deliverAnswer(uint64_t generation, const std::vector<uint8_t>& header, std::vector<uint8_t>& payload)
{
    State& s = state();
    UsbDataCallback callback = nullptr;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (s.linkOpen && generation == s.linkGeneration)
            callback = s.linkCallback;
    }
    if (!callback)
        return;
    std::vector<uint8_t> headerCopy = header;
    uint8_t empty = 0;
    callback(headerCopy.data(), static_cast<int>(headerCopy.size()), payload.empty() ? &empty : payload.data(),
             static_cast<uint32_t>(payload.size()));
}

// A new mouse's factory settings; its light bar colour follows the model.
Image defaultImage(uint8_t mid)
{
    Image image(ImageSize, 0);
    image[0] = 0x01;  // 1000 Hz
    image[1] = 4;     // four DPI levels in use
    image[2] = 1;     // current level 800 DPI
    image[5] = 1;     // lift-off distance
    image[6] = 4;     // debounce ms
    image[8] = 6;     // sleep after 60 s
    image[13] = 6;    // full-performance time: an entry of the sensor page's list (1 min)
    // DPI levels. The "3311" sensor of MID 6, 10 and 13 takes the codes of its table in the
    // sensor header (dpi / 100). The others use the formula: up to 3200 DPI the code is
    // dpi / 50 - 1; above, the 100-DPI unit (range flags 0x22) with the code dpi / 100 - 1.
    static const int dpis[8] = {400, 800, 1600, 3200, 6400, 10000, 12000, 16000};
    static const int tableDpis[8] = {800, 1600, 2400, 3200, 4800, 6400, 8000, 12000};
    const bool tableSensor = mid == 6 || mid == 10 || mid == 13;
    static const uint8_t colours[8][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},   {255, 255, 0},
                                          {255, 0, 255}, {0, 255, 255}, {255, 128, 0}, {255, 255, 255}};
    for (int level = 0; level < 8; ++level) {
        uint8_t* record = image.data() + 15 + 6 * level;
        const bool hundreds = !tableSensor && dpis[level] > 3200;
        const int code = tableSensor ? tableDpis[level] / 100 : dpis[level] / (hundreds ? 100 : 50) - 1;
        record[0] = static_cast<uint8_t>(code);
        record[1] = static_cast<uint8_t>(code);
        record[2] = hundreds ? 0x22 : 0;
        record[3] = colours[level][0];
        record[4] = colours[level][1];
        record[5] = colours[level][2];
    }
    image[63] = 1;  // DPI light: mode, brightness, speed, on
    image[64] = 128;  // a brightness step of the DPI light's table
    image[65] = 3;
    image[66] = 1;
    // Light bar: effect, colour, speed, brightness, on. Breathing in the model's colour: an
    // effect every model's lighting page lists (the rainbow effects are not on every list).
    image[67] = 2;
    image[68] = static_cast<uint8_t>(mid * 60);
    image[69] = 120;
    image[70] = 255;
    image[71] = 3;
    image[72] = 3;
    image[73] = 1;
    // Bindings: left, right, middle, back, forward, DPI cycle (model 15: report-rate switch);
    // key 9 cycles the light effect, key 11 steps the DPI down.
    static const uint8_t bindings[6][3] = {{1, 1, 0}, {1, 2, 0}, {1, 4, 0}, {1, 8, 0}, {1, 16, 0}, {2, 1, 0}};
    for (int k = 0; k < 6; ++k) {
        for (int b = 0; b < 3; ++b)
            image[74 + 3 * k + b] = bindings[k][b];
    }
    if (mid == 15) {
        image[74 + 3 * 5] = 7;
        image[74 + 3 * 5 + 1] = 0;
    }
    image[74 + 3 * 9] = 8;
    image[74 + 3 * 9 + 1] = 3;
    image[74 + 3 * 11] = 2;
    image[74 + 3 * 11 + 1] = 3;
    return image;
}

}  // namespace

State& state()
{
    std::call_once(g_stateOnce, [] { g_state = new State; });
    return *g_state;
}

State& ensureStarted()
{
    std::call_once(g_startOnce, [] {
        State& s = state();
        const char* empty = std::getenv("KAVRO_SIM_EMPTY");
        const char* scenario = std::getenv("KAVRO_SIM_SCENARIO");
        const bool startEmpty = empty && std::strcmp(empty, "1") == 0;
        std::string scenarioText;
        std::string error;
        const bool scenarioRead = !startEmpty && scenario && *scenario && readScenarioFile(scenario, &scenarioText, &error);
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            // The tests script every device, and give a memory to those that need one.
            if (!startEmpty)
                s.memoryFolder = memoryFolderFromEnvironment();
            if (startEmpty) {
                // tests script every device themselves
            } else if (scenario && *scenario) {
                if (!scenarioRead || !loadScenarioTextLocked(s, scenarioText, &error))
                    std::fprintf(stderr, "HIDUsb: scenario %s not loaded: %s\n", scenario, error.c_str());
            } else {
                loadDefaultsLocked(s);
            }
        }
        const char* control = std::getenv("KAVRO_SIM_CONTROL");
        if (!startEmpty && !(control && std::strcmp(control, "0") == 0))
            startControlServer();
    });
    return state();
}

namespace {
std::mutex hookMutex;
HidSimLinkCallHook linkHook = nullptr;
void* linkHookContext = nullptr;
}  // namespace

void setLinkCallHook(HidSimLinkCallHook hook, void* context)
{
    std::lock_guard<std::mutex> lock(hookMutex);
    linkHook = hook;
    linkHookContext = context;
}

void runLinkCallHook(const char* name)
{
    HidSimLinkCallHook hook;
    void* context;
    {
        std::lock_guard<std::mutex> lock(hookMutex);
        hook = linkHook;
        context = linkHookContext;
    }
    if (hook)
        hook(name, context);
}

void logCallLocked(State& s, const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (s.callLog.size() >= CallLogLimit)
        s.callLog.erase(s.callLog.begin(), s.callLog.begin() + CallLogLimit / 2);
    s.callLog.emplace_back(buffer);
}

SimInterface* interfaceByPathLocked(State& s, const char* path)
{
    if (!path)
        return nullptr;
    for (auto& entry : s.interfaces) {
        if (entry.second.path == path)
            return &entry.second;
    }
    return nullptr;
}

SimInterface* listedInterfaceByPathLocked(State& s, const char* path)
{
    SimInterface* i = interfaceByPathLocked(s, path);
    return i && interfaceListedLocked(*i) ? i : nullptr;
}

SimInterface* interfaceByIdLocked(State& s, int id)
{
    auto it = s.interfaces.find(id);
    return it == s.interfaces.end() ? nullptr : &it->second;
}

SimMouse* mouseByIdLocked(State& s, int id)
{
    auto it = s.mice.find(id);
    return it == s.mice.end() ? nullptr : &it->second;
}

SimMouse* mouseBehindLocked(State& s, const SimInterface& i)
{
    return mouseByIdLocked(s, i.mouseId);
}

bool isReceiverKind(int kind)
{
    return kind == 0 || kind == 1 || kind == 4 || kind == 5;
}

bool interfaceListedLocked(const SimInterface& i)
{
    return i.plugged && !i.boot;
}

bool interfaceOnlineLocked(State& s, const SimInterface& i)
{
    if (!interfaceListedLocked(i))
        return false;
    const SimMouse* mouse = mouseBehindLocked(s, i);
    if (!mouse || mouse->boot)
        return false;
    return !isReceiverKind(i.kind) || mouse->awake;
}

SimInterface* linkInterfaceLocked(State& s)
{
    if (!s.linkOpen)
        return nullptr;
    return listedInterfaceByPathLocked(s, s.linkPath.c_str());
}

SimMouse* linkMouseLocked(State& s)
{
    SimInterface* i = linkInterfaceLocked(s);
    if (!i || !interfaceOnlineLocked(s, *i))
        return nullptr;
    return mouseBehindLocked(s, *i);
}

long parseHexId(const char* text)
{
    if (!text)
        return -1;
    while (std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text += 2;
    if (!*text)
        return -1;
    long value = 0;
    for (; *text; ++text) {
        const int c = std::tolower(static_cast<unsigned char>(*text));
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (std::isspace(c))
            break;
        else
            return -1;
        if (value > 0xFFFFFF)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

void closeLinkLocked(State& s)
{
    ++s.linkGeneration;
    s.linkOpen = false;
    s.linkPath.clear();
    s.linkCallback = nullptr;
    s.data.clear();
}

bool queueAnswerLocked(State& s, uint8_t kind, uint8_t sub, uint8_t command, const uint8_t* data, uint32_t length)
{
    if (!s.linkOpen)
        return false;
    const std::vector<uint8_t> header{0x5A, kind, 0, sub, command};
    std::vector<uint8_t> payload;
    if (data && length)
        payload.assign(data, data + length);
    const uint64_t generation = s.linkGeneration;
    s.data.post(s.zeroDelays ? 0 : s.answerDelayMs,
                [generation, header, payload]() mutable { deliverAnswer(generation, header, payload); });
    return true;
}

void postHotplugLocked(State& s, bool settleFirst)
{
    if (!s.hotplugCallback)
        return;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    const uint64_t generation = s.hotplugGeneration;
    ++s.pendingHotplug;
    QMetaObject::invokeMethod(app, [generation, settleFirst] { settleHotplug(generation, settleFirst); },
                              Qt::QueuedConnection);
}

int addMouseLocked(State& s, const SimMouse& prototype)
{
    SimMouse mouse = prototype;
    mouse.id = s.nextMouseId++;
    if (mouse.factory.size() != static_cast<size_t>(ImageSize))
        mouse.factory = defaultImage(mouse.mid);
    for (Image& profile : mouse.profiles) {
        if (profile.size() != static_cast<size_t>(ImageSize))
            profile = mouse.factory;
    }
    if (mouse.battery < 0)
        mouse.battery = 0;
    if (mouse.battery > 100)
        mouse.battery = 100;
    s.mice[mouse.id] = mouse;
    return mouse.id;
}

int addInterfaceLocked(State& s, const std::string& vid, const std::string& pid, int kind, int version, int mouseId,
                       int hasLongRange, int identifyAfter)
{
    const long vidValue = parseHexId(vid.c_str());
    const long pidValue = parseHexId(pid.c_str());
    if (vidValue < 0 || vidValue > 0xFFFF || pidValue < 0 || pidValue > 0xFFFF || kind < 0 || kind > 5)
        return -1;
    if (mouseId >= 0 && !mouseByIdLocked(s, mouseId))
        return -1;
    SimInterface i;
    i.id = s.nextInterfaceId++;
    char path[32];
    std::snprintf(path, sizeof path, "sim:usb:%04d", i.id);
    i.path = path;
    i.vid = vid;
    i.pid = pid;
    i.vidValue = vidValue;
    i.pidValue = pidValue;
    i.kind = kind;
    i.version = version;
    i.mouseId = mouseId < 0 ? -1 : mouseId;
    i.hasLongRange = hasLongRange ? 1 : 0;
    i.identifyAfter = identifyAfter > 0 ? identifyAfter : 0;
    if (const SimMouse* mouse = mouseByIdLocked(s, i.mouseId)) {
        i.ownCid = mouse->cid;
        i.ownMid = mouse->mid;
    }
    i.lightMode = kind == 1 ? 1 : 0;
    s.interfaces[i.id] = i;
    return i.id;
}

void removeAllDevicesLocked(State& s)
{
    s.mice.clear();
    s.interfaces.clear();
    s.nextMouseId = 0;
    s.nextInterfaceId = 0;
    s.pairing = PairingSession();
}

namespace {

// A demo mouse of the demo catalogue's CID, address 4B:xx:yy.
SimMouse demoMouse(uint8_t mid, uint8_t address1, uint8_t address2, int version, int battery)
{
    SimMouse mouse;
    mouse.cid = 0x0A;
    mouse.mid = mid;
    mouse.address[0] = 0x4B;
    mouse.address[1] = address1;
    mouse.address[2] = address2;
    mouse.version = version;
    mouse.battery = battery;
    return mouse;
}

}  // namespace

void loadDefaultsLocked(State& s)
{
    SimMouse cable = demoMouse(1, 0x10, 0x01, 0x0103, 85);
    cable.charging = 1;
    const int cableMouse = addMouseLocked(s, cable);
    addInterfaceLocked(s, "0x3554", "0xF500", 2, 0x0103, cableMouse, 0, 0);

    const int fastMouse = addMouseLocked(s, demoMouse(2, 0x20, 0x02, 0x0105, 72));
    const int fastReceiver = addInterfaceLocked(s, "0x3554", "0xF503", 1, 0x0201, fastMouse, 1, 0);
    if (SimInterface* i = interfaceByIdLocked(s, fastReceiver))
        i->lightMode = 2;

    SimMouse sleeper = demoMouse(4, 0x30, 0x03, 0x0102, 40);
    sleeper.awake = 0;
    const int sleepingMouse = addMouseLocked(s, sleeper);
    addInterfaceLocked(s, "0x3554", "0xF501", 0, 0x0110, sleepingMouse, 0, 0);

    // Last, so that the first three tiles keep their places: the 2 kHz receiver's badge.
    const int mid2kMouse = addMouseLocked(s, demoMouse(5, 0x40, 0x04, 0x0104, 58));
    addInterfaceLocked(s, "0x3554", "0xF502", 4, 0x0120, mid2kMouse, 1, 0);
    // The demo devices remember, as real ones do.
    finishDevicesLocked(s, true);
}

}  // namespace hidsim
