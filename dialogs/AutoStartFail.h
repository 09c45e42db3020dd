#pragma once
#include "common/DialogFrame.h"

// Notice that "start with the system" could not be changed: the autostart entry could not be
// written or removed, so the box went back to what it was.
class AutoStartFail : public DialogFrame {
    Q_OBJECT
public:
    explicit AutoStartFail(QWidget* parent = nullptr);

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
};
