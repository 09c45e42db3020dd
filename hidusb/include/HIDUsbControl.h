/*
 * HIDUsbControl - scripting side of the simulated device library.
 *
 * Used by the tests, by the demo start and by the hidsim tool; the program itself never
 * calls these functions. Every function is safe from any thread.
 *
 * Model: a simulated mouse (HidSim_AddMouse) and a simulated interface, i.e. a path
 * (HidSim_AddInterface). An interface is either a cable to its mouse or a receiver with a
 * paired mouse (mouseId, or -1 for none). A mouse is online when its cable is plugged, or
 * when it is paired to a plugged receiver and awake.
 *
 * Interface kinds: 0 1 kHz receiver, 4 2 kHz receiver, 1 4 kHz receiver with a light,
 *                  5 8 kHz receiver, 2 cable, 3 cable with 8 kHz.
 */
#ifndef HIDUSB_CONTROL_H
#define HIDUSB_CONTROL_H

#include <stdint.h>
#include "HIDUsb.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct HidSimMouseSpec {
    uint8_t cid;
    uint8_t mid;
    uint8_t address[3];     /* the three status bytes of UsbAddressStatus [7..9] */
    int version;            /* firmware version word, high byte major, low byte minor */
    int battery;            /* 0..100 */
    int charging;           /* 0/1 */
    int awake;              /* 0/1 */
} HidSimMouseSpec;

typedef struct HidSimInterfaceSpec {
    const char* vid;        /* hexadecimal text, e.g. "0x3554" */
    const char* pid;
    int kind;               /* see above */
    int version;            /* interface (receiver) version word */
    int mouseId;            /* cable: its mouse; receiver: paired mouse or -1 */
    int hasLongRange;       /* receiver supports long-range mode */
    int identifyAfter;      /* GetDeviceInfo answers {0,0,kind} this many times first */
} HidSimInterfaceSpec;

/* Devices. Adding or removing raises a hot-plug call. Returns an id >= 0, -1 on error. */
HIDUSB_API int HidSim_AddMouse(const HidSimMouseSpec* spec);
HIDUSB_API int HidSim_RemoveMouse(int mouseId);
HIDUSB_API int HidSim_AddInterface(const HidSimInterfaceSpec* spec);
HIDUSB_API int HidSim_RemoveInterface(int interfaceId);
/* The path of an interface ("sim:usb:0003"); copies at most size bytes; 0 on success. */
HIDUSB_API int HidSim_InterfacePath(int interfaceId, char* buffer, int size);
/* Removes every device, script, log and counter; keeps the hot-plug registration. */
HIDUSB_API void HidSim_Reset(void);
/* Adds the default demo devices (the set documented in the README). */
HIDUSB_API void HidSim_LoadDefaults(void);
/* Loads a scenario file (format in the README); 0 on success, -1 on a bad file. */
HIDUSB_API int HidSim_LoadScenario(const char* fileName);

/* Mouse state. Waking or sleeping raises a hot-plug call only where the spec says so:
 * it changes the online answers, not the device list. */
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
 * receiver of the open link, online, and a hot-plug call follows. */
HIDUSB_API void HidSim_ScriptPairing(int pairingAnswers, int outcome, int mouseId);
/* Firmware script: progress steps, delay between reports in ms, outcome 1 success / 0 failure. */
HIDUSB_API void HidSim_ScriptFirmware(int steps, int delayMs, int success);

/* Delays: every simulated latency (settle time, answer delays) becomes 0. */
HIDUSB_API void HidSim_SetZeroDelays(int zero);

/* Waits until every queued data answer and firmware report was delivered, at most
 * timeoutMs; when called on the GUI thread it also processes posted hot-plug calls.
 * Returns 0 when all was delivered, -1 on time-out. */
HIDUSB_API int HidSim_DeliverPending(int timeoutMs);

/* Call log: one entry per public library call, "Name(arg, arg)". */
HIDUSB_API int HidSim_CallLogCount(void);
/* Copies entry index into buffer; 0 on success. */
HIDUSB_API int HidSim_CallLogEntry(int index, char* buffer, int size);
HIDUSB_API void HidSim_ClearCallLog(void);

#ifdef __cplusplus
}
#endif

#endif
