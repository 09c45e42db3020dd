#include "pages/sensor/Sensor.h"

#include "common/PostMsg.h"
#include "device/SharedFlags.h"

Sensor::Sensor(QWidget* parent)
    : QWidget(parent)
{
    PostMsg::connectBlocking(SIGNAL(SigUpDataLightSensor(FlashDataMap)), this,
                             SLOT(SlotUpDataSenSorUISensor(FlashDataMap)));
    PostMsg::connectBlocking(SIGNAL(SigFormReset()), this, SLOT(SlotFormReset()));
    PostMsg::connectBlocking(SIGNAL(SigUpDataReportRate(int)), this, SLOT(SlotUpDataReportRate(int)));
    PostMsg::connectBlocking(SIGNAL(SigUpDataDPI(int)), this, SLOT(SlotUpDataDPI(int)));
    PostMsg::connectBlocking(SIGNAL(SigUpDataDPILed(FlashDataMap)), this, SLOT(SlotUpDataDPILed(FlashDataMap)));
    connect(PostMsg::instance(), SIGNAL(SigUpDataSensorUIB(FlashDataMap)), this, SLOT(SlotUpDataSenSorUIB(FlashDataMap)));
}

void Sensor::SlotUpDataSenSorUISensor(FlashDataMap DataMap)
{
    SensorPageReady = 0;
    SlotUpDataSenSorUIB(DataMap);
    SensorPageReady = 1;
}

void Sensor::SlotUpDataSenSorUIB(FlashDataMap /*DataMap*/)
{
    SensorPageBusy = 1;
    // The sensor settings are shown here once the page has its controls.
    SensorPageBusy = 0;
}

void Sensor::SlotFormReset()
{
    SensorPageBusy = 1;
    SensorPageBusy = 0;
}

void Sensor::SlotUpDataReportRate(int /*code*/)
{
}

void Sensor::SlotUpDataDPI(int /*level*/)
{
}

void Sensor::SlotUpDataDPILed(FlashDataMap /*DataMap*/)
{
}
