#include "device/DataLink.h"

#include "common/BlockingDelivery.h"
#include "device/DataCallback.h"
#include "device/WorkingImage.h"

#include "HIDUsb.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <memory>

namespace {

std::atomic<unsigned> generation{0};
std::atomic<unsigned> closes{0};

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
    SetWorkingImageLoaded(false);
    ++generation;
    const auto scope = scopeOnGuiThread();
    return UsbServerC_Start(path.constData(), path.constData(), OnUsbData);
}

void CloseDataLink()
{
    SetWorkingImageLoaded(false);
    ++generation;
    ++closes;
    const auto scope = scopeOnGuiThread();
    UsbServer_Exit();
}

int OpenPairingLink(const QByteArray& path, UsbDataCallback callback)
{
    SetWorkingImageLoaded(false);
    ++generation;
    ++closes;
    const auto scope = scopeOnGuiThread();
    return UsbServerC_Start(path.constData(), path.constData(), callback);
}

unsigned DataLinkGeneration()
{
    return generation.load();
}

unsigned DataLinkCloseCount()
{
    return closes.load();
}
