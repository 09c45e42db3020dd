#pragma once
#include <QByteArray>
#include <functional>

#include "device/FlashDataMap.h"

// The one working device image: the program's copy of the current mouse's configuration.
// Written by the GUI thread (setters, profile import) and by the library's data thread, so
// every copy in or out holds one lock, and only for the copy: never emit a signal or call
// the library from inside a change function.
//
// The loaded marker says the image holds the current mouse's configuration. A full load from
// the open link (or an accepted profile import) sets it. Re-opening the link on the device the
// image was loaded from keeps it; a device change, closing the link or a link opened on another
// device clears it, and so does whatever replaces the mouse's configuration behind the image
// (ForgetWorkingImage). Without it the setters send nothing, so a mouse is never handed zeros
// or another mouse's configuration.
//
// The link generation counts every open and close of the data link and every device change,
// under the same lock as the marker: a full load asked for in one generation is installed only
// while that generation lasts, so an answer parsed just before a change is dropped.
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
// The same for a full load asked for in link generation `generation`: installs nothing and
// returns false when the link or the device changed since.
bool LoadWorkingImageFromLink(const FlashDataMap& image, unsigned generation);

bool WorkingImageLoaded();
void SetWorkingImageLoaded(bool loaded);
// The mouse's configuration was replaced behind the image (a pairing run, a profile switch, a
// factory reset): clears the marker and starts a new link generation, so an answer asked for
// before is dropped; the open link stays usable for a new full read.
void ForgetWorkingImage();
// The current device changed: clears the marker and starts a new link generation; no full
// read is asked of the open link until it is opened again.
void WorkingImageDeviceChanged();

// When the marker is set: applies change and copies the changed image into snapshot, in
// one step, and returns true. Otherwise changes nothing and returns false.
bool ChangeLoadedWorkingImage(const std::function<void(FlashDataMap&)>& change, FlashDataMap* snapshot);

// Link bookkeeping, called by the data link's open and close (device/DataLink.h).
void WorkingImageLinkOpened(const QByteArray& path);
void WorkingImageLinkClosed();
unsigned WorkingImageLinkGeneration();
// True while a link is open and nothing changed since it was opened: an answer asked for now
// comes from the device the link was opened on.
bool WorkingImageLinkCurrent();
