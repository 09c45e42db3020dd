// The simulated device library: finding devices, identification, online state and the
// receiver's own settings.
#include "support/HidSimScript.h"
#include "support/TestEnv.h"

#include <QtTest>

#include <memory>

using namespace SimScript;

class TestHidUsbFinding : public QObject {
    Q_OBJECT
private slots:
    void init() { m_env.reset(new TestEnv); }
    void cleanup() { m_env.reset(); }

    void findsByIdsWrittenAnyWay_data();
    void findsByIdsWrittenAnyWay();
    void findLimitsAndKeepsArrayUntilNextFind();
    void identifiesOnlyAfterTheScriptedZeroAnswers();
    void onlineFollowsCableSleepAndPlug();
    void attributesAndVersions();
    void receiverLightAndLongRange();

private:
    std::unique_ptr<TestEnv> m_env;
};

void TestHidUsbFinding::findsByIdsWrittenAnyWay_data()
{
    QTest::addColumn<QByteArray>("vid");
    QTest::addColumn<QByteArray>("pid");
    QTest::addColumn<int>("found");
    QTest::newRow("with 0x") << QByteArray("0x3554") << QByteArray("0xF500") << 1;
    QTest::newRow("bare lower case") << QByteArray("3554") << QByteArray("f500") << 1;
    QTest::newRow("upper 0X") << QByteArray("0X3554") << QByteArray("0XF500") << 1;
    QTest::newRow("other product") << QByteArray("0x3554") << QByteArray("0xF501") << 0;
    QTest::newRow("not a number") << QByteArray("0x35G4") << QByteArray("0xF500") << 0;
    QTest::newRow("empty") << QByteArray("") << QByteArray("0xF500") << 0;
}

void TestHidUsbFinding::findsByIdsWrittenAnyWay()
{
    QFETCH(QByteArray, vid);
    QFETCH(QByteArray, pid);
    QFETCH(int, found);
    const Device d = addCableMouse(1);
    int count = 5;
    char** paths = UsbFinderC_FindHidDevicesByDefaultDeviceId(vid.constData(), pid.constData(), &count);
    QCOMPARE(count, found);
    if (found)
        QCOMPARE(QByteArray(paths[0]), d.path);
    count = 5;
    paths = UsbFinderC_FindHidDevicesByDeviceId(vid.constData(), pid.constData(), 1, 5, &count);
    QCOMPARE(count, found);
}

void TestHidUsbFinding::findLimitsAndKeepsArrayUntilNextFind()
{
    QList<QByteArray> expected;
    for (int i = 0; i < 7; ++i)
        expected << addReceiverMouse(static_cast<uint8_t>(i + 1), 0).path;
    int count = 5;
    char** paths = UsbFinderC_FindHidDevicesByDefaultDeviceId(VendorId, Receiver1kPid, &count);
    QCOMPARE(count, 5);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(QByteArray(paths[i]), expected[i]);
    // Other calls (and other devices coming) leave the array alone.
    QCOMPARE(UsbFinderC_GetDeviceOnLine(paths[0]), 1);
    addCableMouse(9);
    QCOMPARE(QByteArray(paths[4]), expected[4]);
    count = 2;
    paths = UsbFinderC_FindHidDevicesByDeviceId(VendorId, Receiver1kPid, 1, 5, &count);
    QCOMPARE(count, 2);
    count = 0;  // no maximum from the caller: the function's own limit
    paths = UsbFinderC_FindHidDevicesByDeviceId(VendorId, Receiver1kPid, 1, 5, &count);
    QCOMPARE(count, 5);
}

void TestHidUsbFinding::identifiesOnlyAfterTheScriptedZeroAnswers()
{
    const int mouse = addMouse(31);
    const int cable = addInterface(CablePid, 2, mouse, false, 3);
    const QByteArray p = path(cable);
    for (int i = 0; i < 3; ++i) {
        const UsbDeviceInfo info = UsbFinderC_GetDeviceInfo(p.constData());
        QCOMPARE(int(info.cid), 0);
        QCOMPARE(int(info.mid), 0);
        QCOMPARE(int(info.kind), 2);
    }
    UsbDeviceInfo info = UsbFinderC_GetDeviceInfo(p.constData());
    QCOMPARE(int(info.cid), int(Cid));
    QCOMPARE(int(info.mid), 31);
    QCOMPARE(int(info.kind), 2);

    // A receiver without a mouse never knows one; an unknown path answers zeros.
    const QByteArray lonely = path(addInterface(Receiver4kPid, 1, -1));
    info = UsbFinderC_GetDeviceInfo(lonely.constData());
    QCOMPARE(int(info.cid) + int(info.mid), 0);
    QCOMPARE(int(info.kind), 1);
    info = UsbFinderC_GetDeviceInfo("sim:usb:9999");
    QCOMPARE(int(info.cid) + int(info.mid) + int(info.kind), 0);
    info = UsbFinderC_GetDeviceInfo(nullptr);
    QCOMPARE(int(info.kind), 0);
}

