// The data callback: whole configurations, short answers, receiver re-apply, status,
// profile, version and battery events, as the simulated library delivers them.
#include "DeviceLinkFixture.h"

#include "common/Registry.h"
#include "device/DataCallback.h"
#include "device/DataLink.h"
#include "device/DeviceSetters.h"
#include "device/WorkingImage.h"
#include "device/DeviceCache.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/lighting/LampLight.h"
#include "pages/sensor/Sensor.h"
#include "pages/settings/FormSetting.h"

#include <QSignalSpy>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <memory>

using namespace linktest;

namespace {

// The two re-apply flags as they stood when the whole configuration was asked for.
struct FlagsAtFullRead {
    std::atomic<int> reads{0};
    std::atomic<int> reconcile{-1};
    std::atomic<int> skipReceiver{-1};
};

void recordFlagsAtFullRead(const char* name, void* context)
{
    if (std::strcmp(name, "UsbServer_ReadAllFlashData") != 0)
        return;
    auto* flags = static_cast<FlagsAtFullRead*>(context);
    flags->reconcile = ReconcilePending.load();
    flags->skipReceiver = SkipReceiverRead.load();
    ++flags->reads;
}

}  // namespace

class DataCallbackTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void fullLoadPublishesTheImageToThePages();
    void fullAnswerIsParsedIntoAClearedImage();
    void fullLoadReadsTheReceiverBack();
    void loadedMarkerFollowsTheLinksDevice();
    void fullAnswerOfAnEarlierDeviceIsDropped();
    void lateAnswerAfterADeviceChangeAndReopenTouchesNothing();
    void answerAskedBeforeAWriteIsAskedAgain();
    void runAskedAfterTheReadOutlastsItsAnswer();
    void refusedChangeAsksForTheConfiguration();
    void shortHeaderAndOtherSubCode();
    void receiverReapply_data();
    void receiverReapply();
    void reconcileKeepsOnlyListedCombinations();
    void reportRateAndLevelWriteBackOnlyALoadedImage_data();
    void reportRateAndLevelWriteBackOnlyALoadedImage();
    void reportRateWritesBackTheImageAsItIsAfterTheWait_data();
    void reportRateWritesBackTheImageAsItIsAfterTheWait();
    void lightAnswersUpdateTheImage();
    void statusEventRereadsInOrder();
    void configurationStatusIsThrottled();
    void activeProfile_data();
    void activeProfile();
    void mouseVersionGoesToTheRegistry();
    void battery_data();
    void battery();
    void shortOrMissingDataIsIgnored();

private:
    // A mouse behind a 4 kHz receiver with a light, made current, with the link open.
    void openLink(bool longRange = true);
    void inject(uint8_t kind, uint8_t sub, uint8_t command, const QByteArray& data = {})
    {
        HidSim_Inject(kind, sub, command, reinterpret_cast<const uint8_t*>(data.constData()), uint32_t(data.size()));
    }
    QByteArray capturedFullAnswer();
    // Hands a whole-configuration answer to the callback, as the library does.
    static void deliverFullAnswer(QByteArray answer)
    {
        uint8_t header[5] = {0, 8, 0, 0, 0};
        OnUsbData(header, 5, reinterpret_cast<uint8_t*>(answer.data()), uint32_t(answer.size()));
    }

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<HubRecorder> m_hub;
    SimScript::Device m_device;
};

void DataCallbackTest::init()
{
    m_env.reset(new TestEnv);
    resetFlags();
    Registry::setBaseFolder(m_env->home() + QStringLiteral("/registry"));
    writeCatalogue(*m_env, "KeyParam1=0x01, 0x00\nKeyParam2=0x05, 0x01\nKeyParam3=0x01\n"
                           "KeyParam4=0x02\nKeyParam5=0x05\nKeyParam6=\nAdveanced=1, 2\n");
    m_hub.reset(new HubRecorder);
    ShowBatteryValue = 0;
}

void DataCallbackTest::cleanup()
{
    HidSim_SetLinkCallHook(nullptr, nullptr);
    UsbServer_Exit();
    m_hub.reset();
    m_env.reset();
    Registry::setBaseFolder(QString());
}

