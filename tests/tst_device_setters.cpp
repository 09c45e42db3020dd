// Device parameter setters: each writes exactly its bytes into the working image and hands
// the whole image to the library; offline or without a loaded image nothing is sent.
#include "support/HidSimScript.h"
#include "support/TestEnv.h"

#include "HIDUsbControl.h"
#include "common/PostMsg.h"
#include "device/CurrentDevice.h"
#include "device/DeviceSetters.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"

#include <QSignalSpy>
#include <QtTest>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

QByteArray bytesOf(const FlashDataMap& image)
{
    return QByteArray(reinterpret_cast<const char*>(&image), sizeof image);
}

// A recognisable image: every byte differs from its neighbours.
FlashDataMap patternImage()
{
    FlashDataMap image{};
    auto* bytes = reinterpret_cast<uint8_t*>(&image);
    for (size_t i = 0; i < sizeof image; ++i)
        bytes[i] = static_cast<uint8_t>((i * 7 + 3) & 0xFF);
    return image;
}

void put(QByteArray& image, int offset, std::initializer_list<int> values)
{
    for (int v : values)
        image[offset++] = static_cast<char>(v);
}

}  // namespace

class DeviceSettersTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everySetterWritesExactlyItsBytes();
    void offlineWithBusyPageSendsAndEmitsNothing_data();
    void offlineWithBusyPageSendsAndEmitsNothing();
    void offlineWithoutBusyPageEmitsOfflineNotice_data();
    void offlineWithoutBusyPageEmitsOfflineNotice();
    void onlineWithoutLoadedImageSendsNothing();
    void deviceChangeDropsMarkerAndFreshLoadRestoresIt();
    void isDeviceOnlineChecksOnly();

private:
    std::unique_ptr<TestEnv> m_env;
    int m_mouse = -1;
    int m_receiver = -1;
};

void DeviceSettersTest::init()
{
    m_env = std::make_unique<TestEnv>();
    ResetCurrentDevice();
    ButtonPageBusy = 0;
    LightPageBusy = 0;
    SensorPageBusy = 0;

    HidSimMouseSetup mouse{};
    mouse.cid = 10;
    mouse.mid = 31;
    mouse.version = 0x0102;
    mouse.battery = 80;
    mouse.awake = 1;
    m_mouse = HidSim_AddMouse(&mouse);
    QVERIFY(m_mouse >= 0);
    HidSimInterfaceSetup receiver{};
    receiver.vid = "0x3554";
    receiver.pid = "0xF511";
    receiver.kind = 0;
    receiver.mouseId = m_mouse;
    m_receiver = HidSim_AddInterface(&receiver);
    QVERIFY(m_receiver >= 0);

    char path[128] = {};
    QCOMPARE(HidSim_InterfacePath(m_receiver, path, sizeof path), 0);
    SetCurrentDevicePath(QByteArray(path));
    SimScript::openQuietLink(path);

    SetWorkingImage(patternImage());
    SetWorkingImageLoaded(true);
}

void DeviceSettersTest::cleanup()
{
    UsbServer_Exit();
    ClearWorkingImage();
    ResetCurrentDevice();
    ButtonPageBusy = 0;
    LightPageBusy = 0;
    SensorPageBusy = 0;
    m_env.reset();
}

