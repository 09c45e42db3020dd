#include "pages/settings/UpDateRepair.h"

#include "pages/settings/FirmwareFiles.h"

UpDateRepair::UpDateRepair(QWidget* parent)
    : QDialog(parent)
{
}

UpDateRepair::~UpDateRepair() = default;

bool UpDateRepair::CheckFirmwareFile(UpDateRepair* dialog, uint8_t kind, QString deviceVersion, QString modelName,
                                     uint8_t cid, uint8_t mid)
{
    if (!dialog)
        return false;
    return FirmwareFiles::CheckRepairFirmwareFile(FirmwareFiles::BinFolder(), dialog->m_images,
                                                  {kind, deviceVersion, modelName, cid, mid});
}

void UpDateRepair::StartRepair(int index)
{
    m_repairIndex = index;
}