void DataCallbackTest::openLink(bool longRange)
{
    m_device = SimScript::addReceiverMouse(1, 1, true, longRange);
    SetCurrentDeviceRecord(recordFor(m_device.path));
    SetCurrentDevicePath(m_device.path);
    QCOMPARE(CurrentDeviceRecord().modelIndex, 0);
    OpenDataLink(m_device.path);
    HidSim_ClearCallLog();
}

QByteArray DataCallbackTest::capturedFullAnswer()
{
    SimScript::DataRecorder recorder;
    UsbServerC_Start(m_device.path.constData(), m_device.path.constData(), SimScript::DataRecorder::callback());
    UsbServer_ReadAllFlashData();
    if (!recorder.waitForCount(1))
        return {};
    UsbServerC_Start(m_device.path.constData(), m_device.path.constData(), OnUsbData);
    return recorder.answers().first().data;
}

void DataCallbackTest::fullLoadPublishesTheImageToThePages()
{
    Buttoninterface buttons;
    LampLight light;
    Sensor sensor;
    FormSetting settings;
    openLink();
    const QByteArray image = SimScript::makeImage(3);
    QCOMPARE(HidSim_SetImage(m_device.mouse, 0, reinterpret_cast<const uint8_t*>(image.constData())), 0);
    ButtonPageReady = LightPageReady = SensorPageReady = 1;
    RunRequested = 1;

    RequestFullRead();
    QVERIFY(settle());

    QCOMPARE(m_hub->readyFlagsAtButtonImage, QStringLiteral("0,0,0"));
    const QStringList events = m_hub->events();
    QCOMPARE(events.mid(events.indexOf(QStringLiteral("ButtonImage")), 4),
             (QStringList{"ButtonImage", "LightImage", "SensorImage", "Form"}));
    QCOMPARE(bytesOf(m_hub->buttonImage), image);
    QCOMPARE(bytesOf(m_hub->lightImage), image);
    QCOMPARE(bytesOf(m_hub->sensorImage), image);
    QCOMPARE(bytesOf(WorkingImageCopy()), image);
    QVERIFY(WorkingImageLoaded());
    QCOMPARE(int(ButtonPageReady), 1);
    QCOMPARE(int(LightPageReady), 1);
    QCOMPARE(int(SensorPageReady), 1);
    QCOMPARE(int(LoadFinished), 1);
    QCOMPARE(int(RunRequested), 0);
    QCOMPARE(LoadedCacheName(), QStringLiteral("Device_CID0A_MID01.bin"));

    // The four follow-up reads, in this order, after the whole configuration.
    const QStringList log = SimScript::callLog();
    int at = logIndex(log, QStringLiteral("UsbServer_ReadAllFlashData"));
    QVERIFY(at >= 0);
    for (const char* read : {"UsbServer_ReadDPILed", "UsbServer_ReadBatteryLevel", "UsbServer_ReadVersion", "UsbServer_ReadConfig"}) {
        const int next = logIndex(log, QString::fromLatin1(read), at + 1);
        QVERIFY2(next > at, read);
        at = next;
    }
}

// The library's parser fills every byte, so a parser that writes only one shows the clear.
void DataCallbackTest::fullAnswerIsParsedIntoAClearedImage()
{
    FlashDataMap junk;
    std::memset(&junk, 0xEE, sizeof junk);
    SetWorkingImage(junk);
    QByteArray answer(int(FullAnswerSize), '\x11');

    const FlashDataMap parsed = ParseFullAnswer(reinterpret_cast<uint8_t*>(answer.data()),
                                                [](uint8_t* data, FlashDataMap* image) {
                                                    reinterpret_cast<uint8_t*>(image)[0] = data[0];
                                                });
    QByteArray expected(HIDUSB_IMAGE_SIZE, '\0');
    expected[0] = '\x11';
    QCOMPARE(bytesOf(parsed), expected);
    QCOMPARE(bytesOf(ParseFullAnswer(nullptr)), QByteArray(HIDUSB_IMAGE_SIZE, '\0'));
}

