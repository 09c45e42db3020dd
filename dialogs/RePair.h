#pragma once
#include "common/DialogFrame.h"

// Asks whether to pair the receiver again. Accepted is true only after OK.
class RePair : public DialogFrame {
    Q_OBJECT
public:
    explicit RePair(QWidget* parent = nullptr);

    bool Accepted = false;

public slots:
    void on_CloseButton_clicked();
    void on_OK_clicked();
    void on_Cancel_clicked();
};
