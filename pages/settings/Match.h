#pragma once
#include "common/OwnedDialog.h"
#include <QString>

#include <atomic>
#include <cstdint>

class QEvent;
class QTimer;
namespace Ui {
class Match;
}

// What one pairing run shares with the pairing callback on the library's data thread (one
// dialog at a time).
// 1 from the start of pairing until the receiver's result (or its disappearance).
extern std::atomic<uint8_t> PairingActive;
// 0 none, 1 pairing, 2 paired, 3 failed.
extern std::atomic<int> PairResult;
// Step of the button text's dots, 0 to 4.
extern std::atomic<int> MatchTextStep;
// Pairing started while the frame was shown: the result hands MainPageActive back.
extern std::atomic<uint8_t> RestoreMainPage;

// The data callback of the pairing link: reacts only to the receiver's pairing status.
void PairCallback(uint8_t* header, int headerLength, uint8_t* data, uint32_t dataLength);

// The receiver pairing dialog. Its opener builds it, calls SetPairButtonImage, places it and
// runs it; the dialog opens the link on the receiver with its own callback, asks the receiver
// to pair and polls the result every second. A mouse on its cable cannot be paired, and while
// pairing runs the dialog cannot be closed.
class Match : public OwnedDialog {
    Q_OBJECT
public:
    explicit Match(QWidget* parent = nullptr);
    ~Match() override;

    // Prepares a run for the receiver to pair (the current device on the frame, else the
    // chosen or the only listed device) and starts the receiver check.
    void SetPairButtonImage();

    static constexpr int PairPollMs = 1000;
    static constexpr int ReceiverCheckMs = 100;
    static constexpr int TextStepMs = 500;

public slots:
    void on_MatchButton_clicked();
    void onPairTimeupDestroy();
    void onUSBTimeupDestroy();
    void onTextTimeupDestroy();
    void SlotStopTimer();
    // The close button: refused while pairing runs.
    void WindowClosedSet();
    void SlotButtonenable(int index);
    void SlotChangeLanguage(int index);

protected:
    // Escape and the window's own close go through the close rules too.
    void reject() override;
    void changeEvent(QEvent* event) override;

private:
    void styleMatchButton(const char* picture, const QString& textColor);
    void setButtonText(const QString& text);

    Ui::Match* ui;
    QTimer* m_pairTimer;
    QTimer* m_receiverTimer;
    QTimer* m_textTimer;

    QString m_receiverPath;
    QString m_vendorId;
    QString m_productId;
    int m_cid = 0;
    uint8_t m_wired = 0;
    bool m_hasReceiver = false;  // a record with a path was found to pair
    bool m_pairAllowed = false;

    QString m_pictureDir;
    QString m_buttonColor;
    QString m_buttonText;
    QString m_pairingText;
    QString m_failText;
    QString m_successText;
};
