#include "shell/ChoiceDevices.h"

#include "common/UserConfig.h"
#include "device/FoundDevicePaths.h"

#include "HIDUsb.h"

#include <QVector>

QString MouseIsNewText;

QStringList choiceVendorIds()
{
    const QStringList ids = UserConfig::instance()->valueList(QStringLiteral("Option"), QStringLiteral("VID"));
    return ids.mid(0, 2);
}

QStringList choiceProductIds()
{
    QStringList ids;
    for (const char* key : {"USB_PID", "Wireless_PID", "Wireless2_PID", "Wireless4_PID", "Wireless8_PID"}) {
        for (const QString& id : UserConfig::instance()->valueList(QStringLiteral("Option"), QString::fromLatin1(key))) {
            if (!id.isEmpty())
                ids.append(id);
        }
    }
    return ids;
}

bool FillChoiceDeviceRecord(DeviceAllInfo& record)
{
    const QByteArray path = record.path.toLocal8Bit();
    UsbDeviceInfo answer{0, 0, 0};
    const bool identified = IdentifyDevice(path, &answer);

    const int total = UserConfig::instance()->modelCount();
    // An unidentified or unmatched device keeps the kind it answered, so its badge and
    // category are defined; it has no CID or MID.
    auto markUnlisted = [&] {
        record.cableFlag = CableFlagForKind(answer.kind);
        record.cid = 0;
        record.mid = 0;
        record.kind = answer.kind;
        record.modelIndex = total;
    };
    if (!identified) {
        markUnlisted();
        return true;
    }

    const int index = CatalogueModelIndex(answer.cid, answer.mid, total);
    if (index >= 0) {
        record.cableFlag = CableFlagForKind(answer.kind);
        record.cid = answer.cid;
        record.mid = answer.mid;
        record.kind = answer.kind;
        record.modelIndex = index;
        if (UsbFinderC_GetDeviceOnLine(path.constData()))
            record.online = 1;
        return true;
    }
    if (total < 1)
        return false;
    markUnlisted();
    return true;
}

void ScanVendorDevices(const QString& vendorId, const QStringList& productIds)
{
    const QByteArray vid = vendorId.toLatin1();
    for (const QString& productId : productIds) {
        const QByteArray pid = productId.toLatin1();
        int count = MaxPathsPerId;
        char** found = UsbFinderC_FindHidDevicesByDefaultDeviceId(vid.constData(), pid.constData(), &count);
        const QStringList paths = CopyFoundPaths(found, count, PathEncoding::Local8Bit);
        for (const QString& path : paths) {
            DeviceAllInfo record = RecordForFoundPath(path, vendorId, productId, PathEncoding::Local8Bit);
            if (FillChoiceDeviceRecord(record))
                ChoiceDeviceList.append(record);
        }
    }
}

void RefreshDeviceStatus(int index, bool reidentify)
{
    if (index < 0 || index >= ChoiceDeviceList.size())
        return;
    DeviceAllInfo copy = ChoiceDeviceList.at(index);
    UsbAddressStatus status{};
    const QByteArray path = copy.path.toLocal8Bit();
    UsbFinderC_GetDeviceOnLineWithUsbAddress(path.constData(), &status);
    if (reidentify)
        FillChoiceDeviceRecord(copy);
    copy.online = status.bytes[6] == 1 ? 1 : 0;
    copy.statusBytes = {status.bytes[7], status.bytes[8], status.bytes[9]};
    ChoiceDeviceList[index] = copy;
}

void RescanChoiceDevices()
{
    ChoiceDeviceList.clear();
    const QStringList productIds = choiceProductIds();
    for (const QString& vendorId : choiceVendorIds())
        ScanVendorDevices(vendorId, productIds);
}

int choiceCategory(const DeviceAllInfo& record)
{
    if (record.cableFlag != 0)
        return 0;
    switch (record.kind) {
    case 0: return 1;
    case 4: return 2;
    case 1: return 3;
    case 5: return 4;
    default: return -1;
    }
}

bool findDuplicatesAndPreferCable(QList<DeviceAllInfo>& list, int modelCount)
{
    // One slot per listed model plus the unlisted slot, in each of the five categories.
    const int slotCount = qMax(0, modelCount) + 1;
    QVector<int> counts(5 * slotCount, 0);
    for (const DeviceAllInfo& record : list) {
        const int category = choiceCategory(record);
        if (category < 0 || record.modelIndex < 0 || record.modelIndex >= slotCount)
            continue;
        ++counts[category * slotCount + record.modelIndex];
    }
    for (int count : counts) {
        if (count > 1)
            return true;
    }
    for (int model = 0; model < modelCount; ++model) {
        if (counts[model] != 1)
            continue;
        for (int i = list.size() - 1; i >= 0; --i) {
            if (list.at(i).modelIndex == model && list.at(i).cableFlag == 0)
                list.removeAt(i);
        }
    }
    return false;
}
