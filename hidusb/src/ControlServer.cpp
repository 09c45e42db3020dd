// The local control socket through which simctl plugs, unplugs, wakes and puts to sleep
// simulated devices while the program runs. One command line per connection; the reply is
// written back and the connection closed.
//
// One thread serves every client at once: it blocks in poll() over the listening socket, an
// eventfd that asks it to stop and the clients, with a time-out only while a client's deadline
// is pending. So an idle program never wakes it, and an idle or slow client never holds up
// another.
#include "ControlSocket.h"
#include "HIDUsbControl.h"
#include "SimState.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace hidsim {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int ClientDeadlineMs = 1000;  // for a client's command and its reply together
constexpr size_t MaxLine = 4096;
// Clients served at once; one more pushes out the oldest, so nobody waits for a free place.
constexpr size_t MaxClients = 64;

bool isOwnSocket(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode) && info.st_uid == ::geteuid();
}

bool peerIsThisUser(int fd)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
}

// Binds fd to path, taking the path over from a crashed program of ours but never from a
// running one, and never anything that is not our own socket.
bool bindOwnerOnly(int fd, const sockaddr_un& address, const std::string& path, std::string* error, bool* busy)
{
    const sockaddr* raw = reinterpret_cast<const sockaddr*>(&address);
    if (::bind(fd, raw, sizeof address) == 0)
        return true;
    if (errno != EADDRINUSE) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    if (!isOwnSocket(path)) {
        *error = path + " is taken by something that is not our socket";
        return false;
    }
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool alive = probe >= 0 && ::connect(probe, raw, sizeof address) == 0;
    if (probe >= 0)
        ::close(probe);
    if (alive) {
        *error = path + " is served by another running program";
        *busy = true;
        return false;
    }
    if (::unlink(path.c_str()) != 0 || ::bind(fd, raw, sizeof address) != 0) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

int bindSocket(const std::string& path, std::string* error, bool* busy)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        *error = path + ": path too long for a socket";
        return -1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *error = std::strerror(errno);
        return -1;
    }
    // The socket file is born owner-only: a chmod after bind would leave a moment in which
    // another user could connect and drive the devices.
    const mode_t oldMask = ::umask(0177);
    const bool bound = bindOwnerOnly(fd, address, path, error, busy);
    ::umask(oldMask);
    if (!bound) {
        ::close(fd);
        return -1;
    }
    if (::listen(fd, SOMAXCONN) != 0) {
        *error = path + ": " + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

struct Client {
    int fd = -1;
    Clock::time_point deadline;
    std::string line;
    std::string reply;  // not empty once the command ran
    size_t sent = 0;
};

class Server {
public:
    Server(int listenFd, int wakeFd) : m_listen(listenFd), m_wake(wakeFd) {}
    void run();

private:
    void acceptAll();
    // False when the client is done with (replied, gone or failed).
    bool readFrom(Client& client);
    bool writeTo(Client& client);
    void answer(Client& client, std::string line);
    int timeoutMs() const;

    int m_listen;
    int m_wake;
    std::vector<Client> m_clients;
    // Out of file descriptors: the listening socket stays readable, so it is left alone for a
    // moment instead of being polled in a busy loop.
    Clock::time_point m_acceptPausedUntil;
};

void Server::run()
{
    std::vector<pollfd> polled;
    for (;;) {
        const short acceptEvents = Clock::now() < m_acceptPausedUntil ? 0 : POLLIN;
        polled.assign({{m_wake, POLLIN, 0}, {m_listen, acceptEvents, 0}});
        for (const Client& c : m_clients)
            polled.push_back({c.fd, static_cast<short>(c.reply.empty() ? POLLIN : POLLOUT), 0});
        if (::poll(polled.data(), polled.size(), timeoutMs()) < 0 && errno != EINTR)
            break;
        if (polled[0].revents)
            break;
        // Clients first: those accepted now have nothing to read yet.
        const auto now = Clock::now();
        std::vector<Client> kept;
        for (size_t i = 0; i < m_clients.size(); ++i) {
            Client& c = m_clients[i];
            const short events = polled[i + 2].revents;
            const bool open = !events ? now < c.deadline : c.reply.empty() ? readFrom(c) : writeTo(c);
            if (open)
                kept.push_back(std::move(c));
            else
                ::close(c.fd);
        }
        m_clients.swap(kept);
        if (polled[1].revents)
            acceptAll();
    }
    for (const Client& c : m_clients)
        ::close(c.fd);
    m_clients.clear();
}

int Server::timeoutMs() const
{
    const bool paused = Clock::now() < m_acceptPausedUntil;
    if (m_clients.empty() && !paused)
        return -1;  // nothing pending: sleep until a client or the stop request comes
    auto first = paused ? m_acceptPausedUntil : m_clients.front().deadline;
    for (const Client& c : m_clients)
        first = std::min(first, c.deadline);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(first - Clock::now()).count() + 1;
    return left > 0 ? static_cast<int>(left) : 0;
}

void Server::acceptAll()
{
    for (;;) {
        const int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
                m_acceptPausedUntil = Clock::now() + std::chrono::milliseconds(100);
            return;
        }
        if (!peerIsThisUser(fd)) {
            ::close(fd);
            continue;
        }
        if (m_clients.size() >= MaxClients) {
            auto oldest = std::min_element(m_clients.begin(), m_clients.end(),
                                           [](const Client& a, const Client& b) { return a.deadline < b.deadline; });
            ::close(oldest->fd);
            m_clients.erase(oldest);
        }
        Client client;
        client.fd = fd;
        client.deadline = Clock::now() + std::chrono::milliseconds(ClientDeadlineMs);
        m_clients.push_back(std::move(client));
    }
}