void DataCallbackTest::fullLoadReadsTheReceiverBack()
{
    openLink(true);
    UsbFinderC_SetLongRangeMode(m_device.path.constData(), 1);
    DongleRGB light{};
    light.bytes[0] = 3;
    UsbFinderC_Set4KDongleRGB(m_device.path.constData(), &light);

    RequestFullRead();
    QVERIFY(settle());
    QCOMPARE(int(ReceiverLightCopy().bytes[0]), 3);
    QCOMPARE(m_hub->count(QStringLiteral("RGB(3)")), 1);
    QCOMPARE(m_hub->count(QStringLiteral("LongRange(1)")), 1);

    // Off is told as well, so the page never keeps the tick of the receiver shown before.
    UsbFinderC_SetLongRangeMode(m_device.path.constData(), 0);
    RequestFullRead();
    QVERIFY(settle());
    QCOMPARE(m_hub->count(QStringLiteral("LongRange(0)")), 1);
}

// Re-opening the link on the mouse the image came from (pairing, settings) keeps the image
// loaded; another device, closing the link or a replaced configuration clears it.
void DataCallbackTest::loadedMarkerFollowsTheLinksDevice()
{
    openLink();
    const SimScript::Device other = SimScript::addCableMouse(2);
    const unsigned closes = DataLinkCloseCount();
    const auto load = [] {
        RequestFullRead();
        return settle() && WorkingImageLoaded();
    };
    QVERIFY(load());
    QVERIFY(OpenDataLink(m_device.path));
    QVERIFY(WorkingImageLoaded());
    QVERIFY(SetReportRate(0x04));
    QCOMPARE(uint8_t(SimScript::lastWrittenImage(m_device.mouse).at(0)), uint8_t(0x04));

    QVERIFY(OpenDataLink(other.path));
    QVERIFY(!WorkingImageLoaded());
    QVERIFY(OpenDataLink(m_device.path));
    QVERIFY(!WorkingImageLoaded());  // not loaded from this link since

    QVERIFY(load());
    ForgetWorkingImage();
    QVERIFY(!WorkingImageLoaded());

    QVERIFY(load());
    const unsigned generation = DataLinkGeneration();
    CloseDataLink();
    QVERIFY(!WorkingImageLoaded());
    QCOMPARE(DataLinkCloseCount(), closes + 1);
    QCOMPARE(DataLinkGeneration(), generation + 1);
    QCOMPARE(SimScript::callLog().last(), QStringLiteral("UsbServer_Exit()"));
    // Nothing is asked of a closed link.
    HidSim_ClearCallLog();
    RequestFullRead();
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServer_ReadAllFlashData")), 0);
}

// The device changes while the whole configuration of the previous one is on its way: the
// answer does not mark the new device's image loaded, and the cache name stays.
void DataCallbackTest::fullAnswerOfAnEarlierDeviceIsDropped()
{
    openLink();
    const SimScript::Device other = SimScript::addCableMouse(2);
    const QString cacheBefore = LoadedCacheName();
    // The ask is made; the device changes as the library takes it.
    static QByteArray otherPath;
    otherPath = other.path;
    HidSim_SetLinkCallHook(
        [](const char* name, void*) {
            if (qstrcmp(name, "UsbServer_ReadAllFlashData") != 0)
                return;
            SetCurrentDeviceRecord(recordFor(otherPath));
            SetCurrentDevicePath(otherPath);
        },
        nullptr);
    RequestFullRead();
    HidSim_SetLinkCallHook(nullptr, nullptr);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServer_ReadAllFlashData")), 1);
    QVERIFY(settle());
    QVERIFY(!WorkingImageLoaded());
    QCOMPARE(m_hub->count(QStringLiteral("Form")), 0);
    QCOMPARE(LoadedCacheName(), cacheBefore);
}

