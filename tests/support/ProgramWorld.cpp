#include "support/ProgramWorld.h"

#include "common/MacroSetting.h"
#include "common/Registry.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"

ProgramWorld::ProgramWorld()
{
    env.stageShippedData();
    UserConfig::reload();
    Registry::setBaseFolder(env.home() + QStringLiteral("/registry"));
    MacroSetting::reload();
    ResetCurrentDevice();
    ChoiceDeviceList.clear();
    MainPageActive = 0;
    SensorPageReady = 0;
    LightPageReady = 0;
    ButtonPageReady = 0;
    MacroRecording = 0;
}

ProgramWorld::~ProgramWorld()
{
    Registry::setBaseFolder(QString());
    ChoiceDeviceList.clear();
}
