#pragma once
#include <QString>
#include <QWidget>

#include "device/FlashDataMap.h"

class QListView;
namespace Ui {
class Sensor;
}
class SensorDPI;
class SensorSwitch;

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
    // A user rate change went through: 0 for 1000 Hz or less, 1 above.
    void SlotHideModel(int index);
    // The chosen tile's picture index: the DPI light block is offered for 2 to 10.
    void SlotMouseIndex(int index);
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

private slots:
    // Run after the rate panel's own handler of the same click (connected by name).
    void on_Button125HZ_clicked(bool checked);
    void on_Button250HZ_clicked(bool checked);
    void on_Button500HZ_clicked(bool checked);
    void on_Button1000HZ_clicked(bool checked);
    void on_Button2000HZ_clicked(bool checked);
    void on_Button4000HZ_clicked(bool checked);
    void on_ModelChoose_currentIndexChanged(int index);
    void on_Performance_clicked(bool checked);
    void on_Performance_toggled(bool checked);
    void on_PerformanceOpen_currentIndexChanged(int index);

protected:
    void changeEvent(QEvent* event) override;

private:
    void fill(const FlashDataMap& image);
    void fillDpiLevels(const FlashDataMap& image);
    void fillDpiLight(const FlashDataMap& image);
    void layoutForModel(int xIn1);
    void rateClicked(int row, bool checked);
    // The sensor mode list set by code (its signals blocked): "Corded" forced and the list
    // disabled, or the list free with the mouse's mode and "Corded" not offered.
    void forceCorded();
    void freeSensorMode(int mode);
    void setSensorModeIndex(int index);
    bool sensorModeSupported() const;
    SensorSwitch* switchFrame(int i) const;

    Ui::Sensor* ui;
    QString m_pictureDir;
    QString m_pageDir;
    QListView* m_modelView = nullptr;
};
