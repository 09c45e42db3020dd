#pragma once
#include <QFrame>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

#include "widgets/OwnedPress.h"

class QButtonGroup;
class QColorDialog;
class QToolButton;

namespace Ui {
class SensorDPI;
}

// The DPI level panel of the sensor page: up to eight levels, each a value button with a
// colour swatch under it; a marker under the current level that can be dragged to another;
// a slider, a read-only spin box and two step buttons for the checked level's value,
// snapped to the model's DPI ranges; a list for the number of levels in use.
//
// The page fills it inside SensorPageBusy (or with WriteEnabled cleared) and nothing read is
// written back. Choosing a level only shows its value; a value the user then sets is always
// written. Levels are 0..7 inside the panel.
class SensorDPI : public QFrame {
    Q_OBJECT
public:
    static constexpr int LevelCount = 8;

    explicit SensorDPI(QWidget* parent = nullptr);
    ~SensorDPI() override;

    // Operations of the sensor page; none writes to the mouse.
    void BlockChooseEvent(bool block);
    void ClearChooseEvent();
    void BlockSlider(bool block);
    void SetSliderEnabled(bool enabled);
    void SetSliderMaximum(int value);
    void SetSliderMinimum(int value);
    void SetSliderValue(int value);
    void LoadLevelsFromSettings();
    void HighlightLevelSwatch(int level);
    void SetCheckedLevel(int level);
    void SetLevelText(int level, const QString& text);
    void SetLabelText(const QString& text);
    void SetLevelColor(int level, const QString& colour);
    void SetCurrentLevel(int level);
    void SetLevelCount(int count);
    void SetChooseEventIndex(int index);
    void AddChooseEventItem(int index, const QString& text);
    void ShowLevels(int last);
    void MoveMarkerToLevel(int n);
    void SetSpinBoxValue(int value);
    // Checks a level for the user (with the offline check of a level choice).
    void SelectLevel(int level);
    void RestyleSwatch(int level);

    int currentLevel() const { return m_currentLevel; }
    int levelCount() const { return m_levelCount; }
    QString levelColor(int level) const;

public slots:
    void SetColor(const QColor& color);

private slots:
    void on_ChooseEvent_currentIndexChanged(int index);
    void on_horizontalSliderC_valueChanged(int value);
    void on_horizontalSliderC_sliderMoved(int position);
    void on_ReduceLevelA_clicked();
    void on_AddLevelA_clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The four families of level controls, one member per level.
    void levelButtonToggled(int level, bool checked);
    void levelButtonClicked(int level);
    void swatchToggled(int level, bool checked);
    void swatchClicked(int level);

    QToolButton* levelButton(int level) const;
    QToolButton* swatch(int level) const;
    int checkedLevel() const;
    int checkedSwatch() const;
    // Shows a chosen level's value as the value-changed slot would, without writing it.
    void showLevelValue(int level);
    void stepValue(bool up);
    QString levelButtonStyle(bool chosen) const;
    QString swatchStyle(int level, bool chosen) const;
    QPoint markerPoint(int level) const;
    void openColorDialog();
    // Lets the marker go at pos (in the panel): it lands on a level or goes back.
    void dropMarker(const QPoint& pos);
    // The level-count list shows the levels on screen again (a refused change).
    void showShownLevelCount();
    // The mouse's level shows checked again, without a write (a refused choice).
    void showMouseLevel(int level);

    Ui::SensorDPI* ui;
    QString m_pictureDir;
    QButtonGroup* m_levelButtonGroup = nullptr;
    QButtonGroup* m_swatchGroup = nullptr;
    QColorDialog* m_colorDialog = nullptr;
    QString m_buttonColor;
    QVector<QRect> m_homeGeometries;  // value buttons 0..7, then swatches 0..7
    QVector<QPoint> m_markerPoints;
    QRect m_dragArea;
    bool m_dragging = false;
    QPoint m_pressOffset;
    OwnedPress m_markerPress;
    int m_lastShownLevel = -1;
    // Set by a level button's write that the mouse refused.
    bool m_levelWriteRefused = false;
    bool m_changingLevelCount = false;
    bool m_showingRefusedLevel = false;
    int m_currentLevel = 1;
    int m_levelCount = 1;
    QStringList m_levelColors;
    int m_previousLevel = 0;
};
