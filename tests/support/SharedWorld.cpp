#include "support/SharedWorld.h"

#include "common/MacroSetting.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "device/WorkingImage.h"
#include "HIDUsbControl.h"

void SharedWorld::startCase()
{
    StopUsbChanged();
    HidSim_Reset();
    HidSim_SetZeroDelays(1);
    UserConfig::reload();
    MacroSetting::reload();
    for (auto* flag : {&ButtonPageBusy, &ButtonPageReady, &SensorPageBusy, &SensorPageReady, &LightPageBusy,
                       &LightPageReady})
        *flag = 0;
    WriteEnabled = 1;
    ChosenModelId = 1;
}

void SharedWorld::endCase()
{
    UsbServer_Exit();
    ClearWorkingImage();
    ResetCurrentDevice();
    WriteEnabled = 0;
    ChosenModelId = 0;
}
