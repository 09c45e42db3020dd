#include "device/CurrentDevice.h"

#include "device/WorkingImage.h"

#include <QMutex>

namespace {

struct CurrentDeviceState {
    DeviceAllInfo record;
    QByteArray path;
    QString chosenCacheName;
    QString loadedCacheName;
};

QBasicMutex stateLock;  // constant-initialised: usable before main
CurrentDeviceState& state()
{
    static CurrentDeviceState current;
    return current;
}

}  // namespace

DeviceAllInfo CurrentDeviceRecord()
{
    QMutexLocker lock(&stateLock);
    return state().record;
}

void SetCurrentDeviceRecord(const DeviceAllInfo& record)
{
    bool changed;
    {
        QMutexLocker lock(&stateLock);
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
        QMutexLocker lock(&stateLock);
        const QString before = state().record.path;
        change(state().record);
        changed = state().record.path != before;
    }
    if (changed)
        SetWorkingImageLoaded(false);
}

QByteArray CurrentDevicePath()
{
    QMutexLocker lock(&stateLock);
    return state().path;
}

void SetCurrentDevicePath(const QByteArray& path)
{
    bool changed;
    {
        QMutexLocker lock(&stateLock);
        changed = state().path != path;
        state().path = path;
    }
    if (changed)
        SetWorkingImageLoaded(false);
}

QString ChosenCacheName()
{
    QMutexLocker lock(&stateLock);
    return state().chosenCacheName;
}

void SetChosenCacheName(const QString& name)
{
    QMutexLocker lock(&stateLock);
    state().chosenCacheName = name;
}

QString LoadedCacheName()
{
    QMutexLocker lock(&stateLock);
    return state().loadedCacheName;
}

void SetLoadedCacheName(const QString& name)
{
    QMutexLocker lock(&stateLock);
    state().loadedCacheName = name;
}

void ResetCurrentDevice()
{
    {
        QMutexLocker lock(&stateLock);
        state() = CurrentDeviceState();
    }
    SetWorkingImageLoaded(false);
}
