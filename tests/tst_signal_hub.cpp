// The signal hub: its signals, their emitters, string connections and blocking delivery.
#include "common/PostMsg.h"
#include "device/WorkingImage.h"

#include <QMetaMethod>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace {

const QList<QByteArray> SignalsInOrder = {
    "SigChangeMainDialog(int)",          "SigChangeSize(int)",
    "SigUpDataConfigUI(int,int,bool)",   "SigUpDataLightUIButton(FlashDataMap)",
    "SigUpDataLightLight(FlashDataMap)", "SigUpDataLightSensor(FlashDataMap)",
    "SigUpDataLightUIA(FlashDataMap)",   "SigUpDataSensorUIB(FlashDataMap)",
    "SigUpDataButtonUIC(FlashDataMap)",  "SigButtonToMacro(FlashDataMap,int)",
    "SigSelectMouseInfo(DeviceAllInfo)", "SigMouseOffLineo(int)",
    "SigMainPageChange()",               "SigSecondPageChange()",
    "SigUpPageLight()",                  "SigAddMacroButton()",
    "SigDeleteMacroButton(QString)",     "SigMacroDownLoadData(QString,int)",
    "SigUpDataMacro(QString,int)",       "SigUpDataParam(int)",
    "SigUpDataReportRate(int)",          "SigUpDataDPI(int)",
    "SigUpDataDPILed(FlashDataMap)",     "SigTimerStop()",
    "SigButtonEnable(int)",              "SigLabelText(int,QString)",
    "SigLabelTextB(QString,QString)",    "SigCloseUpdate()",
    "SigProgress(int,int)",              "SigBattery(bool,int,bool)",
    "SigAutoRepair(int)",                "SigAutoRepairProgress(int)",
    "SigChangeLanguage(int)",            "SigLanguageSameA(int)",
    "SigLanguageSameB(int)",             "SigCloseOffOnline()",
    "SigSetMacroPage()",                 "SigStartRecord(int)",
    "SigUpDateButton(bool)",             "SigMacroRename(QString,QString)",
    "SigSetver(int)",                    "SigCloseProgress()",
    "SigRGBValue(DongleRGB*)",           "SigLongRangeMode(bool)",
    "SigForm()",                         "SigFormB()",
    "SigEnterKey()",                     "SigFormReset()",
    "SigHideModel(int)",                 "SigContinue(int)",
    "SigMouseIndex(int)", "SigPagesNeeded()"};

FlashDataMap imageWithFirstByte(uint8_t value)
{
    FlashDataMap image{};
    image.reportRate = value;
    image.macros[15].events[69].delayMs = value;
    return image;
}

}  // namespace

// Receives every signal through a slot of exactly its parameter list and logs which
// signal arrived with a text form of its arguments.
class Receiver : public QObject {
    Q_OBJECT
public:
    QStringList log;

public slots:
    void take() { note({}); }
    void take(int a) { note({QString::number(a)}); }
    void take(bool a) { note({a ? "true" : "false"}); }
    void take(int a, int b) { note({QString::number(a), QString::number(b)}); }
    void take(int a, int b, bool c) { note({QString::number(a), QString::number(b), c ? "true" : "false"}); }
    void take(bool a, int b, bool c) { note({a ? "true" : "false", QString::number(b), c ? "true" : "false"}); }
    void take(QString a) { note({a}); }
    void take(QString a, int b) { note({a, QString::number(b)}); }
    void take(int a, QString b) { note({QString::number(a), b}); }
    void take(QString a, QString b) { note({a, b}); }
    void take(FlashDataMap m) { note({QString::number(m.reportRate)}); }
    void take(FlashDataMap m, int b) { note({QString::number(m.reportRate), QString::number(b)}); }
    void take(DeviceAllInfo d) { note({d.path}); }
    void take(DongleRGB* r) { note({QString::number(r->bytes[0])}); }

private:
    void note(const QStringList& args)
    {
        const QMetaMethod signal = sender()->metaObject()->method(senderSignalIndex());
        log << QString::fromLatin1(signal.name()) + "(" + args.join(",") + ")";
    }
};

