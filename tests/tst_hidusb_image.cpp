// The simulated device library: the whole-configuration answer and its parser, the short
// answers and their decoders, and what writes do to the mouse.
#include "support/HidSimScript.h"
#include "support/TestEnv.h"

#include <QtTest>

#include <memory>

using namespace SimScript;

namespace {

FlashDataMap* asImage(QByteArray& bytes)
{
    return reinterpret_cast<FlashDataMap*>(bytes.data());
}

const uint8_t* bytes(const QByteArray& a)
{
    return reinterpret_cast<const uint8_t*>(a.constData());
}

QByteArray readImage(int mouse, int profile)
{
    QByteArray image(HIDUSB_IMAGE_SIZE, '\0');
    HidSim_GetImage(mouse, profile, reinterpret_cast<uint8_t*>(image.data()));
    return image;
}

}  // namespace

class TestHidUsbImage : public QObject {
    Q_OBJECT
private slots:
    void init() { m_env.reset(new TestEnv); }
    void cleanup()
    {
        UsbServer_Exit();
        m_env.reset();
    }

    void fullReadRoundTripsEightFullMacros();
    void macrosOnLastButtonsAndEmptyRecordsSurvive();
    void imagesWhoseMacrosDoNotFitAreRefused_data();
    void imagesWhoseMacrosDoNotFitAreRefused();
    void parserClearsMissingMacrosAndStopsAtBadRecords_data();
    void parserClearsMissingMacrosAndStopsAtBadRecords();
    void shortAnswersAndDecoders();
    void writesReachOnlyAnOnlineMouse();
    void profileSwitchAndFactoryResetRaiseStatusEvents();
    void offlineMouseSendsNothing();
    void writtenImageWithTooManyMacrosComesBackCut();

private:
    std::unique_ptr<TestEnv> m_env;
};

void TestHidUsbImage::fullReadRoundTripsEightFullMacros()
{
    const Device d = addCableMouse(1);
    const QByteArray image = makeImage(3, 8, 70);
    QCOMPARE(HidSim_SetImage(d.mouse, 0, bytes(image)), 0);
    DataRecorder recorder;
    UsbServerC_Start(d.path.constData(), d.path.constData(), DataRecorder::callback());
    QCOMPARE(UsbServer_ReadAllFlashData(), 1);
    QVERIFY(deliver());
    QCOMPARE(recorder.count(), 1);
    Answer a = recorder.answers()[0];
    QCOMPARE(a.kind, 8);
    QCOMPARE(a.sub, 0);
    QCOMPARE(a.command, 0);
    QCOMPARE(a.data.size(), HIDUSB_FULL_ANSWER_SIZE);
    QByteArray parsed(HIDUSB_IMAGE_SIZE, '\x55');
    ProtocolDataParser(reinterpret_cast<uint8_t*>(a.data.data()), asImage(parsed));
    QCOMPARE(parsed, image);
}

void TestHidUsbImage::macrosOnLastButtonsAndEmptyRecordsSurvive()
{
    QByteArray image = makeImage(9);
    // Macros on buttons 15, 9 and 4; one with a name and no events, one with one event.
    const QByteArray withEvents = makeImage(9, 3, 12);
    image.replace(956 + 592 * 15, 592, withEvents.mid(956, 592));
    image.replace(956 + 592 * 9, 592, withEvents.mid(956 + 592, 592));
    image[956 + 592 * 4] = 2;
    image[956 + 592 * 4 + 1] = 'N';
    image[956 + 592 * 4 + 2] = 'o';
    const Device d = addReceiverMouse(2);
    QCOMPARE(HidSim_SetImage(d.mouse, 0, bytes(image)), 0);
    DataRecorder recorder;
    UsbServerC_Start(d.path.constData(), d.path.constData(), DataRecorder::callback());
    UsbServer_ReadAllFlashData();
    QVERIFY(deliver());
    QByteArray parsed(HIDUSB_IMAGE_SIZE, '\0');
    QByteArray data = recorder.answers().value(0).data;
    QCOMPARE(data.size(), HIDUSB_FULL_ANSWER_SIZE);
    ProtocolDataParser(reinterpret_cast<uint8_t*>(data.data()), asImage(parsed));
    QCOMPARE(parsed, image);
}

void TestHidUsbImage::imagesWhoseMacrosDoNotFitAreRefused_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("result");
    QTest::newRow("eight full") << makeImage(1, 8, 70) << 0;
    QTest::newRow("nine macros") << makeImage(1, 9, 1) << -1;
    QByteArray tooLong = makeImage(1, 1, 70);
    tooLong[956 + 31] = char(71);
    QTest::newRow("71 events") << tooLong << -1;
    QTest::newRow("sixteen empty") << makeImage(1, 16, 0) << -1;  // named records count as used
}

