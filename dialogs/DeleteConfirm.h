#pragma once
#include "common/DialogFrame.h"

// Asks whether to delete the selected macro. Accepted is true only after NewHong.
class DeleteConfirm : public DialogFrame {
    Q_OBJECT
public:
    explicit DeleteConfirm(QWidget* parent = nullptr);

    bool Accepted = false;

public slots:
    void on_NewHong_clicked();
    void on_CloseButton_clicked();
};
