#pragma once
#include "common/DialogFrame.h"

// Notice that a macro must be made first.
class MakeMacro : public DialogFrame {
    Q_OBJECT
public:
    explicit MakeMacro(QWidget* parent = nullptr);

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
};
