#pragma once
#include <QString>
#include <QWidget>

#include "device/FlashDataMap.h"

namespace Ui {
class Sensor;
}
class SensorDPI;

// The sensor page. It never reads the mouse: it is filled from device images and single
// values the hub delivers, and only its controls' own slots write. Every fill, the reset and
// the short updates run inside SensorPageBusy (or with WriteEnabled cleared), so nothing
// read is written back.
class Sensor : public QWidget {
    Q_OBJECT
public:
    explicit Sensor(QWidget* parent = nullptr);
    ~Sensor() override;

    SensorDPI* dpiPanel() const;
    // Reads the stored level count of "<user folder>/usersetting/SensorPage/Level.ini".
    void ReadLevelFile();

public slots:
    void SlotChangeLanguage(int index);
    // After a full load or from the cache file (blocking delivery).
    void SlotUpDataSenSorUISensor(FlashDataMap DataMap);
    // After a profile import; leaves SensorPageReady alone.
    void SlotUpDataSenSorUIB(FlashDataMap DataMap);
    // No image available (blocking delivery): the model's factory look.
    void SlotFormReset();
    // Short answers of the mouse (blocking delivery).
    void SlotUpDataReportRate(int code);
    void SlotUpDataDPI(int level);
    void SlotUpDataDPILed(FlashDataMap DataMap);

protected:
    void changeEvent(QEvent* event) override;

private:
    void fill(const FlashDataMap& image);
    void fillDpiLevels(const FlashDataMap& image);

    Ui::Sensor* ui;
    QString m_pictureDir;
    QString m_pageDir;
};
