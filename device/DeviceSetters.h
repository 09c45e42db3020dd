#pragma once
#include <cstdint>
#include <functional>

#include "device/FlashDataMap.h"

// Device parameter setters: one per field of the device image. Each asks the library
// whether the current device is online; online, it writes its field into the working image
// and hands the library a snapshot of the whole image, returning true. Offline, the image
// stays as it is and, unless a page is filling itself (ButtonPageBusy, LightPageBusy,
// SensorPageBusy), SigMouseOffLineo(0) is emitted; the result is false.
// Online but without a loaded working image (see device/WorkingImage.h) nothing is sent or
// emitted and the result is false: the mouse must never get another mouse's or an empty image.
// The whole configuration is then asked for again, once per link, so the pages fill.
// Called on the GUI thread. Levels are 0..7, buttons 0..15 (asserted in debug builds only).

// The online check with its offline notice, nothing written.
bool IsDeviceOnline();

// Applies `change` to the loaded working image and hands the whole image to the library,
// online or not (the library keeps it for the mouse). Without a loaded image nothing is
// changed or sent: the result is false.
bool HandOverLoadedImage(const std::function<void(FlashDataMap&)>& change);

bool SetReportRate(uint8_t code);
bool SetCurrentDpiLevel(uint8_t level);
// DPI level indexA := recordA, then indexB := recordB (B wins when equal), current level :=
// level, level count := level + 1.
bool SetDpiLevels(const DpiLevelRecord* recordA, const DpiLevelRecord* recordB, int indexB, int indexA,
                  uint8_t level);
bool SetLod(uint8_t code);
bool SetDebounceTime(uint8_t milliseconds);
bool SetMotionSync(uint8_t on);
bool SetSleepTime(uint8_t tenSecondUnits);
bool SetStraightLine(uint8_t on);
bool SetRipple(uint8_t on);
bool SetLightPageToggle(uint8_t on);
bool SetPerformanceMode(uint8_t on);
bool SetPerformanceTime(uint8_t code);
bool SetSensorMode(uint8_t mode);
bool SetDpiLevelValue(int level, uint8_t codeX, uint8_t codeY, uint8_t flags);
bool SetDpiLevelColor(int level, uint8_t red, uint8_t green, uint8_t blue);
// Mode 0 only switches the DPI light off; any other mode switches it on and sets the mode.
bool SetDpiLightMode(int mode);
bool SetDpiLightBrightness(uint8_t brightness);
bool SetDpiLightSpeed(uint8_t speed);
// Mode 0 only switches the light off; any other mode switches it on and sets the effect.
bool SetLightMode(int mode);
bool SetLightColor(uint8_t red, uint8_t green, uint8_t blue);
bool SetLightSpeed(uint8_t speed);
bool SetLightBrightness(uint8_t brightness);
bool SetButtonKey(int button, uint8_t type, uint8_t code1, uint8_t code2);
bool SetButtonCombo(int button, const ButtonBinding* binding, const ButtonComboRecord* combo);
bool SetButtonMacro(int button, const ButtonBinding* binding, const MacroRecord* macro);
