#include "pages/settings/LanSetting.h"

#include "ui_LanSetting.h"

#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/Worker.h"

LanSetting::LanSetting(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::LanSetting)
{
    ui->setupUi(this);
}

LanSetting::~LanSetting()
{
    delete ui;
}

void LanSetting::ShowVersions()
{
    const DeviceAllInfo current = CurrentDeviceRecord();
    QString receiver;
    QString mouse;
    if (current.online == 0) {
        receiver = current.firmwareVersion;
    } else if (current.cableFlag == 0) {
        receiver = current.firmwareVersion;
        mouse = current.mouseVersion;
    } else {
        // On its cable: the receiver is the other listed device, when there are just two.
        receiver = ReceiverVersionBesideCable(MainPageDeviceList);
        mouse = current.mouseVersion;
    }
    ui->label_2->setText(receiver);
    ui->label_5->setText(mouse);
}
