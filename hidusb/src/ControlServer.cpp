// The local control socket through which simctl plugs, unplugs, wakes and puts to sleep
// simulated devices while the program runs. One command line per connection; the reply is
// written back and the connection closed.
#include "ControlSocket.h"
#include "HIDUsbControl.h"
#include "SimState.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace hidsim {

namespace {

// Plain pointers: the library's unload hook in another file stops the server, and the order in
// which static objects of different files are destroyed is not fixed.
std::atomic<bool> g_stop{false};
std::thread* g_server = nullptr;
std::string* g_boundPath = nullptr;

constexpr int ClientDeadlineMs = 1000;

// Binds fd to path, taking the path over from a crashed program but never from a running one.
bool bindOwnerOnly(int fd, const sockaddr_un& address, const std::string& path)
{
    const sockaddr* raw = reinterpret_cast<const sockaddr*>(&address);
    if (::bind(fd, raw, sizeof address) == 0)
        return true;
    if (errno != EADDRINUSE)
        return false;
    // Another running program owns it, or a crashed one left it behind.
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool alive = probe >= 0 && ::connect(probe, raw, sizeof address) == 0;
    if (probe >= 0)
        ::close(probe);
    return !alive && ::unlink(path.c_str()) == 0 && ::bind(fd, raw, sizeof address) == 0;
}

int bindSocket(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return -1;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    // The socket file is born owner-only: a chmod after bind would leave a moment in which
    // another user could connect and drive the devices.
    const mode_t oldMask = ::umask(0177);
    const bool bound = bindOwnerOnly(fd, address, path);
    ::umask(oldMask);
    if (!bound) {
        ::close(fd);
        return -1;
    }
    if (::listen(fd, 4) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Milliseconds left until deadline, at least 0.
int msLeft(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Each client has one overall deadline for its command and the reply: one slow client (a byte
// now and then, or one that never reads) cannot hold the others back for longer.
void serveOne(int client)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ClientDeadlineMs);
    std::string line;
    char buffer[512];
    while (line.size() < 4096 && line.find('\n') == std::string::npos) {
        pollfd p{client, POLLIN, 0};
        const int left = msLeft(deadline);
        if (left <= 0 || ::poll(&p, 1, left) <= 0)
            break;
        const ssize_t n = ::read(client, buffer, sizeof buffer);
        if (n <= 0)
            break;
        line.append(buffer, static_cast<size_t>(n));
    }
    const size_t end = line.find('\n');
    if (end != std::string::npos)
        line.erase(end);
    const std::string reply = runControlCommand(line) + "\n";
    size_t written = 0;
    while (written < reply.size()) {
        pollfd p{client, POLLOUT, 0};
        const int left = msLeft(deadline);
        if (left <= 0 || ::poll(&p, 1, left) <= 0)
            break;
        // A client that went away must not end the program with SIGPIPE.
        const ssize_t n = ::send(client, reply.data() + written, reply.size() - written, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n <= 0)
            break;
        written += static_cast<size_t>(n);
    }
    ::close(client);
}

void serve(int fd)
{
    while (!g_stop.load()) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 200) <= 0)
            continue;
        const int client = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0)
            serveOne(client);
    }
    ::close(fd);
}

bool idArgument(std::istringstream& in, int* id)
{
    return static_cast<bool>(in >> *id);
}

std::string result(int code)
{
    return code == 0 ? "ok" : "error: no such device";
}

std::string listDevices()
{
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::ostringstream out;
    char line[256];
    for (const auto& entry : s.mice) {
        const SimMouse& m = entry.second;
        std::snprintf(line, sizeof line, "mouse %d cid=0x%02X mid=%d version=0x%04X battery=%d charging=%d %s%s\n",
                      m.id, m.cid, m.mid, m.version & 0xFFFF, m.battery, m.charging, m.awake ? "awake" : "asleep",
                      m.boot ? " boot" : "");
        out << line;
    }
    for (const auto& entry : s.interfaces) {
        const SimInterface& i = entry.second;
        std::snprintf(line, sizeof line, "%s %d %s vid=%s pid=%s kind=%d mouse=%d %s %s%s\n",
                      isReceiverKind(i.kind) ? "receiver" : "cable", i.id, i.path.c_str(), i.vid.c_str(),
                      i.pid.c_str(), i.kind, i.mouseId, i.plugged ? "plugged" : "unplugged",
                      interfaceOnlineLocked(s, i) ? "online" : "offline", i.boot ? " boot" : "");
        out << line;
    }
    std::string text = out.str();
    if (text.empty())
        return "no devices";
    text.pop_back();
    return text;
}

}  // namespace

