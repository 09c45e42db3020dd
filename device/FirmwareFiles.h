#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>
#include <cstdint>

// Firmware image files in the program's "/bin" folder: reading their header, comparing
// versions and choosing the image to flash.

// The image chosen for a settings-page update (at most one element after a search that
// found one; empty after one that did not). GUI thread only.
extern QList<QByteArray> FirmwareImages;
// The catalogue's "Option"/"CID", stored by every CheckNewFirmware call (any thread).
extern std::atomic<int> UpdateCID;

namespace FirmwareFiles {

constexpr int HeaderSize = 728;
constexpr uint8_t MouseKind = 210;
constexpr uint8_t ReceiverKind = 211;

// Header offsets.
constexpr int VersionOffset = 0x10;
constexpr int KindOffset = 0x14;
constexpr int CidOffset = 0x15;
constexpr int MidOffset = 0x16;
constexpr int ModelNameOffset = 0x57;
constexpr int ModelNameSize = 64;
// A mouse or receiver image is far smaller; a larger file is not one and is never read whole.
constexpr qint64 MaxImageFileSize = 16 * 1024 * 1024;

struct FirmwareHeader {
    uint32_t version = 0;  // major = version >> 8, minor = version & 0xFF
    uint8_t kind = 0;
    uint8_t cid = 0;
    uint8_t mid = 0;
    QString modelName;
};

// Reads the header from the start of a file's content; false when the content is shorter
// than the header.
bool ReadHeader(const QByteArray& content, FirmwareHeader* header);

// Builds a header of HeaderSize bytes (used to make image files, e.g. in tests).
QByteArray MakeHeader(const FirmwareHeader& header);

// A version as two numbers, compared part by part.
struct FirmwareVersion {
    uint64_t major = 0;
    uint64_t minor = 0;
    friend bool operator==(const FirmwareVersion& a, const FirmwareVersion& b)
    {
        return a.major == b.major && a.minor == b.minor;
    }
    friend bool operator!=(const FirmwareVersion& a, const FirmwareVersion& b) { return !(a == b); }
    friend bool operator<(const FirmwareVersion& a, const FirmwareVersion& b)
    {
        return a.major != b.major ? a.major < b.major : a.minor < b.minor;
    }
};

FirmwareVersion VersionFromHeader(uint32_t version);
// "1.a" for 0x00010A: major in decimal, minor in lower-case hexadecimal.
QString VersionText(uint32_t version);
// Reads a version text as the program writes it, with or without its leading "v":
// major decimal, minor hexadecimal ("v1.a" is 1.10, "2.10" is 2.16). A part that is not a
// number counts as 0.
FirmwareVersion ParseVersionText(QString text);

// What a search looks for. CID and MID are the catalogue numbers taken as bytes.
struct FirmwareQuery {
    uint8_t kind = 0;
    QString deviceVersion;  // empty: the device's version is unknown
    QString modelName;
    uint8_t cid = 0;
    uint8_t mid = 0;
};

// AppPaths::programDir() + "/bin".
QString BinFolder();

// Every search skips, with one log line naming the file and the reason, a file that cannot
// be opened or read, is shorter than the header, is larger than MaxImageFileSize or names a kind
// other than the mouse's and the receiver's. refused, when given, tells whether a skipped
// file would otherwise have been accepted (too large, or its content could not be read).

// Is there an image newer than the device's version? An empty version answers false.
bool ScanFirmwareFiles(const QString& binDir, const FirmwareQuery& query);
// Same, and holds the chosen image (the highest newer version) in images, which is
// emptied first. An empty version accepts every matching image.
bool FindFirmwareFile(const QString& binDir, QList<QByteArray>& images, const FirmwareQuery& query,
                      bool* refused = nullptr);
// The repair's looser choice: any matching image whose version differs from the device's
// (an older one too) is accepted; the highest version is held. images is left as it was
// when nothing is accepted.
bool CheckRepairFirmwareFile(const QString& binDir, QList<QByteArray>& images, const FirmwareQuery& query,
                             bool* refused = nullptr);

// Catalogue key of the receiver firmware name for a receiver type: 1 "DM", 2 "D2M",
// 4 "D4M"; empty for any other type.
QString ReceiverModelKey(int receiverType);

// Is there a newer image for the model of catalogue index modelIndex (group "Drive" +
// (modelIndex + 1))? Kind 210 looks for the mouse ("MM"), any other kind for the receiver
// of receiverType. Stores the catalogue CID in UpdateCID. Safe from any thread.
bool CheckNewFirmware(const QString& binDir, int kind, const QString& deviceVersion, int receiverType,
                      int modelIndex);

}  // namespace FirmwareFiles
