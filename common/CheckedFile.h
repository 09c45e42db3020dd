#pragma once
#include <QByteArray>
#include <QString>

class QFile;

// The one way the program opens a file it reads: only a regular file (a named pipe, a device,
// a socket or a folder is refused before anything is read, so no reader waits for a writer
// that never comes), only up to the size limit of its kind, and every failure told to the
// caller. The file is opened without blocking and checked through the open handle, so it
// cannot be swapped for a pipe between the check and the read.
namespace CheckedFile {

enum class Status {
    Ok,
    Missing,     // no file (or no folder) at the path
    NotRegular,  // a pipe, device, socket or folder
    TooLarge,    // over the limit of its kind
    ReadError,   // cannot be opened or read (no permission, I/O error ...)
};

struct Result {
    Status status = Status::Missing;
    QByteArray bytes;  // the whole content when status is Ok
    QString reason;    // what is wrong ("not a regular file" ...); empty when Ok
    QString error;     // the file's path, ": " and the reason; empty when Ok

    bool ok() const { return status == Status::Ok; }
    // There is something at the path, but it cannot serve as the file it should be.
    bool damaged() const { return status != Status::Ok && status != Status::Missing; }
};

// Size limits by kind of file. The shipped files and the ones the program writes are far
// smaller; a file over its limit is damaged or hostile.
constexpr qint64 SettingsLimit = 1 << 20;        // Macro.ini, the registry stand-in's files
constexpr qint64 CatalogueLimit = 4 << 20;       // usersetting/Config.ini
constexpr qint64 LanguageLimit = 1 << 20;        // Language/*.xml, Net.xml
constexpr qint64 SensorHeaderLimit = 1 << 20;    // driver_sensor.h
constexpr qint64 SmallTextLimit = 4 << 10;       // SensorPage/Level.ini
constexpr qint64 PictureLimit = 64 << 20;        // one picture of Picture/
constexpr qint64 NoLimit = -1;                   // the reader checks the size itself

// Reads the whole file at `path`, at most `limit` bytes (NoLimit: any size).
Result read(const QString& path, qint64 limit);

// Opens `file` on `path` for reading (binary), a regular file of at most `limit` bytes, for a
// reader that takes only a part of it or streams it. On failure the file stays closed and the
// result says why; its bytes are always empty.
Result open(QFile& file, const QString& path, qint64 limit);

// What the check of `path` finds, without reading the content (Ok: a regular file within the
// limit). For a store whose own layer opens the path afterwards.
Result check(const QString& path, qint64 limit);

// `path` when Qt's own loaders (style sheets, icons), which open a picture themselves, may be
// given it; empty for a file the opener refuses, which they would wait on (a pipe) or decode
// whole (a huge file). A missing file is given as it is: Qt shows nothing for it.
QString pictureForQt(const QString& path);

}  // namespace CheckedFile
