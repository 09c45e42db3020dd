#pragma once
#include <QWidget>

#include "device/FlashDataMap.h"
#include "widgets/OwnedPress.h"

#include <memory>

class QListView;
class QSlider;
class QSpinBox;
class ScreenColorSource;
namespace Ui {
class LampLight;
}

// The lighting page: effect, brightness, speed, colour (boxes, plus and minus, fourteen presets
// and the colour board, which takes the colour shown on the screen), light off while moving and
// the sleep time. Every change goes to the mouse at once; fills and the reset write nothing.
class LampLight : public QWidget {
    Q_OBJECT
public:
    explicit LampLight(QWidget* parent = nullptr);
    ~LampLight() override;

    // Where the colour board reads the screen (tests give their own).
    void setColorSource(std::unique_ptr<ScreenColorSource> source);

public slots:
    // After a full load, a light-bar answer or from the cache file (blocking delivery).
    void SlotUpDataLightUILight(FlashDataMap DataMap);
    // After a profile import or a cache load; leaves LightPageReady alone and disables the
    // sliders until the next device fill.
    void SlotUpDataLightUIA(FlashDataMap DataMap);
    // No image available (blocking delivery).
    void SlotFormResetLight();
    // Reads the page's section "Light" of language file `index`.
    void SlotChangeLanguage(int index);

private slots:
    void on_LightMod_currentIndexChanged(int index);
    void on_horizontalLight_valueChanged(int value);
    void on_horizontalSpeed_valueChanged(int value);
    void on_horizontalLight_sliderMoved(int position);
    void on_horizontalSpeed_sliderMoved(int position);
    void on_RSpinBox_valueChanged(int arg1);
    void on_GSpinBox_valueChanged(int arg1);
    void on_BSpinBox_valueChanged(int arg1);
    void on_AddR_clicked();
    void on_AddG_clicked();
    void on_AddB_clicked();
    void on_ReduceR_clicked();
    void on_ReduceG_clicked();
    void on_ReduceB_clicked();
    void on_RippeControl_clicked(bool checked);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applySkin();
    void fill(const FlashDataMap& image, bool fromDevice);
    void offerRowsFiveSix(bool offered);
    void applyRowVisibility(int row);
    void showColorArea(bool shown);
    bool writeAllowed() const;
    bool onlineGuard();
    void stepBox(QSpinBox* box, int step);
    void applyPreset(int index);
    void colorChanged();
    // Sets the three boxes in order, each writing the colour; stops at the first refused
    // write. False when one was refused.
    bool setColorBoxes(int red, int green, int blue);
    // Shows the colour the mouse holds in the boxes and the preview (a refused change).
    void showMouseColor();
    // Shows a slider's new value and writes it; refused, the slider shows mouseValue again.
    void sliderChanged(QSlider* slider, QSpinBox* display, int value, bool (*setter)(uint8_t), int& mouseValue);
    // The slider shows the value the mouse holds (a refused change).
    void showSliderValue(QSlider* slider, QSpinBox* display, int value);
    bool onColorBoard(const QPoint& pagePos) const;
    // Takes the colour under the pointer; false when the mouse refused it.
    bool pickBoardColor(const QPoint& globalPos);

    Ui::LampLight* ui;
    QString m_pictureDir;
    QListView* m_modeView = nullptr;
    std::unique_ptr<ScreenColorSource> m_colorSource;
    // A press on the colour board picks along its drag until a pick is refused.
    OwnedPress m_boardPress;
    bool m_boardPicking = false;
    // What the mouse holds, as shown: from the last fill or reset and every accepted write.
    int m_mouseRed = 0;
    int m_mouseGreen = 0;
    int m_mouseBlue = 0;
    int m_mouseBrightness = 1;
    int m_mouseSpeed = 1;
    int m_shownRow = 0;
    bool m_colorRefused = false;
};
