#include "support/HidSimScript.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstring>
#include <mutex>

namespace SimScript {

namespace {

constexpr int ImageSize = HIDUSB_IMAGE_SIZE;

bool onGuiThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

struct DataLog {
    std::mutex mutex;  // a standard mutex: ThreadSanitizer sees through it
    QList<Answer> answers;
    std::function<void(const Answer&)> hook;
};
// Never freed: the library's data thread may still deliver while the program exits.
DataLog& g_data = *new DataLog;

void recordData(uint8_t* header, int headerLength, uint8_t* data, uint32_t dataLength)
{
    Answer a;
    a.header = QByteArray(reinterpret_cast<const char*>(header), headerLength);
    a.data = QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(dataLength));
    a.kind = headerLength > 1 ? header[1] : 0;
    a.sub = headerLength > 3 ? header[3] : 0;
    a.command = headerLength > 4 ? header[4] : 0;
    a.onGuiThread = onGuiThread();
    a.thread = QThread::currentThreadId();
    std::function<void(const Answer&)> hook;
    {
        std::lock_guard<std::mutex> lock(g_data.mutex);
        g_data.answers.append(a);
        hook = g_data.hook;
    }
    if (hook)
        hook(a);
}

struct FirmwareLog {
    std::mutex mutex;  // a standard mutex: ThreadSanitizer sees through it
    QList<QByteArray> reports;
    bool offGui = true;
};
FirmwareLog& g_firmware = *new FirmwareLog;

void recordFirmware(uint8_t* status)
{
    std::lock_guard<std::mutex> lock(g_firmware.mutex);
    g_firmware.reports.append(QByteArray(reinterpret_cast<const char*>(status), 3));
    g_firmware.offGui = g_firmware.offGui && !onGuiThread();
}

}  // namespace

}  // namespace SimScript

bool spinUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        if (SimScript::onGuiThread())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return done();
}

