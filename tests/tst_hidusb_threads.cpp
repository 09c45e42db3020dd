// The simulated device library's threads: hot-plug calls on the GUI thread, data answers
// on one library thread in order, and no function waiting for a callback.
#include "support/HidSimScript.h"
#include "support/TestEnv.h"

#include <QtTest>

#include <QElapsedTimer>
#include <QSemaphore>

#include <atomic>
#include <memory>
#include <thread>

using namespace SimScript;

namespace {

std::atomic<int> g_firstHotplug{0};
std::atomic<int> g_secondHotplug{0};
std::atomic<bool> g_hotplugOffGui{false};
std::atomic<int> g_otherLinkAnswers{0};

void checkGuiThread()
{
    if (QThread::currentThread() != QCoreApplication::instance()->thread())
        g_hotplugOffGui = true;
}

void firstHotplug()
{
    checkGuiThread();
    ++g_firstHotplug;
}

void secondHotplug()
{
    checkGuiThread();
    ++g_secondHotplug;
}

void otherLink(uint8_t*, int, uint8_t*, uint32_t)
{
    ++g_otherLinkAnswers;
}

}  // namespace

class TestHidUsbThreads : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_env.reset(new TestEnv);
        g_firstHotplug = 0;
        g_secondHotplug = 0;
        g_hotplugOffGui = false;
        g_otherLinkAnswers = 0;
    }
    void cleanup()
    {
        StopUsbChanged();
        UsbServer_Exit();
        m_env.reset();
    }

    void hotplugRunsOnGuiThreadAfterRegistrationAndEachChange();
    void hotplugStopsAfterStopOrReplacement();
    void settleTimeDelaysTheCall();
    void answersArriveInOrderOnOneLibraryThread();
    void readsInsideCallbackArriveAfterIt();
    void exitReturnsWhileCallbackIsBlocked();
    void startReplacesTheOpenLink();
    void guiThreadMayCallLibraryWhileCallbackWaitsForIt();
    void everyFunctionIsSafeAfterClose();
    void concurrentCallersFromManyThreads();

private:
    std::unique_ptr<TestEnv> m_env;
};

void TestHidUsbThreads::hotplugRunsOnGuiThreadAfterRegistrationAndEachChange()
{
    QCOMPARE(StartUsbChanged(&firstHotplug, 600), 1);
    QCOMPARE(g_firstHotplug.load(), 0);  // posted, never on the caller's stack
    QVERIFY(deliver());
    QCOMPARE(g_firstHotplug.load(), 1);

    const Device d = addCableMouse(1);  // the mouse, then its cable
    QVERIFY(deliver());
    QCOMPARE(g_firstHotplug.load(), 3);
    HidSim_SetPlugged(d.interface, 0);
    HidSim_SetPlugged(d.interface, 1);
    QVERIFY(deliver());
    QCOMPARE(g_firstHotplug.load(), 5);

    // Sleeping changes the online answer, not the device list.
    HidSim_SetAwake(d.mouse, 0);
    QVERIFY(deliver());
    QCOMPARE(g_firstHotplug.load(), 5);

    // A change made on another thread still calls back on the GUI thread.
    std::thread([] { addInterface(Receiver1kPid, 0, -1); }).join();
    QVERIFY(deliver());
    QCOMPARE(g_firstHotplug.load(), 6);
    QVERIFY(!g_hotplugOffGui.load());
}

void TestHidUsbThreads::hotplugStopsAfterStopOrReplacement()
{
    StartUsbChanged(&firstHotplug, 600);
    StopUsbChanged();  // the pending call of the first registration is dropped
    addCableMouse(1);
    QVERIFY(deliver());
    QCOMPARE(g_firstHotplug.load(), 0);

    StartUsbChanged(&firstHotplug, 600);
    addCableMouse(2);
    StartUsbChanged(&secondHotplug, 600);  // replaces: the pending calls of the first are dropped
    QVERIFY(deliver());
    QCOMPARE(g_firstHotplug.load(), 0);
    QCOMPARE(g_secondHotplug.load(), 1);
    HidSim_RemoveInterface(addInterface(Receiver1kPid, 0, -1));
    QVERIFY(deliver());
    QCOMPARE(g_firstHotplug.load(), 0);
    QCOMPARE(g_secondHotplug.load(), 3);
}

// A registration calls back on the event loop's next turn; a plug change after its settle time.
void TestHidUsbThreads::settleTimeDelaysTheCall()
{
    HidSim_SetZeroDelays(0);
    StartUsbChanged(&firstHotplug, 150);
    QCOMPARE(g_firstHotplug.load(), 0);  // posted
    QCoreApplication::processEvents();
    QCOMPARE(g_firstHotplug.load(), 1);
    QElapsedTimer clock;
    clock.start();
    addInterface(Receiver1kPid, 0, -1);
    QTRY_COMPARE_WITH_TIMEOUT(g_firstHotplug.load(), 2, 5000);
    QVERIFY(clock.elapsed() >= 140);
    HidSim_SetZeroDelays(1);
}

