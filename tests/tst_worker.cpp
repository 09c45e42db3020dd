// The Worker: opening the data link, serving an offline mouse from its cache file, the
// online poll, and stopping without a hang.
#include "DeviceLinkFixture.h"

#include "common/BlockingDelivery.h"
#include "device/DataCallback.h"
#include "device/DataLink.h"
#include "device/DeviceCache.h"
#include "device/Worker.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/lighting/LampLight.h"
#include "pages/sensor/Sensor.h"
#include "pages/settings/FormSetting.h"

#include <QtTest>

#include <memory>

using namespace linktest;

class WorkerTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void onlineRunOpensTheLinkAndLoads();
    void offlineRunServesTheCacheFile();
    void offlineRunWithoutCacheResetsEveryPage();
    void runWithoutRequestChangesNothing();
    void sameLinkIsNotOpenedAgain();
    void choicePageShownOpensNothing();
    void choosingTheSameSleepingMouseAgainReopensTheLink();
    void noLinkOpensAfterTheRunWasCalledOff_data();
    void noLinkOpensAfterTheRunWasCalledOff();
    void linkOpensOnTheCurrentRecordsPath();
    void startDuringARunIsNotLost();
    void fullLoadDuringARunKeepsLoadFinished();
    void pollRestartsWhenTheMouseReturns();
    void pollWaitsWhileAFirmwareUpdateRuns();
    void pollOnTheChoicePage_data();
    void pollOnTheChoicePage();
    void destroyingTheButtonPageWhileADeliveryWaitsReturnsQuickly();

private:
    // A mouse behind a 4 kHz receiver, chosen as on the device-choice page.
    void chooseMouse(bool awake);
    // The same device chosen once more on the choice page.
    void selectAgain();
    bool runAndSettle(Worker& worker);

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<HubRecorder> m_hub;
    SimScript::Device m_device;
    DeviceAllInfo m_record;
};

void WorkerTest::init()
{
    m_env.reset(new TestEnv);
    resetFlags();
    writeCatalogue(*m_env);
    m_hub.reset(new HubRecorder);
}

void WorkerTest::cleanup()
{
    UsbServer_Exit();
    m_hub.reset();
    m_env.reset();
}

void WorkerTest::chooseMouse(bool awake)
{
    m_device = SimScript::addReceiverMouse(1, 1, awake);
    // As the choice page lists it (an asleep mouse cannot identify itself through the scan).
    DeviceAllInfo record;
    record.path = QString::fromUtf8(m_device.path);
    record.cid = 10;
    record.mid = 1;
    record.kind = 1;
    record.modelIndex = 0;
    record.online = awake ? 1 : 0;
    m_record = record;
    selectAgain();
}

void WorkerTest::selectAgain()
{
    PostMsg::instance()->SendSelectMouseInfo(m_record);
    MainPageActive = 1;
    HidSim_ClearCallLog();
}

bool WorkerTest::runAndSettle(Worker& worker)
{
    worker.StartRun();
    const bool finished = spinUntil([&] { return worker.isFinished(); });
    return finished && settle();
}

void WorkerTest::onlineRunOpensTheLinkAndLoads()
{
    Worker worker;
    chooseMouse(true);
    QCOMPARE(CurrentDevicePath(), m_device.path);
    QCOMPARE(ChosenCacheName(), QStringLiteral("Device_CID0A_MID01.bin"));

    QVERIFY(runAndSettle(worker));

    const QStringList log = SimScript::callLog();
    const QString path = QString::fromUtf8(m_device.path);
    const int start = logIndex(log, QStringLiteral("UsbServerC_Start(%1, %1)").arg(path));
    const int status = logIndex(log, QStringLiteral("UsbServer_SetPCDriverStatus(1)"));
    const int read = logIndex(log, QStringLiteral("UsbServer_ReadAllFlashData"));
    QVERIFY(start >= 0);
    QVERIFY(status > start);
    QVERIFY(read > status);
    QCOMPARE(m_hub->count(QStringLiteral("UpDataParam(0)")), 1);
    QCOMPARE(m_hub->count(QStringLiteral("Form")), 1);
    QCOMPARE(int(LoadFinished), 1);
    QCOMPARE(int(LoadedOnline), 1);
    QCOMPARE(int(RunRequested), 0);
    QCOMPARE(int(CurrentDeviceRecord().online), 1);
    QVERIFY(WorkingImageLoaded());
}

