/*
 * HIDUsbControl - scripting side of the simulated device library.
 *
 * Used by the tests, by the demo start and by the simctl tool; the program itself never
 * calls these functions. Every function is safe from any thread.
 *
 * Model: a simulated mouse (HidSim_AddMouse) and a simulated interface, i.e. a path
 * (HidSim_AddInterface). An interface is either a cable to its mouse or a receiver with a
 * paired mouse (mouseId, or -1 for none). A mouse is online when its cable is plugged, or
 * when it is paired to a plugged receiver and awake.
 *
 * Interface kinds: 0 1 kHz receiver, 4 2 kHz receiver, 1 4 kHz receiver with a light,
 *                  5 8 kHz receiver, 2 cable, 3 cable with 8 kHz.
 *
 * Start-up: on the first call of any function (either header) the library fills itself once:
 *   KAVRO_SIM_EMPTY=1         starts empty (the tests set it; HidSim_Reset empties as well);
 *   KAVRO_SIM_SCENARIO=<file> loads that scenario file (format in the README) instead of
 *                             the defaults; a bad file leaves the library empty and says why
 *                             on standard error;
 *   otherwise                 the default demo devices (HidSim_LoadDefaults).
 * Memory: the demo devices, and those of a scenario file with a "remember" line, keep what a
 * real device keeps (a mouse its four profiles, active profile, firmware version and boot mode;
 * a receiver its pairing, version, boot mode, light and long-range modes) through a restart,
 * one file per device in $XDG_STATE_HOME/kavro-sim (~/.local/state/kavro-sim by default),
 * loaded when the device is made and written on a library thread after a change: at once after
 * a quiet spell, and during a run of changes (a drag) at most twice a second per device, with
 * its latest state; what is still due is written when the library is unloaded. A write killed
 * before its end leaves a temporary (the file's name and six characters), removed when the
 * folder is next read, a minute later or more. A
 * damaged file gives the factory values and one line on standard error. With
 * KAVRO_SIM_EMPTY=1 no device remembers unless HidSim_SetMemory(1) was called.
 * Unless KAVRO_SIM_EMPTY=1 or KAVRO_SIM_CONTROL=0, the library also listens on a local
 * socket for the simctl tool (plug, unplug, wake, sleep ...): KAVRO_SIM_SOCKET, else
 * kavro-sim-<hash of the per-user folder>.sock in $XDG_RUNTIME_DIR, or in /tmp/kavro-sim-<uid>
 * when that is not a private folder of the user. The socket's folder must belong to the user
 * and be closed to everyone else, or there is no socket (the reason on standard error).
 *
 * Answers are delayed a little (8 ms each, firmware reports by their script, hot-plug calls
 * by the settle time) unless HidSim_SetZeroDelays(1).
 * Pairing without a script: two "pairing" answers, then success with the receiver's own
 * mouse, or else a mouse of the requested CID that no receiver holds.
 * Firmware without a script: 10 progress reports 300 ms apart, then success. The update
 * writes to a device of the header's kind, CID and MID, one in boot mode first. Success sets
 * its version word to the header's version and ends boot mode; failure leaves it in boot
 * mode. A missing device or a header shorter than 728 bytes still gets its one final
 * failure report (UsbUpgrade_Start then returns 0 for the short header).
 */
#ifndef HIDUSB_CONTROL_H
#define HIDUSB_CONTROL_H

#include <stdint.h>
#include "HIDUsb.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct HidSimMouseSetup {
    uint8_t cid;
    uint8_t mid;
    uint8_t address[3];     /* the three status bytes of UsbAddressStatus [7..9] */
    int version;            /* firmware version word, high byte major, low byte minor */
    int battery;            /* 0..100 */
    int charging;           /* 0/1 */
    int awake;              /* 0/1 */
} HidSimMouseSetup;

typedef struct HidSimInterfaceSetup {
    const char* vid;        /* hexadecimal text, e.g. "0x3554" */
    const char* pid;
    int kind;               /* see above */
    int version;            /* interface (receiver) version word */
    int mouseId;            /* cable: its mouse; receiver: paired mouse or -1 */
    int hasLongRange;       /* receiver supports long-range mode */
    int identifyAfter;      /* GetDeviceInfo answers {0,0,kind} this many times first */
} HidSimInterfaceSetup;

/* Devices. Adding or removing raises a hot-plug call. Returns an id >= 0, -1 on error. */
HIDUSB_API int HidSim_AddMouse(const HidSimMouseSetup* setup);
HIDUSB_API int HidSim_RemoveMouse(int mouseId);
HIDUSB_API int HidSim_AddInterface(const HidSimInterfaceSetup* setup);
HIDUSB_API int HidSim_RemoveInterface(int interfaceId);
/* Unplugs (0) or plugs back (1) an interface, keeping its path; raises a hot-plug call. */
HIDUSB_API int HidSim_SetPlugged(int interfaceId, int plugged);
/* The path of an interface ("sim:usb:0003"); copies at most size bytes; 0 on success. */
HIDUSB_API int HidSim_InterfacePath(int interfaceId, char* buffer, int size);
/* Removes every device, script, log and counter and closes the link; keeps the hot-plug
 * registration and the delay setting, drops hot-plug calls still pending. Ids restart at 0.
 * The devices' memory is written out first; devices added afterwards remember nothing until
 * HidSim_SetMemory(1).
 * Removing a mouse also removes its cable and unpairs it from receivers. */
HIDUSB_API void HidSim_Reset(void);
/* Adds the default demo devices (the set documented in the README). */
/* Memory (see above) for the devices added from now on (on 1) or none (on 0); the folder is
 * taken from the environment now. 0 on success, -1 when there is no home folder to keep it in. */
