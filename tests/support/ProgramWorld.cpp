#include "support/ProgramWorld.h"

#include "common/MacroSetting.h"
#include "common/Registry.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "shell/DialogMain.h"
#include "support/HubRecorder.h"
#include "support/Wait.h"

#include "HIDUsbControl.h"

#include <QToolButton>

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
    LoadFinished = 0;
    MacroRecording = 0;
}

ProgramWorld::~ProgramWorld()
{
    Registry::setBaseFolder(QString());
    ChoiceDeviceList.clear();
}

bool waitForLoad(const linktest::HubRecorder& hub, int mark, int ms)
{
    return spinUntil([&] {
        HidSim_DeliverPending(20);
        return hub.loadEndedSince(mark);
    }, ms);
}

bool loadFirstTile(DialogMain& window, linktest::HubRecorder& hub)
{
    // The tiles come with the device list, which a busy machine may still be scanning.
    QToolButton* tile = nullptr;
    if (!spinUntil([&] { return (tile = window.findChild<QToolButton*>(QStringLiteral("btn0"))) != nullptr; }, LoadWaitMs))
        return false;
    const int mark = hub.mark();
    tile->click();
    return waitForLoad(hub, mark);
}
