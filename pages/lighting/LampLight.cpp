#include "pages/lighting/LampLight.h"

#include "common/PostMsg.h"
#include "device/SharedFlags.h"

LampLight::LampLight(QWidget* parent)
    : QWidget(parent)
{
    PostMsg::connectBlocking(SIGNAL(SigUpDataLightLight(FlashDataMap)), this, SLOT(SlotUpDataLightUILight(FlashDataMap)));
    connect(PostMsg::instance(), SIGNAL(SigUpDataLightUIA(FlashDataMap)), this, SLOT(SlotUpDataLightUIA(FlashDataMap)));
    PostMsg::connectBlocking(SIGNAL(SigFormReset()), this, SLOT(SlotFormResetLight()));
}

void LampLight::SlotUpDataLightUILight(FlashDataMap DataMap)
{
    LightPageReady = 0;
    SlotUpDataLightUIA(DataMap);
    LightPageReady = 1;
}

void LampLight::SlotUpDataLightUIA(FlashDataMap /*DataMap*/)
{
    LightPageBusy = 1;
    // The light settings are shown here once the page has its controls.
    LightPageBusy = 0;
}

void LampLight::SlotFormResetLight()
{
    LightPageBusy = 1;
    LightPageBusy = 0;
}