HIDUSB_API int HidSim_SetMemory(int on);
HIDUSB_API void HidSim_LoadDefaults(void);
/* Loads a scenario file (format in the README) in place of every device; 0 on success,
 * -1 on a bad file, which changes nothing. */
HIDUSB_API int HidSim_LoadScenario(const char* fileName);

/* Mouse state. Waking or sleeping raises no hot-plug call: it changes the online answers,
 * not the device list. */
HIDUSB_API int HidSim_SetAwake(int mouseId, int awake);
HIDUSB_API int HidSim_SetBattery(int mouseId, int level, int charging);
HIDUSB_API int HidSim_SetMouseVersion(int mouseId, int version);
HIDUSB_API int HidSim_SetInterfaceVersion(int interfaceId, int version);
HIDUSB_API int HidSim_SetIdentifyAfter(int interfaceId, int calls);
/* Boot mode: the device waits for a firmware image and is offline meanwhile. */
HIDUSB_API int HidSim_SetMouseBootMode(int mouseId, int boot);
HIDUSB_API int HidSim_SetInterfaceBootMode(int interfaceId, int boot, uint8_t cid, uint8_t mid);

/* Onboard images: profile 0..3, or -1 for the factory image. 10,428 bytes each.
 * Refused (-1) when the macros do not fit in the 6,912-byte full answer. */
HIDUSB_API int HidSim_SetImage(int mouseId, int profile, const uint8_t* image);
HIDUSB_API int HidSim_GetImage(int mouseId, int profile, uint8_t* image);
HIDUSB_API int HidSim_ActiveProfile(int mouseId);
/* The image last handed over by ProtocolDataUpdate for this mouse; 0 when there is one. */
HIDUSB_API int HidSim_LastWrittenImage(int mouseId, uint8_t* image);
HIDUSB_API int HidSim_WriteCount(int mouseId);
HIDUSB_API int HidSim_ResetCount(int mouseId);
HIDUSB_API int HidSim_LightMode(int interfaceId);
HIDUSB_API int HidSim_LongRangeMode(int interfaceId);
HIDUSB_API int HidSim_PCDriverStatus(void);

/* Injects an answer into the open link as if the device had sent it. */
HIDUSB_API int HidSim_Inject(uint8_t kind, uint8_t sub, uint8_t command, const uint8_t* data, uint32_t length);

/* Pairing script: answers "pairing" this many times, then the outcome (2 failure,
 * 3 success). A wrong CID fails. On success the mouse (mouseId) becomes paired to the
 * receiver of the open link, online, and a hot-plug call follows. Outcome 0 is a receiver
 * that never answers: no kind-6 answer to any status read, whatever the count. A large
 * count keeps the receiver answering "pairing". Other outcomes count as 2. */
HIDUSB_API void HidSim_ScriptPairing(int pairingAnswers, int outcome, int mouseId);
/* Firmware script: progress steps, delay between reports in ms, outcome 1 success / 0 failure.
 * HIDSIM_FIRMWARE_SILENT sends the progress reports and then no final report at all: it breaks
 * the one-final-report rule on purpose, to stand for a library that never finishes (the
 * device is left as it was). Any other outcome counts as failure. */
#define HIDSIM_FIRMWARE_SILENT (-1)
HIDUSB_API void HidSim_ScriptFirmware(int steps, int delayMs, int success);
/* A failing or silent update of the script stops partway: it sends only the progress reports
 * up to this percentage (0..100), then its outcome. HidSim_ScriptFirmware sets it back to 100. */
HIDUSB_API void HidSim_ScriptFirmwareStop(int percent);

/* Delays: every simulated latency (settle time, answer delays) becomes 0. */
HIDUSB_API void HidSim_SetZeroDelays(int zero);

/* Waits until every queued data answer and firmware report was delivered and the devices'
 * memory written (a file waiting for its turn after a run of changes: up to half a second),
 * at most timeoutMs; when called on the GUI thread it also processes posted hot-plug calls.
 * Returns 0 when all was delivered, -1 on time-out. */
HIDUSB_API int HidSim_DeliverPending(int timeoutMs);

/* Runs one command of the simctl tool ("list", "plug 2", "sleep 1" ...) and copies the reply
 * (cut to size); 0 when the command succeeded, -1 otherwise. */
HIDUSB_API int HidSim_ControlCommand(const char* line, char* reply, int size);

/* Starts (run 1) or stops (run 0) the control socket for simctl, as at start-up and at
 * unload. 0 when it listens, or stopped; -1 when it cannot listen, with the reason copied to
 * reason (cut to size; may be null). */
HIDUSB_API int HidSim_ControlServer(int run, char* reason, int size);

/* Link call hook, for tests that look at the caller's own state at the moment of a call:
 * called on the calling thread, with no library lock held, when UsbServerC_Start,
 * UsbServer_Exit or one of the UsbServer_Read... calls begins (before it takes effect), with
 * the call's name. The hook may call the library. Null removes it; so does HidSim_Reset. */
typedef void (*HidSimLinkCallHook)(const char* name, void* context);
HIDUSB_API void HidSim_SetLinkCallHook(HidSimLinkCallHook hook, void* context);

/* Call log: one entry per public library call, "Name(arg, arg)", except the five answer
 * decoders (ProtocolDataParser, BufferToDPILed, BufferToLedBar, GetDeviceBatteryStatus,
 * GetDeviceStatusChanged), which only convert bytes and are not recorded. */
HIDUSB_API int HidSim_CallLogCount(void);
/* Copies entry index into buffer; 0 on success. */
HIDUSB_API int HidSim_CallLogEntry(int index, char* buffer, int size);
HIDUSB_API void HidSim_ClearCallLog(void);

#ifdef __cplusplus
}
#endif

#endif
