// The simulated device library: scripted receiver pairing and firmware updates.
#include "support/HidSimScript.h"
#include "support/TestEnv.h"

#include <QtTest>

#include <atomic>
#include <memory>

using namespace SimScript;

namespace {

std::atomic<int> g_hotplugCalls{0};
void countHotplug()
{
    ++g_hotplugCalls;
}

QList<int> pairAnswers(const DataRecorder& recorder)
{
    QList<int> values;
    for (const Answer& a : recorder.answers()) {
        if (a.kind == 6 && a.data.size() == 1)
            values << a.data[0];
    }
    return values;
}

const uint8_t* bytes(const QByteArray& a)
{
    return reinterpret_cast<const uint8_t*>(a.constData());
}

uint32_t length(const QByteArray& a)
{
    return static_cast<uint32_t>(a.size());
}

}  // namespace

class TestHidUsbPairingFirmware : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_env.reset(new TestEnv);
        g_hotplugCalls = 0;
    }
    void cleanup()
    {
        StopUsbChanged();
        UsbServer_Exit();
        m_env.reset();
    }

    void pairingFollowsItsScript_data();
    void pairingFollowsItsScript();
    void receiverRemovedDuringPairingIsGone();
    void bootDeviceCountMatchesKindCidAndMid();
    void updateSendsProgressAndExactlyOneFinalReport();
    void failedUpdateLeavesBootModeForARepair();
    void updateWithoutDeviceOrHeaderStillEndsOnce();
    void silentScriptSendsNoFinalReport();

private:
    std::unique_ptr<TestEnv> m_env;
};

void TestHidUsbPairingFirmware::pairingFollowsItsScript_data()
{
    QTest::addColumn<int>("pairingAnswers");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("cid");
    QTest::addColumn<int>("result");
    QTest::newRow("success after three") << 3 << 3 << int(Cid) << 3;
    QTest::newRow("success at once") << 0 << 3 << int(Cid) << 3;
    QTest::newRow("scripted failure") << 1 << 2 << int(Cid) << 2;
    QTest::newRow("wrong CID") << 1 << 3 << 0x0B << 2;
    // Result 0: the receiver never answers, however many reads.
    QTest::newRow("silent") << 1 << 0 << int(Cid) << 0;
}

void TestHidUsbPairingFirmware::pairingFollowsItsScript()
{
    QFETCH(int, pairingAnswers);
    QFETCH(int, outcome);
    QFETCH(int, cid);
    QFETCH(int, result);
    const int receiver = addInterface(Receiver4kPid, 1, -1);
    const QByteArray p = path(receiver);
    const int mouse = addMouse(2, false);
    HidSim_ScriptPairing(pairingAnswers, outcome, mouse);
    StartUsbChanged(&countHotplug, 600);
    DataRecorder recorder;
    UsbServerC_Start(p.constData(), p.constData(), DataRecorder::callback());
    QVERIFY(deliver());
    g_hotplugCalls = 0;
    QCOMPARE(UsbServer_EnterDonglePairOnlyCid(static_cast<uint8_t>(cid)), 1);
    for (int i = 0; i < pairingAnswers + 2; ++i)
        QCOMPARE(UsbServer_ReadDonglePairStatus(), result == 0 ? 0 : 1);
    QVERIFY(deliver());
    QList<int> expected;
    for (int i = 0; result != 0 && i < pairingAnswers; ++i)
        expected << 1;
    if (result != 0)
        expected << result << result;  // the receiver keeps telling its result
    QCOMPARE(pairAnswers(recorder), expected);
    for (const Answer& a : recorder.answers())
        QVERIFY(!a.onGuiThread);
    QCOMPARE(UsbFinderC_GetDeviceOnLine(p.constData()), result == 3 ? 1 : 0);
    QCOMPARE(g_hotplugCalls.load(), result == 3 ? 1 : 0);
    if (result == 3)
        QCOMPARE(int(UsbFinderC_GetDeviceInfo(p.constData()).mid), 2);
}

