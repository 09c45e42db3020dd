#include "pages/sensor/SensorSwitch.h"

#include "ui_SensorSwitch.h"

#include "common/SkinStyles.h"
#include "common/StyleSheetUrl.h"
#include "device/DeviceSetters.h"
#include "device/SharedFlags.h"

namespace {

const SensorSwitchKind RippleKind = {"RippeControl", "RippeControl_2", "波纹控制", SetRipple, "label", "RippleDes"};
const SensorSwitchKind StraightLineKind = {"StraightLine", "StraightLine_2", "直线修正", SetStraightLine, "label_6",
                                           "FixLineDes"};
const SensorSwitchKind MotionSyncKind = {"MotionSync", "MotionSync_2", "motion sync", SetMotionSync, "label_7",
                                         "MotionSyncDes"};

}  // namespace

SensorSwitch::SensorSwitch(const SensorSwitchKind& kind, QWidget* parent)
    : QFrame(parent)
    , ui(new Ui::SensorSwitch)
    , m_kind(kind)
{
    ui->setupUi(this);
    setObjectName(QLatin1String(kind.frameName));
    const QString name = QLatin1String(kind.buttonName);
    ui->SwitchButton->setObjectName(name);
    ui->label->setText(QString::fromUtf8(kind.initialText));
    m_pictureDir = pictureFolder(QStringLiteral("Sensor"));
    ui->label->setStyleSheet(labelColorStyle(skinColor(QStringLiteral("LabelColor"))));
    ui->SwitchButton->setStyleSheet(
        QLatin1Char('#') + name +
        QStringLiteral("{color: rgb(255, 255, 255);border:0px;background-position:center;background-repeat:no-repeat;"
                       "background-image: ") +
        styleSheetUrl(m_pictureDir + QStringLiteral("Close.png")) + QStringLiteral(";}#") + name +
        QStringLiteral(":checked {background-image: ") + styleSheetUrl(m_pictureDir + QStringLiteral("Open.png")) +
        QStringLiteral(";}"));
    connect(ui->SwitchButton, &QToolButton::clicked, this, [this](bool checked) { buttonClicked(checked); });
}

SensorSwitch::~SensorSwitch()
{
    delete ui;
}

void SensorSwitch::setChecked(bool on)
{
    ui->SwitchButton->setChecked(on);
}

bool SensorSwitch::isChecked() const
{
    return ui->SwitchButton->isChecked();
}

void SensorSwitch::setLabelText(const QString& text)
{
    ui->label->setText(text);
}

void SensorSwitch::setLabelToolTip(const QString& text)
{
    ui->label->setToolTip(text);
}

void SensorSwitch::buttonClicked(bool checked)
{
    // Refused: the switch shows the mouse's state again.
    if (WriteEnabled && !m_kind.setter(checked ? 1 : 0))
        ui->SwitchButton->setChecked(!checked);
}

RippeControl::RippeControl(QWidget* parent)
    : SensorSwitch(RippleKind, parent)
{
}

StraightLine::StraightLine(QWidget* parent)
    : SensorSwitch(StraightLineKind, parent)
{
}

MotionSync::MotionSync(QWidget* parent)
    : SensorSwitch(MotionSyncKind, parent)
{
}
