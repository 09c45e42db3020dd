// The simulated device library's scripting side: default devices, scenario files, the
// plug tool's commands and its socket, the call log and reset.
#include "support/HidSimScript.h"
#include "support/TestEnv.h"

#include <QtTest>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace SimScript;

namespace {

QByteArray command(const char* line, int* result = nullptr)
{
    char reply[4096] = {0};
    const int r = HidSim_ControlCommand(line, reply, sizeof reply);
    if (result)
        *result = r;
    return QByteArray(reply);
}

struct Found {
    QByteArray path;
    UsbDeviceInfo info{};
    bool online = false;
};

QList<Found> findAll(const char* pid)
{
    QList<Found> found;
    int count = 5;
    char** paths = UsbFinderC_FindHidDevicesByDefaultDeviceId(VendorId, pid, &count);
    QList<QByteArray> copies;
    for (int i = 0; i < count; ++i)
        copies << QByteArray(paths[i]);
    for (const QByteArray& p : copies) {
        Found f;
        f.path = p;
        f.info = UsbFinderC_GetDeviceInfo(p.constData());
        f.online = UsbFinderC_GetDeviceOnLine(p.constData()) != 0;
        found << f;
    }
    return found;
}

sockaddr_un socketAddress(const QString& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = path.toLocal8Bit();
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()) + 1);
    return address;
}

// A client of the control socket, or -1.
int connectTo(const QString& path)
{
    const sockaddr_un address = socketAddress(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

// A listening socket at path (another program's, or an impostor's), or -1.
int listenAt(const QString& path)
{
    const sockaddr_un address = socketAddress(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 && ::listen(fd, 4) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

bool hasWaitingClient(int listening)
{
    pollfd p{listening, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0;
}

// Sends one command line on a connected client, reads the whole reply (at most 5 s) and closes.
QByteArray askOn(int fd, const QByteArray& line)
{
    if (fd < 0 || ::write(fd, line.constData(), size_t(line.size())) != line.size()) {
        if (fd >= 0)
            ::close(fd);
        return "no connection";
    }
    QByteArray reply;
    char buffer[512];
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, 5000) > 0) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        reply.append(buffer, int(n));
    }
    ::close(fd);
    return reply;
}

QByteArray ask(const QString& path, const QByteArray& line)
{
    return askOn(connectTo(path), line);
}

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun simctl(const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess tool;
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(KAVRO_OUTPUT_DIR "/simctl"), arguments);
    ToolRun run;
    if (!tool.waitForFinished(20000))
        return run;
    run.exitCode = tool.exitCode();
    run.out = tool.readAllStandardOutput();
    run.err = tool.readAllStandardError();
    return run;
}

// The control socket's thread: its task folder below /proc/self/task, empty when none runs.
QString serverTask()
{
    QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task) + "/comm");
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "hidsim-control")
            return tasks.filePath(task);
    }
    return {};
}

// How often the thread was switched out: every wake-up counts once.
qint64 contextSwitches(const QString& task)
{
    QFile status(task + "/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    qint64 total = 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.contains("ctxt_switches:"))
            total += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
    }
    return total;
}

// The thread's CPU time so far in nanoseconds, from its open schedstat file: a thread that
// spins does not sleep, so it is hardly ever switched out, but its CPU time grows.
qint64 cpuNs(int schedstat)
{
    char text[128] = {0};
    return ::pread(schedstat, text, sizeof text - 1, 0) > 0 ? std::strtoll(text, nullptr, 10) : -1;
}

bool taskSleeps(const QString& task)
{
    QFile stat(task + "/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) == "S";
}

}  // namespace

