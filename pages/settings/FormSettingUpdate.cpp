// The settings page's firmware update: the two update buttons start a check that a 1000 ms
// timer moves through its steps; the library's status callback (device/FirmwareUpgrade)
// reports progress and the outcome.
#include "pages/settings/FormSetting.h"

#include "ui_FormSetting.h"

#include "common/DialogFrame.h"
#include "common/PostMsg.h"
#include "common/ProgramWaits.h"
#include "common/TraceLog.h"
#include "common/UserConfig.h"
#include "device/DataCallback.h"
#include "device/DeviceRecords.h"
#include "device/FirmwareFiles.h"
#include "device/FirmwareUpgrade.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "dialogs/Progress.h"
#include "dialogs/UpDateWarning.h"

#include <QDebug>
#include <QTimer>

namespace {

// The progress dialog and the warning stand this far left of and above the page's centre.
constexpr int DialogShiftLeft = 75;
constexpr int DialogShiftUp = 65;

QString catalogueValue(const QString& group, const char* key)
{
    return UserConfig::instance()->value(group, QLatin1String(key));
}

}  // namespace

void FormSetting::on_Mouse_clicked()
{
    startUpdateCheck(true);
}

void FormSetting::on_Receive_clicked()
{
    startUpdateCheck(false);
}

void FormSetting::startUpdateCheck(bool mouse)
{
    DongleType = CurrentDeviceVersions(CurrentDeviceRecord(), MainPageDeviceList).receiverType;
    uint8_t& latest = mouse ? MouseLatestVersion : DongleLatestVersion;
    const uint8_t otherCheck = mouse ? DongleCheckTimerEnable : MouseCheckTimerEnable;
    QToolButton* button = mouse ? ui->Mouse : ui->Receive;
    if (DongleUpdate.load() != UpdateRunning && MouseUpdate.load() != UpdateRunning && latest == 0 && otherCheck == 0) {
        ui->Mouse->setEnabled(false);
        ui->Receive->setEnabled(false);
        if (ManualUpdateActive.load() == 0)
            ManualUpdateActive = 1;
        UpdateStep = 0;
        SetVer(mouse ? 2 : 1);
        SetVer(mouse ? 1 : 2);
        FirmwareIdle = 0;
        QTimer* timer = mouse ? MouseCheckTimer : ReceiverCheckTimer;
        timer->start(ProgramWaits::scaled(CheckTimerMs));
        (mouse ? MouseCheckTimerEnable : DongleCheckTimerEnable) = 1;
    } else if (latest == 1) {
        button->setText(VerNewText);
        setUpdateStyle(button, false);
    }
}

void FormSetting::onDongleCheckTimer()
{
    CheckVersion(UpdateStep, FirmwareFiles::ReceiverKind, ui->label_5->text());
}

void FormSetting::onMouseCheckTimer()
{
    CheckVersion(UpdateStep, FirmwareFiles::MouseKind, ui->label_7->text());
}

bool FormSetting::findUpdateImage(int kind, const QString& version, const QString& modelName, bool* refused)
{
    bool skipped = false;
    const bool found = FirmwareFiles::FindFirmwareFile(
        FirmwareFiles::BinFolder(), FirmwareImages,
        {uint8_t(kind), version, modelName, uint8_t(UpdateCID.load()), uint8_t(UpdateMID.load())}, &skipped);
    *refused = *refused || (!found && skipped);
    return found;
}

