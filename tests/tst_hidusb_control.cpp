// The simulated device library's scripting side: default devices, scenario files, the
// plug tool's commands, the call log and reset.
#include "support/HidSimScript.h"
#include "support/TestEnv.h"

#include <QtTest>

#include <memory>

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

}  // namespace

class TestHidUsbControl : public QObject {
    Q_OBJECT
private slots:
    void init() { m_env.reset(new TestEnv); }
    void cleanup() { m_env.reset(); }

    void defaultsShowEveryKindOfTile();
    void scenarioFileReplacesTheDevices();
    void scenarioNumbersAreDecimalUnlessHex_data();
    void scenarioNumbersAreDecimalUnlessHex();
    void badScenarioFilesChangeNothing_data();
    void badScenarioFilesChangeNothing();
    void unreadableScenarioChangesNothing();
    void plugToolCommands();
    void callLogRecordsArgumentsAndResetClearsAll();

private:
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

QTEST_MAIN(TestHidUsbControl)
#include "tst_hidusb_control.moc"