void WorkerTest::offlineRunServesTheCacheFile()
{
    Worker worker;
    chooseMouse(false);
    const QByteArray cached = SimScript::makeImage(11);
    QVERIFY(WriteDeviceInfoFile(QStringLiteral("Device_CID0A_MID01.bin"), imageFrom(cached)));

    QVERIFY(runAndSettle(worker));

    QCOMPARE(m_hub->events().mid(0, 4), (QStringList{"ButtonImage", "LightImage", "SensorImage", "Form"}));
    QCOMPARE(m_hub->count(QStringLiteral("FormReset")), 0);
    QCOMPARE(m_hub->count(QStringLiteral("UpDataParam")), 0);
    QCOMPARE(bytesOf(m_hub->buttonImage), cached);
    QCOMPARE(bytesOf(m_hub->lightImage), cached);
    QCOMPARE(bytesOf(m_hub->sensorImage), cached);
    // The working image is not the cached one, and nothing may be written from it.
    QCOMPARE(bytesOf(WorkingImageCopy()), QByteArray(HIDUSB_IMAGE_SIZE, '\0'));
    QVERIFY(!WorkingImageLoaded());
    QCOMPARE(int(WaitingForMouse), 1);
    QCOMPARE(int(LoadFinished), 0);
    QCOMPARE(int(CurrentDeviceRecord().online), 0);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start")), 1);  // opened all the same
}

void WorkerTest::offlineRunWithoutCacheResetsEveryPage()
{
    Buttoninterface buttons;
    LampLight light;
    Sensor sensor;
    FormSetting settings;
    chooseMouse(false);
    int resets = 0;
    m_hub->onFormResetHook = [&] { ++resets; };

    QVERIFY(runAndSettle(*Worker::instance()));

    QCOMPARE(resets, 1);
    QCOMPARE(m_hub->count(QStringLiteral("Form")), 0);
    QCOMPARE(m_hub->count(QStringLiteral("ButtonImage")), 0);
    QCOMPARE(int(ButtonPageBusy) + int(LightPageBusy) + int(SensorPageBusy), 0);
}

void WorkerTest::runWithoutRequestChangesNothing()
{
    Worker worker;
    chooseMouse(true);
    worker.ClearRunRequest();
    LoadFinished = 2;
    worker.start();
    QVERIFY(worker.wait(5000));
    QCOMPARE(int(LoadFinished), 2);
    QCOMPARE(SimScript::callLog(), QStringList());
}

void WorkerTest::sameLinkIsNotOpenedAgain()
{
    Worker worker;
    chooseMouse(true);
    QVERIFY(runAndSettle(worker));
    LoadFinished = 0;
    m_hub->clear();

    QVERIFY(runAndSettle(worker));
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start")), 1);
    QCOMPARE(int(LoadFinished), 1);
    QVERIFY(m_hub->events().isEmpty());

    // A forced reload opens it again and asks for the reload busy dialog.
    ForceReload = 1;
    QVERIFY(runAndSettle(worker));
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start")), 2);
    QCOMPARE(m_hub->count(QStringLiteral("UpDataParam(1)")), 1);
    QCOMPARE(int(ForceReload), 0);

    // While a factory reset or an import shows its own busy dialog, a forced reload asks for none.
    NoBusyDialog = 1;
    ForceReload = 1;
    m_hub->clear();
    QVERIFY(runAndSettle(worker));
    NoBusyDialog = 0;
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start")), 3);
    QCOMPARE(m_hub->count(QStringLiteral("UpDataParam(1)")), 0);
    QCOMPARE(int(ForceReload), 0);
}

void WorkerTest::choicePageShownOpensNothing()
{
    Worker worker;
    chooseMouse(true);
    MainPageActive = 0;
    QVERIFY(runAndSettle(worker));
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start")), 0);
    QCOMPARE(int(LoadFinished), 1);  // the online state
    QVERIFY(m_hub->events().isEmpty());
}

