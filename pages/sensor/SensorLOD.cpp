#include "pages/sensor/SensorLOD.h"

#include "ui_SensorLOD.h"

#include "common/SkinStyles.h"
#include "device/DeviceSetters.h"
#include "device/SharedFlags.h"

#include <QListView>

SensorLOD::SensorLOD(QWidget* parent)
    : QFrame(parent)
    , ui(new Ui::SensorLOD)
{
    ui->setupUi(this);
    m_pictureDir = pictureFolder(QStringLiteral("Sensor"));
    ui->label->setStyleSheet(labelColorStyle(skinColor(QStringLiteral("LabelColor"))));
    ui->LOD->applySkin(m_pictureDir);
    ui->LOD->setStyleSheet(ui->LOD->styleSheet() + disabledComboTextStyle());
}

SensorLOD::~SensorLOD()
{
    delete ui;
}

void SensorLOD::addLowLod()
{
    if (ui->LOD->count() == 2)
        ui->LOD->insertItem(0, QStringLiteral("0.7mm"));
}

void SensorLOD::removeLowLod()
{
    if (ui->LOD->count() == 3)
        ui->LOD->removeItem(0);
}

void SensorLOD::setEnabled(bool enabled)
{
    ui->LOD->setEnabled(enabled);
}

bool SensorLOD::isListEnabled() const
{
    return ui->LOD->isEnabled();
}

void SensorLOD::setLod(int value)
{
    if (ui->LOD->count() == 3) {
        static const int positions[3] = {1, 2, 0};
        if (value >= 0 && value <= 2)
            ui->LOD->setCurrentIndex(positions[value]);
    } else {
        ui->LOD->setCurrentIndex(value >= 0 && value <= 1 ? value : -1);
    }
}

void SensorLOD::setLabelText(const QString& text)
{
    ui->label->setText(text);
}

void SensorLOD::setLabelToolTip(const QString& text)
{
    ui->label->setToolTip(text);
}

void SensorLOD::on_LOD_currentIndexChanged(int index)
{
    if (!WriteEnabled || SensorPageBusy)
        return;
    static const uint8_t threeEntries[3] = {3, 1, 2};
    static const uint8_t twoEntries[2] = {1, 2};
    const int count = ui->LOD->count();
    bool written = true;
    if (count == 3 && index >= 0 && index < 3)
        written = SetLod(threeEntries[index]);
    else if (count == 2 && index >= 0 && index < 2)
        written = SetLod(twoEntries[index]);
    // Refused: the list shows the mouse's entry again.
    if (!written)
        ui->LOD->showPressIndex();
}
