#include "device/Worker.h"

#include "common/TraceLog.h"
#include "common/BlockingDelivery.h"
#include "common/PostMsg.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DataCallback.h"
#include "device/DataLink.h"
#include "device/DeviceCache.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"
#include "device/FirmwareFiles.h"

#include <QDebug>
#include <QDir>
#include <QTimer>

#include <atomic>

namespace {

std::atomic<Worker*> theWorker{nullptr};
constexpr int HotPlugSettleMs = 600;

}  // namespace

Worker::Worker(QObject* /*creatingPage*/)
{
    RunRequested = 1;
    RestartStatusThrottle();
    SetCurrentDevicePath(QByteArray());  // names no device until one is chosen
    MouseOnline = 0;
    m_closesAtOpen = DataLinkCloseCount();

    m_poll = new QTimer(this);
    connect(m_poll, &QTimer::timeout, this, &Worker::SlotCheckOnline);
    m_poll->setInterval(ProgramWaits::scaled(PollIntervalMs));
    m_poll->start();

    connect(PostMsg::instance(), SIGNAL(SigSelectMouseInfo(DeviceAllInfo)), this,
            SLOT(SlotSelectMouseInfo(DeviceAllInfo)));
    connect(PostMsg::instance(), SIGNAL(SigMainPageChange()), this, SLOT(SlotMainPageChange()));

    ShowBatteryValue = UserConfig::instance()->value(QStringLiteral("Option"), QStringLiteral("ShowBatteryValue")).toInt();
    theWorker = this;
}

Worker::~Worker()
{
    Worker* self = this;
    theWorker.compare_exchange_strong(self, nullptr);
    ClearRunRequest();
    BlockingDelivery::WaitScope scope;
    wait();
}

Worker* Worker::instance()
{
    return theWorker.load();
}

void Worker::StartRun()
{
    RequestRun();
    {
        std::lock_guard<std::mutex> lock(m_startLock);
        if (isRunning() && !m_inTail) {
            // The run under way goes round once more.
            m_startAgain = true;
            return;
        }
    }
    // At most the thread's last steps after run() are left, and they wait for nobody.
    wait();
    {
        std::lock_guard<std::mutex> lock(m_startLock);
        m_inTail = false;
    }
    start();
}

void Worker::ClearRunRequest()
{
    RunRequested = 0;
    ++m_cancels;
    std::lock_guard<std::mutex> lock(m_startLock);
    m_startAgain = false;
}

void Worker::StopPoll()
{
    m_poll->stop();
}

void Worker::StartPoll()
{
    m_poll->start();
}

void Worker::run()
{
    {
        std::lock_guard<std::mutex> lock(m_startLock);
        m_inTail = false;  // also when the thread was started without StartRun
    }
    for (;;) {
        runOnce();
        std::lock_guard<std::mutex> lock(m_startLock);
        if (!m_startAgain) {
            m_inTail = true;
            return;
        }
        m_startAgain = false;
        RunRequested = 1;
    }
}