class TestHidUsbControl : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_env.reset(new TestEnv);
        m_socket = m_env->home() + "/run/sim.sock";
        QDir().mkpath(m_env->home() + "/run");
        QFile::setPermissions(m_env->home() + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("KAVRO_SIM_SOCKET", m_socket.toLocal8Bit());
    }
    void cleanup()
    {
        HidSim_ControlServer(0, nullptr, 0);
        qunsetenv("KAVRO_SIM_SOCKET");
        m_env.reset();
    }

    void defaultsShowEveryKindOfTile();
    void scenarioFileReplacesTheDevices();
    void scenarioNumbersAreDecimalUnlessHex_data();
    void scenarioNumbersAreDecimalUnlessHex();
    void badScenarioFilesChangeNothing_data();
    void badScenarioFilesChangeNothing();
    void unreadableScenarioChangesNothing();
    void plugToolCommands();
    void callLogRecordsArgumentsAndResetClearsAll();
    void socketPlace_data();
    void socketPlace();
    void socketOnlyInAPrivateFolderOfOurs_data();
    void socketOnlyInAPrivateFolderOfOurs();
    void socketTakenOverOnlyFromACrashedProgram();
    void idleClientsDoNotDelayACommand();
    void idleServerNeverWakesAndStopsAtOnce();
    void noDescriptorLeftIsWaitedOutWithoutSpinning();

private:
    QProcessEnvironment toolEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("KAVRO_SIM_SOCKET"), m_socket);
        return environment;
    }
    QString m_socket;
    QString writeScenario(const QByteArray& text)
    {
        const QString name = m_env->home() + "/scenario.txt";
        QFile file(name);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
        return name;
    }
    std::unique_ptr<TestEnv> m_env;
};

void TestHidUsbControl::defaultsShowEveryKindOfTile()
{
    HidSim_LoadDefaults();
    const QList<Found> cable = findAll(CablePid);
    const QList<Found> fast = findAll(Receiver4kPid);
    const QList<Found> slow = findAll(Receiver1kPid);
    const QList<Found> middle = findAll(Receiver2kPid);
    QCOMPARE(cable.size(), 1);
    QCOMPARE(fast.size(), 1);
    QCOMPARE(slow.size(), 1);
    QCOMPARE(middle.size(), 1);
    QCOMPARE(findAll(Receiver8kPid).size(), 0);
    QCOMPARE(int(cable[0].info.kind), 2);
    QCOMPARE(int(cable[0].info.mid), 1);
    QCOMPARE(int(cable[0].info.cid), 0x0A);
    QVERIFY(cable[0].online);
    QCOMPARE(int(fast[0].info.kind), 1);
    QCOMPARE(int(fast[0].info.mid), 2);
    QVERIFY(fast[0].online);
    QCOMPARE(int(slow[0].info.kind), 0);
    QCOMPARE(int(slow[0].info.mid), 4);
    QVERIFY(!slow[0].online);
    QCOMPARE(int(middle[0].info.kind), 4);
    QCOMPARE(int(middle[0].info.mid), 5);
    QVERIFY(middle[0].online);
    // The 2 kHz receiver came last, so the first three keep the paths they always had.
    const QList<QByteArray> order{cable[0].path, fast[0].path, slow[0].path, middle[0].path};
    QCOMPARE(order, (QList<QByteArray>{"sim:usb:0000", "sim:usb:0001", "sim:usb:0002", "sim:usb:0003"}));
    uint8_t mode = 's';
    QCOMPARE(UsbFinderC_GetLongRangeMode(fast[0].path.constData(), &mode), 1);
    QByteArray image(HIDUSB_IMAGE_SIZE, '\0');
    QCOMPARE(HidSim_GetImage(0, 0, reinterpret_cast<uint8_t*>(image.data())), 0);
    QCOMPARE(int(image[0]), 0x01);  // 1000 Hz
    QCOMPARE(int(image[1]), 4);     // four DPI levels
}

