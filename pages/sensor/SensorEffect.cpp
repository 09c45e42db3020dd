#include "pages/sensor/SensorEffect.h"

#include "ui_SensorEffect.h"

#include "common/SkinStyles.h"
#include "common/StyleSheetUrl.h"
#include "device/DeviceSetters.h"
#include "device/SharedFlags.h"

#include <QListView>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

namespace {

const uint8_t Brightness[10] = {16, 30, 60, 90, 128, 150, 180, 210, 230, 255};

}  // namespace

SensorEffect::SensorEffect(QWidget* parent)
    : QFrame(parent)
    , ui(new Ui::SensorEffect)
{
    ui->setupUi(this);
    m_pictureDir = pictureFolder(QStringLiteral("Sensor"));
    const QString label = skinColor(QStringLiteral("LabelColor"));
    for (QLabel* l : {ui->label, ui->label_14, ui->label_15})
        l->setStyleSheet(labelColorStyle(label));
    ui->Model->applySkin(m_pictureDir);
    const QString slider =
        QStringLiteral("QSlider:groove:horizontal{height:2px;left: 0px;right: 0px;border:0px;border-radius:6px;"
                       "background:rgba(0,0,0,50);}QSlider:handle:horizontal{ width:  5px;height: 50px;  margin-top: "
                       "-20px;margin-left: 0px; margin-bottom: -20px;margin-right: 0px; border-image: ") +
        styleSheetUrl(m_pictureDir + QStringLiteral("HuaKuai.png")) +
        QStringLiteral(";} QSlider:sub-page:horizontal{background-color: rgb(") + skinColor(QStringLiteral("SliderColor")) +
        QStringLiteral(");}QSlider:add-page:horizontal{background-color: rgb(255, 255, 255);}");
    ui->SpeedH->setStyleSheet(slider);
    ui->LightH->setStyleSheet(slider);
    const QString spin =
        QStringLiteral("QSpinBox{color: rgb(") + label + QStringLiteral(");background-color: transparent;border: 0px;}");
    ui->SpeedSpinBox->setStyleSheet(spin);
    ui->LightSpinBox->setStyleSheet(spin);
}

SensorEffect::~SensorEffect()
{
    delete ui;
}

int SensorEffect::levelOfBrightness(int byte)
{
    for (int level = 1; level <= 10; ++level) {
        if (Brightness[level - 1] == byte)
            return level;
    }
    return byte;
}

uint8_t SensorEffect::brightnessOfLevel(int level)
{
    return Brightness[qBound(1, level, 10) - 1];
}

void SensorEffect::applyRows(int mode)
{
    if (mode < 0 || mode > 2)
        return;
    ui->SpeedH->setVisible(mode == 2);
    ui->SpeedSpinBox->setVisible(mode == 2);
    ui->line->setVisible(mode != 2);
    ui->LightH->setVisible(mode == 1);
    ui->LightSpinBox->setVisible(mode == 1);
    ui->line_2->setVisible(mode != 1);
}

void SensorEffect::setMode(int mode)
{
    ui->Model->setCurrentIndex(mode);
    const bool speed = ui->SpeedH->blockSignals(true);
    const bool light = ui->LightH->blockSignals(true);
    applyRows(mode);
    ui->SpeedH->blockSignals(speed);
    ui->LightH->blockSignals(light);
}

void SensorEffect::setSpeed(int speed)
{
    ui->SpeedH->setValue(speed);
    m_mouseSpeed = ui->SpeedH->value();
}

void SensorEffect::setLight(int level)
{
    ui->LightH->setValue(level);
    m_mouseLight = ui->LightH->value();
}

void SensorEffect::setSlidersEnabled(bool enabled)
{
    ui->SpeedH->setEnabled(enabled);
    ui->LightH->setEnabled(enabled);
}

void SensorEffect::setModeItemText(int position, const QString& text)
{
    if (position >= 0 && position < ui->Model->count())
        ui->Model->setItemText(position, text);
}

void SensorEffect::setTitleText(const QString& text)
{
    ui->label->setText(text);
}

void SensorEffect::setSpeedLabelText(const QString& text)
{
    ui->label_14->setText(text);
}

void SensorEffect::setLightLabelText(const QString& text)
{
    ui->label_15->setText(text);
}

void SensorEffect::on_Model_currentIndexChanged(int index)
{
    if (index < 0 || index > 2)
        return;
    applyRows(index);
    if (WriteEnabled && !SensorPageBusy && !SetDpiLightMode(index)) {
        // Refused: the list and its rows show the mouse's mode again.
        ui->Model->showPressIndex();
        applyRows(ui->Model->currentIndex());
    }
}

void SensorEffect::on_SpeedH_valueChanged(int value)
{
    ui->SpeedSpinBox->setValue(value);
    if (WriteEnabled && !SensorPageBusy)
        sliderChanged(ui->SpeedH, ui->SpeedSpinBox, value, SetDpiLightSpeed(static_cast<uint8_t>(value)), m_mouseSpeed);
    else if (SensorPageBusy)
        m_mouseSpeed = value;
}

void SensorEffect::sliderChanged(QSlider* slider, QSpinBox* display, int value, bool written, int& mouseValue)
{
    if (written) {
        mouseValue = value;
        return;
    }
    const QSignalBlocker blocker(slider);
    slider->setValue(mouseValue);
    slider->setSliderPosition(mouseValue);
    display->setValue(mouseValue);
}

void SensorEffect::on_SpeedH_sliderMoved(int position)
{
    ui->SpeedSpinBox->setValue(position);
}

void SensorEffect::on_LightH_valueChanged(int level)
{
    ui->LightSpinBox->setValue(level);
    if (WriteEnabled && !SensorPageBusy)
        sliderChanged(ui->LightH, ui->LightSpinBox, level, SetDpiLightBrightness(brightnessOfLevel(level)), m_mouseLight);
    else if (SensorPageBusy)
        m_mouseLight = level;
}

void SensorEffect::on_LightH_sliderMoved(int position)
{
    ui->LightSpinBox->setValue(position);
}