void DeviceSettersTest::everySetterWritesExactlyItsBytes()
{
    const DpiLevelRecord recordA{0x11, 0x12, 0x22, 0x13, 0x14, 0x15};
    const DpiLevelRecord recordB{0x21, 0x22, 0x00, 0x23, 0x24, 0x25};
    const ButtonBinding binding{0x05, 0x06, 0x07};
    ButtonComboRecord combo{};
    std::memset(&combo, 0xC4, sizeof combo);
    MacroRecord macro{};
    std::memset(&macro, 0xA9, sizeof macro);

    struct Case {
        const char* name;
        std::function<bool()> call;
        std::function<void(QByteArray&)> expect;
    };
    const std::vector<Case> cases = {
        {"report rate", [] { return SetReportRate(0x40); }, [](QByteArray& b) { put(b, 0, {0x40}); }},
        {"current DPI level", [] { return SetCurrentDpiLevel(6); }, [](QByteArray& b) { put(b, 2, {6}); }},
        {"DPI levels", [&] { return SetDpiLevels(&recordA, &recordB, 3, 5, 4); },
         [](QByteArray& b) {
             put(b, 15 + 6 * 5, {0x11, 0x12, 0x22, 0x13, 0x14, 0x15});
             put(b, 15 + 6 * 3, {0x21, 0x22, 0x00, 0x23, 0x24, 0x25});
             put(b, 1, {5, 4});
         }},
        {"DPI levels, equal indexes: B wins", [&] { return SetDpiLevels(&recordA, &recordB, 2, 2, 7); },
         [](QByteArray& b) {
             put(b, 15 + 6 * 2, {0x21, 0x22, 0x00, 0x23, 0x24, 0x25});
             put(b, 1, {8, 7});
         }},
        {"lift-off distance", [] { return SetLod(3); }, [](QByteArray& b) { put(b, 5, {3}); }},
        {"debounce", [] { return SetDebounceTime(12); }, [](QByteArray& b) { put(b, 6, {12}); }},
        {"motion sync", [] { return SetMotionSync(1); }, [](QByteArray& b) { put(b, 7, {1}); }},
        {"sleep time", [] { return SetSleepTime(30); }, [](QByteArray& b) { put(b, 8, {30}); }},
        {"straight line", [] { return SetStraightLine(1); }, [](QByteArray& b) { put(b, 9, {1}); }},
        {"ripple", [] { return SetRipple(0); }, [](QByteArray& b) { put(b, 10, {0}); }},
        {"light page toggle", [] { return SetLightPageToggle(1); }, [](QByteArray& b) { put(b, 11, {1}); }},
        {"performance mode", [] { return SetPerformanceMode(1); }, [](QByteArray& b) { put(b, 12, {1}); }},
        {"performance time", [] { return SetPerformanceTime(9); }, [](QByteArray& b) { put(b, 13, {9}); }},
        {"sensor mode", [] { return SetSensorMode(2); }, [](QByteArray& b) { put(b, 14, {2}); }},
        {"DPI level value", [] { return SetDpiLevelValue(7, 0x31, 0x32, 0x33); },
         [](QByteArray& b) { put(b, 15 + 42, {0x31, 0x32, 0x33}); }},
        {"DPI level colour", [] { return SetDpiLevelColor(0, 0xFE, 0x80, 0x01); },
         [](QByteArray& b) { put(b, 18, {0xFE, 0x80, 0x01}); }},
        {"DPI light mode 0 switches off only", [] { return SetDpiLightMode(0); },
         [](QByteArray& b) { put(b, 66, {0}); }},
        {"DPI light mode 2", [] { return SetDpiLightMode(2); }, [](QByteArray& b) { put(b, 63, {2}); put(b, 66, {1}); }},
        {"DPI light brightness", [] { return SetDpiLightBrightness(77); }, [](QByteArray& b) { put(b, 64, {77}); }},
        {"DPI light speed", [] { return SetDpiLightSpeed(4); }, [](QByteArray& b) { put(b, 65, {4}); }},
        {"light mode 0 switches off only", [] { return SetLightMode(0); }, [](QByteArray& b) { put(b, 73, {0}); }},
        {"light mode 2", [] { return SetLightMode(2); }, [](QByteArray& b) { put(b, 67, {2}); put(b, 73, {1}); }},
        {"light colour", [] { return SetLightColor(1, 2, 3); }, [](QByteArray& b) { put(b, 68, {1, 2, 3}); }},
        {"light speed", [] { return SetLightSpeed(5); }, [](QByteArray& b) { put(b, 71, {5}); }},
        {"light brightness", [] { return SetLightBrightness(100); }, [](QByteArray& b) { put(b, 72, {100}); }},
        {"button key 0", [] { return SetButtonKey(0, 0x01, 0xF0, 0x00); },
         [](QByteArray& b) { put(b, 74, {0x01, 0xF0, 0x00}); }},
        {"button key 15", [] { return SetButtonKey(15, 0x02, 0x03, 0x04); },
         [](QByteArray& b) { put(b, 74 + 45, {0x02, 0x03, 0x04}); }},
        {"button combination 4", [&] { return SetButtonCombo(4, &binding, &combo); },
         [](QByteArray& b) {
             put(b, 74 + 12, {0x05, 0x06, 0x07});
             b.replace(124 + 52 * 4, 52, QByteArray(52, char(0xC4)));
         }},
        {"button macro 15 ends at the last byte", [&] { return SetButtonMacro(15, &binding, &macro); },
         [](QByteArray& b) {
             put(b, 74 + 45, {0x05, 0x06, 0x07});
             b.replace(10428 - 592, 592, QByteArray(592, char(0xA9)));
         }},
    };

    for (const Case& c : cases) {
        SetWorkingImage(patternImage());
        QByteArray expected = bytesOf(patternImage());
        c.expect(expected);
        QCOMPARE(expected.size(), HIDUSB_IMAGE_SIZE);
        const int writesBefore = HidSim_WriteCount(m_mouse);

        QVERIFY2(c.call(), c.name);
        QVERIFY2(HidSim_WriteCount(m_mouse) == writesBefore + 1, c.name);
        QVERIFY2(SimScript::lastWrittenImage(m_mouse) == expected, c.name);
        QVERIFY2(bytesOf(WorkingImageCopy()) == expected, c.name);
    }
}

void DeviceSettersTest::offlineWithBusyPageSendsAndEmitsNothing_data()
{
    QTest::addColumn<int>("page");
    QTest::newRow("button page") << 0;
    QTest::newRow("lighting page") << 1;
    QTest::newRow("sensor page") << 2;
}

