#include "pages/settings/FormSetting.h"

#include "device/CurrentDevice.h"
#include "pages/settings/FirmwareFiles.h"

FormSetting::FormSetting(QWidget* parent)
    : QWidget(parent)
{
    ConnectDeviceSlots();
}

FormSetting::~FormSetting() = default;

bool FormSetting::CheckNewFirmware(int kind, QString deviceVersion, int receiverType)
{
    return FirmwareFiles::CheckNewFirmware(FirmwareFiles::BinFolder(), kind, deviceVersion, receiverType,
                                           CurrentDeviceRecord().modelIndex);
}

bool FormSetting::ScanFirmwareFiles(uint8_t kind, QString deviceVersion, QString modelName, uint8_t cid, uint8_t mid)
{
    return FirmwareFiles::ScanFirmwareFiles(FirmwareFiles::BinFolder(), {kind, deviceVersion, modelName, cid, mid});
}

bool FormSetting::FindFirmwareFile(uint8_t kind, QString deviceVersion, QString modelName, uint8_t cid, uint8_t mid)
{
    return FirmwareFiles::FindFirmwareFile(FirmwareFiles::BinFolder(), FirmwareImages,
                                           {kind, deviceVersion, modelName, cid, mid});
}
