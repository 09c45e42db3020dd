#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>

// What a running firmware upgrade shares between the GUI thread and the library's status
// thread: the update states, the failed-update record and the two status callbacks (the
// settings page's and the repair dialog's). The callbacks only change these values, write
// the registry and emit hub signals; they never touch a widget.

// Update states of the receiver (DongleUpdate) and of the mouse (MouseUpdate).
enum UpdateState {
    UpdateRefused = 0,    // not exactly one device (or a broken image file)
    UpdateRunning = 1,
    UpdateSucceeded = 2,
    UpdateFailed = 3,
    UpdateEnded = 4,      // nothing to update, or the check ended
};
extern std::atomic<int> DongleUpdate;
extern std::atomic<int> MouseUpdate;
// Receiver type 1, 2, 4 (0 none) of the update last started from the settings page.
extern std::atomic<int> DongleType;
// Kind (210 mouse, 211 receiver) of the update last handed to the library.
extern std::atomic<int> UpdateKind;
// The catalogue MID of the update's model (the CID is UpdateCID, device/FirmwareFiles.h).
extern std::atomic<int> UpdateMID;
// The repair dialog's upgrade runs: from its first progress report to its final report.
extern std::atomic<uint8_t> RepairBusy;

// How long a started upgrade may go without any status report before it counts as failed
// (a library that never sends its final report). Scaled by the test suite's wait scale.
constexpr int UpgradeWatchdogMs = 60000;

// The failed-update record "UpdateFailInfo" (kind,type,CID,MID) under MouseVersionRegistryKey.
QString ReadFailRecord();
void WriteFailRecord(const QString& record);
void RemoveFailRecord();
// The fields of a record as the repair takes them: exactly four decimal numbers, else empty.
QStringList ParseFailRecord(const QString& record);

// The repair's record fields, shared with its status callback.
QStringList RepairFailRecord();
void SetRepairFailRecord(const QStringList& fields);

// Settings page: called on the GUI thread just before UsbUpgrade_Start with the image handed
// to the library, which keeps its bytes alive until the next upgrade starts (the library may
// read them while it flashes). The success text and, for a mouse image, the registry value
// that takes the new mouse version (empty for a receiver) are fixed here, from the header of
// the image being started.
void BeginSettingsUpgrade(const QByteArray& image, const QString& versionText, const QString& mouseVersionValue);
// Settings page's status callback (library thread).
void OnUpgradeStatus(uint8_t* status);
// Settings page, GUI thread: ends the running upgrade as a failure when no report came for
// the watchdog time. True when it did.
bool SettingsUpgradeWatchdog();

// Repair dialog: called on the GUI thread just before UsbUpgrade_Start; keeps the image's
// bytes alive as above, also when the dialog is closed before the upgrade ends.
void BeginRepairUpgrade(const QByteArray& image);
// Repair dialog's status callback (library thread).
void OnRepairStatus(uint8_t* status);
// Repair dialog, GUI thread: as SettingsUpgradeWatchdog. True when it ended the repair.
bool RepairUpgradeWatchdog();
// The repair's upgrade was started and has not ended yet.
bool RepairUpgradeRunning();