// The whole configuration asked of one mouse arrives only after the device changed and the
// link opened again, for another mouse: it belongs to the old link and loads nothing, neither
// through the data callback nor when the change comes while the callback is already past its
// own early check (the image's load compares the generation under its lock).
void DataCallbackTest::lateAnswerAfterADeviceChangeAndReopenTouchesNothing()
{
    openLink();
    const QByteArray lateAnswer = capturedFullAnswer();
    QVERIFY(!lateAnswer.isEmpty());
    // Asked of the first mouse, which falls asleep before it answers.
    QCOMPARE(HidSim_SetAwake(m_device.mouse, 0), 0);
    RequestFullRead();
    QVERIFY(settle());
    QVERIFY(!WorkingImageLoaded());
    const unsigned askedIn = LastFullReadAsk().generation;
    const QString cacheBefore = LoadedCacheName();

    // Another mouse becomes the device, and its link opens.
    const SimScript::Device next = SimScript::addCableMouse(2);
    SetCurrentDeviceRecord(recordFor(next.path));
    SetCurrentDevicePath(next.path);
    QVERIFY(OpenDataLink(next.path));
    QVERIFY(WorkingImageLinkCurrent());
    m_hub->clear();
    HidSim_ClearCallLog();

    // The old answer comes in.
    deliverFullAnswer(lateAnswer);
    QVERIFY(settle());
    QVERIFY(!WorkingImageLoaded());
    QVERIFY(m_hub->events().isEmpty());
    QCOMPARE(SimScript::callLog(), QStringList());
    QCOMPARE(LoadedCacheName(), cacheBefore);

    // The same answer handed to the image by a callback that passed its check before the change.
    QVERIFY(!LoadWorkingImageFromLink(imageFrom(lateAnswer), askedIn));
    QVERIFY(!WorkingImageLoaded());

    // The new mouse's own answer loads.
    RequestFullRead();
    QVERIFY(settle());
    QVERIFY(WorkingImageLoaded());
    QCOMPARE(m_hub->count(QStringLiteral("Form")), 1);
}

// A full answer read before the program's latest write reached the mouse describes the mouse
// without that write: installed, it would show the old values, rewrite the macro files from
// them and send them back with the next change. It is asked again, and the answer that holds
// the write fills the pages.
void DataCallbackTest::answerAskedBeforeAWriteIsAskedAgain()
{
    openLink();
    RequestFullRead();
    QVERIFY(settle());
    QVERIFY(WorkingImageLoaded());
    const QByteArray before = capturedFullAnswer();
    QVERIFY(!before.isEmpty());
    FlashDataMap written = WorkingImageCopy();
    written.debounceMs = uint8_t(written.debounceMs + 3);

    // The ask goes out while the mouse sleeps; it wakes, and the write goes before the answer.
    QCOMPARE(HidSim_SetAwake(m_device.mouse, 0), 0);
    RequestFullRead();
    QVERIFY(settle());
    QCOMPARE(HidSim_SetAwake(m_device.mouse, 1), 0);
    QVERIFY(settle());
    LoadWorkingImage(written);
    FlashDataMap sent = written;
    QVERIFY(SendImageToMouse(&sent));
    QVERIFY(settle());
    m_hub->clear();
    HidSim_ClearCallLog();
    deliverFullAnswer(before);
    QVERIFY(settle());

    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServer_ReadAllFlashData")), 1);
    QCOMPARE(m_hub->count(QStringLiteral("Form")), 1);
    QCOMPARE(int(m_hub->buttonImage.debounceMs), int(written.debounceMs));
    QCOMPARE(int(WorkingImageCopy().debounceMs), int(written.debounceMs));
}

// A full answer ends the run that asked for it, not one asked for after it (the poll's run
// for a sleeping mouse that woke just before its answer came): that run still loads.
void DataCallbackTest::runAskedAfterTheReadOutlastsItsAnswer()
{
    openLink();
    RequestRun();
    RequestFullRead();
    QVERIFY(settle());
    QVERIFY(WorkingImageLoaded());
    QCOMPARE(int(RunRequested), 0);

    const unsigned loads = FullLoadCount;
    RequestFullRead();
    RequestRun();
    QVERIFY(settle());
    QCOMPARE(FullLoadCount.load(), loads + 1);
    QCOMPARE(int(RunRequested), 1);
}

