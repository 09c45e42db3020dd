#include "common/CheckedFile.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace CheckedFile {

namespace {

Result failure(Status status, const QString& path, const QString& why)
{
    Result result;
    result.status = status;
    result.reason = why;
    result.error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + why;
    return result;
}

QString tooLargeText(qint64 limit)
{
    return QStringLiteral("larger than %1 bytes").arg(limit);
}

// Opens without blocking (a pipe with no writer would block an ordinary open) and checks
// the kind and size through the handle. Returns the handle, or -1 with *result filled.
int openRegular(const QString& path, qint64 limit, Result* result)
{
    if (path.isEmpty()) {
        *result = failure(Status::Missing, path, QStringLiteral("no path"));
        return -1;
    }
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        const bool missing = error == ENOENT || error == ENOTDIR;
        *result = failure(missing ? Status::Missing : Status::ReadError, path, QString::fromLocal8Bit(std::strerror(error)));
        return -1;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        *result = failure(Status::ReadError, path, QString::fromLocal8Bit(std::strerror(error)));
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        *result = failure(Status::NotRegular, path, QStringLiteral("not a regular file"));
        return -1;
    }
    if (limit >= 0 && qint64(info.st_size) > limit) {
        ::close(fd);
        *result = failure(Status::TooLarge, path, tooLargeText(limit));
        return -1;
    }
    // Reads of a regular file never block; cleared all the same so that they wait for the disk.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    result->status = Status::Ok;
    result->reason.clear();
    result->error.clear();
    return fd;
}

}  // namespace

Result open(QFile& file, const QString& path, qint64 limit)
{
    Result result;
    if (file.isOpen())
        file.close();
    const int fd = openRegular(path, limit, &result);
    if (fd < 0)
        return result;
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failure(Status::ReadError, path, file.errorString());
    }
    return result;
}

Result read(const QString& path, qint64 limit)
{
    QFile file;
    Result result = open(file, path, limit);
    if (!result.ok())
        return result;
    // A file may grow after it was measured, and some (under /proc) tell no size at all: the
    // read itself stops one byte past the limit.
    QByteArray bytes = limit >= 0 ? file.read(limit + 1) : file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(Status::ReadError, path, file.errorString());
    if (limit >= 0 && bytes.size() > limit)
        return failure(Status::TooLarge, path, tooLargeText(limit));
    result.bytes = std::move(bytes);
    return result;
}

Result check(const QString& path, qint64 limit)
{
    Result result;
    const int fd = openRegular(path, limit, &result);
    if (fd >= 0)
        ::close(fd);
    return result;
}

QString pictureForQt(const QString& path)
{
    return check(path, PictureLimit).damaged() ? QString() : path;
}

}  // namespace CheckedFile
