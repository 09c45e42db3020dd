#include "device/FirmwareUpgrade.h"

#include "common/PostMsg.h"
#include "common/ProgramWaits.h"
#include "common/Registry.h"
#include "device/DataCallback.h"
#include "device/FirmwareFiles.h"
#include "device/SharedFlags.h"

#include <QMutex>
#include <QMutexLocker>

#include <chrono>

std::atomic<int> DongleUpdate{UpdateRefused};
std::atomic<int> MouseUpdate{UpdateRefused};
std::atomic<int> DongleType{0};
std::atomic<int> UpdateKind{0};
std::atomic<int> UpdateMID{0};
std::atomic<uint8_t> RepairBusy{0};

namespace {

const QString FailRecordName = QStringLiteral("UpdateFailInfo");

QString registryKey()
{
    return QString::fromLatin1(MouseVersionRegistryKey);
}

qint64 nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// One started upgrade: ended by its final report or by the watchdog, whichever comes first.
class UpgradeWatch {
public:
    void start()
    {
        m_lastReport = nowMs();
        m_state = Running;
    }
    void reported() { m_lastReport = nowMs(); }
    // The final report arrived: true when it ends the upgrade.
    bool finishByReport()
    {
        int running = Running;
        return m_state.compare_exchange_strong(running, Finished);
    }
    // True when the upgrade was running and nothing was reported for the watchdog time.
    bool finishByWatchdog()
    {
        if (m_state.load() != Running || nowMs() - m_lastReport.load() < ProgramWaits::scaled(UpgradeWatchdogMs))
            return false;
        int running = Running;
        return m_state.compare_exchange_strong(running, TimedOut);
    }
    bool running() const { return m_state.load() == Running; }
    bool timedOut() const { return m_state.load() == TimedOut; }

private:
    enum { Idle, Running, Finished, TimedOut };
    std::atomic<int> m_state{Idle};
    std::atomic<qint64> m_lastReport{0};
};

UpgradeWatch g_settingsWatch;
UpgradeWatch g_repairWatch;

QMutex g_textsLock;
QString g_versionText;        // guarded by g_textsLock
QString g_mouseVersionValue;  // guarded by g_textsLock
QStringList g_repairRecord;   // guarded by g_textsLock
// The images last handed to the library: their bytes stay valid while it flashes. GUI thread.
QByteArray g_settingsImage;
QByteArray g_repairImage;

enum class Report { Ignored, Progress, Success, Failure };

Report decode(const uint8_t* status)
{
    if (!status || status[0] != 7)
        return Report::Ignored;
    if (status[1] == 1)
        return Report::Progress;
    if (status[1] == 2)
        return status[2] == 1 ? Report::Success : Report::Failure;
    return Report::Ignored;
}

// A settings-page upgrade failed (reported or timed out): the record for the repair.
void failSettingsUpgrade()
{
    MouseNewFirmware = 0;
    ReceiverUpdateAvailable = 0;
    int running = UpdateRunning;
    DongleUpdate.compare_exchange_strong(running, UpdateFailed);
    running = UpdateRunning;
    MouseUpdate.compare_exchange_strong(running, UpdateFailed);
    PostMsg::instance()->SendProgress(0, 1);
    WriteFailRecord(QStringLiteral("%1,%2,%3,%4")
                        .arg(UpdateKind.load())
                        .arg(DongleType.load())
                        .arg(UpdateCID.load())
                        .arg(UpdateMID.load()));
}

// The dialog's slots run queued: the shared values and the record are final before they run.
void failRepair()
{
    const QStringList record = RepairFailRecord();
    if (!record.isEmpty())
        WriteFailRecord(record.join(QLatin1Char(',')));
    FirmwareIdle = 1;
    RepairBusy = 0;
    PostMsg::instance()->SendAutoRepair(1);
    PostMsg::instance()->SendUpDateButton(false);
}

}  // namespace

QString ReadFailRecord()
{
    return Registry::value(registryKey(), FailRecordName).toString();
}

void WriteFailRecord(const QString& record)
{
    Registry::setValue(registryKey(), FailRecordName, record);
}

