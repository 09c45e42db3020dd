#pragma once
#include "common/DialogFrame.h"

// Notice that the chosen mouse does not answer. The label shows the normal or the
// time-out text, chosen by OfflineTextIndex; the hub's SigCloseOffOnline closes it.
class MouseOffLine : public DialogFrame {
    Q_OBJECT
public:
    explicit MouseOffLine(QWidget* parent = nullptr);

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();

protected:
    void applyText(const QString& element, const QString& text) override;
};