// A slow receiver on the GUI thread. While an image slot runs, `whileRunning` changes
// the emitting side's data, so the slot shows whether it got its own copy.
class SlowReceiver : public QObject {
    Q_OBJECT
public:
    std::atomic<int> returned{0};
    std::function<void()> whileRunning;
    uint8_t seenBefore = 0;
    uint8_t seenAfter = 0;
    uint32_t seenLastDelay = 0;

public slots:
    // By reference: a slot like this would share the emitter's variable if the hub did not
    // hand it a copy.
    void SlotUpDataLightUILight(const FlashDataMap& DataMap) { look(DataMap); }
    void SlotUpDataButtonUIC(const FlashDataMap& DataMap) { look(DataMap); }
    void SlotFormReset()
    {
        QThread::msleep(20);
        ++returned;
    }

private:
    void look(const FlashDataMap& DataMap)
    {
        seenBefore = DataMap.reportRate;
        if (whileRunning)
            whileRunning();
        QThread::msleep(50);
        seenAfter = DataMap.reportRate;
        seenLastDelay = DataMap.macros[15].events[69].delayMs;
        ++returned;
    }
};

class SignalHubTest : public QObject {
    Q_OBJECT

private slots:
    void hasItsSignalsInOrderAndNoSlots();
    void instanceIsOneObjectFromEveryThread();
    void everyEmitterEmitsItsSignalByStringConnection();
    void blockingEmitterWaitsAndSlotSeesItsOwnCopy();
    void queuedImageSignalCarriesTheValuesAtEmission();
    void formResetReachesAllFourReceiversBeforeTheEmitterGoesOn();
    void blockingSignalsAreKnown();
};

void SignalHubTest::hasItsSignalsInOrderAndNoSlots()
{
    const QMetaObject* meta = PostMsg::instance()->metaObject();
    QList<QByteArray> found;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        QCOMPARE(meta->method(i).methodType(), QMetaMethod::Signal);
        found << meta->method(i).methodSignature();
    }
    QCOMPARE(found, SignalsInOrder);
    QCOMPARE(found.size(), 52);
}

void SignalHubTest::instanceIsOneObjectFromEveryThread()
{
    PostMsg* here = PostMsg::instance();
    PostMsg* there = nullptr;
    std::unique_ptr<QThread> thread(QThread::create([&there] { there = PostMsg::instance(); }));
    thread->start();
    QVERIFY(thread->wait(5000));
    QCOMPARE(there, here);
    QVERIFY(here->parent() == nullptr);
}