void TestHidUsbThreads::answersArriveInOrderOnOneLibraryThread()
{
    const Device d = addCableMouse(1);
    DataRecorder recorder;
    QCOMPARE(UsbServerC_Start(d.path.constData(), d.path.constData(), DataRecorder::callback()), 1);
    QCOMPARE(recorder.count(), 0);
    UsbServer_ReadReportRate();
    UsbServer_ReadCurrentDPI();
    UsbServer_ReadBatteryLevel();
    UsbServer_ReadConfig();
    UsbServer_ReadVersion();
    QVERIFY(deliver());
    const QList<Answer> answers = recorder.answers();
    QCOMPARE(answers.size(), 5);
    const QList<int> kinds{8, 8, 4, 14, 18};
    for (int i = 0; i < answers.size(); ++i) {
        QCOMPARE(answers[i].kind, kinds[i]);
        QVERIFY(!answers[i].onGuiThread);
        QCOMPARE(answers[i].thread, answers[0].thread);
        QVERIFY(answers[i].header.size() >= 5);
    }
    QCOMPARE(answers[1].command, 4);
    QCOMPARE(answers[4].data.size(), 0);
}

void TestHidUsbThreads::readsInsideCallbackArriveAfterIt()
{
    const Device d = addCableMouse(1);
    DataRecorder recorder;
    std::atomic<int> countWhenHookEnded{-1};
    recorder.setHook([&](const Answer& a) {
        if (a.kind != 8 || a.data.size() != HIDUSB_FULL_ANSWER_SIZE)
            return;
        UsbServer_ReadDPILed();
        UsbServer_ReadBatteryLevel();
        QThread::msleep(30);  // nothing may arrive while this callback runs
        countWhenHookEnded = recorder.count();
    });
    UsbServerC_Start(d.path.constData(), d.path.constData(), DataRecorder::callback());
    UsbServer_ReadAllFlashData();
    QVERIFY(recorder.waitForCount(3));
    QVERIFY(deliver());
    QCOMPARE(countWhenHookEnded.load(), 1);
    const QList<Answer> answers = recorder.answers();
    QCOMPARE(answers.size(), 3);
    QCOMPARE(answers[1].command, 0x4C);
    QCOMPARE(answers[2].kind, 4);
}

void TestHidUsbThreads::exitReturnsWhileCallbackIsBlocked()
{
    const Device d = addCableMouse(1);
    DataRecorder recorder;
    QSemaphore entered;
    QSemaphore release;
    recorder.setHook([&](const Answer&) {
        entered.release();
        release.acquire();
    });
    UsbServerC_Start(d.path.constData(), d.path.constData(), DataRecorder::callback());
    UsbServer_ReadReportRate();
    UsbServer_ReadBatteryLevel();
    UsbServer_ReadCurrentDPI();
    QVERIFY(entered.tryAcquire(1, 5000));

    QElapsedTimer clock;
    clock.start();
    UsbServer_Exit();
    QVERIFY(clock.elapsed() < 500);
    // Other calls don't wait for the blocked callback either.
    QCOMPARE(UsbFinderC_GetDeviceOnLine(d.path.constData()), 1);
    QCOMPARE(UsbServer_ReadAllFlashData(), 0);
    QVERIFY(clock.elapsed() < 500);

    release.release(10);
    QVERIFY(deliver());
    QCOMPARE(recorder.count(), 1);  // the answers queued behind it were dropped
}

void TestHidUsbThreads::startReplacesTheOpenLink()
{
    const Device first = addCableMouse(1);
    const Device second = addReceiverMouse(2);
    DataRecorder recorder;
    QSemaphore entered;
    QSemaphore release;
    recorder.setHook([&](const Answer&) {
        entered.release();
        release.acquire();
    });
    UsbServerC_Start(first.path.constData(), first.path.constData(), DataRecorder::callback());
    UsbServer_ReadBatteryLevel();
    UsbServer_ReadReportRate();
    UsbServer_ReadCurrentDPI();
    QVERIFY(entered.tryAcquire(1, 5000));
    // Reopen without closing while answers of the old link are still queued.
    QCOMPARE(UsbServerC_Start(second.path.constData(), second.path.constData(), &otherLink), 1);
    UsbServer_ReadConfig();
    release.release(10);
    QVERIFY(deliver());
    QCOMPARE(recorder.count(), 1);  // only the answer that was already running
    QCOMPARE(g_otherLinkAnswers.load(), 1);
    HidSim_Inject(4, 0, 0, reinterpret_cast<const uint8_t*>("\x32\x00\x00\x00"), 4);
    QVERIFY(deliver());
    QCOMPARE(recorder.count(), 1);
    QCOMPARE(g_otherLinkAnswers.load(), 2);
}

