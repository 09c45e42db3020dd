#pragma once
#include "common/DialogFrame.h"

// Notice that a recorded macro is full.
class KeyNumberLimit : public DialogFrame {
    Q_OBJECT
public:
    explicit KeyNumberLimit(QWidget* parent = nullptr);

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
};