void Worker::runOnce()
{
    if (!RunRequested.load())
        return;
    const unsigned loadsBefore = FullLoadCount.load();
    const unsigned cancelsBefore = m_cancels.load();
    // Path and record from one copy: the link opens on the path that lastPath records.
    const DeviceAllInfo current = CurrentDeviceRecord();
    const QByteArray path = current.path.toUtf8();

    if (!MouseOnline.load())
        MouseOnline = UsbFinderC_GetDeviceOnLine(path.constData()) ? 1 : 0;

    // A link closed anywhere since this Worker opened it is no longer the same link.
    const bool sameLink = current.path == lastPath && current.kind == lastKind && DataLinkCloseCount() == m_closesAtOpen
        && LoadedOnline.load() == MouseOnline.load() && !ForceReload.load();

    if (!sameLink && MainPageActive.load() == 1) {
        // The state this round acts on. The poll may see the mouse come back while the round
        // still fills the pages from the cache: the link it opens then counts as opened
        // offline, so the round the poll asks for loads the mouse with its busy dialog.
        const bool online = UsbFinderC_GetDeviceOnLine(path.constData()) != 0;
        if (online) {
            UpdateCurrentDeviceRecord([](DeviceAllInfo& record) { record.online = 1; });
            // A reset or an import that owns the busy dialog shows no second one.
            const bool forced = ForceReload.exchange(0) != 0;
            if (!NoBusyDialog.load())
                PostMsg::instance()->SendUpDataParam(forced ? 1 : 0);
        } else {
            WaitingForMouse = 1;
            UpdateCurrentDeviceRecord([](DeviceAllInfo& record) { record.online = 0; });
            FlashDataMap cached{};
            if (ReadDeviceInfoFile(ChosenCacheName(), &cached)) {
                const CacheFill fill;
                PostMsg::instance()->SendUpDataLightUIButton(cached);
                PostMsg::instance()->SendUpDataLightLight(cached);
                PostMsg::instance()->SendUpDataLightSensor(cached);
                PostMsg::instance()->SendForm();
            } else {
                PostMsg::instance()->SendFormReset();
            }
        }

        // The deliveries above may have waited long: a run cancelled, a quit begun or a
        // return to the choice page meanwhile must not open the link again. (RunRequested
        // itself is no sign: a full load of the previous link clears it too.)
        if (m_cancels.load() != cancelsBefore || BlockingDelivery::isShuttingDown())
            return;
        if (MainPageActive.load() == 1) {
            lastPath = current.path;
            lastKind = current.kind;
            m_closesAtOpen = DataLinkCloseCount();

            // The link opens anew: until the mouse's own configuration has arrived, the
            // working image must not be written to it (OpenDataLink clears its marker unless
            // the image was loaded from this same device).
            OpenDataLink(path);
            qCDebug(kavroTrace) << "OnlinA";
            UsbServer_SetPCDriverStatus(1);
            RequestFullRead();
            LoadedOnline = online ? 1 : 0;
            qCDebug(kavroTrace) << "OnlinB";
        }
    }

    // A full load that arrived meanwhile has already said how the load ended.
    FinishRunLoad(loadsBefore, MouseOnline.load());
    RunRequested = 0;
}

void Worker::SlotSelectMouseInfo(DeviceAllInfo SelectInfo)
{
    SetCurrentDeviceRecord(SelectInfo);
    // The chosen device is the one every device-side call must reach from now on; left at
    // the placeholder, the first run would find "no mouse" and serve the cache instead.
    SetCurrentDevicePath(SelectInfo.path.toUtf8());
    SetChosenCacheName(DeviceCacheFileName(SelectInfo.cid, SelectInfo.mid));
}

void Worker::SlotMainPageChange()
{
    LoadedOnline = 0;
}

void Worker::SlotCheckOnline()
{
    if (WaitingForMouse.load()) {
        if (MainPageActive.load() == 0) {
            if (CurrentDeviceRecord().kind != 0)
                WaitingForMouse = 0;
        } else if (FirmwareIdle.load()) {
            const uint8_t online = UsbFinderC_GetDeviceOnLine(CurrentDevicePath().constData()) ? 1 : 0;
            MouseOnline = online;
            LoadedOnline = 0;
            if (!online)
                return;
            PostMsg::instance()->SendCloseOffOnline();
            WaitingForMouse = 0;
            // The awaited mouse is back: load its configuration as a fresh choice does (a mouse
            // chosen while asleep has never been loaded).
            RestartWanted = 1;
        }
    }
    if (MouseOnline.load() && RestartWanted.load()) {
        RestartWanted = 0;
        StartRun();
    }
}

void SelectCurrentDevice(DeviceAllInfo r)
{
    const QByteArray path = r.path.toUtf8();
    if (UsbFinderC_GetDeviceOnLine(path.constData())) {
        SetCurrentDeviceRecord(r);
        SetCurrentDevicePath(path);
    }
    RunRequested = 1;
    if (Worker* worker = Worker::instance())
        worker->StartRun();
}

void ResumeFrameLinkAfterPairing()
{
    StartUsbChanged(OnMainPageUsbChanged, HotPlugSettleMs);
    OpenDataLink(CurrentDevicePath());
    RequestFullRead();
}

QStringList ScannedProductIds()
{
    QStringList ids;
    for (const char* key : {"USB_PID", "Wireless_PID", "Wireless2_PID", "Wireless4_PID", "Wireless8_PID"}) {
        const QStringList list = UserConfig::instance()->valueList(QStringLiteral("Option"), QString::fromLatin1(key));
        for (const QString& id : list) {
            if (!id.trimmed().isEmpty())
                ids.append(id.trimmed());
        }
    }
    return ids;
}

QString ReceiverVersionBesideCable(const QList<DeviceAllInfo>& list)
{
    if (list.size() != 2)
        return QString();
    for (const DeviceAllInfo& r : list) {
        if (!r.statusBytes.isEmpty() && r.cableFlag == 0)
            return r.firmwareVersion;
    }
    return QString();
}

