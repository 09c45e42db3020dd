/*
 * HIDUsb - the device library through which the program reaches mice and receivers.
 *
 * This build simulates the devices (see HIDUsbControl.h for the scripting side).
 * Plain C interface; every function may be called from any thread at any time.
 *
 * Threads:
 *  - Data callbacks (UsbServerC_Start) run on one library data thread, one at a time
 *    and in order, never on the caller's stack. Answers not yet delivered are dropped
 *    when the link is replaced or closed; a callback already running finishes.
 *  - Hot-plug callbacks (StartUsbChanged) run on the GUI thread, posted to its event loop.
 *  - Firmware status callbacks run on a library thread.
 *  - The library never holds a lock of its own while it calls a callback.
 *
 * Answer formats on the data callback (header is at least 5 bytes:
 * header[1] kind, header[3] sub, header[4] command):
 *   kind 4   battery event, 4 data bytes: [0] level 0..100, [1] charging (>0)
 *   kind 6   pairing status, 1 data byte: 1 pairing, 2 failure, 3 success
 *   kind 8   configuration answers, sub 0:
 *              command 0,    6912 bytes  whole configuration (ProtocolDataParser)
 *              command 0,    1 byte      report-rate code
 *              command 4,    1 byte      current DPI level
 *              command 0x4C, 8 bytes     DPI light (BufferToDPILed)
 *              command 0xA0, 9 bytes     light bar (BufferToLedBar)
 *   kind 9   receiver asks the program to re-apply its settings (no data read)
 *   kind 10  status event, 7 data bytes (GetDeviceStatusChanged)
 *   kind 14  active onboard profile, 1 data byte (0..3)
 *   kind 18  mouse version changed (no data read; ask UsbFinderC_GetVersion)
 *   kind 21  receiver light changed (no data read)
 *   kind 23  long-range mode dropped, 10 data bytes
 *
 * Whole configuration (6912 bytes), little-endian throughout:
 *   [0..123]      bytes 0..123 of the device image (settings and button bindings)
 *   [124..955]    the sixteen 52-byte key-combination records
 *   [956..6911]   macro area: up to 8 packed macro records, each
 *                 {u8 button 0..15, u8 name length, 30 bytes name, u8 event count,
 *                  event count * 8 bytes events}; a button byte of 0xFF ends the list.
 *                 A mouse image that holds more than eight macros comes back with its
 *                 first eight (in button order), each cut to 70 events.
 *   The parser clears every macro record that the answer does not carry.
 *
 * DPI light answer (8 bytes): [0] mode, [1] brightness, [2] speed, [3] on; rest reserved.
 *   BufferToDPILed writes 4 bytes: image bytes 63..66.
 * Light bar answer (9 bytes): [0] effect, [1] red, [2] green, [3] blue, [4] speed,
 *   [5] brightness, [6] on; rest reserved. BufferToLedBar writes 7 bytes: image bytes 67..73.
 * Status event (7 bytes): non-zero = changed: [0] DPI level, [1] report rate,
 *   [2] configuration, [3] DPI light, [4] unused, [5] light bar, [6] battery.
 * Firmware status record (3 bytes): [0] 7; [1] 1 progress with [2] percent,
 *   [1] 2 final report with [2] 1 success, 0 failure. Exactly one final report
 *   (except under the silent test script of HIDUsbControl.h).
 */
#ifndef HIDUSB_H
#define HIDUSB_H

#include <stdint.h>

#if defined(HIDUSB_BUILDING)
#define HIDUSB_API __attribute__((visibility("default")))
#else
#define HIDUSB_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The program's 10,428-byte device image; the library only copies it as bytes. */
struct FlashDataMap;
#define HIDUSB_IMAGE_SIZE 10428
#define HIDUSB_FULL_ANSWER_SIZE 6912
#define HIDUSB_FIRMWARE_HEADER_SIZE 728

/* [6] == 1 online; [7..9] the three status bytes. */
typedef struct UsbAddressStatus { uint8_t bytes[10]; } UsbAddressStatus;
/* [0] level 0..100, [1] > 0 charging. */
typedef struct BatteryStatus { uint8_t bytes[4]; } BatteryStatus;
/* Non-zero means changed; see the table above. */
typedef struct DeviceStatusFlags { uint8_t bytes[7]; } DeviceStatusFlags;
/* HID attribute record: u16 vendor id at 0, u16 product id at 2, u16 version at 8. */
typedef struct UsbDeviceAttribute { uint8_t bytes[12]; } UsbDeviceAttribute;
/* Receiver light record: byte 0 is the light mode 1, 2 or 3 (0 none). */
typedef struct DongleRGB { uint8_t bytes[10]; } DongleRGB;
/* Identification of an interface: CID and MID are 0 until the mouse is known. */
typedef struct UsbDeviceInfo { uint8_t cid; uint8_t mid; uint8_t kind; } UsbDeviceInfo;