void TestHidUsbControl::scenarioFileReplacesTheDevices()
{
    addCableMouse(9);
    const QString name = writeScenario("# two mice\n"
                                       "mouse desk cid=0x0A mid=4 address=4B:40:04 version=0x0106 battery=90\n"
                                       "mouse travel cid=10 mid=5 awake=0 battery=15 charging=1\n"
                                       "cable desk vid=0x3554 pid=0xF500 kind=2 version=0x0106\n"
                                       "receiver travel vid=3554 pid=f502 kind=4 version=0x0201 longrange=1\n"
                                       "receiver - vid=0x3554 pid=0xF504 kind=5 identify=2   # not paired\n");
    QCOMPARE(HidSim_LoadScenario(name.toLocal8Bit().constData()), 0);
    const QList<Found> cable = findAll(CablePid);
    QCOMPARE(cable.size(), 1);
    QCOMPARE(int(cable[0].info.mid), 4);
    UsbAddressStatus status{};
    UsbFinderC_GetDeviceOnLineWithUsbAddress(cable[0].path.constData(), &status);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(status.bytes + 7), 3), QByteArray("\x4B\x40\x04", 3));
    const QList<Found> travel = findAll(Receiver2kPid);
    QCOMPARE(travel.size(), 1);
    QCOMPARE(int(travel[0].info.mid), 5);
    QVERIFY(!travel[0].online);
    QCOMPARE(findAll(Receiver8kPid).size(), 1);
    QCOMPARE(int(findAll(Receiver8kPid)[0].info.kind), 5);
}

void TestHidUsbControl::scenarioNumbersAreDecimalUnlessHex_data()
{
    QTest::addColumn<QByteArray>("mid");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << QByteArray("19") << 19;
    QTest::newRow("leading zero is not octal") << QByteArray("010") << 10;
    QTest::newRow("eight and nine after a zero") << QByteArray("08") << 8;
    QTest::newRow("hex") << QByteArray("0x13") << 19;
    QTest::newRow("hex upper-case") << QByteArray("0X1F") << 31;
}

void TestHidUsbControl::scenarioNumbersAreDecimalUnlessHex()
{
    QFETCH(QByteArray, mid);
    QFETCH(int, expected);
    const QString name = writeScenario("mouse m cid=10 mid=" + mid + "\ncable m vid=0x3554 pid=0xF500 kind=2\n");
    QCOMPARE(HidSim_LoadScenario(name.toLocal8Bit().constData()), 0);
    const QList<Found> cable = findAll(CablePid);
    QCOMPARE(cable.size(), 1);
    QCOMPARE(int(cable[0].info.mid), expected);
}

void TestHidUsbControl::badScenarioFilesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("unknown device") << QByteArray("keyboard k cid=1 mid=1\n");
    QTest::newRow("mouse without mid") << QByteArray("mouse m cid=10\n");
    QTest::newRow("unknown mouse") << QByteArray("cable nobody vid=0x3554 pid=0xF500 kind=2\n");
    QTest::newRow("receiver kind on cable") << QByteArray("mouse m cid=10 mid=1\ncable m vid=1 pid=2 kind=1\n");
    QTest::newRow("bad id") << QByteArray("mouse m cid=10 mid=1\ncable m vid=0xZZ pid=2 kind=2\n");
    QTest::newRow("battery too high") << QByteArray("mouse m cid=10 mid=1 battery=101\n");
    QTest::newRow("not key=value") << QByteArray("mouse m cid=10 mid=1 awake\n");
    QTest::newRow("hex digits without 0x") << QByteArray("mouse m cid=10 mid=1F\n");
    QTest::newRow("0x without digits") << QByteArray("mouse m cid=10 mid=0x\n");
    QTest::newRow("signed number") << QByteArray("mouse m cid=10 mid=+5\n");
    QTest::newRow("signed hex") << QByteArray("mouse m cid=10 mid=0x-5\n");
}

void TestHidUsbControl::badScenarioFilesChangeNothing()
{
    QFETCH(QByteArray, text);
    const Device d = addCableMouse(1);
    QCOMPARE(HidSim_LoadScenario(writeScenario(text).toLocal8Bit().constData()), -1);
    QCOMPARE(HidSim_LoadScenario("/nonexistent/scenario.txt"), -1);
    QCOMPARE(UsbFinderC_GetDeviceOnLine(d.path.constData()), 1);
    int result = 0;
    QVERIFY(command(("scenario " + writeScenario(text)).toLocal8Bit().constData(), &result).startsWith("error: line"));
    QCOMPARE(result, -1);
}

