#include "support/FirmwareWorld.h"

#include "common/ProgramWaits.h"
#include "common/Registry.h"
#include "common/UserConfig.h"
#include "device/DataCallback.h"
#include "device/DeviceRecords.h"
#include "device/FirmwareFiles.h"
#include "device/FirmwareUpgrade.h"
#include "device/SharedFlags.h"
#include "support/HidSimScript.h"

#include <QFile>

namespace {
const QString FailRecordName = QStringLiteral("UpdateFailInfo");
}

FirmwareWorld::FirmwareWorld()
{
    MainPageDeviceList.clear();
    FirmwareImages.clear();
    DongleUpdate = UpdateRefused;
    MouseUpdate = UpdateRefused;
    FirmwareIdle = 1;
    RepairBusy = 0;
    ManualUpdateActive = 0;
    MouseNewFirmware = 0;
    ReceiverUpdateAvailable = 0;
    HidSim_ScriptFirmware(3, 0, 1);
}

FirmwareWorld::~FirmwareWorld()
{
    const double scale = qEnvironmentVariable("KAVRO_TEST_WAIT_SCALE").toDouble();
    ProgramWaits::setWaitScale(scale > 0 ? scale : 1.0);
    MainPageDeviceList.clear();
}

QString FirmwareWorld::failRecord()
{
    return Registry::value(QString::fromLatin1(MouseVersionRegistryKey), FailRecordName).toString();
}

void FirmwareWorld::setFailRecord(const QString& record)
{
    Registry::setValue(QString::fromLatin1(MouseVersionRegistryKey), FailRecordName, record);
}

void FirmwareWorld::writeImage(const QString& name, uint32_t version, uint8_t kind, uint8_t mid,
                               const QByteArray& model) const
{
    const int cid = UserConfig::instance()->value(QStringLiteral("Option"), QStringLiteral("CID")).toInt();
    env.writeProgramFile(QStringLiteral("bin/") + name, SimScript::makeFirmware(version, kind, uint8_t(cid), mid, model));
}

bool FirmwareWorld::oversize(const QString& name) const
{
    QFile file(env.programDir() + QStringLiteral("/bin/") + name);
    return file.resize(FirmwareFiles::MaxImageFileSize + 1);
}
