#pragma once
#include "common/DialogFrame.h"

// Notice that one key must keep the left-button function.
class LeftButtonOnly : public DialogFrame {
    Q_OBJECT
public:
    explicit LeftButtonOnly(QWidget* parent = nullptr);

public slots:
    void on_CloseButton_clicked();
};
