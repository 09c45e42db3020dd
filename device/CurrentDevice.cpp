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
    bool changed;
    {
        std::lock_guard<std::mutex> lock(stateLock);
        changed = state().record.path != record.path;
        state().record = record;
    }
    if (changed)
        SetWorkingImageLoaded(false);
}

void UpdateCurrentDeviceRecord(const std::function<void(DeviceAllInfo&)>& change)
{
    bool changed;
    {
        std::lock_guard<std::mutex> lock(stateLock);
        const QString before = state().record.path;
        change(state().record);
        changed = state().record.path != before;
    }
    if (changed)
        SetWorkingImageLoaded(false);
}

QByteArray CurrentDevicePath()
{
    std::lock_guard<std::mutex> lock(stateLock);
    return state().path;
}

void SetCurrentDevicePath(const QByteArray& path)
{
    bool changed;
    {
        std::lock_guard<std::mutex> lock(stateLock);
        changed = state().path != path;
        state().path = path;
    }
    if (changed)
        SetWorkingImageLoaded(false);
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
    {
        std::lock_guard<std::mutex> lock(stateLock);
        state() = CurrentDeviceState();
    }
    SetWorkingImageLoaded(false);
}
