#pragma once
// Where the library's control server listens and simctl connects.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace hidsim {

// The per-user folder of the program run with this home folder, which names its socket.
inline std::string controlUserFolder()
{
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/") + "/AppData/Local/TrelmC";
}

// KAVRO_SIM_SOCKET when set; else one socket per per-user folder (so a second copy of the
// program with another home gets its own, and simctl finds the one of its home), in
// $XDG_RUNTIME_DIR when set, else in /tmp.
inline std::string controlSocketPath()
{
    if (const char* path = std::getenv("KAVRO_SIM_SOCKET")) {
        if (*path)
            return path;
    }
    uint64_t hash = 1469598103934665603ull;  // FNV-1a
    for (unsigned char c : controlUserFolder()) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char name[64];
    std::snprintf(name, sizeof name, "/kavro-sim-%016llx.sock", static_cast<unsigned long long>(hash));
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string folder = runtime && *runtime ? runtime : "/tmp";
    return folder + name;
}

}  // namespace hidsim