void SignalHubTest::everyEmitterEmitsItsSignalByStringConnection()
{
    PostMsg* hub = PostMsg::instance();
    Receiver receiver;
    const QMetaObject* meta = hub->metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod signal = meta->method(i);
        const QByteArray params = signal.methodSignature().mid(signal.name().size());
        const QByteArray signalText = "2" + signal.methodSignature();
        const QByteArray slotText = "1take" + params;
        QVERIFY2(QObject::connect(hub, signalText.constData(), &receiver, slotText.constData()),
                 signal.methodSignature().constData());
    }

    DeviceAllInfo info;
    info.path = "sim:usb:0007";
    DongleRGB light{};
    light.bytes[0] = 3;
    const FlashDataMap image = imageWithFirstByte(0x20);

    struct Emit {
        const char* expected;
        std::function<void()> send;
    };
    const std::vector<Emit> emits = {
        {"SigChangeMainDialog(1)", [&] { hub->SendChangeMainDialog(1); }},
        {"SigChangeSize(3)", [&] { hub->SendChangeSize(3); }},
        {"SigUpDataConfigUI(4,2,true)", [&] { hub->SendUpDataConfigUI(4, 2, true); }},
        {"SigUpDataLightUIButton(32)", [&] { hub->SendUpDataLightUIButton(image); }},
        {"SigUpDataLightLight(32)", [&] { hub->SendUpDataLightLight(image); }},
        {"SigUpDataLightSensor(32)", [&] { hub->SendUpDataLightSensor(image); }},
        {"SigUpDataLightUIA(32)", [&] { hub->SendUpDataLightUIA(image); }},
        {"SigUpDataSensorUIB(32)", [&] { hub->SendUpDataSensorUIB(image); }},
        {"SigUpDataButtonUIC(32)", [&] { hub->SendUpDataButtonUIC(image); }},
        {"SigButtonToMacro(32,9)", [&] { hub->SendButtonToMacro(image, 9); }},
        {"SigSelectMouseInfo(sim:usb:0007)", [&] { hub->SendSelectMouseInfo(info); }},
        {"SigMouseOffLineo(0)", [&] { hub->SendMouseOffLineo(0); }},
        {"SigMainPageChange()", [&] { hub->SendMainPageChange(); }},
        {"SigSecondPageChange()", [&] { hub->SendSecondPageChange(); }},
        {"SigAddMacroButton()", [&] { hub->SendAddMacroButton(); }},
        {"SigDeleteMacroButton(M1)", [&] { hub->SendDeleteMacroButton("M1"); }},
        {"SigMacroDownLoadData(M2,5)", [&] { hub->SendMacroDownLoadData("M2", 5); }},
        {"SigUpDataMacro(M3,6)", [&] { hub->SendUpDataMacro("M3", 6); }},
        {"SigUpDataParam(1)", [&] { hub->SendUpDataParam(1); }},
        {"SigUpDataReportRate(8)", [&] { hub->SendUpDataReportRate(8); }},
        {"SigUpDataDPI(2)", [&] { hub->SendUpDataDPI(2); }},
        {"SigUpDataDPILed(32)", [&] { hub->SendUpDataDPILed(image); }},
        {"SigTimerStop()", [&] { hub->SendTimerStop(); }},
        {"SigButtonEnable(1)", [&] { hub->SendButtonEnable(1); }},
        {"SigLabelText(2,v1.2)", [&] { hub->SendLabelText(2, "v1.2"); }},
        {"SigLabelTextB(v1.3,true)", [&] { hub->SendLabelTextB("v1.3", "true"); }},
        {"SigCloseUpdate()", [&] { hub->SendCloseUpdate(); }},
        {"SigProgress(1,50)", [&] { hub->SendProgress(1, 50); }},
        {"SigBattery(true,77,false)", [&] { hub->SendBattery(true, 77, false); }},
        {"SigAutoRepair(2)", [&] { hub->SendAutoRepair(2); }},
        {"SigAutoRepairProgress(40)", [&] { hub->SendAutoRepairProgress(40); }},
        {"SigChangeLanguage(5)", [&] { hub->SendChangeLanguage(5); }},
        {"SigLanguageSameA(4)", [&] { hub->SendLanguageSameA(4); }},
        {"SigLanguageSameB(3)", [&] { hub->SendLanguageSameB(3); }},
        {"SigCloseOffOnline()", [&] { hub->SendCloseOffOnline(); }},
        {"SigSetMacroPage()", [&] { hub->SendSetMacroPage(); }},
        {"SigStartRecord(1)", [&] { hub->SendStartRecord(1); }},
        {"SigUpDateButton(false)", [&] { hub->SendUpDateButton(false); }},
        {"SigMacroRename(Old,New)", [&] { hub->SendMacroRename("Old", "New"); }},
        {"SigSetver(6)", [&] { hub->SendSetver(6); }},
        {"SigCloseProgress()", [&] { hub->SendCloseProgress(); }},
        {"SigRGBValue(3)", [&] { hub->SendRGBValue(&light); }},
        {"SigLongRangeMode(true)", [&] { hub->SendLongRangeMode(true); }},
        {"SigForm()", [&] { hub->SendForm(); }},
        {"SigFormB()", [&] { hub->SendFormB(); }},
        {"SigEnterKey()", [&] { hub->SendEnterKey(); }},
        {"SigFormReset()", [&] { hub->SendFormReset(); }},
        {"SigHideModel(1)", [&] { hub->SendHideModel(1); }},
        {"SigContinue(0)", [&] { hub->SendContinue(0); }},
        {"SigMouseIndex(2)", [&] { hub->SendMouseIndex(2); }},
    };
    QCOMPARE(int(emits.size()), 50);
    for (const Emit& e : emits) {
        receiver.log.clear();
        e.send();
        QCOMPARE(receiver.log, QStringList{QString::fromLatin1(e.expected)});
    }
}

