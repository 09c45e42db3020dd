#include "pages/sensor/SensorRate.h"

#include "ui_SensorRate.h"

#include "common/PostMsg.h"
#include "common/SkinStyles.h"
#include "common/StyleSheetUrl.h"
#include "device/DeviceSetters.h"
#include "device/SharedFlags.h"

#include <QButtonGroup>

namespace {

const uint8_t RateCodes[SensorRate::RateCount] = {0x08, 0x04, 0x02, 0x01, 0x10, 0x20, 0x40};

}  // namespace

SensorRate::SensorRate(QWidget* parent)
    : QFrame(parent)
    , ui(new Ui::SensorRate)
{
    ui->setupUi(this);
    m_pictureDir = pictureFolder(QStringLiteral("Sensor"));
    m_group = new QButtonGroup(this);
    for (int row = 0; row < RateCount; ++row) {
        m_group->addButton(button(row), row);
        connect(button(row), &QToolButton::clicked, this, [this, row](bool checked) { rateClicked(row, checked); });
    }
    ui->label->setStyleSheet(labelColorStyle(skinColor(QStringLiteral("LabelColor"))));
    const QString style =
        QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(") +
        skinColor(QStringLiteral("ButtonColor")) + QStringLiteral(");padding-left:0px;background-image: ") +
        styleSheetUrl(m_pictureDir + QStringLiteral("ReportRate.png")) +
        QStringLiteral(";}QToolButton:checked{padding-left:0px;background-image: ") +
        styleSheetUrl(m_pictureDir + QStringLiteral("ReportRateClick.png")) + QStringLiteral("; }");
    for (int row = 0; row < RateCount; ++row)
        button(row)->setStyleSheet(style);
}

SensorRate::~SensorRate()
{
    delete ui;
}

QToolButton* SensorRate::button(int row) const
{
    QToolButton* const buttons[RateCount] = {ui->Button125HZ,  ui->Button250HZ,  ui->Button500HZ, ui->Button1000HZ,
                                             ui->Button2000HZ, ui->Button4000HZ, ui->Button8000HZ};
    return buttons[row];
}

int SensorRate::rowOfCode(int code)
{
    for (int row = 0; row < RateCount; ++row) {
        if (RateCodes[row] == code)
            return row;
    }
    return -1;
}

uint8_t SensorRate::codeOfRow(int row)
{
    return row >= 0 && row < RateCount ? RateCodes[row] : 0;
}

void SensorRate::setRate(int index)
{
    if (index >= 0 && index < RateCount) {
        button(index)->setChecked(true);
        m_mouseRow = index;
    }
}

void SensorRate::setMaxRateMode(int mode)
{
    // Shown: 2000, 4000, 8000 Hz.
    static const bool shown[4][3] = {{false, false, false}, {true, true, false}, {true, false, false}, {true, true, true}};
    if (mode < 0 || mode > 3)
        return;
    for (int k = 0; k < 3; ++k)
        button(4 + k)->setVisible(shown[mode][k]);
}

void SensorRate::setLabelText(const QString& text)
{
    ui->label->setText(text);
}

void SensorRate::rateClicked(int row, bool checked)
{
    m_lastWrite = false;
    if (!checked || !WriteEnabled)
        return;
    m_lastWrite = SetReportRate(RateCodes[row]);
    if (m_lastWrite) {
        m_mouseRow = row;
        PostMsg::instance()->SendHideModel(row >= 4 ? 1 : 0);
    } else if (m_mouseRow >= 0) {
        button(m_mouseRow)->setChecked(true);  // refused: the mouse's rate shows again
    }
}
