// The configuration frame's hot-plug callback: following the current mouse, going back to
// the device-choice page when it is gone, and the receiver firmware report.
#include "DeviceLinkFixture.h"

#include "device/Worker.h"

#include <QtTest>

#include <memory>

using namespace linktest;

class MainPageHotplugTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void currentMouseStaysWhilePlugged();
    void goneMouseReturnsToTheChoicePage_data();
    void goneMouseReturnsToTheChoicePage();
    void sameMouseByCableAndReceiverSwitchesToTheCable();
    void receiverListedOnlyAsEightKilohertzStays();
    void receiverFirmwareReport_data();
    void receiverFirmwareReport();

private:
    // Makes the device at path current, with its record filled as the frame's scan does.
    void makeCurrent(const QByteArray& path);

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<HubRecorder> m_hub;
};

void MainPageHotplugTest::init()
{
    m_env.reset(new TestEnv);
    resetFlags();
    writeCatalogue(*m_env);
    m_hub.reset(new HubRecorder);
    MainPageActive = 1;
}

void MainPageHotplugTest::cleanup()
{
    UsbServer_Exit();
    m_hub.reset();
    m_env.reset();
}

void MainPageHotplugTest::makeCurrent(const QByteArray& path)
{
    DeviceAllInfo placeholder;
    placeholder.path = QString::fromUtf8(path);
    SetCurrentDeviceRecord(placeholder);
    DeviceAllInfo record;
    record.path = placeholder.path;
    QCOMPARE(FillDeviceRecord(record, placeholder.path), 1);  // also refreshes the current record
    SetCurrentDevicePath(path);
    QCOMPARE(CurrentDeviceRecord().modelIndex, 0);
}

void MainPageHotplugTest::currentMouseStaysWhilePlugged()
{
    const SimScript::Device mouse = SimScript::addReceiverMouse(1, 1);
    makeCurrent(mouse.path);
    OnMainPageUsbChanged();
    QVERIFY(settle());
    QCOMPARE(m_hub->events(), QStringList{"Setver(4)"});
    QCOMPARE(CurrentDeviceRecord().path, QString::fromUtf8(mouse.path));
    QCOMPARE(MainPageDeviceList.size(), 1);
}

void MainPageHotplugTest::goneMouseReturnsToTheChoicePage_data()
{
    QTest::addColumn<bool>("otherMouse");
    QTest::addColumn<bool>("updateRunning");
    QTest::addColumn<bool>("back");
    QTest::newRow("nothing left") << false << false << true;
    QTest::newRow("another mouse left") << true << false << true;
    QTest::newRow("nothing left, update running") << false << true << false;
    QTest::newRow("another mouse left, update running") << true << true << false;
}

void MainPageHotplugTest::goneMouseReturnsToTheChoicePage()
{
    QFETCH(bool, otherMouse);
    QFETCH(bool, updateRunning);
    QFETCH(bool, back);
    const SimScript::Device mouse = SimScript::addReceiverMouse(1, 1);
    makeCurrent(mouse.path);
    if (otherMouse)
        SimScript::addCableMouse(7);  // a model the catalogue does not list
    FirmwareIdle = updateRunning ? 0 : 1;

    HidSim_RemoveInterface(mouse.interface);
    OnMainPageUsbChanged();
    QVERIFY(settle());

    QCOMPARE(m_hub->count(QStringLiteral("ChangeMainDialog(0)")), back ? 1 : 0);
    // With nothing left (and no update running) the current device is forgotten.
    QCOMPARE(CurrentDeviceRecord().path.isEmpty(), !otherMouse && !updateRunning);
}

void MainPageHotplugTest::sameMouseByCableAndReceiverSwitchesToTheCable()
{
    Worker worker;
    const SimScript::Device viaReceiver = SimScript::addReceiverMouse(1, 1);
    makeCurrent(viaReceiver.path);
    QCOMPARE(int(CurrentDeviceRecord().cableFlag), 0);
    QCOMPARE(CurrentDeviceRecord().statusBytes.size(), 3);

    const int cable = SimScript::addInterface(SimScript::CablePid, 2, viaReceiver.mouse);
    const QByteArray cablePath = SimScript::path(cable);
    HidSim_ClearCallLog();
    OnMainPageUsbChanged();
    QVERIFY(spinUntil([&] { return worker.isFinished(); }));
    QVERIFY(settle());

    QCOMPARE(CurrentDeviceRecord().path, QString::fromUtf8(cablePath));
    QCOMPARE(int(CurrentDeviceRecord().cableFlag), 1);
    QCOMPARE(CurrentDevicePath(), cablePath);
    QCOMPARE(m_hub->count(QStringLiteral("ChangeMainDialog")), 0);
    // The link is opened again, now by the cable.
    QVERIFY(logIndex(SimScript::callLog(), QStringLiteral("UsbServerC_Start(%1").arg(QString::fromUtf8(cablePath))) >= 0);
}

// A receiver whose product id is listed only under "Wireless8_PID" is found by the frame's
// scan as by the choice page, so its mouse is not taken for gone.
void MainPageHotplugTest::receiverListedOnlyAsEightKilohertzStays()
{
    QVERIFY(ScannedProductIds().contains(QStringLiteral("0xF504")));
    const SimScript::Device mouse = SimScript::addReceiverMouse(1, 5);
    makeCurrent(mouse.path);
    OnMainPageUsbChanged();
    QVERIFY(settle());
    QCOMPARE(m_hub->count(QStringLiteral("ChangeMainDialog")), 0);
    QCOMPARE(CurrentDeviceRecord().path, QString::fromUtf8(mouse.path));
}

void MainPageHotplugTest::receiverFirmwareReport_data()
{
    QTest::addColumn<int>("imageVersion");  // 0: no "/bin" folder
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("available");
    QTest::newRow("newer receiver image") << 0x0103 << "true" << 1;
    QTest::newRow("newer by hexadecimal minor") << 0x010A << "true" << 1;
    QTest::newRow("older receiver image") << 0x0101 << "" << 0;
    QTest::newRow("no bin folder") << 0 << "" << 7;
}

void MainPageHotplugTest::receiverFirmwareReport()
{
    QFETCH(int, imageVersion);
    QFETCH(QString, answer);
    QFETCH(int, available);
    ReceiverUpdateAvailable = 7;
    if (imageVersion) {
        m_env->writeProgramFile(QStringLiteral("bin/receiver.bin"),
                                SimScript::makeFirmware(uint32_t(imageVersion), 211, 10, 1, "KR4"));
    }
    // The mouse by cable is current; its 4 kHz receiver (version 1.2) is plugged too.
    const SimScript::Device cable = SimScript::addCableMouse(1);
    SimScript::addInterface(SimScript::Receiver4kPid, 1, cable.mouse, false, 0, 0x0102);
    makeCurrent(cable.path);

    OnMainPageUsbChanged();
    QVERIFY(settle());
    QCOMPARE(MainPageDeviceList.size(), 2);
    QCOMPARE(m_hub->count(QStringLiteral("LabelTextB(v1.2,%1)").arg(answer)), 1);
    QCOMPARE(int(ReceiverUpdateAvailable), available);
}

QTEST_MAIN(MainPageHotplugTest)
#include "tst_main_page_hotplug.moc"
