// The settings page's receiving ends of the device side.
#include "pages/settings/FormSetting.h"

#include "common/PostMsg.h"

void FormSetting::ConnectDeviceSlots()
{
    PostMsg::connectBlocking(SIGNAL(SigRGBValue(DongleRGB*)), this, SLOT(SlotRGBValue(DongleRGB*)));
    PostMsg::connectBlocking(SIGNAL(SigLongRangeMode(bool)), this, SLOT(SlotLongRangeMode(bool)));
    PostMsg::connectBlocking(SIGNAL(SigForm()), this, SLOT(SlotForm()));
    PostMsg::connectBlocking(SIGNAL(SigFormReset()), this, SLOT(SlotFormResetForm()));
}

// The receiver light mode is read from the record once the page has its controls.
void FormSetting::SlotRGBValue(DongleRGB* /*Rgb*/)
{
}

void FormSetting::SlotLongRangeMode(bool /*Select*/)
{
}

void FormSetting::SlotForm()
{
}

void FormSetting::SlotFormResetForm()
{
}
