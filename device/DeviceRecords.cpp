#include "device/DeviceRecords.h"

#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/FoundDevicePaths.h"

#include <mutex>

namespace {
std::mutex receiverLightLock;  // constant-initialised: usable before main
DongleRGB receiverLight{};
}  // namespace

DongleRGB ReceiverLightCopy()
{
    std::lock_guard<std::mutex> lock(receiverLightLock);
    return receiverLight;
}

void SetReceiverLight(const DongleRGB& light)
{
    std::lock_guard<std::mutex> lock(receiverLightLock);
    receiverLight = light;
}
QList<DeviceAllInfo> MainPageDeviceList;
QList<DeviceAllInfo> ChoiceDeviceList;
DeviceAllInfo PairingDevice;

namespace {

constexpr int IdentifyTries = 10;

int catalogueNumber(const QString& group, const QString& key)
{
    return UserConfig::instance()->value(group, key).toInt();
}

// Online state and status bytes once the frame shows a device; the current record takes
// the new facts but keeps version texts it already has.
void refreshKnownDevice(DeviceAllInfo& record, const QString& path)
{
    record.statusBytes.clear();
    UsbAddressStatus status{};
    UsbFinderC_GetDeviceOnLineWithUsbAddress(path.toUtf8().constData(), &status);
    record.online = status.bytes[6] == 1 ? 1 : 0;
    record.statusBytes = {status.bytes[7], status.bytes[8], status.bytes[9]};

    UpdateCurrentDeviceRecord([&record](DeviceAllInfo& current) {
        if (current.path != record.path)
            return;
        DeviceAllInfo updated = record;
        if (!current.firmwareVersion.isEmpty())
            updated.firmwareVersion = current.firmwareVersion;
        if (!current.mouseVersion.isEmpty())
            updated.mouseVersion = current.mouseVersion;
        current = updated;
    });
}

}  // namespace

QString FormatVersionText(int versionWord)
{
    return QStringLiteral("v") + QString::number(versionWord >> 8) + QLatin1Char('.')
        + QString::number(versionWord & 0xFF, 16);
}

uint8_t CableFlagForKind(uint8_t kind)
{
    return (kind & 0xFA) != 0 ? 1 : 0;
}

QString CatalogueModelGroup(int modelIndex)
{
    return QStringLiteral("Drive") + QString::number(modelIndex + 1);
}

bool IdentifyDevice(const QByteArray& path, UsbDeviceInfo* answer)
{
    for (int calls = 1;; ++calls) {
        *answer = UsbFinderC_GetDeviceInfo(path.constData());
        if (calls >= IdentifyTries)
            return false;  // the tenth answer is not examined
        if (answer->cid != 0 || answer->mid != 0)
            return true;
    }
}

int CatalogueModelIndex(uint8_t cid, uint8_t mid, int total)
{
    const int catalogueCid = catalogueNumber(QStringLiteral("Option"), QStringLiteral("CID"));
    for (int i = 0; i < total; ++i) {
        if (cid == catalogueCid && mid == catalogueNumber(CatalogueModelGroup(i), QStringLiteral("MID")))
            return i;
    }
    return -1;
}

int FillDeviceRecord(DeviceAllInfo& record, const QString& path)
{
    const QByteArray devicePath = path.toUtf8();
    UsbDeviceInfo info{};
    const bool identified = IdentifyDevice(devicePath, &info);

    const bool frameHasDevice = !CurrentDeviceRecord().path.isEmpty();
    const int total = UserConfig::instance()->modelCount();
    if (!identified) {
        record.cableFlag = CableFlagForKind(info.kind);
        record.modelIndex = total;
        return 0;
    }

    const int index = CatalogueModelIndex(info.cid, info.mid, total);
    if (index >= 0) {
        record.cableFlag = CableFlagForKind(info.kind);
        record.cid = info.cid;
        record.mid = info.mid;
        record.kind = info.kind;
        record.modelIndex = index;
        if (frameHasDevice)
            refreshKnownDevice(record, path);
        else
            record.online = UsbFinderC_GetDeviceOnLine(devicePath.constData()) ? 1 : 0;
        return 1;
    }

    if (total < 1)
        return 0;
    record.cableFlag = CableFlagForKind(info.kind);
    record.modelIndex = total;
    const int catalogueCid = catalogueNumber(QStringLiteral("Option"), QStringLiteral("CID"));
    return info.cid == catalogueCid ? 2 : 3;
}

void ScanDevices(QString vendorId, QStringList productIds)
{
    const QByteArray vid = vendorId.toLatin1();
    for (const QString& productId : productIds) {
        const QByteArray pid = productId.toLatin1();
        int count = MaxPathsPerId;
        char** found = UsbFinderC_FindHidDevicesByDeviceId(vid.constData(), pid.constData(), 1, MaxPathsPerId, &count);
        const QStringList paths = CopyFoundPaths(found, count, PathEncoding::Utf8);

        for (const QString& path : paths) {
            DeviceAllInfo record = RecordForFoundPath(path, vendorId, productId, PathEncoding::Utf8);

            if (CurrentDeviceRecord().path.isEmpty()) {
                MainPageDeviceList.append(record);
                continue;
            }
            if (FillDeviceRecord(record, path) != 1) {
                MainPageDeviceList.append(record);
                continue;
            }
            const DeviceAllInfo current = CurrentDeviceRecord();
            if (record.modelIndex == current.modelIndex) {
                MainPageDeviceList.append(record);
                if (record.path == current.path)
                    SetCurrentDevicePath(record.path.toUtf8());
            }
        }
    }
}
