#pragma once
#include <QFrame>
#include <QString>
#include <cstdint>

class QSlider;
class QSpinBox;

namespace Ui {
class SensorEffect;
}

// The DPI light effect: a mode list (off, steady, breathing), a speed slider for breathing
// and a brightness slider for steady light. Changes write image bytes 63 to 66 at once; the
// page's fills run inside SensorPageBusy, so what they set is not written back.
class SensorEffect : public QFrame {
    Q_OBJECT
public:
    explicit SensorEffect(QWidget* parent = nullptr);
    ~SensorEffect() override;

    void setMode(int mode);
    void setSpeed(int speed);
    void setLight(int level);
    void setSlidersEnabled(bool enabled);
    void setModeItemText(int position, const QString& text);
    void setTitleText(const QString& text);
    void setSpeedLabelText(const QString& text);
    void setLightLabelText(const QString& text);

    // Brightness level 1..10 of a device byte; a byte not in the table is the level itself.
    static int levelOfBrightness(int byte);
    static uint8_t brightnessOfLevel(int level);

private slots:
    void on_Model_currentIndexChanged(int index);
    void on_SpeedH_valueChanged(int value);
    void on_SpeedH_sliderMoved(int position);
    void on_LightH_valueChanged(int level);
    void on_LightH_sliderMoved(int position);

private:
    void applyRows(int mode);
    // A slider's change written; refused, the slider shows mouseValue again.
    void sliderChanged(QSlider* slider, QSpinBox* display, int value, bool written, int& mouseValue);

    Ui::SensorEffect* ui;
    QString m_pictureDir;
    // The speed and brightness level the mouse holds, as last filled or written.
    int m_mouseSpeed = 0;
    int m_mouseLight = 0;
};
