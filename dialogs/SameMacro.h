#pragma once
#include "common/DialogFrame.h"

// Notice that a macro of that name exists already.
class SameMacro : public DialogFrame {
    Q_OBJECT
public:
    explicit SameMacro(QWidget* parent = nullptr);

public slots:
    void on_NewHong_clicked();
    void on_CloseButton_clicked();
};
