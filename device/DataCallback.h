#pragma once
#include <QString>
#include <atomic>
#include <cstdint>

#include "HIDUsb.h"
#include "device/FlashDataMap.h"

// The data callback that the program hands to the device library (UsbServerC_Start). The
// library calls it on its own data thread with every answer and event of the mouse or the
// receiver: whole configurations become the working image and reach the pages as copies,
// short answers update single fields, battery, profile, version, receiver and status events
// are forwarded or turned into re-reads.
void OnUsbData(uint8_t* header, int headerLength, uint8_t* data, uint32_t dataLength);

// Re-reads what the last status event marked as changed; a configuration change, at most
// once per StatusThrottleMs, asks the online poll for a full reload.
void OnDeviceStatusChanged();

// Registry key under which the mouse's firmware version is kept.
extern const char* const MouseVersionRegistryKey;
// The value name of a model's mouse version under that key: "MouseVer" + CID text + MID text.
QString MouseVersionValueName(const QString& cidText, const QString& midText);

// The catalogue's "Option"/"ShowBatteryValue", read when the Worker is built.
extern std::atomic<int> ShowBatteryValue;

// Each full load counts up, so a Worker run can tell that one arrived while it ran.
extern std::atomic<unsigned> FullLoadCount;
// The end of a Worker run: LoadFinished := finished, unless a full load has counted up
// since the run read loadsBefore from FullLoadCount. The check and the write are one step
// with the full load's own count and write, so a full load's LoadFinished is never undone.
void FinishRunLoad(unsigned loadsBefore, uint8_t finished);
// Asks for a Worker run: RunRequested := 1, counted. A full load clears RunRequested only
// when no run was asked for after its read was asked: the run the online poll asks for once
// a sleeping mouse is back must not be lost to an answer the mouse gave just before.
void RequestRun();
unsigned RunRequests();

// The image a whole-configuration answer describes: parsed into an all-zero image, so
// whatever the parser leaves out is zero. The parser is the library's unless given.
using FullAnswerParser = void (*)(uint8_t* data, struct FlashDataMap* image);
FlashDataMap ParseFullAnswer(uint8_t* data, FullAnswerParser parser = ProtocolDataParser);

// Status events ask for a reload at most this often.
constexpr int StatusThrottleMs = 3000;
// Starts the status throttle clock again (the Worker does so when it is built).
void RestartStatusThrottle();

// The last decoded battery and status blocks (data thread only).
extern BatteryStatus LastBatteryStatus;
extern DeviceStatusFlags LastDeviceStatus;

// Answer sizes the callback accepts.
constexpr uint32_t FullAnswerSize = HIDUSB_FULL_ANSWER_SIZE;
constexpr uint32_t DpiLedAnswerSize = 8;
constexpr uint32_t LedBarAnswerSize = 9;
constexpr uint32_t BatteryAnswerSize = 4;
constexpr uint32_t StatusAnswerSize = 7;
constexpr uint32_t LongRangeDropSize = 10;