void DeviceSettersTest::offlineWithBusyPageSendsAndEmitsNothing()
{
    QFETCH(int, page);
    std::atomic<uint8_t>* busy[] = {&ButtonPageBusy, &LightPageBusy, &SensorPageBusy};
    *busy[page] = 1;
    QCOMPARE(HidSim_SetAwake(m_mouse, 0), 0);
    QSignalSpy offline(PostMsg::instance(), SIGNAL(SigMouseOffLineo(int)));
    const int writesBefore = HidSim_WriteCount(m_mouse);

    QVERIFY(!SetReportRate(0x01));
    QVERIFY(!SetLightMode(3));
    QVERIFY(!IsDeviceOnline());

    QCOMPARE(offline.count(), 0);
    QCOMPARE(HidSim_WriteCount(m_mouse), writesBefore);
    QCOMPARE(bytesOf(WorkingImageCopy()), bytesOf(patternImage()));
}

void DeviceSettersTest::offlineWithoutBusyPageEmitsOfflineNotice_data()
{
    QTest::addColumn<bool>("loaded");
    QTest::newRow("image loaded") << true;
    // The user still has to learn that the mouse is offline, even before any full load.
    QTest::newRow("nothing loaded yet") << false;
}

void DeviceSettersTest::offlineWithoutBusyPageEmitsOfflineNotice()
{
    QFETCH(bool, loaded);
    if (!loaded)
        ClearWorkingImage();
    const QByteArray imageBefore = bytesOf(WorkingImageCopy());
    QCOMPARE(HidSim_SetAwake(m_mouse, 0), 0);
    QSignalSpy offline(PostMsg::instance(), SIGNAL(SigMouseOffLineo(int)));
    const int writesBefore = HidSim_WriteCount(m_mouse);

    QVERIFY(!SetSleepTime(6));

    QCOMPARE(offline.count(), 1);
    QCOMPARE(offline.at(0).at(0).toInt(), 0);
    QCOMPARE(HidSim_WriteCount(m_mouse), writesBefore);
    QCOMPARE(bytesOf(WorkingImageCopy()), imageBefore);
    QCOMPARE(WorkingImageLoaded(), loaded);
}

void DeviceSettersTest::onlineWithoutLoadedImageSendsNothing()
{
    // A fresh start: all-zero image that no full load has filled yet.
    ClearWorkingImage();
    QSignalSpy offline(PostMsg::instance(), SIGNAL(SigMouseOffLineo(int)));
    const int writesBefore = HidSim_WriteCount(m_mouse);

    QVERIFY(!SetReportRate(0x08));
    QVERIFY(!SetButtonKey(3, 1, 2, 3));

    QCOMPARE(HidSim_WriteCount(m_mouse), writesBefore);
    QCOMPARE(offline.count(), 0);
    QCOMPARE(bytesOf(WorkingImageCopy()), QByteArray(HIDUSB_IMAGE_SIZE, '\0'));

    // Choosing another device drops the marker as well.
    SetWorkingImage(patternImage());
    SetWorkingImageLoaded(true);
    SetCurrentDevicePath("sim:other");
    QVERIFY(!WorkingImageLoaded());
}

void DeviceSettersTest::deviceChangeDropsMarkerAndFreshLoadRestoresIt()
{
    // Renaming the record's path counts as a device change; other record changes do not.
    UpdateCurrentDeviceRecord([](DeviceAllInfo& record) { record.online = 1; });
    QVERIFY(WorkingImageLoaded());
    UpdateCurrentDeviceRecord([](DeviceAllInfo& record) { record.path = "sim:another"; });
    QVERIFY(!WorkingImageLoaded());
    const int writesBefore = HidSim_WriteCount(m_mouse);
    QVERIFY(!SetReportRate(0x02));
    QCOMPARE(HidSim_WriteCount(m_mouse), writesBefore);

    // A full load installs the image and arms the setters in one step.
    FlashDataMap fresh{};
    fresh.sleepTime = 0x2A;
    LoadWorkingImage(fresh);
    QVERIFY(WorkingImageLoaded());
    QVERIFY(SetReportRate(0x02));
    QCOMPARE(HidSim_WriteCount(m_mouse), writesBefore + 1);
    const QByteArray sent = SimScript::lastWrittenImage(m_mouse);
    QCOMPARE(sent.size(), HIDUSB_IMAGE_SIZE);
    FlashDataMap received{};
    std::memcpy(&received, sent.constData(), sizeof received);
    QCOMPARE(received.sleepTime, uint8_t(0x2A));
    QCOMPARE(received.reportRate, uint8_t(0x02));

    // Resetting the current device forgets it too.
    ResetCurrentDevice();
    QVERIFY(!WorkingImageLoaded());
}

void DeviceSettersTest::isDeviceOnlineChecksOnly()
{
    const int writesBefore = HidSim_WriteCount(m_mouse);
    QVERIFY(IsDeviceOnline());
    QCOMPARE(HidSim_WriteCount(m_mouse), writesBefore);
}

QTEST_GUILESS_MAIN(DeviceSettersTest)
#include "tst_device_setters.moc"