void ReportReceiverFirmware(const QString& version, int receiverType)
{
    QString answer;
    if (QDir(FirmwareFiles::BinFolder()).exists()) {
        const bool newer = FirmwareFiles::CheckNewFirmware(FirmwareFiles::BinFolder(), FirmwareFiles::ReceiverKind, version,
                                                           receiverType, CurrentDeviceRecord().modelIndex);
        ReceiverUpdateAvailable = newer ? 1 : 0;
        if (newer)
            answer = QStringLiteral("true");
    }
    PostMsg::instance()->SendLabelTextB(version, answer);
}

int ReceiverTypeOfKind(int kind)
{
    switch (kind) {
    case 0: return 1;
    case 4: return 2;
    case 1: return 4;
    default: return 0;
    }
}

namespace {

// The type of the receiver beside a mouse on its cable: the first one with a status read,
// with exactly two listed devices; 0 when none qualifies.
int receiverTypeBesideCable(const QList<DeviceAllInfo>& list)
{
    if (list.size() != 2)
        return 0;
    for (const DeviceAllInfo& r : list) {
        if (!r.statusBytes.isEmpty() && r.cableFlag == 0 && ReceiverTypeOfKind(r.kind) != 0)
            return ReceiverTypeOfKind(r.kind);
    }
    return 0;
}

}  // namespace

DeviceVersions CurrentDeviceVersions(const DeviceAllInfo& current, const QList<DeviceAllInfo>& list)
{
    DeviceVersions v;
    if (current.online == 0) {
        v.receiver = current.firmwareVersion;
    } else if (current.cableFlag == 0) {
        v.receiver = current.firmwareVersion;
        v.mouse = current.mouseVersion;
    } else {
        v.receiver = ReceiverVersionBesideCable(list);
        v.mouse = current.mouseVersion;
    }
    v.receiverType = current.cableFlag == 0 ? ReceiverTypeOfKind(current.kind) : receiverTypeBesideCable(list);
    return v;
}

namespace {

bool sameMouseOtherWay(const DeviceAllInfo& r, const DeviceAllInfo& cur)
{
    return r.modelIndex == cur.modelIndex && r.cableFlag != 0 && r.online != 0 && cur.cableFlag == 0
        && r.statusBytes == cur.statusBytes;
}

// Receiver beside a mouse on the cable: its version text and type.
void reportReceiverFirmware(const QList<DeviceAllInfo>& list)
{
    ReportReceiverFirmware(ReceiverVersionBesideCable(list), receiverTypeBesideCable(list));
}

}  // namespace

void OnMainPageUsbChanged()
{
    PostMsg::instance()->SendSetver(4);

    const QStringList vendorIds = UserConfig::instance()->valueList(QStringLiteral("Option"), QStringLiteral("VID"));
    const QStringList productIds = ScannedProductIds();
    MainPageDeviceList.clear();
    // Only the vendor ids the catalogue has, at most two.
    for (int i = 0; i < qMin(2, vendorIds.size()); ++i)
        ScanDevices(vendorIds.at(i).trimmed(), productIds);

    const QList<DeviceAllInfo> list = MainPageDeviceList;
    if (list.isEmpty()) {
        if (FirmwareIdle.load()) {
            SetCurrentDeviceRecord(DeviceAllInfo());
            PostMsg::instance()->SendChangeMainDialog(0);
        }
        return;
    }

    int different = 0;
    for (const DeviceAllInfo& r : list) {
        const DeviceAllInfo cur = CurrentDeviceRecord();
        if (!cur.path.isEmpty()) {
            if (sameMouseOtherWay(r, cur))
                SelectCurrentDevice(r);
        } else if (cur.cableFlag == 0 && cur.online != 0) {
            if (sameMouseOtherWay(r, cur))
                SelectCurrentDevice(r);
        } else if (r.path == cur.path && r.online != 0) {
            SelectCurrentDevice(r);
        }

        // Compared with the current device after a possible switch, so a switch to the
        // cable is not taken for the mouse being gone.
        const QString curPath = CurrentDeviceRecord().path;
        if (r.path != curPath && !curPath.isEmpty())
            ++different;
        if (different == list.size() && !curPath.isEmpty() && FirmwareIdle.load())
            PostMsg::instance()->SendChangeMainDialog(0);
    }

    if (CurrentDeviceRecord().cableFlag != 0)
        reportReceiverFirmware(list);
}
