#include "device/DataLink.h"

#include "common/BlockingDelivery.h"
#include "device/CurrentDevice.h"
#include "device/DataCallback.h"
#include "device/DeviceCache.h"
#include "device/WorkingImage.h"

#include "HIDUsb.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <memory>
#include <mutex>

namespace {

std::atomic<unsigned> closes{0};
std::mutex askLock;
FullReadAsk lastAsk;
std::atomic<unsigned> imagesSent{0};
unsigned reaskedIn = ~0u;

// Only the GUI thread serves the blocking deliveries; a device thread waiting here would
// make every delivery give up for nothing.
std::unique_ptr<BlockingDelivery::WaitScope> scopeOnGuiThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread())
        return std::make_unique<BlockingDelivery::WaitScope>();
    return nullptr;
}

}  // namespace

int OpenDataLink(const QByteArray& path)
{
    WorkingImageLinkOpened(path);
    const auto scope = scopeOnGuiThread();
    return UsbServerC_Start(path.constData(), path.constData(), OnUsbData);
}

void CloseDataLink()
{
    WorkingImageLinkClosed();
    // The program is done with this mouse for now: its cache holds all it took.
    FlushDeviceCache();
    ++closes;
    const auto scope = scopeOnGuiThread();
    UsbServer_Exit();
}

int OpenPairingLink(const QByteArray& path, UsbDataCallback callback)
{
    // The pairing link replaces the data link: as a close, the image is no longer loaded and
    // no full read is asked of it until the data link opens again.
    WorkingImageLinkClosed();
    ++closes;
    const auto scope = scopeOnGuiThread();
    return UsbServerC_Start(path.constData(), path.constData(), callback);
}

unsigned DataLinkGeneration()
{
    return WorkingImageLinkGeneration();
}

unsigned DataLinkCloseCount()
{
    return closes.load();
}

void RequestFullRead()
{
    {
        std::lock_guard<std::mutex> lock(askLock);
        const unsigned generation = DataLinkGeneration();
        const DeviceAllInfo device = CurrentDeviceRecord();
        if (!WorkingImageLinkCurrent() || DataLinkGeneration() != generation)
            return;
        lastAsk.generation = generation;
        lastAsk.cacheName = DeviceCacheFileName(device.cid, device.mid);
        lastAsk.imagesSent = imagesSent.load();
        lastAsk.runRequests = RunRequests();
    }
    UsbServer_ReadAllFlashData();
}

void NoteImageSent()
{
    ++imagesSent;
}

unsigned ImagesSent()
{
    return imagesSent.load();
}

FullReadAsk LastFullReadAsk()
{
    std::lock_guard<std::mutex> lock(askLock);
    return lastAsk;
}

bool RequestFullReadOncePerLink()
{
    {
        std::lock_guard<std::mutex> lock(askLock);
        const unsigned generation = DataLinkGeneration();
        if (reaskedIn == generation || !WorkingImageLinkCurrent())
            return false;
        reaskedIn = generation;
    }
    RequestFullRead();
    return true;
}