void TestHidUsbPairingFirmware::receiverRemovedDuringPairingIsGone()
{
    const int receiver = addInterface(Receiver1kPid, 0, -1);
    const QByteArray p = path(receiver);
    addMouse(3);
    HidSim_ScriptPairing(10, 3, -1);
    DataRecorder recorder;
    UsbServerC_Start(p.constData(), p.constData(), DataRecorder::callback());
    QCOMPARE(UsbServer_EnterDonglePairOnlyCid(Cid), 1);
    UsbServer_ReadDonglePairStatus();
    HidSim_RemoveInterface(receiver);
    QCOMPARE(UsbServer_ReadDonglePairStatus(), 0);
    QVERIFY(deliver());
    QCOMPARE(pairAnswers(recorder), QList<int>{1});
    int count = 5;
    UsbFinderC_FindHidDevicesByDefaultDeviceId(VendorId, Receiver1kPid, &count);
    QCOMPARE(count, 0);
    // Pairing needs a receiver: a cable link refuses it.
    const Device cable = addCableMouse(1);
    UsbServerC_Start(cable.path.constData(), cable.path.constData(), DataRecorder::callback());
    QCOMPARE(UsbServer_EnterDonglePairOnlyCid(Cid), 0);
}

void TestHidUsbPairingFirmware::bootDeviceCountMatchesKindCidAndMid()
{
    const int bootMouse = addMouse(4);
    HidSim_SetMouseBootMode(bootMouse, 1);
    const int otherModel = addMouse(5);
    HidSim_SetMouseBootMode(otherModel, 1);
    addMouse(4);  // same model, working: not waiting for an image
    const int receiver = addInterface(Receiver4kPid, 1, -1);
    HidSim_SetInterfaceBootMode(receiver, 1, Cid, 4);

    const struct {
        uint8_t kind;
        uint8_t mid;
        int count;
    } cases[] = {{210, 4, 1}, {210, 5, 1}, {210, 6, 0}, {211, 4, 1}, {211, 5, 0}, {212, 4, 0}};
    for (const auto& c : cases) {
        const QByteArray firmware = makeFirmware(0x0200, c.kind, Cid, c.mid);
        int count = 5;
        QCOMPARE(UsbUpgradeC_FindBootDevices(bytes(firmware), length(firmware), &count), 1);
        QCOMPARE(count, c.count);
    }
    const QByteArray shortHeader = makeFirmware(0x0200, 210, Cid, 4).left(HIDUSB_FIRMWARE_HEADER_SIZE - 1);
    int count = 5;
    QCOMPARE(UsbUpgradeC_FindBootDevices(bytes(shortHeader), length(shortHeader), &count), 0);
    QCOMPARE(count, 5);
}

void TestHidUsbPairingFirmware::updateSendsProgressAndExactlyOneFinalReport()
{
    const Device d = addCableMouse(6);
    HidSim_ScriptFirmware(4, 0, 1);
    StartUsbChanged(&countHotplug, 600);
    QVERIFY(deliver());
    g_hotplugCalls = 0;
    FirmwareRecorder recorder;
    const QByteArray firmware = makeFirmware(0x0305, 210, Cid, 6);
    QCOMPARE(UsbUpgrade_Start(bytes(firmware), length(firmware), FirmwareRecorder::callback(), 10000), 1);
    QVERIFY(recorder.waitForFinal());
    QVERIFY(deliver());
    const QList<QByteArray> reports = recorder.reports();
    QCOMPARE(reports.size(), 5);
    QCOMPARE(reports[0], QByteArray("\x07\x01\x19", 3));
    QCOMPARE(reports[3], QByteArray("\x07\x01\x64", 3));
    QCOMPARE(reports[4], QByteArray("\x07\x02\x01", 3));
    QCOMPARE(recorder.finalReports(), 1);
    QVERIFY(recorder.allOffGuiThread());
    QCOMPARE(UsbFinderC_GetVersion(d.path.constData()), 0x0305);
    QCOMPARE(g_hotplugCalls.load(), 1);  // the mouse starts again with its new firmware
}

