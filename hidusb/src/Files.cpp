#include "Files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hidsim {

namespace {

// A temporary is its file's name and this, the last six characters made unique by mkostemp.
constexpr char TemporarySuffix[] = ".XXXXXX";
constexpr size_t TemporarySuffixSize = sizeof TemporarySuffix - 1;
// A write takes milliseconds; a temporary this old was left by one that never ended.
constexpr time_t LeftoverAgeSeconds = 60;

bool isTemporaryCharacter(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string folderOf(const std::string& fileName)
{
    const size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : fileName.substr(0, slash);
}

bool makeFolders(const std::string& folder, std::string* error)
{
    for (size_t next = 1; next <= folder.size(); ++next) {
        if (next != folder.size() && folder[next] != '/')
            continue;
        const std::string part = folder.substr(0, next);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            *error = part + ": " + std::strerror(errno);
            return false;
        }
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        *error = folder + ": not a folder";
        return false;
    }
    return true;
}

// The rename itself reaches the disk only with its folder.
void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool writeAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

ReadResult readSmallFile(const std::string& fileName, size_t limit, std::string* text, std::string* error)
{
    // O_NONBLOCK keeps the open itself from waiting for a FIFO's writer.
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return ReadResult::Missing;
        *error = "cannot open the file";
        return ReadResult::Failed;
    }
    struct stat info{};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        *error = "not a regular file";
        return ReadResult::Failed;
    }
    if (info.st_size < 0 || static_cast<unsigned long long>(info.st_size) > limit) {
        ::close(fd);
        *error = "the file is too large";
        return ReadResult::Failed;
    }
    text->clear();
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            // A failed read is not the end of the file: half a file must not pass for a whole one.
            ::close(fd);
            *error = "cannot read the file";
            return ReadResult::Failed;
        }
        if (n == 0)
            break;
        text->append(buffer, static_cast<size_t>(n));
        if (text->size() > limit) {
            ::close(fd);
            *error = "the file is too large";
            return ReadResult::Failed;
        }
    }
    ::close(fd);
    return ReadResult::Read;
}

bool writeFileAtomically(const std::string& fileName, const std::string& bytes, std::string* error)
{
    const std::string folder = folderOf(fileName);
    if (!makeFolders(folder, error))
        return false;
    std::string temporary = fileName + TemporarySuffix;
    const int fd = ::mkostemp(&temporary[0], O_CLOEXEC);
    if (fd < 0) {
        *error = folder + ": " + std::strerror(errno);
        return false;
    }
    bool done = writeAll(fd, bytes) && ::fsync(fd) == 0;
    int failure = errno;
    if (::close(fd) != 0 && done) {
        done = false;
        failure = errno;
    }
    if (done && ::rename(temporary.c_str(), fileName.c_str()) != 0) {
        done = false;
        failure = errno;
    }
    if (!done) {
        *error = fileName + ": " + std::strerror(failure);
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

void removeLeftoverTemporaries(const std::string& folder, const std::function<bool(const std::string&)>& ours)
{
    DIR* listing = ::opendir(folder.c_str());
    if (!listing)
        return;
    const time_t now = ::time(nullptr);
    bool removed = false;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name.size() <= TemporarySuffixSize || name[name.size() - TemporarySuffixSize] != '.')
            continue;
        bool unique = true;
        for (size_t i = name.size() - TemporarySuffixSize + 1; i < name.size(); ++i)
            unique = unique && isTemporaryCharacter(name[i]);
        if (!unique || !ours(name.substr(0, name.size() - TemporarySuffixSize)))
            continue;
        const std::string path = folder + "/" + name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && now - info.st_mtime >= LeftoverAgeSeconds)
            removed = ::unlink(path.c_str()) == 0 || removed;
    }
    ::closedir(listing);
    if (removed)
        syncFolder(folder);
}

bool removeFile(const std::string& fileName, std::string* error)
{
    if (::unlink(fileName.c_str()) != 0 && errno != ENOENT) {
        *error = fileName + ": " + std::strerror(errno);
        return false;
    }
    syncFolder(folderOf(fileName));
    return true;
}

}  // namespace hidsim
