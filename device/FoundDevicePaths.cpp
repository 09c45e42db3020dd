#include "device/FoundDevicePaths.h"

#include "device/DeviceRecords.h"

#include "HIDUsb.h"

#include <QtGlobal>

QStringList CopyFoundPaths(char** found, int count, PathEncoding encoding)
{
    QStringList paths;
    if (!found)
        return paths;
    for (int i = 0; i < qBound(0, count, MaxPathsPerId); ++i) {
        if (found[i])
            paths.append(encoding == PathEncoding::Utf8 ? QString::fromUtf8(found[i]) : QString::fromLocal8Bit(found[i]));
    }
    return paths;
}

DeviceAllInfo RecordForFoundPath(const QString& path, const QString& vendorId, const QString& productId,
                                 PathEncoding encoding)
{
    DeviceAllInfo record;
    record.path = path;
    record.vendorId = vendorId;
    record.productId = productId;
    UsbDeviceAttribute attribute{};
    const QByteArray bytes = encoding == PathEncoding::Utf8 ? path.toUtf8() : path.toLocal8Bit();
    UsbFinderC_GetUsbDeviceAttribute(bytes.constData(), &attribute);
    record.firmwareVersion = FormatVersionText(attribute.bytes[8] | (attribute.bytes[9] << 8));
    return record;
}