typedef void (*UsbChangedCallback)(void);
typedef void (*UsbDataCallback)(uint8_t* header, int headerLength, uint8_t* data, uint32_t dataLength);
typedef void (*UsbUpgradeCallback)(uint8_t* status);

/* Finding. Ids are hexadecimal texts with or without "0x", any case. The returned
 * array belongs to the library and stays valid until the next find call; *count is
 * the caller's maximum on entry and the number of paths on return. */
HIDUSB_API char** UsbFinderC_FindHidDevicesByDeviceId(const char* vid, const char* pid, int interfaceNumber,
                                                      int maxCount, int* count);
HIDUSB_API char** UsbFinderC_FindHidDevicesByDefaultDeviceId(const char* vid, const char* pid, int* count);
HIDUSB_API UsbDeviceInfo UsbFinderC_GetDeviceInfo(const char* path);
HIDUSB_API int UsbFinderC_GetUsbDeviceAttribute(const char* path, UsbDeviceAttribute* attribute);
HIDUSB_API int UsbFinderC_GetDeviceOnLine(const char* path);
HIDUSB_API int UsbFinderC_GetDeviceOnLineWithUsbAddress(const char* path, UsbAddressStatus* status);
/* High byte major, low byte minor; 0 when unknown. */
HIDUSB_API int UsbFinderC_GetVersion(const char* path);
/* The receiver's version word; non-zero when the receiver answered. */
HIDUSB_API int UsbFinderC_GetSlaveVersion(const char* path, int* version);

/* Hot-plug: the callback runs on the GUI thread once after registration, on the event loop's
 * next turn, and after every plug change, settleMs after the change. A later call replaces
 * the callback. */
HIDUSB_API int StartUsbChanged(UsbChangedCallback callback, int settleMs);
HIDUSB_API int StopUsbChanged(void);

/* Data link. Start replaces an open link and Exit closes it; either way the answers that
 * were not yet delivered are dropped and the old callback receives nothing more, while a
 * callback already running finishes (neither call waits for it). */
HIDUSB_API int UsbServerC_Start(const char* path, const char* path2, UsbDataCallback callback);
HIDUSB_API void UsbServer_Exit(void);
HIDUSB_API int UsbServer_SetPCDriverStatus(uint8_t status);

/* Reads: each only queues an answer for the data callback. */
HIDUSB_API int UsbServer_ReadAllFlashData(void);
HIDUSB_API int UsbServer_ReadBatteryLevel(void);
HIDUSB_API int UsbServer_ReadConfig(void);
HIDUSB_API int UsbServer_ReadVersion(void);
HIDUSB_API int UsbServer_ReadCurrentDPI(void);
HIDUSB_API int UsbServer_ReadReportRate(void);
HIDUSB_API int UsbServer_ReadDPILed(void);
HIDUSB_API int UsbServer_ReadLedBar(void);

/* Writes to the mouse of the open link. */
HIDUSB_API int ProtocolDataUpdate(struct FlashDataMap* image);
HIDUSB_API int UsbServer_SetCurrentConfig(uint8_t profile);
HIDUSB_API int UsbServer_SetClearSetting(void);

/* Decoders of answers. */
HIDUSB_API void ProtocolDataParser(uint8_t* data, struct FlashDataMap* image);
HIDUSB_API void BufferToDPILed(uint8_t* data, uint8_t* dpiLight);
HIDUSB_API void BufferToLedBar(uint8_t* data, uint8_t* lightBar);
HIDUSB_API void GetDeviceBatteryStatus(uint8_t* data, BatteryStatus* status);
HIDUSB_API void GetDeviceStatusChanged(uint8_t* data, DeviceStatusFlags* flags);

/* Receiver. */
HIDUSB_API int UsbFinderC_Set4KDongleRGB(const char* path, DongleRGB* record);
HIDUSB_API int UsbFinderC_Get4KDongleRGBValue(const char* path, DongleRGB* record);
HIDUSB_API int UsbFinderC_SetLongRangeMode(const char* path, uint8_t on);
/* Leaves *mode as the caller preset it where the receiver has no long range. */
HIDUSB_API int UsbFinderC_GetLongRangeMode(const char* path, uint8_t* mode);
HIDUSB_API int UsbServer_EnterDonglePairOnlyCid(uint8_t cid);
HIDUSB_API int UsbServer_ReadDonglePairStatus(void);

/* Firmware. The image starts with a 728-byte header: u32 version at 0x10, kind at 0x14
 * (210 mouse, 211 receiver), CID at 0x15, MID at 0x16, model name at 0x57. */
HIDUSB_API int UsbUpgradeC_FindBootDevices(const uint8_t* image, uint32_t length, int* count);
HIDUSB_API int UsbUpgrade_Start(const uint8_t* image, uint32_t length, UsbUpgradeCallback callback, int timeoutMs);

#ifdef __cplusplus
}
#endif

#endif
