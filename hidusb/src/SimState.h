#pragma once
// The simulated devices and the library's shared state. Everything here is guarded by
// State::mutex; functions named ...Locked expect it held. No callback is ever called
// with the mutex held.
#include "Deliverer.h"
#include "DeviceMemory.h"
#include "HIDUsb.h"
#include "HIDUsbControl.h"
#include "MemoryFile.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace hidsim {

using Image = std::vector<uint8_t>;

struct SimMouse {
    int id = -1;
    uint8_t cid = 0;
    uint8_t mid = 0;
    uint8_t address[3] = {0, 0, 0};
    int version = 0;
    int battery = 100;
    int charging = 0;
    int awake = 1;
    int boot = 0;
    std::array<Image, 4> profiles;
    Image factory;
    int activeProfile = 0;
    Image lastWritten;
    int writeCount = 0;
    int resetCount = 0;
    // Its memory file (empty: it forgets at a restart); the version and boot mode it was made
    // with are, with `factory`, its factory values. sealed: those were taken.
    std::string memoryFile;
    bool sealed = false;
    int factoryVersion = 0;
    int factoryBoot = 0;
};

struct SimInterface {
    int id = -1;
    std::string path;
    std::string vid;
    std::string pid;
    long vidValue = -1;
    long pidValue = -1;
    int kind = 2;
    int version = 0;
    int mouseId = -1;
    int hasLongRange = 0;
    int identifyAfter = 0;   // zero answers still to give
    int lightMode = 1;
    int longRange = 0;
    int boot = 0;
    uint8_t ownCid = 0;      // the model this receiver belongs to (firmware matching)
    uint8_t ownMid = 0;
    bool plugged = true;
    // A receiver's memory file (empty: none) and its factory values once sealed.
    std::string memoryFile;
    bool sealed = false;
    ReceiverKept factory;
};

struct PairingScript {
    int pairingAnswers = 2;
    int outcome = 3;  // 3 success, 2 failure, 0 no answer at all
    int mouseId = -1;
};

struct PairingSession {
    int interfaceId = -1;     // the receiver pairing was entered on; -1 before
    uint8_t cid = 0;
    int remaining = 0;
    uint8_t lastAnswer = 0;   // 1 while running, then 2 (failed) or 3 (paired)
};

struct FirmwareScript {
    int steps = 10;
    int delayMs = 300;
    int success = 1;  // 1 success, 0 failure, HIDSIM_FIRMWARE_SILENT no final report
    int stopPercent = 100;  // a failing or silent update reports no progress beyond this
};

struct State {
    std::mutex mutex;
    std::map<int, SimMouse> mice;
    std::map<int, SimInterface> interfaces;
    int nextMouseId = 0;
    int nextInterfaceId = 0;

    // Data link.
    bool linkOpen = false;
    std::string linkPath;
    UsbDataCallback linkCallback = nullptr;
    uint64_t linkGeneration = 0;
    int pcDriverStatus = 0;

    PairingScript pairingScript;
    PairingSession pairing;
    FirmwareScript firmwareScript;

    bool zeroDelays = false;
    int answerDelayMs = 8;

    // Hot-plug registration; pending calls of an older generation are dropped.
    UsbChangedCallback hotplugCallback = nullptr;
    uint64_t hotplugGeneration = 0;
    int settleMs = 600;
    std::atomic<int> pendingHotplug{0};

    std::vector<std::string> callLog;

    // Where remembering devices keep their files; empty: no device remembers.
    std::string memoryFolder;
    MemoryWriter memory;

    Deliverer data{"hidsim-data"};
    Deliverer firmware{"hidsim-firmware"};
};

// The one state, made on first use (and, once, filled with the start-up devices).
State& state();

// Start-up rule: KAVRO_SIM_EMPTY=1 leaves the library empty, KAVRO_SIM_SCENARIO names a
// scenario file, otherwise the default demo devices. Runs once, on the first call of any
// public function. Returns state().
State& ensureStarted();

// The tests' link call hook (HidSim_SetLinkCallHook): kept apart from State, so it can be
// called without State::mutex held.
void setLinkCallHook(HidSimLinkCallHook hook, void* context);
void runLinkCallHook(const char* name);

void logCallLocked(State& s, const char* format, ...) __attribute__((format(printf, 2, 3)));

SimInterface* interfaceByPathLocked(State& s, const char* path);
// The interface at path when a find would list it (plugged, not in boot mode), else null.
SimInterface* listedInterfaceByPathLocked(State& s, const char* path);
SimInterface* interfaceByIdLocked(State& s, int id);
SimMouse* mouseByIdLocked(State& s, int id);
SimMouse* mouseBehindLocked(State& s, const SimInterface& i);
bool isReceiverKind(int kind);
bool interfaceListedLocked(const SimInterface& i);
bool interfaceOnlineLocked(State& s, const SimInterface& i);
// The mouse of the open link when it answers, else null.
SimMouse* linkMouseLocked(State& s);
SimInterface* linkInterfaceLocked(State& s);

// Parses "0x3554", "3554", "0X3554"; -1 when not a hexadecimal number.
long parseHexId(const char* text);

// Closes the data link: answers still queued for it are dropped.
void closeLinkLocked(State& s);
// Queues an answer on the open link; false when no link is open.
bool queueAnswerLocked(State& s, uint8_t kind, uint8_t sub, uint8_t command, const uint8_t* data, uint32_t length);
// Posts a hot-plug call to the GUI thread when a callback is registered.
// Calls the hot-plug callback on the GUI thread: after the settle time for a plug change, or on
// the event loop's next turn (settleFirst false) for a new registration, when nothing changed yet.
void postHotplugLocked(State& s, bool settleFirst = true);

// Device building shared by the control interface, the defaults and the scenario file.
int addMouseLocked(State& s, const SimMouse& prototype);
int addInterfaceLocked(State& s, const std::string& vid, const std::string& pid, int kind, int version, int mouseId,
                       int hasLongRange, int identifyAfter);
void removeAllDevicesLocked(State& s);
void loadDefaultsLocked(State& s);
// Ends the adding of devices: every device added since the last call takes its current values
// as its factory values; with remember (and a memory folder) a mouse or receiver then gets its
// memory file and takes what that holds. A damaged file leaves the factory values and says so
// on standard error.
void finishDevicesLocked(State& s, bool remember);
// Queue the device's file for writing after a change of what it keeps; nothing without memory.
void rememberMouseLocked(State& s, const SimMouse& mouse);
void rememberInterfaceLocked(State& s, const SimInterface& i);
// The device back to its factory values, its memory file removed; the open link's mouse tells
// the program as after a reset. The caller raises the hot-plug call (the device starts again).
void factoryResetMouseLocked(State& s, SimMouse& mouse);
void factoryResetInterfaceLocked(State& s, SimInterface& i);
// Parses a scenario file; on success replaces every device. Error text in *error.
// Reads a scenario file whole; only a regular file of at most MaxScenarioSize bytes is read.
// Call it without the state lock: reading may take time.
bool readScenarioFile(const std::string& fileName, std::string* text, std::string* error);
// Replaces every device with those the scenario text describes; on an error nothing changes.
bool loadScenarioTextLocked(State& s, const std::string& text, std::string* error);

// The control socket for the plug tool. The first form says on standard error why it cannot
// listen, unless another running program serves the same socket.
void startControlServer();
enum class ControlStart { Listening, ServedElsewhere, Refused };
ControlStart startControlServer(std::string* error);
void stopControlServer();
// Runs one control command line and returns the reply text.
std::string runControlCommand(const std::string& line);

}  // namespace hidsim
