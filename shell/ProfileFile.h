#pragma once
#include <QString>

#include "device/FlashDataMap.h"

// Reading of profile exchange files: a data stream of three length-prefixed byte blocks
// (32-bit big-endian length, then the bytes): the maker tag, the model's sensor name (both
// NUL-padded texts) and the whole device image.
namespace ProfileFile {

enum Result {
    Accepted = 0,    // out holds the file's image
    Unreadable = 1,  // cannot be opened, not a profile of this maker, or cut short
    Mismatch = 2,    // made for another sensor or for more DPI levels than the model has
};

// The maker tag every profile file carries.
extern const char* const MakerTag;

// A profile is 10,464 bytes; anything far larger is not one and is not read.
constexpr qint64 MaxFileSize = 1024 * 1024;

// Reads `path` and checks it against the current model's sensor name and DPI level limit.
// `out` is zeroed first; on Accepted it holds the image (an image block longer than the
// device image contributes only its first 10,428 bytes; bytes after the block are ignored).
int read(const QString& path, const QString& sensorName, int dpiMaxGrade, FlashDataMap* out);

}  // namespace ProfileFile
