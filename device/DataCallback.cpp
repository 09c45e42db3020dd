#include "device/DataCallback.h"

#include "common/PostMsg.h"
#include "common/Registry.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DataLink.h"
#include "device/DeviceCache.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"

#include <QDebug>
#include <QStringList>

#include <chrono>
#include <cstring>
#include <mutex>

const char* const MouseVersionRegistryKey = "HKEY_CURRENT_USER\\Software\\Trelm\\Trelm\\Mouse Drive Test";

QString MouseVersionValueName(const QString& cidText, const QString& midText)
{
    return QStringLiteral("MouseVer") + cidText + midText;
}

std::atomic<int> ShowBatteryValue{0};
std::atomic<unsigned> FullLoadCount{0};
BatteryStatus LastBatteryStatus{};
DeviceStatusFlags LastDeviceStatus{};

namespace {

std::atomic<long long> throttleStartMs{0};
// A full load's count and its LoadFinished, and a run's check of that count and its own
// LoadFinished, each happen as one step; so do a run request and a full load's clearing of it.
std::mutex loadFinishLock;
unsigned runRequests = 0;  // guarded by loadFinishLock

long long nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QByteArray receiverPath(const DeviceAllInfo& device)
{
    return device.path.toLatin1();
}

// The key records the catalogue does not keep are cleared: the combination records of
// every button whose "KeyParam" list does not start with "0x05", and every macro record.
void reconcileKeyRecords(FlashDataMap& image, const QString& group)
{
    QList<int> keptSlots;
    for (int i = 1; i <= 6; ++i) {
        const QStringList params = UserConfig::instance()->valueList(group, QStringLiteral("KeyParam") + QString::number(i));
        if (!params.isEmpty() && params.first().trimmed() == QLatin1String("0x05"))
            keptSlots.append(i - 1);
    }
    for (int button = 0; button < 16; ++button) {
        if (!keptSlots.contains(button))
            std::memset(&image.combos[button], 0, sizeof image.combos[button]);
    }
    std::memset(image.macros, 0, sizeof image.macros);
}

void fullLoad(uint8_t* data)
{
    // A full answer belongs to the link generation it was asked in: after a change of link or
    // device it describes another mouse (or the same mouse before a change) and is dropped.
    const FullReadAsk ask = LastFullReadAsk();
    if (ask.generation != DataLinkGeneration())
        return;
    // Read before the program's latest write reached the mouse: asked again, so that only an
    // answer holding that write fills the pages.
    if (ask.imagesSent != ImagesSent()) {
        RequestFullRead();
        return;
    }
    FlashDataMap image = ParseFullAnswer(data);

    const DeviceAllInfo device = CurrentDeviceRecord();
    if (ReconcilePending.exchange(0))
        reconcileKeyRecords(image, CatalogueModelGroup(device.modelIndex));
    if (!LoadWorkingImageFromLink(image, ask.generation))
        return;
    SetLoadedCacheName(ask.cacheName);
    CacheFollowsMouse();

    UsbServer_ReadDPILed();
    UsbServer_ReadBatteryLevel();
    UsbServer_ReadVersion();
    UsbServer_ReadConfig();

    if (!SkipReceiverRead.load()) {
        const QByteArray path = receiverPath(device);
        if (device.cableFlag != 1 && device.kind == 1) {
            DongleRGB light = ReceiverLightCopy();
            UsbFinderC_Get4KDongleRGBValue(path.constData(), &light);
            SetReceiverLight(light);
            if (light.bytes[0] != 0)
                PostMsg::instance()->SendRGBValue(&light);
        }
        uint8_t longRange = 's';
        UsbFinderC_GetLongRangeMode(path.constData(), &longRange);
        // Both states are shown: a receiver that answers "off" must not keep the tick of the
        // receiver shown before it.
        if (longRange != 's')
            PostMsg::instance()->SendLongRangeMode(longRange != 0);
    }
    SkipReceiverRead = 0;

    LightPageReady = 0;
    SensorPageReady = 0;
    ButtonPageReady = 0;
    PostMsg::instance()->SendUpDataLightUIButton(WorkingImageCopy());
    PostMsg::instance()->SendUpDataLightLight(WorkingImageCopy());
    PostMsg::instance()->SendUpDataLightSensor(WorkingImageCopy());
    PostMsg::instance()->SendForm();

    {
        std::lock_guard<std::mutex> lock(loadFinishLock);
        ++FullLoadCount;
        LoadFinished = 1;
        if (ask.runRequests == runRequests)
            RunRequested = 0;
    }
}

// A short answer that changes one byte of the image. The image goes back to the mouse only
// when it holds this mouse's configuration; otherwise zeros or another mouse's image would
// overwrite it. The signal may wait long for the GUI thread, so what is sent is copied after
// it, and only while the image is still loaded from the same, still open link: neither a
// setter's change made meanwhile is undone nor the old mouse's image handed to a new link.
template <typename Change, typename Notify>
void shortAnswer(Change change, Notify notify)
{
    const unsigned link = DataLinkGeneration();
    const QByteArray path = CurrentDevicePath();
    FlashDataMap snapshot;
    const bool loaded = ChangeLoadedWorkingImage(change, &snapshot);
    if (!loaded)
        UpdateWorkingImage(change);
    notify();
    if (!loaded)
        return;
    if (!ChangeLoadedWorkingImage([](FlashDataMap&) {}, &snapshot))
        return;
    if (DataLinkGeneration() != link || CurrentDevicePath() != path)
        return;
    SendImageToMouse(&snapshot);
}

void configurationAnswer(uint8_t command, uint8_t* data, uint32_t length)
{
    if (command == 0 && length == FullAnswerSize) {
        fullLoad(data);
    } else if (command == 0 && length == 1) {
        const uint8_t code = data[0];
        shortAnswer([code](FlashDataMap& image) { image.reportRate = code; },
                    [code] { PostMsg::instance()->SendUpDataReportRate(code); });
    } else if (command == 4 && length == 1) {
        const uint8_t level = data[0];
        shortAnswer([level](FlashDataMap& image) { image.currentDpiLevel = level; },
                    [level] { PostMsg::instance()->SendUpDataDPI(level); });
    } else if (command == 0x4C && length == DpiLedAnswerSize) {
        UpdateWorkingImage([data](FlashDataMap& image) { BufferToDPILed(data, &image.dpiLightMode); });
        PostMsg::instance()->SendUpDataDPILed(WorkingImageCopy());
    } else if (command == 0xA0 && length == LedBarAnswerSize) {
        UpdateWorkingImage([data](FlashDataMap& image) { BufferToLedBar(data, &image.lightEffect); });
        PostMsg::instance()->SendUpDataLightLight(WorkingImageCopy());
    }
}

void receiverReapply()
{
    const DeviceAllInfo device = CurrentDeviceRecord();
    const QStringList advanced = UserConfig::instance()->valueList(CatalogueModelGroup(device.modelIndex), QStringLiteral("Adveanced"));
    // A catalogue entry with fewer than two values asks for no re-apply.
    if (advanced.size() >= 2) {
        bool ok = false;
        int longRange = advanced.at(0).trimmed().toInt(&ok);
        if (!ok)
            longRange = -1;
        const int light = advanced.at(1).trimmed().toInt();
        const QByteArray path = receiverPath(device);
        if (light > 0 && device.cableFlag != 1 && device.kind == 1) {
            DongleRGB record = ReceiverLightCopy();
            record.bytes[0] = uint8_t(light);
            UsbFinderC_Set4KDongleRGB(path.constData(), &record);
            SetReceiverLight(record);
            if (record.bytes[0] != 0)
                PostMsg::instance()->SendRGBValue(&record);
        }
        if (longRange == 0 || longRange == 1) {
            UsbFinderC_SetLongRangeMode(path.constData(), uint8_t(longRange));
            PostMsg::instance()->SendLongRangeMode(longRange == 1);
        }
    }
    // Set before the read: its answer may come back before the next statement runs.
    ReconcilePending = 1;
    SkipReceiverRead = 1;
    RequestFullRead();
}

void mouseVersion()
{
    const DeviceAllInfo device = CurrentDeviceRecord();
    const QByteArray path = CurrentDevicePath();
    const QString text = FormatVersionText(UsbFinderC_GetVersion(path.constData()));
    UpdateCurrentDeviceRecord([&text](DeviceAllInfo& record) { record.mouseVersion = text; });
    PostMsg::instance()->SendSetver(0);
    const QString cidText = UserConfig::instance()->value(QStringLiteral("Option"), QStringLiteral("CID"));
    const QString midText = UserConfig::instance()->value(CatalogueModelGroup(device.modelIndex), QStringLiteral("MID"));
    const QString name = MouseVersionValueName(cidText, midText);
    Registry::setValue(QString::fromLatin1(MouseVersionRegistryKey), name, text);
}

}  // namespace

