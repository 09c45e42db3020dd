#include "device/CurrentDevice.h"

#include "device/WorkingImage.h"

#include <mutex>

namespace {

struct CurrentDeviceState {
    DeviceAllInfo record;
    QByteArray path;
    QString chosenCacheName;
    QString loadedCacheName;
};

// Lock order: stateLock, then the working image's lock. A device change clears the image's
// loaded marker while it holds stateLock and before it writes the new path or record: a
// setter that finds the marker set took its snapshot before the change began.
std::mutex stateLock;  // constant-initialised: usable before main; visible to thread checkers
CurrentDeviceState& state()
{
    static CurrentDeviceState current;
    return current;
}

}  // namespace

DeviceAllInfo CurrentDeviceRecord()
{
    std::lock_guard<std::mutex> lock(stateLock);
    return state().record;
}

void SetCurrentDeviceRecord(const DeviceAllInfo& record)
{
    std::lock_guard<std::mutex> lock(stateLock);
    if (state().record.path != record.path)
        WorkingImageDeviceChanged();  // before the new path is visible
    state().record = record;
}

void UpdateCurrentDeviceRecord(const std::function<void(DeviceAllInfo&)>& change)
{
    std::lock_guard<std::mutex> lock(stateLock);
    DeviceAllInfo changed = state().record;
    change(changed);
    if (changed.path != state().record.path)
        WorkingImageDeviceChanged();
    state().record = changed;
}

QByteArray CurrentDevicePath()
{
    std::lock_guard<std::mutex> lock(stateLock);
    return state().path;
}

void SetCurrentDevicePath(const QByteArray& path)
{
    std::lock_guard<std::mutex> lock(stateLock);
    if (state().path != path)
        WorkingImageDeviceChanged();
    state().path = path;
}

QString ChosenCacheName()
{
    std::lock_guard<std::mutex> lock(stateLock);
    return state().chosenCacheName;
}

void SetChosenCacheName(const QString& name)
{
    std::lock_guard<std::mutex> lock(stateLock);
    state().chosenCacheName = name;
}

QString LoadedCacheName()
{
    std::lock_guard<std::mutex> lock(stateLock);
    return state().loadedCacheName;
}

void SetLoadedCacheName(const QString& name)
{
    std::lock_guard<std::mutex> lock(stateLock);
    state().loadedCacheName = name;
}

void ResetCurrentDevice()
{
    std::lock_guard<std::mutex> lock(stateLock);
    WorkingImageDeviceChanged();
    state() = CurrentDeviceState();
}