// A change made while the mouse is online but its configuration has not arrived sends
// nothing and asks for the configuration again, once per link; the change after it arrives.
void DataCallbackTest::refusedChangeAsksForTheConfiguration()
{
    openLink();
    QSignalSpy offline(PostMsg::instance(), SIGNAL(SigMouseOffLineo(int)));
    const int writes = HidSim_WriteCount(m_device.mouse);
    // A second refused change while the read is being asked (before its answer can come)
    // asks nothing more.
    static bool secondRefused = false;
    secondRefused = false;
    HidSim_SetLinkCallHook(
        [](const char* name, void*) {
            if (qstrcmp(name, "UsbServer_ReadAllFlashData") == 0 && !secondRefused)
                secondRefused = !SetCurrentDpiLevel(1);
        },
        nullptr);
    QVERIFY(!SetReportRate(0x02));
    HidSim_SetLinkCallHook(nullptr, nullptr);
    QVERIFY(secondRefused);
    QCOMPARE(HidSim_WriteCount(m_device.mouse), writes);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServer_ReadAllFlashData")), 1);
    QCOMPARE(offline.count(), 0);
    QVERIFY(settle());
    QVERIFY(WorkingImageLoaded());
    QCOMPARE(LoadedCacheName(), QStringLiteral("Device_CID0A_MID01.bin"));
    QVERIFY(SetReportRate(0x02));
    QCOMPARE(uint8_t(SimScript::lastWrittenImage(m_device.mouse).at(0)), uint8_t(0x02));
}

// A header of two bytes still names the kind; sub and command count as 0.
void DataCallbackTest::shortHeaderAndOtherSubCode()
{
    openLink();
    const QByteArray answer = capturedFullAnswer();
    QCOMPARE(answer.size(), int(FullAnswerSize));
    QByteArray data = answer;

    RequestFullRead();  // the answers below belong to this ask
    QVERIFY(settle());
    const int loads = m_hub->count(QStringLiteral("Form"));
    QVERIFY(loads >= 1);

    uint8_t subOne[5] = {0, 8, 0, 1, 0};
    OnUsbData(subOne, 5, reinterpret_cast<uint8_t*>(data.data()), uint32_t(data.size()));
    QCOMPARE(m_hub->count(QStringLiteral("Form")), loads);

    uint8_t twoBytes[2] = {0, 8};
    OnUsbData(twoBytes, 2, reinterpret_cast<uint8_t*>(data.data()), uint32_t(data.size()));
    QCOMPARE(m_hub->count(QStringLiteral("Form")), loads + 1);
}

void DataCallbackTest::receiverReapply_data()
{
    QTest::addColumn<QByteArray>("advanced");
    QTest::addColumn<QStringList>("setCalls");
    QTest::addColumn<QStringList>("expectedSignals");
    QTest::newRow("long range on, light 2") << QByteArray("1, 2")
        << QStringList{"UsbFinderC_Set4KDongleRGB", "UsbFinderC_SetLongRangeMode"} << QStringList{"RGB(2)", "LongRange(1)"};
    QTest::newRow("long range off, no light") << QByteArray("0, 0")
        << QStringList{"UsbFinderC_SetLongRangeMode"} << QStringList{"LongRange(0)"};
    QTest::newRow("neither") << QByteArray("-1, -1") << QStringList{} << QStringList{};
    QTest::newRow("short list") << QByteArray("1") << QStringList{} << QStringList{};
}

void DataCallbackTest::receiverReapply()
{
    QFETCH(QByteArray, advanced);
    QFETCH(QStringList, setCalls);
    QFETCH(QStringList, expectedSignals);
    writeCatalogue(*m_env, "Adveanced=" + advanced + "\n");
    openLink();
    FlagsAtFullRead atRead;
    HidSim_SetLinkCallHook(recordFlagsAtFullRead, &atRead);

    inject(9, 0, 0);
    QVERIFY(settle());
    HidSim_SetLinkCallHook(nullptr, nullptr);

    // Both flags stood before the read: its answer may come before the next statement runs.
    QCOMPARE(int(atRead.reads), 1);
    QCOMPARE(int(atRead.reconcile), 1);
    QCOMPARE(int(atRead.skipReceiver), 1);

    const QStringList log = SimScript::callLog();
    for (const QString& call : {QStringLiteral("UsbFinderC_Set4KDongleRGB"), QStringLiteral("UsbFinderC_SetLongRangeMode")})
        QCOMPARE(logIndex(log, call) >= 0, setCalls.contains(call));
    for (const QString& s : expectedSignals)
        QCOMPARE(m_hub->count(s), 1);
    QCOMPARE(m_hub->count(QStringLiteral("RGB")) + m_hub->count(QStringLiteral("LongRange")), expectedSignals.size());

    // The full answer still comes, and its load skips the receiver read-back.
    QVERIFY(logIndex(log, QStringLiteral("UsbServer_ReadAllFlashData")) >= 0);
    QCOMPARE(m_hub->count(QStringLiteral("Form")), 1);
    QCOMPARE(logIndex(log, QStringLiteral("UsbFinderC_Get4KDongleRGBValue")), -1);
    QCOMPARE(logIndex(log, QStringLiteral("UsbFinderC_GetLongRangeMode")), -1);
    QCOMPARE(int(SkipReceiverRead), 0);
    QCOMPARE(int(ReconcilePending), 0);
}