void TestHidUsbControl::unreadableScenarioChangesNothing()
{
    // A regular file whose first read fails: the error is no empty scenario that removes every device.
    const char* unreadable = "/proc/self/mem";
    const Device d = addCableMouse(1);
    QCOMPARE(HidSim_LoadScenario(unreadable), -1);
    int result = 0;
    QCOMPARE(command(QByteArray("scenario ") + unreadable, &result), QByteArray("error: cannot read the file"));
    QCOMPARE(result, -1);
    QCOMPARE(UsbFinderC_GetDeviceOnLine(d.path.constData()), 1);
}

void TestHidUsbControl::plugToolCommands()
{
    const Device cable = addCableMouse(1);
    const Device wireless = addReceiverMouse(2, 1, false);
    int result = 0;
    const QByteArray list = command("list", &result);
    QCOMPARE(result, 0);
    QVERIFY(list.contains("mouse 1 cid=0x0A mid=2"));
    QVERIFY(list.contains("asleep"));
    QVERIFY(list.contains("cable 0 sim:usb:0000"));

    QCOMPARE(command("unplug 0"), QByteArray("ok"));
    QCOMPARE(UsbFinderC_GetDeviceOnLine(cable.path.constData()), 0);
    QCOMPARE(command("plug 0"), QByteArray("ok"));
    QCOMPARE(UsbFinderC_GetDeviceOnLine(cable.path.constData()), 1);
    QCOMPARE(command("wake 1"), QByteArray("ok"));
    QCOMPARE(UsbFinderC_GetDeviceOnLine(wireless.path.constData()), 1);
    QCOMPARE(command("sleep 1"), QByteArray("ok"));
    QCOMPARE(UsbFinderC_GetDeviceOnLine(wireless.path.constData()), 0);
    QCOMPARE(command("battery 0 12 1"), QByteArray("ok"));
    QVERIFY(command("list").contains("battery=12 charging=1"));

    // The next pairing's script: the receiver stays silent.
    QCOMPARE(command("pairing 3 silent"), QByteArray("ok"));
    DataRecorder recorder;
    UsbServerC_Start(wireless.path.constData(), wireless.path.constData(), DataRecorder::callback());
    QCOMPARE(UsbServer_EnterDonglePairOnlyCid(Cid), 1);
    QCOMPARE(UsbServer_ReadDonglePairStatus(), 0);
    QCOMPARE(command("pairing 0 ok"), QByteArray("ok"));
    QCOMPARE(UsbServer_ReadDonglePairStatus(), 1);
    QVERIFY(command("pairing 2 maybe").startsWith("error: pairing"));
    QVERIFY(command("pairing ok").startsWith("error: pairing"));

    // The next firmware update's script: two reports, then no final report.
    QCOMPARE(command("firmware 2 0 silent"), QByteArray("ok"));
    {
        FirmwareRecorder firmware;
        const QByteArray image = makeFirmware(0x0200, 210, Cid, 1);
        UsbUpgrade_Start(reinterpret_cast<const uint8_t*>(image.constData()), uint32_t(image.size()),
                         FirmwareRecorder::callback(), 10000);
        QVERIFY(deliver());
        QCOMPARE(firmware.reports().size(), 2);
        QCOMPARE(firmware.finalReports(), 0);
    }
    // A failure that stops partway: the reports up to its percentage, then the failure.
    QCOMPARE(command("firmware 4 0 fail 50"), QByteArray("ok"));
    {
        FirmwareRecorder firmware;
        const QByteArray image = makeFirmware(0x0200, 210, Cid, 1);
        UsbUpgrade_Start(reinterpret_cast<const uint8_t*>(image.constData()), uint32_t(image.size()),
                         FirmwareRecorder::callback(), 10000);
        QVERIFY(firmware.waitForFinal());
        QCOMPARE(firmware.reports(), QList<QByteArray>({QByteArray("\x07\x01\x19", 3), QByteArray("\x07\x01\x32", 3),
                                                        QByteArray("\x07\x02\x00", 3)}));
    }
    for (const char* bad : {"firmware 4 0 ok 50", "firmware 4 0 fail 101", "firmware 4 0 fail half"})
        QVERIFY2(command(bad).startsWith("error: firmware"), bad);
    QCOMPARE(command("firmware 1 0 fail"), QByteArray("ok"));
    QVERIFY(command("firmware 1 0 maybe").startsWith("error: firmware"));
    QVERIFY(command("firmware 1 ok").startsWith("error: firmware"));
    QVERIFY(command("firmware -1 0 ok").startsWith("error: firmware"));

    QCOMPARE(command("wake 7", &result), QByteArray("error: no such device"));
    QCOMPARE(result, -1);
    QVERIFY(command("dance").startsWith("error: commands are"));
    QVERIFY(command("plug").startsWith("error:"));
    QCOMPARE(command("defaults"), QByteArray("ok"));
    QCOMPARE(findAll(Receiver4kPid).size(), 1);
    QCOMPARE(findAll(CablePid).size(), 1);
}

