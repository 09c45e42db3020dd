#pragma once
#include "common/DialogFrame.h"

// Notice at start that the per-user data folder cannot be made or written: the program runs,
// but no setting, macro or profile choice is kept for the next start.
class UserFolderFail : public DialogFrame {
    Q_OBJECT
public:
    explicit UserFolderFail(QWidget* parent = nullptr);

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
};
