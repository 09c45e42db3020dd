// simctl: plugs, unplugs, wakes and puts to sleep the simulated devices of a running
// Kavro Mouse Software through the library's local control socket.
//   simctl list | plug <interface> | unplug <interface> | wake <mouse> | sleep <mouse>
//          | battery <mouse> <level> [charging] | pairing <answers> ok|fail|silent
//          | firmware <steps> <delay-ms> ok|fail|silent [stop-percent]
//          | scenario <file> | defaults [mouse <mouse> | receiver <interface>]
#include "ControlSocket.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

int main(int argc, char* argv[])
{
    if (argc < 2 || !std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help")) {
        std::fprintf(stderr,
                     "usage: simctl list | plug <interface> | unplug <interface> | wake <mouse> | sleep <mouse>\n"
                     "              | battery <mouse> <level> [charging] | pairing <answers> ok|fail|silent\n"
                     "              | firmware <steps> <delay-ms> ok|fail|silent [stop-percent]\n"
                     "              | scenario <file> | defaults [mouse <mouse> | receiver <interface>]\n"
                     "Talks to the running program through %s (KAVRO_SIM_SOCKET overrides),\n"
                     "only in a folder of this user that nobody else may enter.\n",
                     hidsim::controlSocketPlace().path.c_str());
        return 2;
    }
    std::string line;
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (i == 2 && !std::strcmp(argv[1], "scenario")) {
            char* full = ::realpath(argv[i], nullptr);  // the program may run in another folder
            if (full) {
                word = full;
                std::free(full);
            }
        }
        line += (i > 1 ? " " : "") + word;
    }
    line += "\n";

    // Never a socket that another user could have put there or could stand behind.
    const hidsim::ControlSocketPlace place = hidsim::controlSocketPlace();
    const std::string& path = place.path;
    const std::string problem = hidsim::privateFolderProblem(place.folder);
    struct stat folder {};
    if (!problem.empty() && ::lstat(place.folder.c_str(), &folder) == 0) {
        std::fprintf(stderr, "simctl: not connecting to %s: %s\n", path.c_str(), problem.c_str());
        return 1;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        std::fprintf(stderr, "simctl: socket path too long\n");
        return 1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    struct stat socketFile {};
    const bool ownSocket = problem.empty() && ::lstat(path.c_str(), &socketFile) == 0 &&
                           S_ISSOCK(socketFile.st_mode) && socketFile.st_uid == ::geteuid();
    const int fd = ownSocket ? ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0) : -1;
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        std::fprintf(stderr, "simctl: no running program listens on %s\n", path.c_str());
        return 1;
    }
    ucred peer{};
    socklen_t peerSize = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &peerSize) != 0 || peer.uid != ::geteuid()) {
        std::fprintf(stderr, "simctl: not talking to %s: it is served by another user\n", path.c_str());
        ::close(fd);
        return 1;
    }
    if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
        std::fprintf(stderr, "simctl: could not send the command\n");
        ::close(fd);
        return 1;
    }
    std::string reply;
    char buffer[1024];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        reply.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    std::fputs(reply.c_str(), stdout);
    return reply.compare(0, 6, "error:") == 0 ? 1 : 0;
}