bool Server::readFrom(Client& client)
{
    char buffer[512];
    const ssize_t n = ::read(client.fd, buffer, sizeof buffer);
    if (n < 0)
        return errno == EAGAIN || errno == EINTR ? Clock::now() < client.deadline : false;
    if (n == 0) {
        // The client said all it had to say without a line end.
        if (client.line.empty())
            return false;
        answer(client, client.line);
        return writeTo(client);
    }
    client.line.append(buffer, static_cast<size_t>(n));
    const size_t end = client.line.find('\n');
    if (end != std::string::npos) {
        answer(client, client.line.substr(0, end));
        return writeTo(client);
    }
    if (client.line.size() > MaxLine) {
        client.reply = "error: command too long\n";
        return writeTo(client);
    }
    return Clock::now() < client.deadline;
}

void Server::answer(Client& client, std::string line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    client.reply = runControlCommand(line) + "\n";
}

bool Server::writeTo(Client& client)
{
    // A client that went away must not end the program with SIGPIPE.
    const ssize_t n = ::send(client.fd, client.reply.data() + client.sent, client.reply.size() - client.sent,
                             MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0)
        return (errno == EAGAIN || errno == EINTR) && Clock::now() < client.deadline;
    client.sent += static_cast<size_t>(n);
    return client.sent < client.reply.size() && Clock::now() < client.deadline;
}