std::string runControlCommand(const std::string& line)
{
    std::istringstream in(line);
    std::string command;
    in >> command;
    int id = -1;
    if (command == "list")
        return listDevices();
    if ((command == "plug" || command == "unplug") && idArgument(in, &id))
        return result(HidSim_SetPlugged(id, command == "plug"));
    if ((command == "wake" || command == "sleep") && idArgument(in, &id))
        return result(HidSim_SetAwake(id, command == "wake"));
    if (command == "battery" && idArgument(in, &id)) {
        int level = 0;
        int charging = 0;
        if (!(in >> level))
            return "error: battery <mouse> <level 0..100> [charging 0/1]";
        in >> charging;
        return result(HidSim_SetBattery(id, level, charging));
    }
    if (command == "pairing") {
        // The next pairing: this many "pairing" answers, then success, failure or silence.
        int answers = -1;
        std::string outcome;
        const int code = !(in >> answers) || answers < 0 ? -1
                         : !(in >> outcome) ? -1
                         : outcome == "ok"     ? 3
                         : outcome == "fail"   ? 2
                         : outcome == "silent" ? 0
                                               : -1;
        if (code < 0)
            return "error: pairing <answers> ok|fail|silent";
        HidSim_ScriptPairing(answers, code, -1);
        return "ok";
    }
    if (command == "firmware") {
        // The next firmware updates: this many progress reports this far apart, then success,
        // failure or (silent) no final report at all.
        int steps = -1;
        int delay = -1;
        std::string outcome;
        const int code = !(in >> steps >> delay) || steps < 0 || delay < 0 ? -2
                         : !(in >> outcome) ? -2
                         : outcome == "ok"     ? 1
                         : outcome == "fail"   ? 0
                         : outcome == "silent" ? HIDSIM_FIRMWARE_SILENT
                                               : -2;
        if (code == -2)
            return "error: firmware <steps> <delay-ms> ok|fail|silent";
        HidSim_ScriptFirmware(steps, delay, code);
        return "ok";
    }
    if (command == "scenario") {
        std::string file;
        std::getline(in >> std::ws, file);
        std::string text;
        std::string error;
        if (!readScenarioFile(file, &text, &error))
            return "error: " + error;
        State& s = state();
        std::lock_guard<std::mutex> lock(s.mutex);
        if (!loadScenarioTextLocked(s, text, &error))
            return "error: " + error;
        postHotplugLocked(s);
        return "ok";
    }
    if (command == "defaults") {
        State& s = state();
        std::lock_guard<std::mutex> lock(s.mutex);
        removeAllDevicesLocked(s);
        loadDefaultsLocked(s);
        postHotplugLocked(s);
        return "ok";
    }
    return "error: commands are list, plug <interface>, unplug <interface>, wake <mouse>, sleep <mouse>, "
           "battery <mouse> <level> [charging], pairing <answers> ok|fail|silent, firmware <steps> <delay-ms> ok|fail|silent, scenario <file>, "
           "defaults";
}

void startControlServer()
{
    const std::string path = controlSocketPath();
    const int fd = bindSocket(path);
    if (fd < 0)
        return;  // another program instance serves the tool already
    g_boundPath = new std::string(path);
    g_server = new std::thread([fd] { serve(fd); });
}

void stopControlServer()
{
    if (!g_server)
        return;
    g_stop = true;
    g_server->join();
    ::unlink(g_boundPath->c_str());
    delete g_server;
    g_server = nullptr;
}

}  // namespace hidsim

extern "C" int HidSim_ControlCommand(const char* line, char* reply, int size)
{
    hidsim::ensureStarted();
    const std::string text = hidsim::runControlCommand(line ? line : "");
    if (!reply || size <= 0)
        return -1;
    std::snprintf(reply, static_cast<size_t>(size), "%s", text.c_str());
    return text.compare(0, 6, "error:") == 0 ? -1 : 0;
}
