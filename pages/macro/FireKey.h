#pragma once
#include "pages/macro/KeyEntryDialog.h"

namespace Ui {
class FireKey;
}

// Asks for the repeat count (0 to 3) and the interval (10 to 255) of a rapid-fire binding.
class FireKey : public KeyEntryDialog {
    Q_OBJECT
public:
    explicit FireKey(QWidget* parent = nullptr);
    ~FireKey() override;

    // Presets, kept within the ranges.
    void setCount(int count);
    void setTime(int time);

    bool Accepted = false;
    int FireTime = 10;
    int FireCount = 3;

public slots:
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();
    void on_CloseButton_clicked();

private:
    Ui::FireKey* ui;
};
