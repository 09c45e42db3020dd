#pragma once
#include <QString>
#include <cstdint>

#include "device/FlashDataMap.h"

// Device cache files: one device image per mouse model in the per-user "/Device_Info/"
// folder, so the pages can be filled while the mouse is offline. Content: a data-stream
// block, a 32-bit big-endian length 10,428 followed by the image (10,432 bytes in all).

// "<per-user folder>/Device_Info/"
QString DeviceCacheFolder();
// "CID" + CID + "_MID" + MID, both as two upper-case hexadecimal digits: names a mouse by
// its model from one run to the next.
QString DeviceIdText(uint8_t cid, uint8_t mid);
// "Device_" + DeviceIdText + ".bin".
QString DeviceCacheFileName(uint8_t cid, uint8_t mid);

// Reads the cache file of that name (in DeviceCacheFolder()) into out. True only when the
// file holds exactly one block of 10,428 bytes; otherwise out is left unchanged. Callers
// that use a local image start it zeroed (FlashDataMap image{}).
bool ReadDeviceInfoFile(QString name, FlashDataMap* out);
// Writes the image as the cache file of that name, atomically (a crash during the write
// leaves the old file as it was). Creates the folder when missing. True when written.
bool WriteDeviceInfoFile(QString name, const FlashDataMap& image);
// Writes the working image as the cache file of the mouse it was loaded from (LoadedCacheName).
// Without a configuration loaded from a mouse the image holds zeros or another mouse's
// settings, so nothing is written then. True when written.
bool WriteLoadedCacheFile();