void FormSetting::CheckVersion(int step, int kind, QString deviceVersion)
{
    const bool mouse = kind == FirmwareFiles::MouseKind;
    std::atomic<int>& state = mouse ? MouseUpdate : DongleUpdate;
    const DeviceAllInfo current = CurrentDeviceRecord();
    const QString group = CatalogueModelGroup(current.modelIndex);
    bool refused = false;

    switch (step) {
    case 0: {
        UpdateCID = catalogueValue(QStringLiteral("Option"), "CID").toInt();
        UpdateMID = catalogueValue(group, "MID").toInt();
        bool found = false;
        if (mouse) {
            found = findUpdateImage(kind, deviceVersion, catalogueValue(group, "MM"), &refused);
        } else {
            ReceiverPaths.clear();
            // Any matching receiver image will do here (no version given); step 1 compares.
            const QString key = FirmwareFiles::ReceiverModelKey(DongleType.load());
            const QString name = key.isEmpty() ? QString() : UserConfig::instance()->value(group, key);
            if (key == QLatin1String("DM") || !name.isEmpty())
                found = findUpdateImage(kind, QString(), name, &refused);
            if (found) {
                int count = 5;
                const QByteArray& image = FirmwareImages.first();
                UsbUpgradeC_FindBootDevices(reinterpret_cast<const uint8_t*>(image.constData()),
                                            uint32_t(image.size()), &count);
                qCDebug(kavroTrace) << "receivers waiting in boot mode:" << count;
            }
            for (const DeviceAllInfo& r : MainPageDeviceList) {
                if (r.cableFlag != 0)
                    continue;
                if (current.cableFlag != 0)
                    ReceiverPaths << r.path;
                else if (r.path == current.path)
                    ReceiverPaths << current.path;
            }
        }
        if (!found && refused)
            refuseUpdate(mouse, 3);
        else if (!found && DongleType.load() != 0)
            endUpToDate(mouse);
        else
            UpdateStep = 1;
        break;
    }
    case 1: {
        int count = 0;
        if (mouse) {
            for (const DeviceAllInfo& r : MainPageDeviceList)
                count += r.cableFlag != 0 ? 1 : 0;
        } else {
            count = ReceiverPaths.size();
        }
        if (count != 1) {
            refuseUpdate(mouse, count > 1 ? 2 : 1);
            break;
        }
        bool found = false;
        if (mouse) {
            found = findUpdateImage(kind, deviceVersion, catalogueValue(group, "MM"), &refused);
        } else if (DongleType.load() == 4 || DongleType.load() == 2) {
            // The receiver's own answer decides; when it does not answer, the version the page
            // shows does (an empty version would accept any image, an older one too).
            QString version = deviceVersion;
            int word = 0;
            if (UsbFinderC_GetSlaveVersion(ReceiverPaths.first().toLocal8Bit().constData(), &word))
                version = QStringLiteral("v") + FirmwareFiles::VersionText(uint32_t(word));
            const QString key = FirmwareFiles::ReceiverModelKey(DongleType.load());
            found = findUpdateImage(kind, version, UserConfig::instance()->value(group, key), &refused);
        } else {
            found = findUpdateImage(kind, deviceVersion, catalogueValue(group, "DM"), &refused);
        }
        if (found)
            startUpgrade(mouse);
        else if (refused)
            refuseUpdate(mouse, 3);
        else
            endUpToDate(mouse);
        break;
    }
    case 2:
        // The state became "running" before the library was called.
        UpdateStep = 3;
        break;
    case 3:
        if (state.load() == UpdateRunning)
            SettingsUpgradeWatchdog();
        if (state.load() != UpdateRunning)
            UpdateStep = 4;
        break;
    case 4:
        if (mouse) {
            MouseCheckTimerEnable = 0;
            ShowMouseUpdateState();
        } else {
            DongleCheckTimerEnable = 0;
            ShowDongleUpdateState();
        }
        ContinueRequested = 0;
        ReceiverCheckTimer->stop();
        MouseCheckTimer->stop();
        ManualUpdateActive = 0;
        break;
    default:
        break;
    }
}

void FormSetting::refuseUpdate(bool mouse, int noteCode)
{
    (mouse ? MouseUpdate : DongleUpdate) = UpdateRefused;
    showUpdateState(mouse);
    showNote(mouse, noteCode);
    UpdateStep = 4;
}

void FormSetting::endUpToDate(bool mouse)
{
    (mouse ? MouseUpdate : DongleUpdate) = UpdateEnded;
    showUpdateState(mouse);
    (mouse ? MouseLatestVersion : DongleLatestVersion) = 1;
    UpdateStep = 4;
}

