#include "device/WorkingImage.h"

#include <mutex>

namespace {

std::mutex imageLock;  // constant-initialised: usable before main; visible to thread checkers
FlashDataMap workingImage{};
bool workingImageLoaded = false;
QByteArray* loadedFromPath = nullptr;  // link path of the last full load (created on first use)
QByteArray* linkPath = nullptr;        // path of the open link
bool linkOpen = false;
unsigned generation = 0;
unsigned openGeneration = ~0u;  // generation the open link started

QByteArray& loadedFrom()
{
    if (!loadedFromPath)
        loadedFromPath = new QByteArray;  // lives as long as the program, like the image
    return *loadedFromPath;
}

QByteArray& openPath()
{
    if (!linkPath)
        linkPath = new QByteArray;
    return *linkPath;
}

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
    loadedFrom() = linkOpen ? openPath() : QByteArray();
}

bool LoadWorkingImageFromLink(const FlashDataMap& image, unsigned askedIn)
{
    std::lock_guard<std::mutex> lock(imageLock);
    if (askedIn != generation || !linkOpen || openGeneration != generation)
        return false;
    workingImage = image;
    workingImageLoaded = true;
    loadedFrom() = openPath();
    return true;
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

void ForgetWorkingImage()
{
    std::lock_guard<std::mutex> lock(imageLock);
    workingImageLoaded = false;
    const bool linkWasCurrent = linkOpen && openGeneration == generation;
    ++generation;
    if (linkWasCurrent)
        openGeneration = generation;
}

void WorkingImageDeviceChanged()
{
    std::lock_guard<std::mutex> lock(imageLock);
    workingImageLoaded = false;
    ++generation;
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

void WorkingImageLinkOpened(const QByteArray& path)
{
    std::lock_guard<std::mutex> lock(imageLock);
    // The same mouse again (a pairing or a settings change re-opens its link): the image still
    // holds its configuration.
    if (!(workingImageLoaded && loadedFrom() == path && !path.isEmpty()))
        workingImageLoaded = false;
    ++generation;
    openGeneration = generation;
    openPath() = path;
    linkOpen = true;
}

void WorkingImageLinkClosed()
{
    std::lock_guard<std::mutex> lock(imageLock);
    workingImageLoaded = false;
    ++generation;
    linkOpen = false;
    openPath().clear();
}

unsigned WorkingImageLinkGeneration()
{
    std::lock_guard<std::mutex> lock(imageLock);
    return generation;
}

bool WorkingImageLinkCurrent()
{
    std::lock_guard<std::mutex> lock(imageLock);
    return linkOpen && openGeneration == generation;
}
