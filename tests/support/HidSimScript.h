#pragma once
// Helpers that script the simulated device library in tests: devices in one line, and
// recorders for what the library hands to the program's callbacks.
#include "HIDUsbControl.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace SimScript {

constexpr const char* VendorId = "0x3554";
constexpr const char* CablePid = "0xF500";
constexpr const char* Receiver1kPid = "0xF501";
constexpr const char* Receiver2kPid = "0xF502";
constexpr const char* Receiver4kPid = "0xF503";
constexpr const char* Receiver8kPid = "0xF504";
constexpr uint8_t Cid = 0x0A;

struct Device {
    int mouse = -1;
    int interface = -1;
    QByteArray path;
};

int addMouse(uint8_t mid, bool awake = true, int version = 0x0100, int battery = 80, uint8_t cid = Cid);
int addInterface(const char* pid, int kind, int mouseId, bool longRange = false, int identifyAfter = 0,
                 int version = 0x0100, const char* vid = VendorId);
// A mouse on its own cable (kind 2).
Device addCableMouse(uint8_t mid, bool awake = true);
// A mouse behind a receiver; the product id follows the kind (0 1 kHz, 4 2 kHz, 1 4 kHz, 5 8 kHz).
Device addReceiverMouse(uint8_t mid, int kind = 1, bool awake = true, bool longRange = true);
QByteArray path(int interfaceId);

// The library's call log as texts, and how many entries start with the given text.
QStringList callLog();
int countCalls(const QString& prefix);

// Delivers every pending answer, firmware report and (on the GUI thread) hot-plug call.
bool deliver(int timeoutMs = 5000);
// Delivers as above, then runs the queued signals that follow the deliveries.
bool settle(int timeoutMs = 5000);

// Delivers answers and processes events until `done` holds or the time is up; its final value.
bool deliverUntil(const std::function<bool()>& done, int timeoutMs = 8000);

// The image the library holds for this mouse (its first profile).
QByteArray storedImage(int mouse);
// The image the library last took from the program for this mouse; empty when there is none.
QByteArray lastWrittenImage(int mouse);

// Opens the data link to `path` with every answer dropped, so the working image stays what the
// test sets while setters write to the library, and delivers what the opening sends.
void openQuietLink(const QByteArray& path);

// A full 10,428-byte device image with recognisable settings; `macros` macro records with
// `events` events each, on the first buttons.
QByteArray makeImage(uint8_t seed, int macros = 0, int events = 0);

// One answer as the data callback received it.
struct Answer {
    int kind = 0;
    int sub = 0;
    int command = 0;
    QByteArray header;
    QByteArray data;
    bool onGuiThread = false;
    void* thread = nullptr;
};

// Records every call of the data callback it hands out. One recorder at a time (the library
// takes a plain function). The hook, when set, runs inside the callback on the library thread.
class DataRecorder {
public:
    DataRecorder();
    ~DataRecorder();
    static UsbDataCallback callback();
    QList<Answer> answers() const;
    int count() const;
    bool waitForCount(int count, int timeoutMs = 5000) const;
    void setHook(std::function<void(const Answer&)> hook);
    void clear();
};

// Records firmware status reports: {7, 1, percent} progress, {7, 2, result} final.
class FirmwareRecorder {
public:
    FirmwareRecorder();
    ~FirmwareRecorder();
    static UsbUpgradeCallback callback();
    QList<QByteArray> reports() const;
    int finalReports() const;
    bool waitForFinal(int timeoutMs = 5000) const;
    bool allOffGuiThread() const;
};

// A firmware image: 728-byte header with version, kind (210 mouse, 211 receiver), CID, MID
// and model name, followed by `bodySize` bytes.
QByteArray makeFirmware(uint32_t version, uint8_t kind, uint8_t cid, uint8_t mid, const QByteArray& model = "KM",
                        int bodySize = 256);

}  // namespace SimScript