// The running server; plain pointers: the library's unload hook in another file stops it, and
// the order in which static objects of different files are destroyed is not fixed.
struct Running {
    std::thread thread;
    int wakeFd = -1;
    std::string path;
    ino_t inode = 0;
};
Running* g_running = nullptr;
std::mutex g_runningMutex;

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
        // failure or (silent) no final report at all; a failure may stop at a percentage.
        int steps = -1;
        int delay = -1;
        std::string outcome;
        const int code = !(in >> steps >> delay) || steps < 0 || delay < 0 ? -2
                         : !(in >> outcome) ? -2
                         : outcome == "ok"     ? 1
                         : outcome == "fail"   ? 0
                         : outcome == "silent" ? HIDSIM_FIRMWARE_SILENT
                                               : -2;
        int stop = 100;
        const bool stopGiven = static_cast<bool>(in >> stop);
        if (code == -2 || (stopGiven && (code == 1 || stop < 0 || stop > 100)) || (!stopGiven && !in.eof()))
            return "error: firmware <steps> <delay-ms> ok|fail|silent [stop-percent]";
        HidSim_ScriptFirmware(steps, delay, code);
        HidSim_ScriptFirmwareStop(stop);
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
        // Alone: the demo devices at their factory values. With a device: that one.
        std::string kind;
        State& s = state();
        std::lock_guard<std::mutex> lock(s.mutex);
        if (!(in >> kind)) {
            removeAllDevicesLocked(s);
            loadDefaultsLocked(s);
            for (auto& entry : s.mice)
                factoryResetMouseLocked(s, entry.second);
            for (auto& entry : s.interfaces)
                factoryResetInterfaceLocked(s, entry.second);
            postHotplugLocked(s);
            return "ok";
        }
        std::string rest;
        if ((kind != "mouse" && kind != "receiver") || !idArgument(in, &id) || in >> rest)
            return "error: defaults [mouse <mouse> | receiver <interface>]";
        if (kind == "mouse") {
            SimMouse* m = mouseByIdLocked(s, id);
            if (!m)
                return result(-1);
            factoryResetMouseLocked(s, *m);
        } else {
            SimInterface* i = interfaceByIdLocked(s, id);
            if (!i || !isReceiverKind(i->kind))
                return "error: no such receiver";
            factoryResetInterfaceLocked(s, *i);
        }
        postHotplugLocked(s);
        return "ok";
    }
    return "error: commands are list, plug <interface>, unplug <interface>, wake <mouse>, sleep <mouse>, "
           "battery <mouse> <level> [charging], pairing <answers> ok|fail|silent, "
           "firmware <steps> <delay-ms> ok|fail|silent [stop-percent], scenario <file>, "
           "defaults [mouse <mouse> | receiver <interface>]";
}

ControlStart startControlServer(std::string* error)
{
    std::lock_guard<std::mutex> lock(g_runningMutex);
    if (g_running)
        return ControlStart::Listening;
    const ControlSocketPlace place = controlSocketPlace();
    const std::string problem = prepareControlFolder(place, true);
    if (!problem.empty()) {
        *error = "not a private folder of this user: " + problem;
        return ControlStart::Refused;
    }
    bool busy = false;
    const int fd = bindSocket(place.path, error, &busy);
    if (fd < 0)
        return busy ? ControlStart::ServedElsewhere : ControlStart::Refused;
    const int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        *error = std::strerror(errno);
        ::close(fd);
        ::unlink(place.path.c_str());
        return ControlStart::Refused;
    }
    auto* running = new Running;
    running->wakeFd = wakeFd;
    running->path = place.path;
    struct stat info {};
    if (::lstat(place.path.c_str(), &info) == 0)
        running->inode = info.st_ino;
    running->thread = std::thread([fd, wakeFd] {
        Server(fd, wakeFd).run();
        ::close(fd);
    });
    // Named before this returns, so /proc, perf and strace tell it apart from the start.
    pthread_setname_np(running->thread.native_handle(), "hidsim-control");
    g_running = running;
    return ControlStart::Listening;
}

void startControlServer()
{
    std::string error;
    // Another copy of the program with this home serves simctl already: nothing to say.
    if (startControlServer(&error) == ControlStart::Refused)
        std::fprintf(stderr, "HIDUsb: no control socket for simctl: %s\n", error.c_str());
}

void stopControlServer()
{
    std::lock_guard<std::mutex> lock(g_runningMutex);
    if (!g_running)
        return;
    const uint64_t one = 1;
    if (::write(g_running->wakeFd, &one, sizeof one) < 0) {
        // an eventfd write fails only when its counter is full, which wakes the thread too
    }
    g_running->thread.join();
    ::close(g_running->wakeFd);
    // Removes our own socket only, not one that another program put there since.
    struct stat info {};
    if (::lstat(g_running->path.c_str(), &info) == 0 && info.st_ino == g_running->inode)
        ::unlink(g_running->path.c_str());
    delete g_running;
    g_running = nullptr;
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

extern "C" int HidSim_ControlServer(int run, char* reason, int size)
{
    hidsim::ensureStarted();
    std::string error;
    const bool ok = run ? hidsim::startControlServer(&error) == hidsim::ControlStart::Listening
                        : (hidsim::stopControlServer(), true);
    if (reason && size > 0)
        std::snprintf(reason, static_cast<size_t>(size), "%s", error.c_str());
    return ok ? 0 : -1;
}
