#pragma once
#include "common/DialogFrame.h"

// General warning: "already running" at start-up, and two stored texts that the macro page
// picks with SetLabel2Text and SetPleaseStopText.
class ExeIsRun : public DialogFrame {
    Q_OBJECT
public:
    explicit ExeIsRun(QWidget* parent = nullptr);

    // Show the section's "label_2" / "PleaseStop" text (empty when the file lacks it).
    void SetLabel2Text();
    void SetPleaseStopText();

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();

protected:
    void applyText(const QString& element, const QString& text) override;

private:
    QString m_label2Text;
    QString m_pleaseStopText;
};
