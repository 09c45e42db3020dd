#pragma once
#include <cstddef>
#include <cstdint>

#include "HIDUsb.h"

// The mouse's whole configuration as the device library exchanges it: a plain record of
// exactly 10,428 bytes with fixed offsets, multi-byte numbers little-endian. It has no
// operations and is copied byte for byte; `FlashDataMap image{}` is all zero.
// The working copy lives behind a lock in device/WorkingImage.h.

// One DPI level, 6 bytes.
struct DpiLevelRecord {
    uint8_t codeX;
    uint8_t codeY;
    uint8_t flags;  // mask 0x22 set: DPI step of 100, otherwise 50
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// What one mouse button does, 3 bytes.
struct ButtonBinding {
    uint8_t type;
    uint8_t code1;
    uint8_t code2;
};

// One key event, 8 bytes, in combinations and macros alike: action 0 press, 1 release;
// kind 0 modifier bit, 1 keyboard usage, 2 consumer usage (combinations), 4 mouse-button bit
// (macros); delayMs is the pause after this event.
struct KeyEvent {
    uint8_t action;
    uint8_t kind;
    uint16_t code;
    uint32_t delayMs;
};

// Key combination of one button, 52 bytes.
struct ButtonComboRecord {
    uint8_t eventCount;
    uint8_t reserved[3];
    KeyEvent events[6];
};

// Macro of one button, 592 bytes; the name is not terminated.
struct MacroRecord {
    uint8_t nameLength;
    uint8_t name[30];
    uint8_t eventCount;
    KeyEvent events[70];
};

struct FlashDataMap {
    uint8_t reportRate;       // 0: 0x08 125 Hz, 0x04 250, 0x02 500, 0x01 1000, 0x10 2000, 0x20 4000, 0x40 8000
    uint8_t dpiLevelCount;    // 1: levels in use, 1..8
    uint8_t currentDpiLevel;  // 2: 0..7
    uint8_t reserved3[2];     // 3, 4: travel with the image
    uint8_t liftOffDistance;  // 5
    uint8_t debounceMs;       // 6
    uint8_t motionSync;       // 7
    uint8_t sleepTime;        // 8: units of 10 seconds
    uint8_t straightLine;     // 9
    uint8_t ripple;           // 10
    uint8_t lightPageToggle;  // 11
    uint8_t performanceMode;  // 12
    uint8_t performanceTime;  // 13
    uint8_t sensorMode;       // 14
    DpiLevelRecord dpiLevels[8];  // 15..62
    uint8_t dpiLightMode;        // 63
    uint8_t dpiLightBrightness;  // 64
    uint8_t dpiLightSpeed;       // 65
    uint8_t dpiLightOn;          // 66
    uint8_t lightEffect;      // 67
    uint8_t lightRed;         // 68
    uint8_t lightGreen;       // 69
    uint8_t lightBlue;        // 70
    uint8_t lightSpeed;       // 71
    uint8_t lightBrightness;  // 72
    uint8_t lightOn;          // 73
    ButtonBinding buttons[16];      // 74..121
    uint8_t reserved122[2];         // 122, 123: never written
    ButtonComboRecord combos[16];   // 124..955
    MacroRecord macros[16];         // 956..10427
};

static_assert(sizeof(DpiLevelRecord) == 6, "DPI level record is 6 bytes");
static_assert(sizeof(ButtonBinding) == 3, "button binding is 3 bytes");
static_assert(sizeof(KeyEvent) == 8, "key event is 8 bytes");
static_assert(sizeof(ButtonComboRecord) == 52, "key combination record is 52 bytes");
static_assert(sizeof(MacroRecord) == 592, "macro record is 592 bytes");
static_assert(offsetof(MacroRecord, events) == 32, "macro events start at byte 32");
static_assert(offsetof(FlashDataMap, liftOffDistance) == 5, "image layout");
static_assert(offsetof(FlashDataMap, sensorMode) == 14, "image layout");
static_assert(offsetof(FlashDataMap, dpiLevels) == 15, "image layout");
static_assert(offsetof(FlashDataMap, dpiLightMode) == 63, "image layout");
static_assert(offsetof(FlashDataMap, lightEffect) == 67, "image layout");
static_assert(offsetof(FlashDataMap, lightOn) == 73, "image layout");
static_assert(offsetof(FlashDataMap, buttons) == 74, "image layout");
static_assert(offsetof(FlashDataMap, combos) == 124, "image layout");
static_assert(offsetof(FlashDataMap, macros) == 956, "image layout");
static_assert(sizeof(FlashDataMap) == 10428, "the device image is exactly 10,428 bytes");
static_assert(sizeof(FlashDataMap) == HIDUSB_IMAGE_SIZE, "the library copies 10,428 bytes");
