#include "device/WorkingImage.h"

#include <QMutex>

namespace {

QBasicMutex imageLock;  // constant-initialised: usable before main
FlashDataMap workingImage{};
bool workingImageLoaded = false;

}  // namespace

FlashDataMap WorkingImageCopy()
{
    QMutexLocker lock(&imageLock);
    return workingImage;
}

void SetWorkingImage(const FlashDataMap& image)
{
    QMutexLocker lock(&imageLock);
    workingImage = image;
}

void UpdateWorkingImage(const std::function<void(FlashDataMap&)>& change)
{
    QMutexLocker lock(&imageLock);
    change(workingImage);
}

void ClearWorkingImage()
{
    QMutexLocker lock(&imageLock);
    workingImage = FlashDataMap{};
    workingImageLoaded = false;
}

bool WorkingImageLoaded()
{
    QMutexLocker lock(&imageLock);
    return workingImageLoaded;
}

void SetWorkingImageLoaded(bool loaded)
{
    QMutexLocker lock(&imageLock);
    workingImageLoaded = loaded;
}

bool ChangeLoadedWorkingImage(const std::function<void(FlashDataMap&)>& change, FlashDataMap* snapshot)
{
    QMutexLocker lock(&imageLock);
    if (!workingImageLoaded)
        return false;
    change(workingImage);
    *snapshot = workingImage;
    return true;
}