// Back on the choice page the link is closed; choosing the same mouse again, still asleep,
// must open it again, or the mouse's return would never be noticed.
void WorkerTest::choosingTheSameSleepingMouseAgainReopensTheLink()
{
    Worker worker;
    chooseMouse(false);
    QVERIFY(runAndSettle(worker));
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start")), 1);

    // As the window does when it shows the choice page.
    MainPageActive = 0;
    PostMsg::instance()->SendMainPageChange();
    CloseDataLink();

    selectAgain();
    QVERIFY(runAndSettle(worker));
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start")), 1);

    // The mouse wakes: the link it listens on is open, and the poll, which waits for it since
    // the run found it asleep, loads it.
    QCOMPARE(int(WaitingForMouse), 1);
    HidSim_SetAwake(m_device.mouse, 1);
    QMetaObject::invokeMethod(&worker, "SlotCheckOnline");
    QVERIFY(spinUntil([&] { return worker.isFinished() && int(LoadFinished) == 1; }));
    QVERIFY(settle());
    QCOMPARE(m_hub->count(QStringLiteral("Form")), 1);
}

void WorkerTest::noLinkOpensAfterTheRunWasCalledOff_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::newRow("run request cleared") << "clear";
    QTest::newRow("quit begun") << "quit";
    QTest::newRow("choice page shown") << "choice page";
}

// While the run waits for the pages, it is called off: it must not open the link after.
void WorkerTest::noLinkOpensAfterTheRunWasCalledOff()
{
    QFETCH(QString, meanwhile);
    Worker worker;
    chooseMouse(false);
    m_hub->onFormResetHook = [&] {
        if (meanwhile == QLatin1String("clear"))
            worker.ClearRunRequest();
        else if (meanwhile == QLatin1String("quit"))
            BlockingDelivery::beginShutdown();
        else
            MainPageActive = 0;
    };
    worker.StartRun();
    const bool finished = spinUntil([&] { return worker.isFinished(); });
    BlockingDelivery::resetShutdown();
    QVERIFY(finished);
    QCOMPARE(m_hub->count(QStringLiteral("FormReset")), 1);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start")), 0);
    if (meanwhile != QLatin1String("quit"))
        QCOMPARE(int(RunRequested), 0);
}

// Record and device path read apart could disagree; the link follows the record, which is
// what the next run compares with.
void WorkerTest::linkOpensOnTheCurrentRecordsPath()
{
    Worker worker;
    chooseMouse(true);
    const SimScript::Device other = SimScript::addReceiverMouse(2, 1, true);
    SetCurrentDevicePath(other.path);
    HidSim_ClearCallLog();

    QVERIFY(runAndSettle(worker));
    const QString path = QString::fromUtf8(m_device.path);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start")), 1);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start(%1, %1)").arg(path)), 1);
}

// A start that arrives while run() is still busy makes it go round once more.
void WorkerTest::startDuringARunIsNotLost()
{
    Worker worker;
    chooseMouse(false);
    bool restarted = false;
    m_hub->onFormResetHook = [&] {
        if (restarted)
            return;
        restarted = true;
        QVERIFY(worker.isRunning());
        ForceReload = 1;
        worker.StartRun();
    };
    QVERIFY(runAndSettle(worker));
    QVERIFY(restarted);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start")), 2);
    QCOMPARE(m_hub->count(QStringLiteral("FormReset")), 2);
    QCOMPARE(int(RunRequested), 0);
}

void WorkerTest::fullLoadDuringARunKeepsLoadFinished()
{
    Worker worker;
    chooseMouse(false);
    // A whole configuration as the library would deliver it.
    HidSim_SetAwake(m_device.mouse, 1);
    QByteArray answer;
    {
        SimScript::DataRecorder recorder;
        UsbServerC_Start(m_device.path.constData(), m_device.path.constData(), SimScript::DataRecorder::callback());
        UsbServer_ReadAllFlashData();
        QVERIFY(recorder.waitForCount(1));
        answer = recorder.answers().first().data;
        UsbServer_Exit();
    }
    HidSim_SetAwake(m_device.mouse, 0);
    // The link before the run asked for it (the run has not opened its own yet).
    OpenDataLink(m_device.path);
    RequestFullRead();

    // While the run serves the offline pages, the whole configuration arrives.
    m_hub->onFormResetHook = [&] {
        uint8_t header[5] = {0, 8, 0, 0, 0};
        OnUsbData(header, 5, reinterpret_cast<uint8_t*>(answer.data()), uint32_t(answer.size()));
    };
    QVERIFY(runAndSettle(worker));
    QCOMPARE(m_hub->count(QStringLiteral("Form")), 1);
    QCOMPARE(int(MouseOnline), 0);
    QCOMPARE(int(LoadFinished), 1);
}

