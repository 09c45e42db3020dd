#include "ControlSocket.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace hidsim {

namespace {

std::string fallbackFolder()
{
    return "/tmp/kavro-sim-" + std::to_string(static_cast<unsigned long>(::geteuid()));
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::string controlUserFolder()
{
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/") + "/AppData/Local/TrelmC";
}

ControlSocketPlace controlSocketPlace()
{
    if (const char* path = std::getenv("KAVRO_SIM_SOCKET")) {
        if (*path)
            return {path, folderOf(path)};
    }
    uint64_t hash = 1469598103934665603ull;  // FNV-1a
    for (unsigned char c : controlUserFolder()) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char name[64];
    std::snprintf(name, sizeof name, "/kavro-sim-%016llx.sock", static_cast<unsigned long long>(hash));
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string folder =
        runtime && *runtime && privateFolderProblem(runtime).empty() ? std::string(runtime) : fallbackFolder();
    return {folder + name, folder};
}

std::string privateFolderProblem(const std::string& folder)
{
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0)
        return folder + ": " + std::strerror(errno);
    if (!S_ISDIR(info.st_mode))
        return folder + " is not a folder";
    if (info.st_uid != ::geteuid())
        return folder + " belongs to another user";
    if (info.st_mode & (S_IRWXG | S_IRWXO))
        return folder + " is open to other users";
    return {};
}

std::string prepareControlFolder(const ControlSocketPlace& place, bool create)
{
    // Only our own fixed folder is made; one that exists is checked like any other.
    if (create && place.folder == fallbackFolder())
        ::mkdir(place.folder.c_str(), 0700);
    return privateFolderProblem(place.folder);
}

}  // namespace hidsim
