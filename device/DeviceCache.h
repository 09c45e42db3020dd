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

// Reads the cache file of that name (in DeviceCacheFolder()) into out: what it holds, or the
// image a write still owes it (CacheFollowsMouse). True only when the file holds exactly one
// block of 10,428 bytes; otherwise out is left unchanged. Callers that use a local image start
// it zeroed (FlashDataMap image{}).
bool ReadDeviceInfoFile(QString name, FlashDataMap* out);
// Writes the image as the cache file of that name, atomically (a crash during the write
// leaves the old file as it was). Creates the folder when missing. True when written.
bool WriteDeviceInfoFile(QString name, const FlashDataMap& image);
// Writes the working image as the cache file of the mouse it was loaded from (LoadedCacheName),
// and every write still owed, at once. Without a configuration loaded from a mouse the image
// holds zeros or another mouse's settings, so it is not written then. True when it was written.
bool WriteLoadedCacheFile();

// A cache file is written at most once in this time while the changes follow each other.
constexpr int CacheWriteGapMs = 500;

// The mouse holds a new configuration (a full load, an image it took): the cache file follows
// it. The image is taken now, per mouse; the write runs on the GUI thread when its event loop
// next turns, or, while the changes follow each other (a drag that sends at every move), at
// most once a CacheWriteGapMs with the latest image. So a program killed at any moment leaves
// the cache at most that time of changes behind the mouse. Safe from any thread.
void CacheFollowsMouse();
// Writes at once what CacheFollowsMouse still owes, for every mouse: at the end of a drag, when
// the link closes, at the quit (also by itself when the application is about to quit). Safe
// from any thread; false when a write failed.
bool FlushDeviceCache();

// Hands `image` to the mouse of the open link (ProtocolDataUpdate); when the mouse took it, the
// cache follows. True when the mouse took it.
bool SendImageToMouse(FlashDataMap* image);

// Held while the pages are filled from a cache file rather than from the mouse: such a fill
// shows the values and writes nothing (no macro file). Safe from any thread.
class CacheFill {
public:
    CacheFill();
    ~CacheFill();
    CacheFill(const CacheFill&) = delete;
    CacheFill& operator=(const CacheFill&) = delete;
    static bool running();
};
