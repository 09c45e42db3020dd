#pragma once
#include "common/DialogFrame.h"

class QProgressBar;

// Progress of a firmware upgrade, driven by the hub's SigProgress (value, meaning):
// 0 running, 1 failed, 2 finished, 3 starting, 4 back to the reset state. Once an outcome is
// shown, NewHong (or Return) goes on: after a failure back to the device-choice page
// (SigChangeMainDialog 0), after a success to the settings page's next step (SigContinue 0).
// While ManualUpdateActive is set, CloseButton and SigCloseProgress do nothing.
class Progress : public DialogFrame {
    Q_OBJECT
public:
    explicit Progress(QWidget* parent = nullptr);

    QString ProgressText;
    QString FailText;
    QString SuccessText;

public slots:
    void SlotCloseProgress();
    void SlotProgress(int schedue, int Discrib);
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
    // Escape and the window's close: refused while an update runs, like the close button.
    void reject() override;

protected:
    void applyText(const QString& element, const QString& text) override;

private:
    QString statusText(int percent) const;
    void showRunning();
    void resetState();
    void showOutcome(const QString& text);
    void closeDialog();

    QProgressBar* m_bar;
    // Meaning of the last outcome reported since the last start: 1 failed, 2 finished, 0 none.
    int m_outcome = 0;
    bool m_closing = false;
};
