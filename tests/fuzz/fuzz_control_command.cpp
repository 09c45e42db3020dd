// Commands of the simulated library's control socket (what simctl sends): any bytes sent over
// the socket as one client does, and every line of them run as a command in turn.
#include "FuzzEnv.h"

#include "HIDUsbControl.h"

#include <QByteArray>
#include <QList>

#include <cerrno>
#include <cstring>
#include <string>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QByteArray socketPath;

// A command's reply, checked: never empty, and an error exactly when it says so.
std::string runChecked(const QByteArray& line)
{
    char reply[8192] = {0};
    const int result = HidSim_ControlCommand(line.constData(), reply, int(sizeof reply));
    FUZZ_CHECK(result == 0 || result == -1);
    FUZZ_CHECK(reply[0] != '\0');
    FUZZ_CHECK((result == -1) == (std::strncmp(reply, "error:", 6) == 0));
    return reply;
}

// Sends the bytes as one client and reads the reply until the server closes.
std::string askOverSocket(const uint8_t* data, size_t size)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()) + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0);
    // The server may close once it has its line: the rest of the bytes may go nowhere.
    size_t sent = 0;
    // The fuzzer's own timer (-timeout) interrupts a wait now and then: that is no end.
    while (sent < size) {
        const ssize_t n = ::send(fd, data + sent, size - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        sent += size_t(n);
    }
    ::shutdown(fd, SHUT_WR);
    std::string reply;
    char buffer[1024];
    pollfd p{fd, POLLIN, 0};
    for (;;) {
        const int ready = ::poll(&p, 1, 5000);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        reply.append(buffer, size_t(n));
    }
    ::close(fd);
    return reply;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    socketPath = (fuzzenv::homeDir() + QStringLiteral("/sim.sock")).toLocal8Bit();
    qputenv("KAVRO_SIM_SOCKET", socketPath);
    HidSim_SetZeroDelays(1);
    char reason[512];
    if (HidSim_ControlServer(1, reason, int(sizeof reason)) != 0) {
        std::fprintf(stderr, "the control socket does not listen: %s\n", reason);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    QByteArray first = bytes.left(bytes.indexOf('\n'));
    if (first.endsWith('\r'))
        first.chop(1);

    // The first line over the socket, on the demo devices.
    HidSim_Reset();
    HidSim_LoadDefaults();
    const std::string overSocket = askOverSocket(data, size);
    if (size > 0)
        FUZZ_CHECK(!overSocket.empty() && overSocket.back() == '\n');
    // The same command run directly answers alike (a line the socket takes whole, without a
    // zero byte, which ends a line given to HidSim_ControlCommand).
    HidSim_Reset();
    HidSim_LoadDefaults();
    if (!first.isEmpty() && first.size() <= 4096 && !first.contains('\0'))
        FUZZ_CHECK(runChecked(first) + "\n" == overSocket);

    // Every line in turn, as a script of commands.
    HidSim_Reset();
    HidSim_LoadDefaults();
    for (const QByteArray& line : bytes.split('\n'))
        runChecked(line);
    HidSim_Reset();
    return 0;
}