void DataCallbackTest::reconcileKeepsOnlyListedCombinations()
{
    openLink();
    const QByteArray image = SimScript::makeImage(5, 8, 4);
    QCOMPARE(HidSim_SetImage(m_device.mouse, 0, reinterpret_cast<const uint8_t*>(image.constData())), 0);
    const FlashDataMap original = imageFrom(image);

    inject(9, 0, 0);
    QVERIFY(settle());

    const FlashDataMap loaded = WorkingImageCopy();
    for (int button = 0; button < 16; ++button) {
        const bool kept = button == 1 || button == 4;
        const ButtonComboRecord expected = kept ? original.combos[button] : ButtonComboRecord{};
        QVERIFY2(std::memcmp(&loaded.combos[button], &expected, sizeof expected) == 0, qPrintable(QString::number(button)));
        const MacroRecord none{};
        QVERIFY(std::memcmp(&loaded.macros[button], &none, sizeof none) == 0);
    }
    QVERIFY(original.combos[1].eventCount != 0 && original.combos[4].eventCount != 0);
    QVERIFY(original.macros[0].eventCount != 0);
    QCOMPARE(std::memcmp(&loaded, &original, 124), 0);  // the settings stay as parsed
    QCOMPARE(bytesOf(m_hub->buttonImage), bytesOf(loaded));

    // A plain reload afterwards leaves the key records as the mouse has them.
    RequestFullRead();
    QVERIFY(settle());
    QCOMPARE(bytesOf(WorkingImageCopy()), image);
}

void DataCallbackTest::reportRateAndLevelWriteBackOnlyALoadedImage_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<bool>("loaded");
    QTest::newRow("rate, loaded") << 0 << 0 << "ReportRate(32)" << true;
    QTest::newRow("rate, not loaded") << 0 << 0 << "ReportRate(32)" << false;
    QTest::newRow("level, loaded") << 4 << 2 << "Dpi(32)" << true;
    QTest::newRow("level, not loaded") << 4 << 2 << "Dpi(32)" << false;
}

void DataCallbackTest::reportRateAndLevelWriteBackOnlyALoadedImage()
{
    QFETCH(int, command);
    QFETCH(int, offset);
    QFETCH(QString, signal);
    QFETCH(bool, loaded);
    openLink();
    if (loaded) {
        RequestFullRead();
        QVERIFY(settle());
    }
    m_hub->clear();
    const int writesBefore = HidSim_WriteCount(m_device.mouse);

    inject(8, 0, uint8_t(command), QByteArray(1, char(0x20)));
    QVERIFY(settle());

    QCOMPARE(m_hub->events(), QStringList{signal});
    const FlashDataMap image = WorkingImageCopy();
    QCOMPARE(int(reinterpret_cast<const uint8_t*>(&image)[offset]), 0x20);
    QCOMPARE(HidSim_WriteCount(m_device.mouse), writesBefore + (loaded ? 1 : 0));
    if (loaded) {
        const QByteArray written = SimScript::lastWrittenImage(m_device.mouse);
        QCOMPARE(written.size(), HIDUSB_IMAGE_SIZE);
        QCOMPARE(written, bytesOf(image));
    }
}

