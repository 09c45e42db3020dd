#pragma once
#include "common/DialogFrame.h"

// Notice that a profile could not be saved: the file could not be written, or there was no
// configuration of the mouse to save.
class ExportFail : public DialogFrame {
    Q_OBJECT
public:
    explicit ExportFail(QWidget* parent = nullptr);

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
};
