#pragma once
#include <QWidget>

#include "device/FlashDataMap.h"

// The sensor page. For now only its receiving ends: the fill slots mark the page busy
// while filling and ready when filled; the short updates have nothing to show yet.
class Sensor : public QWidget {
    Q_OBJECT
public:
    explicit Sensor(QWidget* parent = nullptr);

public slots:
    // After a full load or from the cache file (blocking delivery).
    void SlotUpDataSenSorUISensor(FlashDataMap DataMap);
    // After a profile import; leaves SensorPageReady alone.
    void SlotUpDataSenSorUIB(FlashDataMap DataMap);
    // No image available (blocking delivery).
    void SlotFormReset();
    // Short answers of the mouse (blocking delivery).
    void SlotUpDataReportRate(int code);
    void SlotUpDataDPI(int level);
    void SlotUpDataDPILed(FlashDataMap DataMap);
};
