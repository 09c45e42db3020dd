#pragma once
#include <QByteArray>
#include <QString>

#include "device/FlashDataMap.h"

// Profile exchange files: a data stream of three length-prefixed byte blocks (32-bit
// big-endian length, then the bytes): the maker tag and the model's sensor name, both
// NUL-padded 12-byte texts, then the whole device image. 10,464 bytes in all.
namespace ProfileFile {

enum Result {
    Accepted = 0,    // out holds the file's image
    Unreadable = 1,  // cannot be opened, not a profile of this maker, cut short or a damaged image
    Mismatch = 2,    // made for another sensor or for more DPI levels than the model has
};

// The maker tag every profile file carries.
extern const char* const MakerTag;
// Size of the tag and sensor fields; a longer sensor name is cut to this many bytes.
constexpr int TextFieldSize = 12;
// Size of a file as written.
constexpr int FileSize = 3 * 4 + 2 * TextFieldSize + int(sizeof(FlashDataMap));

// A profile is 10,464 bytes; anything far larger is not one and is not read.
constexpr qint64 MaxFileSize = 1024 * 1024;

// The sensor field of a file: the name in UTF-8, cut to 12 bytes.
QByteArray sensorField(const QString& sensorName);

// The bytes of a profile file for `image` of a model whose sensor is `sensorName`.
QByteArray encode(const QString& sensorName, const FlashDataMap& image);

// Writes encode() to `path` in one step (an existing file is replaced only by a complete
// one). False when the file cannot be written; nothing has changed then.
bool write(const QString& path, const QString& sensorName, const FlashDataMap& image);

// Reads `path` and checks it against the current model's sensor name and DPI level limit,
// in this order: maker tag, a whole image block, an image with at least one DPI level in use
// and its current level among them (1 when any fails), sensor name compared as written
// (cut to 12 bytes), DPI levels within `dpiMaxGrade` (2 when either fails).
// `out` is zeroed first and is filled only when the checks up to the sensor passed; an image
// block longer than the device image contributes its first 10,428 bytes, and bytes after the
// block are ignored.
int read(const QString& path, const QString& sensorName, int dpiMaxGrade, FlashDataMap* out);

}  // namespace ProfileFile
