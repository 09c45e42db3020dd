#pragma once
#include <QFrame>
#include <QString>
#include <cstdint>

namespace Ui {
class SensorSwitch;
}

// What tells the three on/off switches of the sensor page apart.
struct SensorSwitchKind {
    const char* frameName;     // the frame's object name
    const char* buttonName;    // the switch button's object name
    const char* initialText;   // label text until the language file sets it
    bool (*setter)(uint8_t on);
    const char* textElement;     // element of the language section "Sensor": label text
    const char* toolTipElement;  // and its tool tip
};

// An on/off switch (button picture "Open.png" / "Close.png") with a label. A click writes 1 or
// 0 through the kind's setter; setChecked from the page writes nothing.
class SensorSwitch : public QFrame {
    Q_OBJECT
public:
    SensorSwitch(const SensorSwitchKind& kind, QWidget* parent);
    ~SensorSwitch() override;

    const SensorSwitchKind& kind() const { return m_kind; }
    void setChecked(bool on);
    bool isChecked() const;
    void setLabelText(const QString& text);
    void setLabelToolTip(const QString& text);

private:
    void buttonClicked(bool checked);

    Ui::SensorSwitch* ui;
    const SensorSwitchKind& m_kind;
    QString m_pictureDir;
};

// Ripple control, image byte 10.
class RippeControl : public SensorSwitch {
    Q_OBJECT
public:
    explicit RippeControl(QWidget* parent = nullptr);
};

// Straight-line correction, image byte 9.
class StraightLine : public SensorSwitch {
    Q_OBJECT
public:
    explicit StraightLine(QWidget* parent = nullptr);
};

// Motion sync, image byte 7.
class MotionSync : public SensorSwitch {
    Q_OBJECT
public:
    explicit MotionSync(QWidget* parent = nullptr);
};
