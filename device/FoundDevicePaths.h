#pragma once
#include <QString>
#include <QStringList>

#include "device/DeviceAllInfo.h"

// How the library's path texts are read and handed back. The frame's scan treats them as
// UTF-8, the device-choice page as the local 8-bit encoding.
enum class PathEncoding { Utf8, Local8Bit };

// The finder answers at most this many paths per product id.
constexpr int MaxPathsPerId = 5;

// Copies the finder's path array (count entries, at most MaxPathsPerId; null entries
// skipped). The array lives only until the library's next find call, so copy it first.
QStringList CopyFoundPaths(char** found, int count, PathEncoding encoding);

// A record for a found path: ids as searched, firmware version from the HID attribute.
DeviceAllInfo RecordForFoundPath(const QString& path, const QString& vendorId, const QString& productId,
                                 PathEncoding encoding);
