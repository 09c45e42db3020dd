#include "pages/settings/UpDateRepair.h"

#include "ui_UpDateRepair.h"

#include "common/DialogFrame.h"
#include "common/SkinStyles.h"
#include "device/FirmwareFiles.h"

UpDateRepair::UpDateRepair(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::UpDateRepair)
{
    ui->setupUi(this);
    setWindowFlags(dialogWindowFlags());
    const QString folder = pictureFolder(QStringLiteral("WarningDialog"));
    ui->AutoRepair->setStyleSheet(backgroundStyle(QStringLiteral("AutoRepair"), folder));
    ui->CloseButton->setStyleSheet(closeButtonStyle(folder));
    ui->ToolText->setStyleSheet(labelColorStyle(skinColor(QStringLiteral("LabelColor"))));
}

UpDateRepair::~UpDateRepair()
{
    delete ui;
}

void UpDateRepair::on_CloseButton_clicked()
{
    reject();
}

bool UpDateRepair::CheckFirmwareFile(UpDateRepair* dialog, uint8_t kind, QString deviceVersion, QString modelName,
                                     uint8_t cid, uint8_t mid)
{
    if (!dialog)
        return false;
    return FirmwareFiles::CheckRepairFirmwareFile(FirmwareFiles::BinFolder(), dialog->m_images,
                                                  {kind, deviceVersion, modelName, cid, mid});
}

void UpDateRepair::StartRepair(int index)
{
    m_repairIndex = index;
}
