#pragma once
#include "common/DialogFrame.h"

// Notice that a key combination holds at most three keys.
class GroupMaxThree : public DialogFrame {
    Q_OBJECT
public:
    explicit GroupMaxThree(QWidget* parent = nullptr);

public slots:
    void on_NewHong_clicked();
    void on_CloseButton_clicked();
};
