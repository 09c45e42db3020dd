#pragma once
#include "pages/macro/KeyEntryDialog.h"

namespace Ui {
class AddDelayTime;
}

// Asks for one delay of 10 to 65535 ms for the macro event list.
class AddDelayTime : public KeyEntryDialog {
    Q_OBJECT
public:
    explicit AddDelayTime(QWidget* parent = nullptr);
    ~AddDelayTime() override;

    bool Accepted = false;
    int DelayValue = 0;

public slots:
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();
    void on_CloseButton_clicked();

private:
    Ui::AddDelayTime* ui;
};