void TestHidUsbControl::callLogRecordsArgumentsAndResetClearsAll()
{
    const Device d = addReceiverMouse(2, 1);
    HidSim_ClearCallLog();
    UsbServerC_Start(d.path.constData(), d.path.constData(), DataRecorder::callback());
    UsbServer_SetPCDriverStatus(1);
    UsbServer_SetCurrentConfig(3);
    UsbFinderC_SetLongRangeMode(d.path.constData(), 1);
    const QStringList log = callLog();
    QCOMPARE(log, QStringList({"UsbServerC_Start(sim:usb:0000, sim:usb:0000)", "UsbServer_SetPCDriverStatus(1)",
                               "UsbServer_SetCurrentConfig(3)", "UsbFinderC_SetLongRangeMode(sim:usb:0000, 1)"}));
    QCOMPARE(HidSim_PCDriverStatus(), 1);
    char small[8];
    QCOMPARE(HidSim_CallLogEntry(0, small, sizeof small), -1);  // does not fit
    QCOMPARE(HidSim_CallLogEntry(4, small, sizeof small), -1);

    HidSim_Reset();
    QCOMPARE(HidSim_CallLogCount(), 0);
    QCOMPARE(HidSim_PCDriverStatus(), 0);
    QCOMPARE(HidSim_WriteCount(d.mouse), -1);
    QCOMPARE(UsbFinderC_GetDeviceOnLine(d.path.constData()), 0);
    QCOMPARE(UsbServer_ReadBatteryLevel(), 0);  // the link went with the devices
}

void TestHidUsbControl::socketPlace_data()
{
    QTest::addColumn<QString>("runtimeMode");  // "private", "open" or "unset"
    QTest::addColumn<bool>("inRuntime");
    QTest::newRow("private runtime folder") << "private" << true;
    QTest::newRow("runtime folder open to others") << "open" << false;
    QTest::newRow("no runtime folder") << "unset" << false;
}

// The socket's name follows the per-user folder of the home; its folder is the runtime folder
// only when that is private, else a folder of this user's own under /tmp.
void TestHidUsbControl::socketPlace()
{
    QFETCH(QString, runtimeMode);
    QFETCH(bool, inRuntime);
    const QString runtime = m_env->home() + "/runtime";
    QDir().mkpath(runtime);
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    if (runtimeMode == "open")
        permissions |= QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(runtime, permissions);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("KAVRO_SIM_SOCKET"));
    environment.insert(QStringLiteral("HOME"), m_env->home());
    if (runtimeMode == "unset")
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    else
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    const QString folder = inRuntime ? runtime : QStringLiteral("/tmp/kavro-sim-%1").arg(::geteuid());
    const ToolRun help = simctl({QStringLiteral("--help")}, environment);
    QVERIFY2(help.err.contains((folder + "/kavro-sim-").toLocal8Bit()), help.err.constData());
    QVERIFY(help.err.contains(".sock"));
    environment.insert(QStringLiteral("HOME"), m_env->programDir());
    QVERIFY(!simctl({QStringLiteral("--help")}, environment).err.contains(help.err.mid(help.err.indexOf("kavro-sim-"), 27)));
}

