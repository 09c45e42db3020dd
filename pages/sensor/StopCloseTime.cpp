#include "pages/sensor/StopCloseTime.h"

#include "ui_StopCloseTime.h"

#include "common/SkinStyles.h"
#include "device/DeviceSetters.h"
#include "device/SharedFlags.h"
#include "pages/sensor/SleepTimeSteps.h"

#include <QSignalBlocker>

StopCloseTime::StopCloseTime(QWidget* parent)
    : QFrame(parent)
    , ui(new Ui::StopCloseTime)
{
    ui->setupUi(this);
    m_pictureDir = pictureFolder(QStringLiteral("Light"));
    setStyleSheet(QStringLiteral("StopCloseTime{border:0px;background:transparent;}"));  // only the list shows
    ui->StopClose->applySkin(m_pictureDir);
    ui->StopClose->setMaxVisibleItems(5);
}

StopCloseTime::~StopCloseTime()
{
    delete ui;
}

void StopCloseTime::setCurrentIndex(int position)
{
    const QSignalBlocker blocker(ui->StopClose);
    ui->StopClose->setCurrentIndex(position);
}

int StopCloseTime::currentIndex() const
{
    return ui->StopClose->currentIndex();
}

void StopCloseTime::setItemText(int position, const QString& text)
{
    if (position >= 0 && position < ui->StopClose->count())
        ui->StopClose->setItemText(position, text);
}

void StopCloseTime::on_StopClose_activated(int position)
{
    if (!WriteEnabled || LightPageBusy)
        return;
    const int units = SleepTimeSteps::unitsAt(position);
    // Refused: the list shows the mouse's entry again.
    if (units >= 0 && !SetSleepTime(uint8_t(units)))
        ui->StopClose->showPressIndex();
}