void TestHidUsbImage::imagesWhoseMacrosDoNotFitAreRefused()
{
    QFETCH(QByteArray, image);
    QFETCH(int, result);
    const int mouse = addMouse(1);
    const QByteArray before = readImage(mouse, 2);
    QCOMPARE(HidSim_SetImage(mouse, 2, bytes(image)), result);
    QCOMPARE(readImage(mouse, 2), result == 0 ? image : before);
    QCOMPARE(HidSim_SetImage(mouse, 4, bytes(image)), -1);
    QCOMPARE(HidSim_SetImage(mouse + 1, 0, bytes(image)), -1);
}

void TestHidUsbImage::parserClearsMissingMacrosAndStopsAtBadRecords_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("events");
    QTest::addColumn<bool>("carried");
    QTest::newRow("good") << 5 << 3 << true;
    QTest::newRow("button out of range") << 16 << 3 << false;
    QTest::newRow("too many events") << 5 << 71 << false;
    QTest::newRow("runs past the end") << 5 << 70 << false;  // placed near the end below
}

void TestHidUsbImage::parserClearsMissingMacrosAndStopsAtBadRecords()
{
    QFETCH(int, button);
    QFETCH(int, events);
    QFETCH(bool, carried);
    QByteArray answer(HIDUSB_FULL_ANSWER_SIZE, '\0');
    int pos = 956;
    if (QByteArray(QTest::currentDataTag()) == "runs past the end") {
        // Nine full records and a short one on button 0 leave too little room for the last.
        for (int n = 0; n < 10; ++n) {
            const int events = n < 9 ? 70 : 4;
            answer[pos] = char(0);
            answer[pos + 32] = char(events);
            pos += 33 + 8 * events;
        }
        QVERIFY(pos + 33 <= HIDUSB_FULL_ANSWER_SIZE && pos + 33 + 560 > HIDUSB_FULL_ANSWER_SIZE);
    }
    answer[pos] = char(button);
    answer[pos + 1] = char(4);
    answer.replace(pos + 2, 4, "Name");
    answer[pos + 32] = char(events);
    QByteArray image(HIDUSB_IMAGE_SIZE, '\x77');
    ProtocolDataParser(reinterpret_cast<uint8_t*>(answer.data()), asImage(image));
    const int recordAt = 956 + 592 * 5;
    QCOMPARE(image.mid(recordAt, 1) == QByteArray(1, 4), carried);
    if (QByteArray(QTest::currentDataTag()) == "runs past the end")
        QCOMPARE(int(image[956 + 31]), 4);  // the records before the bad one are kept
    // Nothing of the old macro bytes is left anywhere outside carried records.
    if (!carried && QByteArray(QTest::currentDataTag()) != "runs past the end")
        QCOMPARE(image.mid(956), QByteArray(HIDUSB_IMAGE_SIZE - 956, '\0'));
    QCOMPARE(image.left(956), answer.left(956));
}

void TestHidUsbImage::shortAnswersAndDecoders()
{
    const Device d = addCableMouse(1);
    QByteArray image = makeImage(0);
    image[0] = char(0x10);
    image[2] = char(3);
    for (int i = 63; i <= 73; ++i)
        image[i] = char(i);
    HidSim_SetImage(d.mouse, 0, bytes(image));
    HidSim_SetBattery(d.mouse, 64, 1);
    DataRecorder recorder;
    UsbServerC_Start(d.path.constData(), d.path.constData(), DataRecorder::callback());
    UsbServer_ReadReportRate();
    UsbServer_ReadCurrentDPI();
    UsbServer_ReadDPILed();
    UsbServer_ReadLedBar();
    UsbServer_ReadBatteryLevel();
    UsbServer_ReadConfig();
    QVERIFY(deliver());
    const QList<Answer> a = recorder.answers();
    QCOMPARE(a.size(), 6);
    QCOMPARE(a[0].data, QByteArray(1, char(0x10)));
    QCOMPARE(a[1].command, 4);
    QCOMPARE(a[1].data, QByteArray(1, char(3)));
    QCOMPARE(a[2].command, 0x4C);
    QCOMPARE(a[2].data.size(), 8);
    QCOMPARE(a[3].command, 0xA0);
    QCOMPARE(a[3].data.size(), 9);
    QCOMPARE(a[4].kind, 4);
    QCOMPARE(a[5].kind, 14);
    QCOMPARE(a[5].data, QByteArray(1, '\0'));

    // The decoders write exactly their fields: 4 bytes at 63, 7 bytes at 67.
    QByteArray target(HIDUSB_IMAGE_SIZE, '\0');
    QByteArray dpiLight = a[2].data;
    QByteArray lightBar = a[3].data;
    BufferToDPILed(reinterpret_cast<uint8_t*>(dpiLight.data()), reinterpret_cast<uint8_t*>(target.data()) + 63);
    BufferToLedBar(reinterpret_cast<uint8_t*>(lightBar.data()), reinterpret_cast<uint8_t*>(target.data()) + 67);
    QCOMPARE(target.mid(63, 11), image.mid(63, 11));
    QCOMPARE(target.mid(74, 1), QByteArray(1, '\0'));
    QCOMPARE(target.mid(62, 1), QByteArray(1, '\0'));

    BatteryStatus battery{};
    QByteArray batteryData = a[4].data;
    GetDeviceBatteryStatus(reinterpret_cast<uint8_t*>(batteryData.data()), &battery);
    QCOMPARE(int(battery.bytes[0]), 64);
    QVERIFY(battery.bytes[1] > 0);
}