void DataCallbackTest::reportRateWritesBackTheImageAsItIsAfterTheWait_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<bool>("written");
    QTest::newRow("a setter changes the image") << "setter" << true;
    QTest::newRow("the link opens to another mouse") << "reopen" << false;
    QTest::newRow("another mouse's image is loaded") << "reopen and load" << false;
    QTest::newRow("another device becomes current") << "other device" << false;
    QTest::newRow("the link closes") << "close" << false;
}

// The answer's signal waits for the GUI thread; what goes back to the mouse is decided
// after that wait.
void DataCallbackTest::reportRateWritesBackTheImageAsItIsAfterTheWait()
{
    QFETCH(QString, meanwhile);
    QFETCH(bool, written);
    openLink();
    RequestFullRead();
    QVERIFY(settle());
    QVERIFY(WorkingImageLoaded());
    const SimScript::Device other = SimScript::addReceiverMouse(2, 1, true, false);
    const int writesBefore = HidSim_WriteCount(m_device.mouse);
    m_hub->onEventHook = [&](const QString& event) {
        if (!event.startsWith(QStringLiteral("ReportRate")))
            return;
        if (meanwhile == QLatin1String("setter")) {
            UpdateWorkingImage([](FlashDataMap& image) { image.currentDpiLevel = 0x33; });
        } else if (meanwhile.startsWith(QLatin1String("reopen"))) {
            OpenDataLink(other.path);
            if (meanwhile.endsWith(QLatin1String("load")))
                LoadWorkingImage(WorkingImageCopy());
        } else if (meanwhile == QLatin1String("other device")) {
            SetCurrentDevicePath(other.path);
            LoadWorkingImage(WorkingImageCopy());
        } else {
            CloseDataLink();
        }
    };

    inject(8, 0, 0, QByteArray(1, char(0x20)));
    QVERIFY(settle());
    m_hub->onEventHook = nullptr;

    QCOMPARE(m_hub->count(QStringLiteral("ReportRate(32)")), 1);
    QCOMPARE(HidSim_WriteCount(other.mouse), 0);
    QCOMPARE(HidSim_WriteCount(m_device.mouse), writesBefore + (written ? 1 : 0));
    if (written) {
        const QByteArray bytes = SimScript::lastWrittenImage(m_device.mouse);
        QCOMPARE(bytes.size(), HIDUSB_IMAGE_SIZE);
        const FlashDataMap sent = imageFrom(bytes);
        QCOMPARE(int(sent.reportRate), 0x20);
        QCOMPARE(int(sent.currentDpiLevel), 0x33);  // the setter's change is not undone
    }
}

void DataCallbackTest::lightAnswersUpdateTheImage()
{
    openLink();
    const QByteArray dpiLed("\x02\x80\x03\x01\x00\x00\x00\x00", 8);
    inject(8, 0, 0x4C, dpiLed);
    const QByteArray ledBar("\x04\x10\x20\x30\x05\x06\x01\x00\x00", 9);
    inject(8, 0, 0xA0, ledBar);
    inject(8, 0, 0xA0, ledBar.left(8));  // wrong length: ignored
    QVERIFY(settle());

    QCOMPARE(m_hub->events(), (QStringList{"DpiLed", "LightImage"}));
    const FlashDataMap image = WorkingImageCopy();
    QCOMPARE(int(image.dpiLightMode), 2);
    QCOMPARE(int(image.dpiLightBrightness), 0x80);
    QCOMPARE(int(image.lightEffect), 4);
    QCOMPARE(int(image.lightBlue), 0x30);
    QCOMPARE(int(m_hub->dpiLedImage.dpiLightSpeed), 3);
    QCOMPARE(HidSim_WriteCount(m_device.mouse), 0);
}

