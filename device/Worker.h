#pragma once
#include <QString>
#include <QStringList>
#include <QThread>

#include "device/DeviceAllInfo.h"

#include <atomic>
#include <mutex>

class QTimer;

// Opens the data link with the current mouse and keeps it alive.
//
// run() is the only code on the worker thread (no event loop): it (re)opens the link when
// the device, its kind or its online state changed, fills the pages from the cache file
// when the mouse is offline, asks the shell for the busy dialog when it is online, and asks
// for the whole configuration, whose answer arrives on the data callback.
// The object itself lives on the GUI thread and owns the 1300 ms online poll, which notices
// that a mouse that went away is back and restarts the link when a restart was asked for.
class Worker : public QThread {
    Q_OBJECT
public:
    // The creating page is not made the parent. Starts the online poll at once.
    explicit Worker(QObject* creatingPage = nullptr);
    ~Worker() override;

    // The one Worker (the button page makes it); null when there is none.
    static Worker* instance();

    // RunRequested := 1 and start the thread. A start while a run is under way is not lost:
    // that run goes round once more.
    void StartRun();
    // RunRequested := 0; a start that has not begun yet is cancelled too, and a run under
    // way opens no link after this.
    void ClearRunRequest();

    // The factory reset holds the poll while it reloads.
    void StopPoll();
    void StartPoll();

    static constexpr int PollIntervalMs = 1300;

protected:
    void run() override;

private slots:
    void SlotSelectMouseInfo(DeviceAllInfo SelectInfo);
    void SlotMainPageChange();
    void SlotCheckOnline();

private:
    void runOnce();

    QString lastPath;  // device whose link the last run opened (worker thread only)
    int lastKind = 0;  // its kind byte
    unsigned m_closesAtOpen = 0;        // DataLinkCloseCount when that link was opened
    std::atomic<unsigned> m_cancels{0};  // counts ClearRunRequest calls
    QTimer* m_poll = nullptr;
    std::mutex m_startLock;
    bool m_startAgain = false;  // a start arrived while a run was under way
    bool m_inTail = false;      // run() has decided to return
};

// Makes r the current device when it answers online, then starts a run either way.
void SelectCurrentDevice(DeviceAllInfo r);

// The hot-plug callback while the configuration frame is shown: follows the current mouse
// from receiver to cable, goes back to the device-choice page when it is gone, and reports
// whether a newer receiver firmware image exists.
void OnMainPageUsbChanged();

// After the pairing dialog returns over the frame: the frame's hot-plug callback again, the
// data link reopened on the current device and a full read asked for (the receiver may hold
// another mouse now).
void ResumeFrameLinkAfterPairing();

// The product ids the frame's scan looks for: every non-empty entry of "USB_PID",
// "Wireless_PID", "Wireless2_PID", "Wireless4_PID" and "Wireless8_PID" of group "Option".
QStringList ScannedProductIds();

// The receiver type that picks the receiver firmware name: 4 for kind 1, 2 for kind 4, 1 for
// kind 0; 0 (no receiver firmware) for every other kind.
int ReceiverTypeOfKind(int kind);

// The versions the frame shows for the current device: the receiver's and the mouse's
// version texts and the receiver type of the firmware checks. A receiver offline shows only
// its own version; a mouse on its cable takes the receiver beside it (a list of two).
struct DeviceVersions {
    QString receiver;
    QString mouse;
    int receiverType = 0;
};
DeviceVersions CurrentDeviceVersions(const DeviceAllInfo& current, const QList<DeviceAllInfo>& list);

// The firmware version of the receiver beside a mouse on its cable: with exactly two listed
// devices, that of the first one reached without a cable whose status was read; else empty.
QString ReceiverVersionBesideCable(const QList<DeviceAllInfo>& list);

// Tells the frame the receiver's firmware version and whether a newer receiver image of
// `receiverType` lies in the firmware folder (ReceiverUpdateAvailable follows the search).
// Without that folder nothing is searched and no update is offered.
void ReportReceiverFirmware(const QString& version, int receiverType);