void TestHidUsbPairingFirmware::failedUpdateLeavesBootModeForARepair()
{
    const int receiver = addInterface(Receiver1kPid, 0, addMouse(3), false, 0, 0x0110);
    const QByteArray p = path(receiver);
    const QByteArray firmware = makeFirmware(0x0120, 211, Cid, 3);
    {
        HidSim_ScriptFirmware(2, 0, 0);
        FirmwareRecorder recorder;
        QCOMPARE(UsbUpgrade_Start(bytes(firmware), length(firmware), FirmwareRecorder::callback(), 10000), 1);
        QVERIFY(recorder.waitForFinal());
        QVERIFY(deliver());
        QCOMPARE(recorder.reports().last(), QByteArray("\x07\x02\x00", 3));
        QCOMPARE(recorder.finalReports(), 1);
    }
    int count = 5;
    UsbFinderC_FindHidDevicesByDefaultDeviceId(VendorId, Receiver1kPid, &count);
    QCOMPARE(count, 0);  // in its boot loader
    UsbUpgradeC_FindBootDevices(bytes(firmware), length(firmware), &count);
    QCOMPARE(count, 1);
    {
        HidSim_ScriptFirmware(3, 0, 1);
        FirmwareRecorder recorder;
        QCOMPARE(UsbUpgrade_Start(bytes(firmware), length(firmware), FirmwareRecorder::callback(), 10000), 1);
        QVERIFY(recorder.waitForFinal());
        QVERIFY(deliver());
        QCOMPARE(recorder.finalReports(), 1);
        QCOMPARE(recorder.reports().last(), QByteArray("\x07\x02\x01", 3));
    }
    int version = 0;
    QCOMPARE(UsbFinderC_GetSlaveVersion(p.constData(), &version), 1);
    QCOMPARE(version, 0x0120);
    UsbUpgradeC_FindBootDevices(bytes(firmware), length(firmware), &count);
    QCOMPARE(count, 0);
}

void TestHidUsbPairingFirmware::updateWithoutDeviceOrHeaderStillEndsOnce()
{
    addCableMouse(1);
    const QByteArray noDevice = makeFirmware(0x0200, 210, Cid, 9);
    const QByteArray shortHeader = noDevice.left(100);
    {
        FirmwareRecorder recorder;
        QCOMPARE(UsbUpgrade_Start(bytes(noDevice), length(noDevice), FirmwareRecorder::callback(), 10000), 1);
        QVERIFY(recorder.waitForFinal());
        QVERIFY(deliver());
        QCOMPARE(recorder.reports(), QList<QByteArray>{QByteArray("\x07\x02\x00", 3)});
    }
    {
        FirmwareRecorder recorder;
        QCOMPARE(UsbUpgrade_Start(bytes(shortHeader), length(shortHeader), FirmwareRecorder::callback(), 10000), 0);
        QVERIFY(recorder.waitForFinal());
        QVERIFY(deliver());
        QCOMPARE(recorder.reports(), QList<QByteArray>{QByteArray("\x07\x02\x00", 3)});
    }
    QCOMPARE(UsbUpgrade_Start(bytes(noDevice), length(noDevice), nullptr, 10000), 0);
}

// The silent script stands for a library that never finishes: progress, then nothing; the
// device is left as it was.
void TestHidUsbPairingFirmware::silentScriptSendsNoFinalReport()
{
    const Device d = addCableMouse(6);
    HidSim_ScriptFirmware(2, 0, HIDSIM_FIRMWARE_SILENT);
    FirmwareRecorder recorder;
    const QByteArray firmware = makeFirmware(0x0305, 210, Cid, 6);
    QCOMPARE(UsbUpgrade_Start(bytes(firmware), length(firmware), FirmwareRecorder::callback(), 10000), 1);
    QVERIFY(deliver());
    QCOMPARE(recorder.reports().size(), 2);
    QCOMPARE(recorder.finalReports(), 0);
    QCOMPARE(UsbFinderC_GetVersion(d.path.constData()), 0x0100);
    QCOMPARE(UsbFinderC_GetDeviceOnLine(d.path.constData()), 1);
}

QTEST_MAIN(TestHidUsbPairingFirmware)
#include "tst_hidusb_pairing_firmware.moc"