void TestHidUsbFinding::onlineFollowsCableSleepAndPlug()
{
    const Device cable = addCableMouse(1, false);  // asleep, but the cable carries it
    const Device wireless = addReceiverMouse(2, 1, false);
    QCOMPARE(UsbFinderC_GetDeviceOnLine(cable.path.constData()), 1);
    QCOMPARE(UsbFinderC_GetDeviceOnLine(wireless.path.constData()), 0);

    UsbAddressStatus status{};
    QCOMPARE(UsbFinderC_GetDeviceOnLineWithUsbAddress(wireless.path.constData(), &status), 0);
    QCOMPARE(int(status.bytes[6]), 0);
    QCOMPARE(int(status.bytes[8]), 2);  // the paired mouse's address even while it sleeps

    HidSim_SetAwake(wireless.mouse, 1);
    QCOMPARE(UsbFinderC_GetDeviceOnLineWithUsbAddress(wireless.path.constData(), &status), 1);
    QCOMPARE(int(status.bytes[6]), 1);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(status.bytes + 7), 3), QByteArray("\x4B\x02\x12", 3));

    HidSim_SetPlugged(cable.interface, 0);
    int count = 5;
    UsbFinderC_FindHidDevicesByDefaultDeviceId(VendorId, CablePid, &count);
    QCOMPARE(count, 0);
    QCOMPARE(UsbFinderC_GetDeviceOnLine(cable.path.constData()), 0);
    HidSim_SetPlugged(cable.interface, 1);
    QCOMPARE(UsbFinderC_GetDeviceOnLine(cable.path.constData()), 1);

    HidSim_SetMouseBootMode(cable.mouse, 1);
    QCOMPARE(UsbFinderC_GetDeviceOnLine(cable.path.constData()), 0);
    HidSim_RemoveMouse(cable.mouse);  // its cable goes with it
    count = 5;
    UsbFinderC_FindHidDevicesByDefaultDeviceId(VendorId, CablePid, &count);
    QCOMPARE(count, 0);
}

void TestHidUsbFinding::attributesAndVersions()
{
    const int mouse = addMouse(4, true, 0x0107);
    const int receiver = addInterface(Receiver2kPid, 4, mouse, false, 0, 0x021A);
    const QByteArray p = path(receiver);
    UsbDeviceAttribute attribute{};
    QCOMPARE(UsbFinderC_GetUsbDeviceAttribute(p.constData(), &attribute), 1);
    QCOMPARE(attribute.bytes[0] | attribute.bytes[1] << 8, 0x3554);
    QCOMPARE(attribute.bytes[2] | attribute.bytes[3] << 8, 0xF502);
    QCOMPARE(attribute.bytes[8] | attribute.bytes[9] << 8, 0x021A);
    QCOMPARE(UsbFinderC_GetVersion(p.constData()), 0x0107);
    int version = 0;
    QCOMPARE(UsbFinderC_GetSlaveVersion(p.constData(), &version), 1);
    QCOMPARE(version, 0x021A);

    const Device cable = addCableMouse(5);
    version = -1;
    QCOMPARE(UsbFinderC_GetSlaveVersion(cable.path.constData(), &version), 0);
    QCOMPARE(version, -1);
    UsbDeviceAttribute untouched{};
    QCOMPARE(UsbFinderC_GetUsbDeviceAttribute("sim:usb:9999", &untouched), 0);
    QCOMPARE(untouched.bytes[0], uint8_t(0));
}

void TestHidUsbFinding::receiverLightAndLongRange()
{
    const Device fast = addReceiverMouse(2, 1, true, true);
    const Device slow = addReceiverMouse(3, 0, true, false);
    DongleRGB record{};
    record.bytes[0] = 3;
    QCOMPARE(UsbFinderC_Set4KDongleRGB(fast.path.constData(), &record), 1);
    QCOMPARE(HidSim_LightMode(fast.interface), 3);
    DongleRGB read{};
    QCOMPARE(UsbFinderC_Get4KDongleRGBValue(fast.path.constData(), &read), 1);
    QCOMPARE(int(read.bytes[0]), 3);
    QCOMPARE(UsbFinderC_Set4KDongleRGB(slow.path.constData(), &record), 0);  // no light there

    uint8_t mode = 's';
    QCOMPARE(UsbFinderC_GetLongRangeMode(fast.path.constData(), &mode), 1);
    QCOMPARE(int(mode), 0);
    QCOMPARE(UsbFinderC_SetLongRangeMode(fast.path.constData(), 1), 1);
    QCOMPARE(HidSim_LongRangeMode(fast.interface), 1);
    UsbFinderC_GetLongRangeMode(fast.path.constData(), &mode);
    QCOMPARE(int(mode), 1);

    mode = 's';
    QCOMPARE(UsbFinderC_GetLongRangeMode(slow.path.constData(), &mode), 0);
    QCOMPARE(int(mode), int('s'));
    QCOMPARE(UsbFinderC_SetLongRangeMode(slow.path.constData(), 1), 0);
    QCOMPARE(HidSim_LongRangeMode(slow.interface), 0);
}

QTEST_MAIN(TestHidUsbFinding)
#include "tst_hidusb_finding.moc"