void TestHidUsbControl::socketOnlyInAPrivateFolderOfOurs_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("foreign");
    QTest::addColumn<bool>("link");
    QTest::addColumn<QByteArray>("reason");
    QTest::newRow("open to everyone") << 0777 << false << false << QByteArray("open to other users");
    QTest::newRow("group may enter") << 0710 << false << false << QByteArray("open to other users");
    QTest::newRow("another user's") << 0700 << true << false << QByteArray("belongs to another user");
    QTest::newRow("a link to our private folder") << 0700 << false << true << QByteArray("is not a folder");
}

// Another user's or a shared folder may hold an impostor that listens first: the program
// does not listen there, and simctl does not talk to it.
void TestHidUsbControl::socketOnlyInAPrivateFolderOfOurs()
{
    QFETCH(int, mode);
    QFETCH(bool, foreign);
    QFETCH(bool, link);
    QFETCH(QByteArray, reason);
    if (foreign && ::geteuid() != 0)
        QSKIP("only root can hand a folder to another user");
    const QString folder = m_env->home() + "/shared";
    const QString real = link ? m_env->home() + "/private" : folder;
    QVERIFY(QDir().mkpath(real));
    if (link)
        QVERIFY(QFile::link(real, folder));
    QCOMPARE(::chmod(real.toLocal8Bit().constData(), mode_t(mode)), 0);
    m_socket = folder + "/sim.sock";
    qputenv("KAVRO_SIM_SOCKET", m_socket.toLocal8Bit());
    const int impostor = listenAt(m_socket);
    QVERIFY(impostor >= 0);
    if (foreign)
        QCOMPARE(::chown(real.toLocal8Bit().constData(), 65534, 65534), 0);

    char why[512] = {0};
    QCOMPARE(HidSim_ControlServer(1, why, sizeof why), -1);
    QVERIFY2(QByteArray(why).contains(reason), why);
    QVERIFY(serverTask().isEmpty());
    const ToolRun run = simctl({QStringLiteral("list")}, toolEnvironment());
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("not connecting") && run.err.contains(reason), run.err.constData());
    QVERIFY(run.out.isEmpty());
    QVERIFY(!hasWaitingClient(impostor));
    ::close(impostor);
}

// At our socket's path: a stale socket of a crashed program is taken over, but never anything
// else, and never a socket that a running program serves.
void TestHidUsbControl::socketTakenOverOnlyFromACrashedProgram()
{
    addCableMouse(1);
    QVERIFY(QFile(m_socket).open(QIODevice::WriteOnly));
    QCOMPARE(HidSim_ControlServer(1, nullptr, 0), -1);
    QVERIFY(QFileInfo(m_socket).isFile());
    QVERIFY(QFile::remove(m_socket));

    const int running = listenAt(m_socket);
    QVERIFY(running >= 0);
    QCOMPARE(HidSim_ControlServer(1, nullptr, 0), -1);
    QVERIFY(connectTo(m_socket) >= 0);
    QVERIFY(hasWaitingClient(running));
    ::close(running);  // crashed: its socket file stays behind

    char why[512] = {0};
    QCOMPARE(HidSim_ControlServer(1, why, sizeof why), 0);
    QCOMPARE(ask(m_socket, "unplug 0\n"), QByteArray("ok\n"));
    const ToolRun run = simctl({QStringLiteral("list")}, toolEnvironment());
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains("cable 0 sim:usb:0000") && run.out.contains("unplugged"), run.out.constData());
    QCOMPARE(QFileInfo(m_socket).permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
             QFile::Permissions());
    HidSim_ControlServer(0, nullptr, 0);
    QVERIFY(!QFileInfo::exists(m_socket));
}