void TestHidUsbThreads::guiThreadMayCallLibraryWhileCallbackWaitsForIt()
{
    const Device d = addReceiverMouse(2, 1);
    QObject guiObject;  // lives on the GUI thread
    DataRecorder recorder;
    std::atomic<int> guiCalls{0};
    const QByteArray image = makeImage(5);
    recorder.setHook([&](const Answer& a) {
        if (a.kind != 8 || a.data.size() != HIDUSB_FULL_ANSWER_SIZE)
            return;
        // As the program's blocking queued emit does: wait until a GUI slot has run.
        QMetaObject::invokeMethod(
            &guiObject,
            [&] {
                DongleRGB record{};
                record.bytes[0] = 2;
                guiCalls += UsbFinderC_GetDeviceOnLine(d.path.constData());
                guiCalls += ProtocolDataUpdate(
                    reinterpret_cast<FlashDataMap*>(const_cast<char*>(image.constData())));
                guiCalls += UsbFinderC_Set4KDongleRGB(d.path.constData(), &record);
                guiCalls += UsbServer_ReadBatteryLevel();
                UsbDeviceAttribute attribute{};
                guiCalls += UsbFinderC_GetUsbDeviceAttribute(d.path.constData(), &attribute);
            },
            Qt::BlockingQueuedConnection);
    });
    UsbServerC_Start(d.path.constData(), d.path.constData(), DataRecorder::callback());
    UsbServer_ReadAllFlashData();
    QVERIFY(deliver(10000));
    QCOMPARE(guiCalls.load(), 5);
    QCOMPARE(recorder.count(), 2);
    QCOMPARE(HidSim_WriteCount(d.mouse), 1);
    QCOMPARE(HidSim_LightMode(d.interface), 2);
}

void TestHidUsbThreads::everyFunctionIsSafeAfterClose()
{
    const Device d = addCableMouse(1);
    DataRecorder recorder;
    UsbServerC_Start(d.path.constData(), d.path.constData(), DataRecorder::callback());
    UsbServer_Exit();
    UsbServer_Exit();
    QByteArray image = makeImage(1);
    QCOMPARE(UsbServer_ReadAllFlashData(), 0);
    QCOMPARE(UsbServer_ReadBatteryLevel(), 0);
    QCOMPARE(UsbServer_ReadLedBar(), 0);
    QCOMPARE(ProtocolDataUpdate(reinterpret_cast<FlashDataMap*>(image.data())), 0);
    QCOMPARE(UsbServer_SetCurrentConfig(1), 0);
    QCOMPARE(UsbServer_SetClearSetting(), 0);
    QCOMPARE(UsbServer_EnterDonglePairOnlyCid(Cid), 0);
    QCOMPARE(UsbServer_ReadDonglePairStatus(), 0);
    QCOMPARE(HidSim_Inject(4, 0, 0, nullptr, 0), -1);
    QCOMPARE(UsbServer_SetPCDriverStatus(0), 1);
    QVERIFY(deliver());
    QCOMPARE(recorder.count(), 0);
    QCOMPARE(HidSim_WriteCount(d.mouse), 0);
    // Null arguments are refused, not followed.
    QCOMPARE(UsbServerC_Start(nullptr, nullptr, nullptr), 0);
    QCOMPARE(UsbFinderC_GetDeviceOnLineWithUsbAddress(d.path.constData(), nullptr), 1);
    ProtocolDataParser(nullptr, nullptr);
    QCOMPARE(UsbUpgradeC_FindBootDevices(nullptr, 0, nullptr), 0);
}

void TestHidUsbThreads::concurrentCallersFromManyThreads()
{
    const Device d = addReceiverMouse(2, 1);
    DataRecorder recorder;
    UsbServerC_Start(d.path.constData(), d.path.constData(), DataRecorder::callback());
    StartUsbChanged(&firstHotplug, 0);
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            QByteArray image = makeImage(static_cast<uint8_t>(t));
            while (!stop) {
                int count = 5;
                char** paths = UsbFinderC_FindHidDevicesByDefaultDeviceId(VendorId, Receiver4kPid, &count);
                for (int i = 0; i < count; ++i)
                    UsbFinderC_GetDeviceOnLine(paths[i]);
                UsbFinderC_GetDeviceInfo(d.path.constData());
                UsbServer_ReadBatteryLevel();
                ProtocolDataUpdate(reinterpret_cast<FlashDataMap*>(image.data()));
                if (t == 0)
                    UsbServerC_Start(d.path.constData(), d.path.constData(), DataRecorder::callback());
                if (t == 1)
                    UsbServer_Exit();
            }
        });
    }
    for (int i = 0; i < 30; ++i) {
        const Device extra = addCableMouse(static_cast<uint8_t>(10 + i));
        HidSim_SetAwake(d.mouse, i % 2);
        QCoreApplication::processEvents();
        HidSim_RemoveInterface(extra.interface);
    }
    stop = true;
    for (std::thread& t : threads)
        t.join();
    UsbServer_Exit();
    QVERIFY(deliver(10000));
    QVERIFY(!g_hotplugOffGui.load());
}

QTEST_MAIN(TestHidUsbThreads)
#include "tst_hidusb_threads.moc"
