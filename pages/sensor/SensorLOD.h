#pragma once
#include <QFrame>
#include <QString>

// The sensor page's lists when disabled: text dimmed but still readable on the dark skin.
inline QString disabledComboTextStyle()
{
    return QStringLiteral("QComboBox:disabled{color: rgb(112, 118, 126);}");
}

namespace Ui {
class SensorLOD;
}

// The lift-off distance list: "1mm" and "2mm", and "0.7mm" first for the sensor that offers
// it. A choice writes image byte 5 (1 = 1 mm, 2 = 2 mm, 3 = 0.7 mm); nothing is written while
// the page fills (SensorPageBusy). The list starts disabled.
class SensorLOD : public QFrame {
    Q_OBJECT
public:
    explicit SensorLOD(QWidget* parent = nullptr);
    ~SensorLOD() override;

    void addLowLod();
    void removeLowLod();
    void setEnabled(bool enabled);
    bool isListEnabled() const;
    // Selects the entry of device code value + 1; a code the list cannot show leaves it.
    void setLod(int value);
    void setLabelText(const QString& text);
    void setLabelToolTip(const QString& text);

private slots:
    void on_LOD_currentIndexChanged(int index);

private:
    Ui::SensorLOD* ui;
    QString m_pictureDir;
};