void RemoveFailRecord()
{
    Registry::remove(registryKey(), FailRecordName);
}

QStringList ParseFailRecord(const QString& record)
{
    const QStringList fields = record.split(QLatin1Char(','));
    if (fields.size() != 4)
        return {};
    for (const QString& field : fields) {
        // Plain decimal digits, short enough for an int.
        if (field.isEmpty() || field.size() > 9)
            return {};
        for (const QChar c : field) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return {};
        }
    }
    return fields;
}

QStringList RepairFailRecord()
{
    QMutexLocker lock(&g_textsLock);
    return g_repairRecord;
}

void SetRepairFailRecord(const QStringList& fields)
{
    QMutexLocker lock(&g_textsLock);
    g_repairRecord = fields;
}

void BeginSettingsUpgrade(const QByteArray& image, const QString& versionText, const QString& mouseVersionValue)
{
    g_settingsImage = image;
    {
        QMutexLocker lock(&g_textsLock);
        g_versionText = versionText;
        g_mouseVersionValue = mouseVersionValue;
    }
    g_settingsWatch.start();
}

void OnUpgradeStatus(uint8_t* status)
{
    const Report report = decode(status);
    if (report == Report::Ignored)
        return;
    g_settingsWatch.reported();
    PostMsg* hub = PostMsg::instance();
    if (report == Report::Progress) {
        if (!g_settingsWatch.running())
            return;
        if (DongleUpdate.load() == UpdateRunning)
            hub->SendProgress(status[2], 0);
        if (MouseUpdate.load() == UpdateRunning)
            hub->SendProgress(status[2], 0);
        return;
    }
    if (!g_settingsWatch.finishByReport()) {
        // After the watchdog gave up: a late success means the device is fine after all.
        if (report == Report::Success && g_settingsWatch.timedOut())
            RemoveFailRecord();
        return;
    }
    if (report == Report::Failure) {
        failSettingsUpgrade();
        return;
    }
    QString text;
    QString mouseValue;
    {
        QMutexLocker lock(&g_textsLock);
        text = g_versionText;
        mouseValue = g_mouseVersionValue;
    }
    int running = UpdateRunning;
    if (DongleUpdate.compare_exchange_strong(running, UpdateSucceeded)) {
        hub->SendProgress(0, 2);
        hub->SendLabelText(0, text);
    }
    running = UpdateRunning;
    if (MouseUpdate.compare_exchange_strong(running, UpdateSucceeded)) {
        if (!mouseValue.isEmpty())
            Registry::setValue(registryKey(), mouseValue, text);
        hub->SendProgress(0, 2);
        hub->SendLabelText(1, text);
    }
    RemoveFailRecord();
}

bool SettingsUpgradeWatchdog()
{
    if (!g_settingsWatch.finishByWatchdog())
        return false;
    failSettingsUpgrade();
    return true;
}

void BeginRepairUpgrade(const QByteArray& image)
{
    g_repairImage = image;
    RepairBusy = 0;
    g_repairWatch.start();
}

void OnRepairStatus(uint8_t* status)
{
    const Report report = decode(status);
    if (report == Report::Ignored)
        return;
    g_repairWatch.reported();
    if (report == Report::Progress) {
        if (!g_repairWatch.running())
            return;
        RepairBusy = 1;
        PostMsg::instance()->SendAutoRepairProgress(status[2]);
        return;
    }
    if (!g_repairWatch.finishByReport()) {
        if (report == Report::Success && g_repairWatch.timedOut())
            RemoveFailRecord();
        return;
    }
    if (report == Report::Failure) {
        failRepair();
        return;
    }
    RemoveFailRecord();
    FirmwareIdle = 1;
    RepairBusy = 0;
    PostMsg::instance()->SendAutoRepair(0);
    PostMsg::instance()->SendUpDateButton(true);
}

bool RepairUpgradeRunning()
{
    return g_repairWatch.running();
}

bool RepairUpgradeWatchdog()
{
    if (!g_repairWatch.finishByWatchdog())
        return false;
    failRepair();
    return true;
}