void TestHidUsbImage::writesReachOnlyAnOnlineMouse()
{
    const Device d = addReceiverMouse(2, 1, false);
    QByteArray image = makeImage(7, 2, 5);
    UsbServerC_Start(d.path.constData(), d.path.constData(), DataRecorder::callback());
    QCOMPARE(ProtocolDataUpdate(asImage(image)), 0);  // asleep
    QCOMPARE(HidSim_WriteCount(d.mouse), 0);
    QByteArray last(HIDUSB_IMAGE_SIZE, '\0');
    QCOMPARE(HidSim_LastWrittenImage(d.mouse, reinterpret_cast<uint8_t*>(last.data())), -1);

    HidSim_SetAwake(d.mouse, 1);
    QCOMPARE(ProtocolDataUpdate(asImage(image)), 1);
    image[0] = char(0x40);
    QCOMPARE(ProtocolDataUpdate(asImage(image)), 1);
    QCOMPARE(HidSim_WriteCount(d.mouse), 2);
    QCOMPARE(HidSim_LastWrittenImage(d.mouse, reinterpret_cast<uint8_t*>(last.data())), 0);
    QCOMPARE(last, image);
    QCOMPARE(readImage(d.mouse, 0), image);
    QVERIFY(SimScript::countCalls("ProtocolDataUpdate(") == 3);
}

void TestHidUsbImage::profileSwitchAndFactoryResetRaiseStatusEvents()
{
    const Device d = addCableMouse(1);
    const QByteArray factory = readImage(d.mouse, -1);
    const QByteArray second = makeImage(2);
    HidSim_SetImage(d.mouse, 2, bytes(second));
    DataRecorder recorder;
    UsbServerC_Start(d.path.constData(), d.path.constData(), DataRecorder::callback());
    QCOMPARE(UsbServer_SetCurrentConfig(2), 1);
    QCOMPARE(HidSim_ActiveProfile(d.mouse), 2);
    QCOMPARE(UsbServer_SetCurrentConfig(4), 0);
    UsbServer_ReadReportRate();
    QVERIFY(deliver());
    QList<Answer> a = recorder.answers();
    QCOMPARE(a.size(), 2);
    QCOMPARE(a[0].kind, 10);
    QCOMPARE(a[0].data.size(), 7);
    DeviceStatusFlags flags{};
    GetDeviceStatusChanged(reinterpret_cast<uint8_t*>(a[0].data.data()), &flags);
    QVERIFY(flags.bytes[2] != 0);
    QCOMPARE(a[1].data, second.left(1));

    QCOMPARE(UsbServer_SetClearSetting(), 1);
    QCOMPARE(HidSim_ResetCount(d.mouse), 1);
    QCOMPARE(readImage(d.mouse, 2), factory);
    QVERIFY(deliver());
    QCOMPARE(recorder.answers().last().kind, 10);
}

void TestHidUsbImage::offlineMouseSendsNothing()
{
    const Device d = addReceiverMouse(3, 0, false);
    DataRecorder recorder;
    UsbServerC_Start(d.path.constData(), d.path.constData(), DataRecorder::callback());
    QCOMPARE(UsbServer_ReadAllFlashData(), 0);
    QCOMPARE(UsbServer_ReadBatteryLevel(), 0);
    // An injected answer arrives whatever the mouse does.
    const uint8_t longRange[10] = {1};
    QCOMPARE(HidSim_Inject(23, 0, 0, longRange, 10), 0);
    QVERIFY(deliver());
    QCOMPARE(recorder.count(), 1);
    QCOMPARE(recorder.answers()[0].kind, 23);
    QCOMPARE(recorder.answers()[0].data.size(), 10);
}

void TestHidUsbImage::writtenImageWithTooManyMacrosComesBackCut()
{
    const Device d = addCableMouse(1);
    QByteArray image = makeImage(4, 10, 70);
    DataRecorder recorder;
    UsbServerC_Start(d.path.constData(), d.path.constData(), DataRecorder::callback());
    QCOMPARE(ProtocolDataUpdate(asImage(image)), 1);
    UsbServer_ReadAllFlashData();
    QVERIFY(deliver());
    QByteArray data = recorder.answers().value(0).data;
    QCOMPARE(data.size(), HIDUSB_FULL_ANSWER_SIZE);
    QByteArray parsed(HIDUSB_IMAGE_SIZE, '\0');
    ProtocolDataParser(reinterpret_cast<uint8_t*>(data.data()), asImage(parsed));
    const int eightMacrosEnd = 956 + 8 * 592;
    QCOMPARE(parsed.left(eightMacrosEnd), image.left(eightMacrosEnd));
    QCOMPARE(parsed.mid(eightMacrosEnd), QByteArray(HIDUSB_IMAGE_SIZE - eightMacrosEnd, '\0'));
}

QTEST_MAIN(TestHidUsbImage)
#include "tst_hidusb_image.moc"
