#include "device/WorkingImage.h"

#include <mutex>

namespace {

std::mutex imageLock;  // constant-initialised: usable before main; visible to thread checkers
FlashDataMap workingImage{};
bool workingImageLoaded = false;

}  // namespace

FlashDataMap WorkingImageCopy()
{
    std::lock_guard<std::mutex> lock(imageLock);
    return workingImage;
}

void SetWorkingImage(const FlashDataMap& image)
{
    std::lock_guard<std::mutex> lock(imageLock);
    workingImage = image;
}

void LoadWorkingImage(const FlashDataMap& image)
{
    std::lock_guard<std::mutex> lock(imageLock);
    workingImage = image;
    workingImageLoaded = true;
}

void UpdateWorkingImage(const std::function<void(FlashDataMap&)>& change)
{
    std::lock_guard<std::mutex> lock(imageLock);
    change(workingImage);
}

void ClearWorkingImage()
{
    std::lock_guard<std::mutex> lock(imageLock);
    workingImage = FlashDataMap{};
    workingImageLoaded = false;
}

bool WorkingImageLoaded()
{
    std::lock_guard<std::mutex> lock(imageLock);
    return workingImageLoaded;
}

void SetWorkingImageLoaded(bool loaded)
{
    std::lock_guard<std::mutex> lock(imageLock);
    workingImageLoaded = loaded;
}

bool ChangeLoadedWorkingImage(const std::function<void(FlashDataMap&)>& change, FlashDataMap* snapshot)
{
    std::lock_guard<std::mutex> lock(imageLock);
    if (!workingImageLoaded)
        return false;
    change(workingImage);
    *snapshot = workingImage;
    return true;
}
