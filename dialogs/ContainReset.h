#pragma once
#include "common/DialogFrame.h"

// Asks whether to restore the default settings (or, with a caller's text, to repair the
// firmware). Accepted is true only after OK; Return clicks OK.
class ContainReset : public DialogFrame {
    Q_OBJECT
public:
    explicit ContainReset(QWidget* parent = nullptr);

    // Replaces the label text until the next language change.
    void setText(QString text);

    bool Accepted = false;

public slots:
    void on_CloseButton_clicked();
    void on_OK_clicked();
    void on_Cancel_clicked();
};