namespace SimScript {

int addMouse(uint8_t mid, bool awake, int version, int battery, uint8_t cid)
{
    HidSimMouseSetup setup{};
    setup.cid = cid;
    setup.mid = mid;
    setup.address[0] = 0x4B;
    setup.address[1] = mid;
    setup.address[2] = static_cast<uint8_t>(0x10 + mid);
    setup.version = version;
    setup.battery = battery;
    setup.awake = awake ? 1 : 0;
    return HidSim_AddMouse(&setup);
}

int addInterface(const char* pid, int kind, int mouseId, bool longRange, int identifyAfter, int version,
                 const char* vid)
{
    HidSimInterfaceSetup setup{};
    setup.vid = vid;
    setup.pid = pid;
    setup.kind = kind;
    setup.version = version;
    setup.mouseId = mouseId;
    setup.hasLongRange = longRange ? 1 : 0;
    setup.identifyAfter = identifyAfter;
    return HidSim_AddInterface(&setup);
}

Device addCableMouse(uint8_t mid, bool awake)
{
    Device d;
    d.mouse = addMouse(mid, awake);
    d.interface = addInterface(CablePid, 2, d.mouse);
    d.path = path(d.interface);
    return d;
}

Device addReceiverMouse(uint8_t mid, int kind, bool awake, bool longRange)
{
    const char* pid = kind == 0 ? Receiver1kPid : kind == 4 ? Receiver2kPid : kind == 5 ? Receiver8kPid : Receiver4kPid;
    Device d;
    d.mouse = addMouse(mid, awake);
    d.interface = addInterface(pid, kind, d.mouse, longRange);
    d.path = path(d.interface);
    return d;
}

QByteArray path(int interfaceId)
{
    char buffer[64] = {0};
    if (HidSim_InterfacePath(interfaceId, buffer, sizeof buffer) != 0)
        return QByteArray();
    return QByteArray(buffer);
}

QStringList callLog()
{
    QStringList log;
    char buffer[600];
    const int n = HidSim_CallLogCount();
    for (int i = 0; i < n; ++i) {
        if (HidSim_CallLogEntry(i, buffer, sizeof buffer) == 0)
            log << QString::fromLatin1(buffer);
    }
    return log;
}

int countCalls(const QString& prefix)
{
    int n = 0;
    for (const QString& entry : callLog())
        n += entry.startsWith(prefix);
    return n;
}

bool deliver(int timeoutMs)
{
    return HidSim_DeliverPending(timeoutMs) == 0;
}

bool settle(int timeoutMs)
{
    const bool ok = deliver(timeoutMs);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    return ok;
}

bool deliverUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        HidSim_DeliverPending(50);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

QByteArray storedImage(int mouse)
{
    QByteArray image(ImageSize, '\0');
    HidSim_GetImage(mouse, 0, reinterpret_cast<uint8_t*>(image.data()));
    return image;
}

QByteArray lastWrittenImage(int mouse)
{
    QByteArray image(ImageSize, '\0');
    if (HidSim_LastWrittenImage(mouse, reinterpret_cast<uint8_t*>(image.data())) != 0)
        return QByteArray();
    return image;
}

void openQuietLink(const QByteArray& path)
{
    UsbServerC_Start(path.constData(), path.constData(), [](uint8_t*, int, uint8_t*, uint32_t) {});
    HidSim_DeliverPending(2000);
}

QByteArray makeImage(uint8_t seed, int macros, int events)
{
    QByteArray image(ImageSize, '\0');
    uint8_t* b = reinterpret_cast<uint8_t*>(image.data());
    for (int i = 0; i < 124; ++i)
        b[i] = static_cast<uint8_t>(seed + i * 7);
    for (int k = 0; k < 16; ++k) {  // combination records: count, 3 zero bytes, events
        uint8_t* record = b + 124 + 52 * k;
        record[0] = static_cast<uint8_t>(k % 7);
        for (int i = 4; i < 4 + 8 * record[0]; ++i)
            record[i] = static_cast<uint8_t>(seed + k + i);
    }
    for (int m = 0; m < macros; ++m) {
        uint8_t* record = b + 956 + 592 * m;
        const QByteArray name = QByteArray("Macro ") + QByteArray::number(m) + char('A' + seed % 26);
        record[0] = static_cast<uint8_t>(name.size());
        std::memcpy(record + 1, name.constData(), static_cast<size_t>(name.size()));
        record[31] = static_cast<uint8_t>(events);
        for (int e = 0; e < events; ++e) {
            uint8_t* event = record + 32 + 8 * e;
            event[0] = static_cast<uint8_t>(e % 2 == 0 ? 1 : 0);
            event[1] = 1;
            event[2] = static_cast<uint8_t>(4 + (e + m + seed) % 26);
            event[4] = static_cast<uint8_t>(10 + e);
        }
    }
    return image;
}

DataRecorder::DataRecorder()
{
    clear();
    setHook(nullptr);
}

DataRecorder::~DataRecorder()
{
    setHook(nullptr);
}

UsbDataCallback DataRecorder::callback()
{
    return &recordData;
}

QList<Answer> DataRecorder::answers() const
{
    std::lock_guard<std::mutex> lock(g_data.mutex);
    return g_data.answers;
}

int DataRecorder::count() const
{
    std::lock_guard<std::mutex> lock(g_data.mutex);
    return g_data.answers.size();
}

bool DataRecorder::waitForCount(int n, int timeoutMs) const
{
    return spinUntil([&] { return count() >= n; }, timeoutMs);
}

void DataRecorder::setHook(std::function<void(const Answer&)> hook)
{
    std::lock_guard<std::mutex> lock(g_data.mutex);
    g_data.hook = std::move(hook);
}

void DataRecorder::clear()
{
    std::lock_guard<std::mutex> lock(g_data.mutex);
    g_data.answers.clear();
}

FirmwareRecorder::FirmwareRecorder()
{
    std::lock_guard<std::mutex> lock(g_firmware.mutex);
    g_firmware.reports.clear();
    g_firmware.offGui = true;
}

FirmwareRecorder::~FirmwareRecorder() = default;

UsbUpgradeCallback FirmwareRecorder::callback()
{
    return &recordFirmware;
}

QList<QByteArray> FirmwareRecorder::reports() const
{
    std::lock_guard<std::mutex> lock(g_firmware.mutex);
    return g_firmware.reports;
}

int FirmwareRecorder::finalReports() const
{
    int n = 0;
    for (const QByteArray& r : reports())
        n += r.size() == 3 && r[0] == 7 && r[1] == 2;
    return n;
}

bool FirmwareRecorder::waitForFinal(int timeoutMs) const
{
    return spinUntil([&] { return finalReports() > 0; }, timeoutMs);
}

bool FirmwareRecorder::allOffGuiThread() const
{
    std::lock_guard<std::mutex> lock(g_firmware.mutex);
    return g_firmware.offGui;
}

QByteArray makeFirmware(uint32_t version, uint8_t kind, uint8_t cid, uint8_t mid, const QByteArray& model,
                        int bodySize)
{
    QByteArray image(HIDUSB_FIRMWARE_HEADER_SIZE + bodySize, '\0');
    uint8_t* b = reinterpret_cast<uint8_t*>(image.data());
    for (int i = 0; i < 4; ++i)
        b[0x10 + i] = static_cast<uint8_t>(version >> (8 * i));
    b[0x14] = kind;
    b[0x15] = cid;
    b[0x16] = mid;
    std::memcpy(b + 0x57, model.constData(), static_cast<size_t>(qMin(model.size(), 63)));
    for (int i = HIDUSB_FIRMWARE_HEADER_SIZE; i < image.size(); ++i)
        b[i] = static_cast<uint8_t>(i);
    return image;
}

}  // namespace SimScript
