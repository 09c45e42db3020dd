#pragma once
#include <atomic>
#include <cstdint>

// Process-wide flags shared by the GUI thread, the Worker thread and the device
// library's threads. Atomics, so every read and write is free of data races; the
// values are those the device side and the pages agree on (0/1 unless said).
//
// The current device record, CurrentDevicePath and the cache file names live in
// device/CurrentDevice.h (included here for convenience).

// Page controls may write to the mouse; set on every page switch.
extern std::atomic<uint8_t> WriteEnabled;

// A page is filling its widgets from an image: its writes and the setters' offline notice are held back.
extern std::atomic<uint8_t> SensorPageBusy;
extern std::atomic<uint8_t> LightPageBusy;
extern std::atomic<uint8_t> ButtonPageBusy;

// The page was filled since the last full load.
extern std::atomic<uint8_t> SensorPageReady;
extern std::atomic<uint8_t> LightPageReady;
extern std::atomic<uint8_t> ButtonPageReady;

// A Worker run is wanted or under way.
extern std::atomic<uint8_t> RunRequested;

// Online at the last check; online state of the last load; the last run or load finished online.
extern std::atomic<uint8_t> MouseOnline;
extern std::atomic<uint8_t> LoadedOnline;
extern std::atomic<uint8_t> LoadFinished;

// Offline notice waiting for the mouse; start a run at the next poll tick; reload even the same device.
extern std::atomic<uint8_t> WaitingForMouse;
extern std::atomic<uint8_t> RestartWanted;
extern std::atomic<uint8_t> ForceReload;

// A profile import or factory reset owns the busy dialog.
extern std::atomic<uint8_t> NoBusyDialog;

// No firmware update runs (1 at start).
extern std::atomic<uint8_t> FirmwareIdle;

// Configuration frame shown (1) or device-choice page (0).
extern std::atomic<int> MainPageActive;

// The macro page records keys; the top-level window ignores keys.
extern std::atomic<uint8_t> MacroRecording;

// A newer receiver firmware image exists; a newer mouse firmware image exists.
extern std::atomic<uint8_t> ReceiverUpdateAvailable;
extern std::atomic<uint8_t> MouseNewFirmware;

// An update started from the settings page's buttons runs.
extern std::atomic<uint8_t> ManualUpdateActive;

// The pairing dialog pairs PairingDevice (1) or the single listed device (0).
extern std::atomic<uint8_t> PairChosenDevice;

// Text of the mouse-offline notice: 0 normal, 1 time-out.
extern std::atomic<int> OfflineTextIndex;

// A profile import owns the busy dialog; result of the last import 0, 1 or 2.
extern std::atomic<uint8_t> ImportRunning;
extern std::atomic<int> ImportResult;

// The next full load reconciles the key records; skips the receiver read-back.
extern std::atomic<uint8_t> ReconcilePending;
extern std::atomic<uint8_t> SkipReceiverRead;

// The catalogue "MID" of the model chosen on the device-choice page.
extern std::atomic<int> ChosenModelId;

// The catalogue's model count ("DeviceTotal"): a record with this model index is an unlisted model.
extern std::atomic<int> ModelCount;

#include "device/CurrentDevice.h"
