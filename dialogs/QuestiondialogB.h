#pragma once
#include "common/DialogFrame.h"

// Notice that several identical devices are plugged in.
class QuestiondialogB : public DialogFrame {
    Q_OBJECT
public:
    explicit QuestiondialogB(QWidget* parent = nullptr);

public slots:
    void on_CloseButton_clicked();
};
