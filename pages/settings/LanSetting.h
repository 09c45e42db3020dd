#pragma once
#include <QDialog>

namespace Ui {
class LanSetting;
}

// The language and company dialog that the frame's hidden settings button opens. For now it
// only shows the receiver's and the mouse's firmware versions.
class LanSetting : public QDialog {
    Q_OBJECT
public:
    explicit LanSetting(QWidget* parent = nullptr);
    ~LanSetting() override;

    // Fills the two version labels from the current device.
    void ShowVersions();

private:
    Ui::LanSetting* ui;
};
