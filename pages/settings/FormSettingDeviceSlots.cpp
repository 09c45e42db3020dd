// The settings page's receiver areas: which show for the current model and device, and the
// receiver's light and long-range modes, which go to the receiver at once.
#include "pages/settings/FormSetting.h"

#include "ui_FormSetting.h"

#include "common/PostMsg.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"

#include "HIDUsb.h"

#include <QSignalBlocker>

namespace {

constexpr uint8_t LightReceiverKind = 1;
// The scroll area's view beside its 13 px scroll bar, and the full layout's height: scrolled to
// its end, the version line that stays in view lies clear of every separator.
constexpr QSize CompactContents(854, 584);
constexpr int FullContentsHeight = 820;

}  // namespace

void FormSetting::ConnectDeviceSlots()
{
    PostMsg::connectBlocking(SIGNAL(SigRGBValue(DongleRGB*)), this, SLOT(SlotRGBValue(DongleRGB*)));
    PostMsg::connectBlocking(SIGNAL(SigLongRangeMode(bool)), this, SLOT(SlotLongRangeMode(bool)));
    PostMsg::connectBlocking(SIGNAL(SigForm()), this, SLOT(SlotForm()));
    PostMsg::connectBlocking(SIGNAL(SigFormReset()), this, SLOT(SlotFormResetForm()));
}

bool FormSetting::modelLacks(int element) const
{
    const QStringList advanced = UserConfig::instance()->valueList(
        CatalogueModelGroup(CurrentDeviceRecord().modelIndex), QStringLiteral("Adveanced"));
    // A list too short, or a model the catalogue lacks, has no such feature.
    return element >= advanced.size() || advanced.at(element).trimmed() == QLatin1String("-1");
}

void FormSetting::showLongRangeArea(bool shown)
{
    for (QWidget* w : {static_cast<QWidget*>(ui->TitleButton_6), static_cast<QWidget*>(ui->label_11),
                       static_cast<QWidget*>(ui->checkBox_2), static_cast<QWidget*>(ui->textEdit)})
        w->setVisible(shown);
}

void FormSetting::showLightArea(bool shown)
{
    for (QWidget* w : {static_cast<QWidget*>(ui->TitleButton_7), static_cast<QWidget*>(ui->label_14),
                       static_cast<QWidget*>(ui->ReUntil), static_cast<QWidget*>(ui->ReUntil_2),
                       static_cast<QWidget*>(ui->ReUntil_3), static_cast<QWidget*>(ui->textEdit_2),
                       static_cast<QWidget*>(ui->textEdit_3), static_cast<QWidget*>(ui->textEdit_4)})
        w->setVisible(shown);
}

void FormSetting::setFullLayout(bool full)
{
    // Full, the link and the company line sit below the receiver area's closing separator, and
    // the page scrolls far enough to show them; compact, everything fits the scroll area's view
    // (which lies within the frame's panel), as wide as it is beside the scroll bar.
    const QSize size(CompactContents.width(), full ? FullContentsHeight : CompactContents.height());
    ui->scrollAreaWidgetContents->setMinimumSize(size);
    ui->scrollAreaWidgetContents->setMaximumSize(size);
    ui->pushButton_3->move(600, full ? 720 : 530);
    ui->pushButton_4->move(480, full ? 740 : 550);
}

void FormSetting::layoutForModel(bool showLongRange)
{
    const DeviceAllInfo current = CurrentDeviceRecord();
    if (modelLacks(1))
        showLightArea(false);
    if (modelLacks(0))
        showLongRangeArea(false);
    else if (showLongRange)
        showLongRangeArea(true);
    // The light area shows only for a light answer (SlotRGBValue); a load sends it before
    // this layout, so an answer of the current receiver keeps the area shown.
    const bool answered = !LightAnswerPath.isEmpty() && LightAnswerPath == CurrentDevicePath();
    const bool keepLight = answered && current.kind == LightReceiverKind && !modelLacks(1);
    if ((current.kind == 0 || current.kind == 1 || current.kind == 4) && !keepLight) {
        showLightArea(false);
        setFullLayout(false);
    }
    if (current.cableFlag != 0) {
        showLongRangeArea(false);
        showLightArea(false);
        setFullLayout(false);
    }
}

void FormSetting::SlotForm()
{
    layoutForModel(true);
}

void FormSetting::SlotFormB()
{
    layoutForModel(false);
}

void FormSetting::SlotFormResetForm()
{
    LightAnswerPath.clear();
    showLongRangeArea(false);
    showLightArea(false);
    ui->checkBox_2->setChecked(false);
    setFullLayout(false);
}

void FormSetting::SlotRGBValue(DongleRGB* Rgb)
{
    const DeviceAllInfo current = CurrentDeviceRecord();
    if (modelLacks(1) || current.cableFlag == 1 || current.kind != LightReceiverKind)
        return;
    showLightArea(true);
    LightAnswerPath = CurrentDevicePath();
    // Checked like a click: the mode goes back to the receiver when writes are enabled.
    checkLightModeChoice(Rgb ? Rgb->bytes[0] : 0);
    setFullLayout(true);
}

void FormSetting::SlotLongRangeMode(bool Select)
{
    if (modelLacks(0))
        return;
    showLongRangeArea(true);
    ui->checkBox_2->setChecked(Select);
}

void FormSetting::checkLightModeChoice(int mode)
{
    if (mode == 1)
        ui->ReUntil->setChecked(true);
    else if (mode == 2)
        ui->ReUntil_2->setChecked(true);
    else if (mode == 3)
        ui->ReUntil_3->setChecked(true);
}

void FormSetting::writeLightMode(int mode, bool checked)
{
    if (!WriteEnabled.load())
        return;
    const QByteArray path = CurrentDevicePath();
    if (!UsbFinderC_GetDeviceOnLine(path.constData())) {
        // Refused: the choices show the receiver's mode again, not the one that never went out.
        if (checked) {
            const QSignalBlocker first(ui->ReUntil);
            const QSignalBlocker second(ui->ReUntil_2);
            const QSignalBlocker third(ui->ReUntil_3);
            checkLightModeChoice(ReceiverLightCopy().bytes[0]);
        }
        PostMsg::instance()->SendMouseOffLineo(0);
        return;
    }
    if (!checked)
        return;
    DongleRGB light = ReceiverLightCopy();
    light.bytes[0] = uint8_t(mode);
    UsbFinderC_Set4KDongleRGB(path.constData(), &light);
    SetReceiverLight(light);
}

void FormSetting::on_ReUntil_toggled(bool checked)
{
    writeLightMode(1, checked);
}

void FormSetting::on_ReUntil_2_toggled(bool checked)
{
    writeLightMode(2, checked);
}

void FormSetting::on_ReUntil_3_toggled(bool checked)
{
    writeLightMode(3, checked);
}

void FormSetting::on_checkBox_2_toggled(bool checked)
{
    if (!WriteEnabled.load())
        return;
    const QByteArray path = CurrentDevicePath();
    if (UsbFinderC_GetDeviceOnLine(path.constData())) {
        UsbFinderC_SetLongRangeMode(path.constData(), checked ? 1 : 0);
        return;
    }
    // Refused: the box shows the receiver's mode again, not the one that never went out.
    {
        const QSignalBlocker blocker(ui->checkBox_2);
        ui->checkBox_2->setChecked(!checked);
    }
    PostMsg::instance()->SendMouseOffLineo(0);
}

void FormSetting::on_checkBox_2_clicked(bool /*checked*/)
{
}
