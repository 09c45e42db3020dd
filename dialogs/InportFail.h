#pragma once
#include "common/DialogFrame.h"

// Notice that an imported profile does not fit the mouse; the text follows ImportResult.
class InportFail : public DialogFrame {
    Q_OBJECT
public:
    explicit InportFail(QWidget* parent = nullptr);
    // Shows the text of that result (1: the file cannot be read or written or is not this
    // software's; 2: made for another mouse model) whatever the last profile import left.
    explicit InportFail(int resultText, QWidget* parent = nullptr);

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();

protected:
    void applyText(const QString& element, const QString& text) override;

private:
    int m_resultText = -1;  // -1: the text follows ImportResult
};
