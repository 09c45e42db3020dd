#pragma once
// Where the library's control server listens and simctl connects.
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace hidsim {

// KAVRO_SIM_SOCKET when set, else one socket per user in /tmp.
inline std::string controlSocketPath()
{
    if (const char* path = std::getenv("KAVRO_SIM_SOCKET")) {
        if (*path)
            return path;
    }
    return "/tmp/kavro-sim-" + std::to_string(::getuid()) + ".sock";
}

}  // namespace hidsim
