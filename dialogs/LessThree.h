#pragma once
#include "common/DialogFrame.h"

// Notice shown after a debounce time below 8 ms was chosen.
class LessThree : public DialogFrame {
    Q_OBJECT
public:
    explicit LessThree(QWidget* parent = nullptr);

public slots:
    void on_NewHong_clicked();
    void on_CloseButton_clicked();
};