void SignalHubTest::blockingEmitterWaitsAndSlotSeesItsOwnCopy()
{
    SlowReceiver receiver;
    QVERIFY(PostMsg::connectBlocking(SIGNAL(SigUpDataLightLight(FlashDataMap)), &receiver,
                                     SLOT(SlotUpDataLightUILight(FlashDataMap))));
    SetWorkingImage(imageWithFirstByte(0x11));

    // The device thread emits its own variable. While the GUI slot runs (the emitter is
    // blocked), that variable and the global image are overwritten.
    FlashDataMap emitted = WorkingImageCopy();
    receiver.whileRunning = [&emitted] {
        emitted = imageWithFirstByte(0x99);
        SetWorkingImage(imageWithFirstByte(0x99));
    };
    std::atomic<int> seenByEmitter{-1};
    std::unique_ptr<QThread> device(QThread::create([&] {
        PostMsg::instance()->SendUpDataLightLight(emitted);
        seenByEmitter = receiver.returned.load();
    }));
    device->start();
    QTRY_VERIFY_WITH_TIMEOUT(device->isFinished(), 10000);

    QCOMPARE(seenByEmitter.load(), 1);  // the emitter went on only after the slot returned
    QCOMPARE(receiver.seenBefore, uint8_t(0x11));
    QCOMPARE(receiver.seenAfter, uint8_t(0x11));
    QCOMPARE(receiver.seenLastDelay, uint32_t(0x11));
    QCOMPARE(emitted.reportRate, uint8_t(0x99));  // the change did happen
    QCOMPARE(WorkingImageCopy().reportRate, uint8_t(0x99));
    QObject::disconnect(PostMsg::instance(), nullptr, &receiver, nullptr);
    ClearWorkingImage();
}

void SignalHubTest::queuedImageSignalCarriesTheValuesAtEmission()
{
    SlowReceiver receiver;
    QVERIFY(QObject::connect(PostMsg::instance(), SIGNAL(SigUpDataButtonUIC(FlashDataMap)), &receiver,
                             SLOT(SlotUpDataButtonUIC(FlashDataMap))));

    // The emitter does not wait: it changes its variable at once, and again while the slot
    // runs later on the GUI thread.
    FlashDataMap emitted = imageWithFirstByte(0x21);
    std::unique_ptr<QThread> device(QThread::create([&emitted] {
        PostMsg::instance()->SendUpDataButtonUIC(emitted);
        emitted = imageWithFirstByte(0x55);
    }));
    receiver.whileRunning = [&emitted] { emitted = imageWithFirstByte(0x66); };
    device->start();
    QVERIFY(device->wait(10000));
    QCOMPARE(receiver.returned.load(), 0);  // queued: nothing ran before the GUI loop turned

    QTRY_COMPARE_WITH_TIMEOUT(receiver.returned.load(), 1, 10000);
    QCOMPARE(receiver.seenBefore, uint8_t(0x21));
    QCOMPARE(receiver.seenAfter, uint8_t(0x21));
    QCOMPARE(receiver.seenLastDelay, uint32_t(0x21));
    QCOMPARE(emitted.reportRate, uint8_t(0x66));
    QObject::disconnect(PostMsg::instance(), nullptr, &receiver, nullptr);
}

void SignalHubTest::formResetReachesAllFourReceiversBeforeTheEmitterGoesOn()
{
    SlowReceiver receivers[4];
    for (SlowReceiver& r : receivers)
        QVERIFY(PostMsg::connectBlocking(SIGNAL(SigFormReset()), &r, SLOT(SlotFormReset())));

    std::atomic<int> returnedWhenEmitterWentOn{-1};
    std::unique_ptr<QThread> worker(QThread::create([&] {
        PostMsg::instance()->SendFormReset();
        int sum = 0;
        for (SlowReceiver& r : receivers)
            sum += r.returned.load();
        returnedWhenEmitterWentOn = sum;
    }));
    worker->start();
    QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 10000);
    QCOMPARE(returnedWhenEmitterWentOn.load(), 4);
    for (SlowReceiver& r : receivers)
        QObject::disconnect(PostMsg::instance(), nullptr, &r, nullptr);
}

void SignalHubTest::blockingSignalsAreKnown()
{
    QVERIFY(PostMsg::isBlockingSignal(SIGNAL(SigForm())));
    QVERIFY(PostMsg::isBlockingSignal("SigRGBValue(DongleRGB *)"));
    QVERIFY(PostMsg::isBlockingSignal("SigBattery(bool, int, bool)"));
    QVERIFY(!PostMsg::isBlockingSignal(SIGNAL(SigFormB())));
    QVERIFY(!PostMsg::isBlockingSignal("SigUpDataLightUIA(FlashDataMap)"));
    int blocking = 0;
    for (const QByteArray& signal : SignalsInOrder)
        blocking += PostMsg::isBlockingSignal(signal.constData()) ? 1 : 0;
    QCOMPARE(blocking, 13);
}

QTEST_GUILESS_MAIN(SignalHubTest)
#include "tst_signal_hub.moc"
