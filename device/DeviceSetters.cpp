#include "device/DeviceSetters.h"

#include "common/PostMsg.h"
#include "device/DataLink.h"
#include "device/DeviceCache.h"
#include "device/SharedFlags.h"
#include "device/UnsentMacros.h"
#include "device/WorkingImage.h"

#include <QtGlobal>
#include <functional>

namespace {

bool deviceOnline()
{
    const QByteArray path = CurrentDevicePath();
    return UsbFinderC_GetDeviceOnLine(path.constData()) != 0;
}

void reportOffline()
{
    if (!ButtonPageBusy && !LightPageBusy && !SensorPageBusy)
        PostMsg::instance()->SendMouseOffLineo(0);
}

// The one path of every device write: online check, change under the image lock, then the
// whole snapshot to the library outside the lock.
bool writeField(const std::function<void(FlashDataMap&)>& change)
{
    if (!IsDeviceOnline())
        return false;
    FlashDataMap snapshot{};
    if (!ChangeLoadedWorkingImage(change, &snapshot)) {
        // Online, but the mouse's configuration has not arrived on this link: nothing is sent,
        // the whole configuration is asked for again (once per link) so the pages fill.
        RequestFullReadOncePerLink();
        return false;
    }
    SendImageToMouse(&snapshot);
    return true;
}

void assertLevel(int level)
{
    Q_ASSERT(level >= 0 && level < 8);
    Q_UNUSED(level);
}

void assertButton(int button)
{
    Q_ASSERT(button >= 0 && button < 16);
    Q_UNUSED(button);
}

}  // namespace

bool IsDeviceOnline()
{
    if (deviceOnline())
        return true;
    reportOffline();
    return false;
}

bool HandOverLoadedImage(const std::function<void(FlashDataMap&)>& change)
{
    FlashDataMap snapshot{};
    if (!ChangeLoadedWorkingImage(change, &snapshot))
        return false;
    SendImageToMouse(&snapshot);
    return true;
}

bool SetReportRate(uint8_t code)
{
    return writeField([=](FlashDataMap& m) { m.reportRate = code; });
}

bool SetCurrentDpiLevel(uint8_t level)
{
    return writeField([=](FlashDataMap& m) { m.currentDpiLevel = level; });
}

bool SetDpiLevels(const DpiLevelRecord* recordA, const DpiLevelRecord* recordB, int indexB, int indexA, uint8_t level)
{
    assertLevel(indexA);
    assertLevel(indexB);
    const DpiLevelRecord a = *recordA;
    const DpiLevelRecord b = *recordB;
    return writeField([=](FlashDataMap& m) {
        m.dpiLevels[indexA] = a;
        m.dpiLevels[indexB] = b;
        m.currentDpiLevel = level;
        m.dpiLevelCount = static_cast<uint8_t>(level + 1);
    });
}

bool SetLod(uint8_t code)
{
    return writeField([=](FlashDataMap& m) { m.liftOffDistance = code; });
}

bool SetDebounceTime(uint8_t milliseconds)
{
    return writeField([=](FlashDataMap& m) { m.debounceMs = milliseconds; });
}

bool SetMotionSync(uint8_t on)
{
    return writeField([=](FlashDataMap& m) { m.motionSync = on; });
}

bool SetSleepTime(uint8_t tenSecondUnits)
{
    return writeField([=](FlashDataMap& m) { m.sleepTime = tenSecondUnits; });
}

bool SetStraightLine(uint8_t on)
{
    return writeField([=](FlashDataMap& m) { m.straightLine = on; });
}

bool SetRipple(uint8_t on)
{
    return writeField([=](FlashDataMap& m) { m.ripple = on; });
}

bool SetLightPageToggle(uint8_t on)
{
    return writeField([=](FlashDataMap& m) { m.lightPageToggle = on; });
}

bool SetPerformanceMode(uint8_t on)
{
    return writeField([=](FlashDataMap& m) { m.performanceMode = on; });
}

bool SetPerformanceTime(uint8_t code)
{
    return writeField([=](FlashDataMap& m) { m.performanceTime = code; });
}

bool SetSensorMode(uint8_t mode)
{
    return writeField([=](FlashDataMap& m) { m.sensorMode = mode; });
}

bool SetDpiLevelValue(int level, uint8_t codeX, uint8_t codeY, uint8_t flags)
{
    assertLevel(level);
    return writeField([=](FlashDataMap& m) {
        m.dpiLevels[level].codeX = codeX;
        m.dpiLevels[level].codeY = codeY;
        m.dpiLevels[level].flags = flags;
    });
}

bool SetDpiLevelColor(int level, uint8_t red, uint8_t green, uint8_t blue)
{
    assertLevel(level);
    return writeField([=](FlashDataMap& m) {
        m.dpiLevels[level].red = red;
        m.dpiLevels[level].green = green;
        m.dpiLevels[level].blue = blue;
    });
}

bool SetDpiLightMode(int mode)
{
    return writeField([=](FlashDataMap& m) {
        if (mode == 0) {
            m.dpiLightOn = 0;
        } else {
            m.dpiLightOn = 1;
            m.dpiLightMode = static_cast<uint8_t>(mode);
        }
    });
}

bool SetDpiLightBrightness(uint8_t brightness)
{
    return writeField([=](FlashDataMap& m) { m.dpiLightBrightness = brightness; });
}

bool SetDpiLightSpeed(uint8_t speed)
{
    return writeField([=](FlashDataMap& m) { m.dpiLightSpeed = speed; });
}

bool SetLightMode(int mode)
{
    return writeField([=](FlashDataMap& m) {
        if (mode == 0) {
            m.lightOn = 0;
        } else {
            m.lightOn = 1;
            m.lightEffect = static_cast<uint8_t>(mode);
        }
    });
}

bool SetLightColor(uint8_t red, uint8_t green, uint8_t blue)
{
    return writeField([=](FlashDataMap& m) {
        m.lightRed = red;
        m.lightGreen = green;
        m.lightBlue = blue;
    });
}

bool SetLightSpeed(uint8_t speed)
{
    return writeField([=](FlashDataMap& m) { m.lightSpeed = speed; });
}

bool SetLightBrightness(uint8_t brightness)
{
    return writeField([=](FlashDataMap& m) { m.lightBrightness = brightness; });
}

bool SetButtonKey(int button, uint8_t type, uint8_t code1, uint8_t code2)
{
    assertButton(button);
    return writeField([=](FlashDataMap& m) { m.buttons[button] = ButtonBinding{type, code1, code2}; });
}

bool SetButtonCombo(int button, const ButtonBinding* binding, const ButtonComboRecord* combo)
{
    assertButton(button);
    const ButtonBinding b = *binding;
    const ButtonComboRecord c = *combo;
    return writeField([&](FlashDataMap& m) {
        m.buttons[button] = b;
        m.combos[button] = c;
    });
}

bool SetButtonMacro(int button, const ButtonBinding* binding, const MacroRecord* macro)
{
    assertButton(button);
    const ButtonBinding b = *binding;
    const MacroRecord r = *macro;
    const bool sent = writeField([&](FlashDataMap& m) {
        m.buttons[button] = b;
        m.macros[button] = r;
    });
    if (sent)
        UnsentMacros::written(UnsentMacros::currentMouse(), button, b, r);
    return sent;
}