// Clients that connect and say nothing, or only half a line, hold up nobody: a command gets
// its reply at once, however many of them wait (more than are served at a time, too).
void TestHidUsbControl::idleClientsDoNotDelayACommand()
{
    addCableMouse(1);
    QCOMPARE(HidSim_ControlServer(1, nullptr, 0), 0);
    std::vector<int> idle;
    for (int i = 0; i < 80; ++i) {
        const int fd = connectTo(m_socket);
        QVERIFY(fd >= 0);
        if (i % 10 == 0)
            QCOMPARE(::write(fd, "li", 2), ssize_t(2));
        idle.push_back(fd);
    }
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(ask(m_socket, "unplug 0\n"), QByteArray("ok\n"));
    QCOMPARE(ask(m_socket, "list\n"), QByteArray("mouse 0 cid=0x0A mid=1 version=0x0100 battery=80 charging=0 awake\n"
                                               "cable 0 sim:usb:0000 vid=0x3554 pid=0xF500 kind=2 mouse=0 unplugged offline\n"));
    QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
    // The idle ones are let go after their second.
    pollfd p{idle.back(), POLLIN, 0};
    QCOMPARE(::poll(&p, 1, 5000), 1);
    char byte = 0;
    QCOMPARE(::read(idle.back(), &byte, 1), ssize_t(0));
    for (int fd : idle)
        ::close(fd);
}

// With nothing to serve the socket's thread sleeps until a client or the stop comes: no
// wake-ups, and a stop returns at once, even while a client is still connected.
void TestHidUsbControl::idleServerNeverWakesAndStopsAtOnce()
{
    QCOMPARE(HidSim_ControlServer(1, nullptr, 0), 0);
    QCOMPARE(ask(m_socket, "list\n"), QByteArray("no devices\n"));
    const QString task = serverTask();
    QVERIFY(!task.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(taskSleeps(task), 5000);
    const qint64 before = contextSwitches(task);
    std::this_thread::sleep_for(std::chrono::milliseconds(450));  // two wake-ups of a 200 ms poll
    QCOMPARE(contextSwitches(task), before);
    QVERIFY(taskSleeps(task));

    const int waiting = connectTo(m_socket);
    QVERIFY(waiting >= 0);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(HidSim_ControlServer(0, nullptr, 0), 0);
    QVERIFY2(clock.elapsed() < 150, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(serverTask().isEmpty());
    QVERIFY(!QFileInfo::exists(m_socket));
    ::close(waiting);
}

// With every file descriptor taken the server cannot accept a waiting client: it waits without
// spinning on the listening socket, and serves the client once descriptors are free again.
void TestHidUsbControl::noDescriptorLeftIsWaitedOutWithoutSpinning()
{
    QCOMPARE(HidSim_ControlServer(1, nullptr, 0), 0);
    const QString task = serverTask();
    QVERIFY(!task.isEmpty());
    // Opened before: with no descriptor left the file could not be opened.
    const int schedstat = ::open((task + "/schedstat").toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(schedstat >= 0);
    rlimit old{};
    QCOMPARE(::getrlimit(RLIMIT_NOFILE, &old), 0);
    const int lowestFree = ::dup(0);
    ::close(lowestFree);
    rlimit low = old;
    low.rlim_cur = rlim_t(lowestFree + 32);
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<int> fillers;
    for (int fd; (fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) >= 0;)
        fillers.push_back(fd);
    ::close(fillers.back());  // one for the client; none for the server to accept it with
    fillers.pop_back();
    const int client = connectTo(m_socket);
    const qint64 before = cpuNs(schedstat);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const qint64 spentNs = cpuNs(schedstat) - before;
    for (int fd : fillers)
        ::close(fd);
    ::setrlimit(RLIMIT_NOFILE, &old);
    ::close(schedstat);
    QVERIFY(client >= 0);
    QVERIFY2(spentNs < 30000000, qPrintable(QString::number(spentNs)));
    QCOMPARE(askOn(client, "list\n"), QByteArray("no devices\n"));
}

QTEST_MAIN(TestHidUsbControl)
#include "tst_hidusb_control.moc"