void FormSetting::startUpgrade(bool mouse)
{
    const QByteArray image = FirmwareImages.value(0);
    FirmwareFiles::FirmwareHeader header;
    if (!FirmwareFiles::ReadHeader(image, &header)) {
        refuseUpdate(mouse, 3);  // the search never holds one, but nothing unchecked is sent
        return;
    }
    const int kind = mouse ? FirmwareFiles::MouseKind : FirmwareFiles::ReceiverKind;
    UpdateKind = kind;
    placeCentred(m_progress, this, DialogShiftLeft, DialogShiftUp);
    m_progress->setModal(true);
    PostMsg::instance()->SendProgress(0, 3);
    m_progress->show();

    // Running before the library is called: a final report may come before the next tick.
    (mouse ? MouseUpdate : DongleUpdate) = UpdateRunning;
    const QString mouseValue =
        mouse ? MouseVersionValueName(catalogueValue(QStringLiteral("Option"), "CID"),
                                      catalogueValue(CatalogueModelGroup(CurrentDeviceRecord().modelIndex), "MID"))
              : QString();
    BeginSettingsUpgrade(image, QStringLiteral("v") + FirmwareFiles::VersionText(header.version), mouseValue);
    UsbUpgrade_Start(reinterpret_cast<const uint8_t*>(image.constData()), uint32_t(image.size()), OnUpgradeStatus,
                     10000);
    UpdateStep = 2;
}

QString FormSetting::noteText(bool mouse, int noteCode) const
{
    switch (noteCode) {
    case 1: return mouse ? WiredModeText : NoDeviceText;
    case 2: return SameDeviceText;
    case 3: return BadFileText;
    default: return QString();
    }
}

void FormSetting::showNote(bool mouse, int noteCode)
{
    const QString text = noteText(mouse, noteCode);
    if (ContinueRequested) {
        m_warning->SetText(text);
        placeCentred(m_warning, this, DialogShiftLeft, DialogShiftUp);
        m_warning->setModal(true);
        m_warning->show();
        ContinueRequested = 0;
        return;
    }
    (mouse ? ui->toolButton_3 : ui->toolButton_2)->show();
    QLabel* label = mouse ? ui->label_13 : ui->label_12;
    label->setText(text);
    label->show();
    (mouse ? MouseNoteCode : ReceiverNoteCode) = noteCode;
}

void FormSetting::ShowDongleUpdateState()
{
    showUpdateState(false);
}

void FormSetting::ShowMouseUpdateState()
{
    showUpdateState(true);
}

void FormSetting::showUpdateState(bool mouse)
{
    FirmwareIdle = 1;
    const int state = (mouse ? MouseUpdate : DongleUpdate).load();
    QToolButton* button = mouse ? ui->Mouse : ui->Receive;
    if (state == UpdateEnded || state == UpdateSucceeded || state == UpdateRunning)
        SetVer(mouse ? 2 : 1);
    if (state == UpdateEnded) {
        button->setText(VerNewText);
        setUpdateStyle(button, false);
    } else if (state == UpdateSucceeded) {
        RemoveFailRecord();
        setUpdateStyle(button, false);
        (mouse ? MouseNewFirmware : ReceiverUpdateAvailable) = 0;
    } else if (state == UpdateRunning) {
        RemoveFailRecord();
    }
    ui->Mouse->setEnabled(true);
    ui->Receive->setEnabled(true);
    UpdateStep = 4;
}

void FormSetting::finishEndedCheck()
{
    // Steps 3 and 4 still to run once the outcome is known; at most two ticks.
    for (int tick = 0; tick < 2; ++tick) {
        if (ReceiverCheckTimer->isActive() && UpdateStep >= 3 && DongleUpdate.load() != UpdateRunning)
            onDongleCheckTimer();
        else if (MouseCheckTimer->isActive() && UpdateStep >= 3 && MouseUpdate.load() != UpdateRunning)
            onMouseCheckTimer();
    }
}

void FormSetting::SlotContinue(int)
{
    // The confirm may come before the check's timer ran its last steps; without this the
    // other device's update would be refused as "a check still runs".
    finishEndedCheck();
    const int receiverState = DongleUpdate.load();
    if (MouseNewFirmware.load() != 0 && (receiverState == UpdateSucceeded || receiverState == UpdateEnded)) {
        ContinueRequested = 1;
        on_Mouse_clicked();
    }
    const int mouseState = MouseUpdate.load();
    if (ReceiverUpdateAvailable.load() != 0 && (mouseState == UpdateSucceeded || mouseState == UpdateEnded)) {
        ContinueRequested = 1;
        on_Receive_clicked();
    }
}
