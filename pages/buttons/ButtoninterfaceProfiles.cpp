// The controls that act on the mouse as a whole: the onboard-profile box, the factory reset
// and the profile exchange files.
#include "pages/buttons/Buttoninterface.h"

#include "ui_Buttoninterface.h"

#include "common/DialogFrame.h"
#include "common/PostMsg.h"
#include "common/UserConfig.h"
#include "device/DataCallback.h"
#include "device/DeviceCache.h"
#include "device/DeviceRecords.h"
#include "device/ProfileFile.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "device/WorkingImage.h"
#include "dialogs/ContainReset.h"
#include "dialogs/ExchangeFileChoice.h"
#include "dialogs/ExportFail.h"
#include "widgets/AfterHandler.h"
#include "widgets/MyConmboBox.h"
#include "shell/UpDataParam.h"

#include "HIDUsb.h"

namespace {

const QString ProfileFilter = QStringLiteral("File(*.bin)");

bool mouseOnline()
{
    return UsbFinderC_GetDeviceOnLine(CurrentDevicePath().constData());
}

// The working image when it holds the mouse's current configuration, in one step with the
// check: an image that is not this mouse's is never handed on.
bool loadedImage(FlashDataMap* copy)
{
    return ChangeLoadedWorkingImage([](FlashDataMap&) {}, copy);
}

}  // namespace

void Buttoninterface::placeOverPage(QWidget* dialog) const
{
    placeCentred(dialog, this, 75, 65);
}

bool Buttoninterface::WriteProfileFile(QString path, const FlashDataMap& image)
{
    const QString sensor = UserConfig::instance()->value(modelGroup(), QStringLiteral("Sensor"));
    return ProfileFile::write(path, sensor, image);
}

void Buttoninterface::on_ProjectChoose_activated(int index)
{
    if (!mouseOnline() && !ButtonPageBusy.load()) {
        ui->ProjectChoose->setCurrentIndex(ui->ProjectChoose->LastPressIndex);
        PostMsg::instance()->SendMouseOffLineo(0);
        return;
    }
    // From the switch on the image holds the previous profile: nothing may be written from
    // it (forgotten first, so no answer arriving meanwhile writes it into the new profile),
    // and the new profile is read in full now, not only when the mouse's status report gets
    // through its throttle (a second switch within it would otherwise never be read).
    ForgetWorkingImage();
    RestartStatusThrottle();
    UsbServer_SetCurrentConfig(uint8_t(index));
    ForceReload = 1;
    RestartWanted = 1;
}

void Buttoninterface::on_ProjectChoose_currentIndexChanged(int /*index*/)
{
    // Filling or relabelling the box sends nothing: only the user's choice does.
}

void Buttoninterface::on_Reset_clicked()
{
    if (!mouseOnline()) {
        PostMsg::instance()->SendMouseOffLineo(0);
        return;
    }
    runAfterHandler(this, [this] {
        ContainReset confirm;
        placeOverPage(&confirm);
        confirm.exec();
        if (!confirm.Accepted)
            return;
        // The factory bindings come back: no key stays chosen.
        uncheckSelectors();
        closeFunctionArea();

        NoBusyDialog = 1;
        m_worker->StopPoll();
        FlashDataMap image{};
        if (loadedImage(&image))
            SendImageToMouse(&image);
        // The image is not the mouse's once it resets (forgotten first, so no answer arriving
        // meanwhile writes it back). The mouse reports its changed configuration; the reload
        // below is the one that follows it.
        ForgetWorkingImage();
        RestartStatusThrottle();
        UsbServer_SetClearSetting();
        LightPageReady = 0;
        SensorPageReady = 0;
        ButtonPageReady = 0;
        ForceReload = 1;

        UpDataParam busy(nullptr);
        busy.StartTimer();
        busy.WaitMode = 1;
        m_worker->StartRun();
        placeOverPage(&busy);
        busy.exec();

        NoBusyDialog = 0;
        m_worker->StartPoll();
    });
}

void Buttoninterface::on_OutputData_clicked()
{
    runAfterHandler(this, [this] {
        const QString path = chooseExchangeFile(this, true, ProfileFilter);
        if (path.isEmpty())
            return;
        // No configuration read from the mouse yet: an all-zero profile would wipe a mouse on import.
        FlashDataMap image{};
        if (loadedImage(&image) && WriteProfileFile(path, image))
            return;
        ExportFail notice;
        placeOverPage(&notice);
        notice.exec();
    });
}

void Buttoninterface::on_ImportData_clicked()
{
    if (!mouseOnline()) {
        PostMsg::instance()->SendMouseOffLineo(0);
        return;
    }
    runAfterHandler(this, [this] {
        NoBusyDialog = 1;
        const QString path = chooseExchangeFile(this, false, ProfileFilter);
        if (!path.isEmpty()) {
            // Set before the dialog is made: it picks its import text when it loads its texts.
            ImportRunning = 1;
            UpDataParam busy(nullptr);
            busy.StartTimer();
            busy.ImportMode = 1;
            busy.FilePath = path;
            placeOverPage(&busy);
            busy.exec();
            ImportRunning = 0;
        }
        NoBusyDialog = 0;
    });
}
