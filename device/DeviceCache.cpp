#include "device/DeviceCache.h"

#include "common/AppPaths.h"
#include "common/CheckedFile.h"
#include "device/CurrentDevice.h"
#include "device/DataLink.h"
#include "device/WorkingImage.h"

#include "HIDUsb.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QSaveFile>

#include <atomic>
#include <cstring>

namespace {

constexpr quint32 ImageSize = sizeof(FlashDataMap);
constexpr qint64 FileSize = 4 + ImageSize;

QString hexByte(uint8_t value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

std::atomic<bool> cacheWriteDue{false};
std::atomic<int> cacheFills{0};

}  // namespace

QString DeviceCacheFolder()
{
    return AppPaths::userDataDir() + QStringLiteral("/Device_Info/");
}

QString DeviceIdText(uint8_t cid, uint8_t mid)
{
    return QStringLiteral("CID") + hexByte(cid) + QStringLiteral("_MID") + hexByte(mid);
}

QString DeviceCacheFileName(uint8_t cid, uint8_t mid)
{
    return QStringLiteral("Device_") + DeviceIdText(cid, mid) + QStringLiteral(".bin");
}

bool ReadDeviceInfoFile(QString name, FlashDataMap* out)
{
    if (name.isEmpty() || !out)
        return false;
    const CheckedFile::Result file = CheckedFile::read(DeviceCacheFolder() + name, FileSize);
    if (!file.ok() || file.bytes.size() != FileSize)
        return false;
    QDataStream stream(file.bytes);
    quint32 length = 0;
    stream >> length;
    if (stream.status() != QDataStream::Ok || length != ImageSize)
        return false;
    std::memcpy(out, file.bytes.constData() + 4, ImageSize);
    return true;
}

bool WriteDeviceInfoFile(QString name, const FlashDataMap& image)
{
    if (name.isEmpty())
        return false;
    QDir().mkpath(DeviceCacheFolder());
    QSaveFile file(DeviceCacheFolder() + name);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream stream(&file);
    stream.writeBytes(reinterpret_cast<const char*>(&image), ImageSize);
    if (stream.status() != QDataStream::Ok) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool WriteLoadedCacheFile()
{
    const QString name = LoadedCacheName();
    if (name.isEmpty() || !WorkingImageLoaded())
        return false;
    return WriteDeviceInfoFile(name, WorkingImageCopy());
}

void CacheFollowsMouse()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || cacheWriteDue.exchange(true))
        return;
    QMetaObject::invokeMethod(
        app,
        [] {
            cacheWriteDue = false;
            WriteLoadedCacheFile();
        },
        Qt::QueuedConnection);
}

bool SendImageToMouse(FlashDataMap* image)
{
    // Counted before it goes: a full read asked from here on sees the mouse with it.
    NoteImageSent();
    if (ProtocolDataUpdate(image) != 1)
        return false;
    CacheFollowsMouse();
    return true;
}

CacheFill::CacheFill()
{
    ++cacheFills;
}

CacheFill::~CacheFill()
{
    --cacheFills;
}

bool CacheFill::running()
{
    return cacheFills.load() > 0;
}
