#pragma once
#include <QByteArray>
#include <QString>
#include <functional>

#include "device/DeviceAllInfo.h"

// The current device: its record, the path every device-side library call uses, and the
// two cache file names. All four sit behind one lock; readers get copies. Safe from any
// thread. Do not emit signals or call the library from inside an update function.
// A change of path (of the record or of the device path) clears the working image's loaded
// marker and starts a new link generation first, under this lock, so the new path is never
// seen with the marker still set and no full load asked for before the change is installed.

DeviceAllInfo CurrentDeviceRecord();
// Replaces the record. When the path changes, the working image no longer holds this
// device's configuration, so its loaded marker is cleared.
void SetCurrentDeviceRecord(const DeviceAllInfo& record);
// Reads, changes and writes the record in one step under the lock.
void UpdateCurrentDeviceRecord(const std::function<void(DeviceAllInfo&)>& change);

// The device path given to the library (NUL-terminated by QByteArray). Empty until chosen.
QByteArray CurrentDevicePath();
// Clears the working image's loaded marker when the path changes.
void SetCurrentDevicePath(const QByteArray& path);

// Cache file name of the device chosen on the choice page (the one read).
QString ChosenCacheName();
void SetChosenCacheName(const QString& name);
// Cache file name of the device whose configuration was last loaded in full (the one written).
QString LoadedCacheName();
void SetLoadedCacheName(const QString& name);

// Back to the start state: empty record and path, no names. For tests and start-up.
void ResetCurrentDevice();