void WorkerTest::pollRestartsWhenTheMouseReturns()
{
    Worker worker;
    chooseMouse(false);
    QVERIFY(runAndSettle(worker));
    QCOMPARE(int(WaitingForMouse), 1);
    HidSim_ClearCallLog();
    m_hub->clear();

    // Still offline: no restart.
    QMetaObject::invokeMethod(&worker, "SlotCheckOnline");
    QVERIFY(settle());
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start")), 0);
    QVERIFY(m_hub->events().isEmpty());
    QCOMPARE(int(WaitingForMouse), 1);
    QCOMPARE(int(RestartWanted), 0);

    // Back: the notice closes and the link opens again with a full load.
    HidSim_SetAwake(m_device.mouse, 1);
    QMetaObject::invokeMethod(&worker, "SlotCheckOnline");
    QVERIFY(spinUntil([&] { return worker.isFinished() && int(LoadFinished) == 1; }));
    QVERIFY(settle());
    QCOMPARE(m_hub->events().first(), QStringLiteral("CloseOffOnline"));
    QCOMPARE(int(WaitingForMouse), 0);
    QCOMPARE(int(RestartWanted), 0);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start")), 1);
    QCOMPARE(m_hub->count(QStringLiteral("Form")), 1);
}

void WorkerTest::pollWaitsWhileAFirmwareUpdateRuns()
{
    Worker worker;
    chooseMouse(false);
    QVERIFY(runAndSettle(worker));
    FirmwareIdle = 0;
    HidSim_SetAwake(m_device.mouse, 1);
    HidSim_ClearCallLog();
    m_hub->clear();

    QMetaObject::invokeMethod(&worker, "SlotCheckOnline");
    QVERIFY(settle());
    QCOMPARE(SimScript::callLog(), QStringList());
    QVERIFY(m_hub->events().isEmpty());
    QCOMPARE(int(WaitingForMouse), 1);
    QCOMPARE(int(RestartWanted), 0);

    // The update over, the next poll finds the mouse back and loads it.
    FirmwareIdle = 1;
    QMetaObject::invokeMethod(&worker, "SlotCheckOnline");
    QVERIFY(spinUntil([&] { return worker.isFinished() && int(LoadFinished) == 1; }));
    QVERIFY(settle());
    QCOMPARE(int(WaitingForMouse), 0);
    QCOMPARE(m_hub->count(QStringLiteral("Form")), 1);
}

void WorkerTest::pollOnTheChoicePage_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("stillWaiting");
    QTest::newRow("kind 0 keeps waiting") << 0 << 1;
    QTest::newRow("kind 2 stops") << 2 << 0;
    QTest::newRow("kind 1 stops") << 1 << 0;
}

void WorkerTest::pollOnTheChoicePage()
{
    QFETCH(int, kind);
    QFETCH(int, stillWaiting);
    Worker worker;
    DeviceAllInfo record;
    record.kind = uint8_t(kind);
    SetCurrentDeviceRecord(record);
    MainPageActive = 0;
    WaitingForMouse = 1;
    QMetaObject::invokeMethod(&worker, "SlotCheckOnline");
    QCOMPARE(int(WaitingForMouse), stillWaiting);
}

// The run waits for a GUI slot while the GUI thread destroys the button page, which waits
// for the run: the wait ends at once and the dropped call never runs later.
void WorkerTest::destroyingTheButtonPageWhileADeliveryWaitsReturnsQuickly()
{
    auto* buttons = new Buttoninterface;
    chooseMouse(false);
    Worker::instance()->StartRun();
    QThread::msleep(200);  // the run is now waiting for SigFormReset's slot
    QVERIFY(Worker::instance()->isRunning());

    QElapsedTimer clock;
    clock.start();
    delete buttons;
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(Worker::instance() == nullptr);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    QCOMPARE(m_hub->count(QStringLiteral("FormReset")), 0);
}

QTEST_MAIN(WorkerTest)
#include "tst_worker.moc"
