#pragma once
// Where the library's control server listens and simctl connects (built into both).
//
// The socket lives only in a folder that belongs to this user and that nobody else may enter
// (no group or other permission bits): in a shared folder such as /tmp another local user could
// take a predictable name first, serve as an impostor, or replace the socket.
#include <string>

namespace hidsim {

// The per-user folder of the program run with this home folder, which names its socket.
std::string controlUserFolder();

// The socket's path and the folder that holds it.
struct ControlSocketPlace {
    std::string path;
    std::string folder;
};

// KAVRO_SIM_SOCKET when set; else kavro-sim-<hash of the per-user folder>.sock (so a second
// copy of the program with another home gets its own, and simctl finds the one of its home)
// in $XDG_RUNTIME_DIR when that is a private folder of this user, else in /tmp/kavro-sim-<uid>.
ControlSocketPlace controlSocketPlace();

// Empty when folder is a folder itself (not a link), owned by this user, with no group or
// other permission bits; otherwise what is wrong with it, for a message.
std::string privateFolderProblem(const std::string& folder);

// For the server: makes /tmp/kavro-sim-<uid> when that is the place's folder and it is
// missing. Then, as for simctl, the folder must be private: empty when it is, else the problem.
std::string prepareControlFolder(const ControlSocketPlace& place, bool create);

}  // namespace hidsim