FlashDataMap ParseFullAnswer(uint8_t* data, FullAnswerParser parser)
{
    // A fresh image: whatever the parser leaves out is zero, never a previous mouse's data.
    FlashDataMap image{};
    if (data && parser)
        parser(data, &image);
    return image;
}

void FinishRunLoad(unsigned loadsBefore, uint8_t finished)
{
    std::lock_guard<std::mutex> lock(loadFinishLock);
    if (FullLoadCount.load() == loadsBefore)
        LoadFinished = finished;
}

void RequestRun()
{
    std::lock_guard<std::mutex> lock(loadFinishLock);
    ++runRequests;
    RunRequested = 1;
}

unsigned RunRequests()
{
    std::lock_guard<std::mutex> lock(loadFinishLock);
    return runRequests;
}

void RestartStatusThrottle()
{
    throttleStartMs = nowMs();
}

void OnUsbData(uint8_t* header, int headerLength, uint8_t* data, uint32_t dataLength)
{
    if (!header)
        headerLength = 0;
    if (!data)
        dataLength = 0;
    const uint8_t kind = headerLength > 1 ? header[1] : 0;
    const uint8_t sub = headerLength > 3 ? header[3] : 0;
    const uint8_t command = headerLength > 4 ? header[4] : 0;

    switch (kind) {
    case 4:
        if (dataLength < BatteryAnswerSize)
            return;
        GetDeviceBatteryStatus(data, &LastBatteryStatus);
        PostMsg::instance()->SendBattery(LastBatteryStatus.bytes[1] > 0, LastBatteryStatus.bytes[0],
                                         ShowBatteryValue.load() == 1);
        break;
    case 8:
        if (sub == 0)
            configurationAnswer(command, data, dataLength);
        break;
    case 9:
        receiverReapply();
        break;
    case 10:
        if (dataLength < StatusAnswerSize)
            return;
        GetDeviceStatusChanged(data, &LastDeviceStatus);
        OnDeviceStatusChanged();
        break;
    case 14:
        if (dataLength == 1)
            PostMsg::instance()->SendUpDataConfigUI(4, data[0], true);
        else
            PostMsg::instance()->SendUpDataConfigUI(0, 0, false);
        break;
    case 18:
        mouseVersion();
        break;
    case 21:
    {
        DongleRGB light = ReceiverLightCopy();
        PostMsg::instance()->SendRGBValue(&light);
        break;
    }
    case 23:
        if (dataLength == LongRangeDropSize)
            PostMsg::instance()->SendLongRangeMode(false);
        break;
    default:
        break;
    }
}

void OnDeviceStatusChanged()
{
    const DeviceStatusFlags flags = LastDeviceStatus;
    if (flags.bytes[0])
        UsbServer_ReadCurrentDPI();
    if (flags.bytes[1])
        UsbServer_ReadReportRate();
    if (flags.bytes[6])
        UsbServer_ReadBatteryLevel();
    if (flags.bytes[5])
        UsbServer_ReadLedBar();
    if (flags.bytes[3])
        UsbServer_ReadDPILed();
    if (flags.bytes[2]) {
        const long long now = nowMs();
        if (now - throttleStartMs.load() > StatusThrottleMs) {
            throttleStartMs = now;
            RestartWanted = 1;
            ForceReload = 1;
        }
    }
}
