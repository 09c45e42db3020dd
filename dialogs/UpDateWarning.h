#pragma once
#include "common/DialogFrame.h"

// Warning whose text the caller gives with SetText; Return clicks NewHong.
class UpDateWarning : public DialogFrame {
    Q_OBJECT
public:
    explicit UpDateWarning(QWidget* parent = nullptr);

    void SetText(QString text);

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
};
