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
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>

namespace {

constexpr quint32 ImageSize = sizeof(FlashDataMap);
constexpr qint64 FileSize = 4 + ImageSize;

QString hexByte(uint8_t value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

std::atomic<int> cacheFills{0};

// The cache writes owed, each the latest image a mouse took, by the file's whole path (a change
// of the per-user folder meanwhile does not move it).
struct OwedWrites {
    std::mutex flushing;  // one flush at a time: an older image never lands after a newer one
    std::mutex lock;      // the fields below
    std::map<QString, FlashDataMap> images;
    bool flushComing = false;  // a flush is posted to the GUI thread or its timer runs
    QElapsedTimer sinceWrite;  // since the last flush that wrote
};

OwedWrites& owed()
{
    static OwedWrites writes;
    return writes;
}

// Takes the loaded mouse's image as owed to its cache file; false without one.
bool oweLoadedImage(OwedWrites& writes)
{
    const QString name = LoadedCacheName();
    FlashDataMap image;
    if (name.isEmpty() || !ChangeLoadedWorkingImage([](FlashDataMap&) {}, &image))
        return false;
    writes.images[DeviceCacheFolder() + name] = image;
    return true;
}

bool writeCacheFile(const QString& path, const FlashDataMap& image)
{
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
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

// On the GUI thread: the owed writes go at once after a quiet spell, else when the gap since
// the last write has passed.
void scheduleFlush()
{
    QCoreApplication* app = QCoreApplication::instance();
    static QPointer<QCoreApplication> quitHooked;
    if (quitHooked != app) {
        quitHooked = app;
        QObject::connect(app, &QCoreApplication::aboutToQuit, app, [] { FlushDeviceCache(); });
    }
    qint64 wait = 0;
    {
        OwedWrites& writes = owed();
        std::lock_guard<std::mutex> lock(writes.lock);
        if (writes.sinceWrite.isValid())
            wait = std::max<qint64>(0, CacheWriteGapMs - writes.sinceWrite.elapsed());
    }
    QTimer::singleShot(int(wait), app, [] {
        {
            OwedWrites& writes = owed();
            std::lock_guard<std::mutex> lock(writes.lock);
            writes.flushComing = false;
        }
        FlushDeviceCache();
    });
}

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
    const QString path = DeviceCacheFolder() + name;
    {
        OwedWrites& writes = owed();
        // After a flush under way: the file holds what it wrote.
        std::lock_guard<std::mutex> flushed(writes.flushing);
        std::lock_guard<std::mutex> lock(writes.lock);
        const auto it = writes.images.find(path);
        if (it != writes.images.end()) {
            *out = it->second;
            return true;
        }
    }
    const CheckedFile::Result file = CheckedFile::read(path, FileSize);
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
    return writeCacheFile(DeviceCacheFolder() + name, image);
}

bool WriteLoadedCacheFile()
{
    bool loaded = false;
    {
        OwedWrites& writes = owed();
        std::lock_guard<std::mutex> lock(writes.lock);
        loaded = oweLoadedImage(writes);
    }
    return FlushDeviceCache() && loaded;
}

void CacheFollowsMouse()
{
    QCoreApplication* app = QCoreApplication::instance();
    {
        OwedWrites& writes = owed();
        // Taken under the lock: of two changes on two threads, the later one stays owed.
        std::lock_guard<std::mutex> lock(writes.lock);
        if (!oweLoadedImage(writes) || !app || writes.flushComing)
            return;
        writes.flushComing = true;
    }
    // A lambda without captures: the queued call carries no data from this thread to the GUI
    // thread that only Qt's own (uninstrumented) locking would hand over.
    QMetaObject::invokeMethod(app, [] { scheduleFlush(); }, Qt::QueuedConnection);
}

bool FlushDeviceCache()
{
    OwedWrites& writes = owed();
    std::lock_guard<std::mutex> flushing(writes.flushing);
    std::map<QString, FlashDataMap> images;
    {
        std::lock_guard<std::mutex> lock(writes.lock);
        images.swap(writes.images);
        if (!images.empty())
            writes.sinceWrite.start();
    }
    bool written = true;
    for (const auto& image : images)
        written = writeCacheFile(image.first, image.second) && written;
    return written;
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
