#pragma once
#include <functional>

#include "device/FlashDataMap.h"

// The one working device image: the program's copy of the current mouse's configuration.
// Written by the GUI thread (setters, profile import) and by the library's data thread, so
// every copy in or out holds one lock, and only for the copy: never emit a signal or call
// the library from inside a change function.
//
// The loaded marker says the image holds the current mouse's configuration (set by a full
// load or an accepted profile import; cleared when the link closes or the current device
// changes). Without it the setters send nothing, so a mouse is never handed zeros or
// another mouse's configuration.
//
// The current device's lock may be held while this lock is taken (a device change clears the
// marker), never the other way round: a change function must not call the current-device
// functions.

FlashDataMap WorkingImageCopy();
void SetWorkingImage(const FlashDataMap& image);
// Changes the image in place under the lock.
void UpdateWorkingImage(const std::function<void(FlashDataMap&)>& change);
// Sets the image to all zero and clears the loaded marker.
void ClearWorkingImage();

// Installs a freshly loaded image of the current mouse and sets the marker in one step, so
// no setter sees the marker with the previous image or the new image without the marker.
void LoadWorkingImage(const FlashDataMap& image);

bool WorkingImageLoaded();
void SetWorkingImageLoaded(bool loaded);

// When the marker is set: applies change and copies the changed image into snapshot, in
// one step, and returns true. Otherwise changes nothing and returns false.
bool ChangeLoadedWorkingImage(const std::function<void(FlashDataMap&)>& change, FlashDataMap* snapshot);