void DataCallbackTest::statusEventRereadsInOrder()
{
    openLink();
    RestartStatusThrottle();
    inject(10, 0, 0, QByteArray("\x01\x01\x01\x01\x01\x01\x01", 7));
    QVERIFY(SimScript::deliver());

    QStringList reads;
    for (const QString& entry : SimScript::callLog()) {
        if (entry.startsWith(QStringLiteral("UsbServer_Read")))
            reads << entry.section(QLatin1Char('('), 0, 0);
    }
    QCOMPARE(reads.mid(0, 5), (QStringList{"UsbServer_ReadCurrentDPI", "UsbServer_ReadReportRate",
                                           "UsbServer_ReadBatteryLevel", "UsbServer_ReadLedBar", "UsbServer_ReadDPILed"}));
    // Within 3000 ms of the throttle start no reload is asked for.
    QCOMPARE(int(RestartWanted), 0);
    QCOMPARE(int(ForceReload), 0);
}

void DataCallbackTest::configurationStatusIsThrottled()
{
    openLink();
    RestartStatusThrottle();
    const QByteArray configChanged("\x00\x00\x01\x00\x00\x00\x00", 7);
    QTest::qWait(StatusThrottleMs + 100);
    inject(10, 0, 0, configChanged);
    QVERIFY(settle());
    QCOMPARE(int(RestartWanted), 1);
    QCOMPARE(int(ForceReload), 1);

    RestartWanted = 0;
    ForceReload = 0;
    inject(10, 0, 0, configChanged);
    QVERIFY(settle());
    QCOMPARE(int(RestartWanted), 0);
    QCOMPARE(int(ForceReload), 0);
}

void DataCallbackTest::activeProfile_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one byte") << QByteArray(1, '\x02') << "ConfigUI(4,2,1)";
    QTest::newRow("two bytes") << QByteArray("\x02\x01", 2) << "ConfigUI(0,0,0)";
}

void DataCallbackTest::activeProfile()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, expected);
    openLink();
    inject(14, 0, 0, data);
    QVERIFY(settle());
    QCOMPARE(m_hub->events(), QStringList{expected});
}

void DataCallbackTest::mouseVersionGoesToTheRegistry()
{
    openLink();
    HidSim_SetMouseVersion(m_device.mouse, 0x020B);
    inject(18, 0, 0);
    QVERIFY(settle());
    QCOMPARE(CurrentDeviceRecord().mouseVersion, QStringLiteral("v2.b"));
    QCOMPARE(m_hub->events(), QStringList{"Setver(0)"});
    QCOMPARE(Registry::value(QString::fromLatin1(MouseVersionRegistryKey), QStringLiteral("MouseVer101")).toString(),
             QStringLiteral("v2.b"));
}

void DataCallbackTest::battery_data()
{
    QTest::addColumn<int>("showValue");
    QTest::addColumn<QString>("expected");
    QTest::newRow("value shown") << 1 << "Battery(1,64,1)";
    QTest::newRow("value hidden") << 0 << "Battery(1,64,0)";
    QTest::newRow("other setting") << 2 << "Battery(1,64,0)";
}

void DataCallbackTest::battery()
{
    QFETCH(int, showValue);
    QFETCH(QString, expected);
    ShowBatteryValue = showValue;
    openLink();
    HidSim_SetBattery(m_device.mouse, 64, 1);
    UsbServer_ReadBatteryLevel();
    QVERIFY(settle());
    // The level change itself may be reported too: every report carries the same values.
    const QStringList events = m_hub->events();
    QVERIFY(!events.isEmpty());
    for (const QString& e : events)
        QCOMPARE(e, expected);
}

void DataCallbackTest::shortOrMissingDataIsIgnored()
{
    openLink();
    inject(4, 0, 0, QByteArray(2, '\x01'));
    inject(10, 0, 0, QByteArray(3, '\x01'));
    inject(8, 0, 0, QByteArray(100, '\x01'));
    inject(23, 0, 0, QByteArray(9, '\x01'));
    inject(77, 0, 0, QByteArray(9, '\x01'));
    QVERIFY(settle());
    OnUsbData(nullptr, 5, nullptr, 6912);
    QVERIFY(m_hub->events().isEmpty());
    QCOMPARE(logIndex(SimScript::callLog(), QStringLiteral("UsbServer_Read")), -1);

    inject(23, 0, 0, QByteArray(10, '\x01'));
    QVERIFY(settle());
    QCOMPARE(m_hub->events(), QStringList{"LongRange(0)"});
}

QTEST_MAIN(DataCallbackTest)
#include "tst_data_callback.moc"
