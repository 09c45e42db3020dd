#pragma once
#include "common/DialogFrame.h"

// Notice that an imported profile does not fit the mouse; the text follows ImportResult.
class InportFail : public DialogFrame {
    Q_OBJECT
public:
    explicit InportFail(QWidget* parent = nullptr);

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();

protected:
    void applyText(const QString& element, const QString& text) override;
};
