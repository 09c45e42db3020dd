// Choosing a device from the choice page inside the real top-level window: the main road from a
// tile click through the configuration frame and the Worker run to pages filled with the mouse's
// configuration and a change reaching the mouse; the frame built by the first tile click and kept
// from then on; and the Space key on the choice page.
#include "ChoiceTestCatalogue.h"

#include "common/MacroSetting.h"
#include "common/ProgramWaits.h"
#include "common/PostMsg.h"
#include "common/Registry.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/DataCallback.h"
#include "device/DeviceSetters.h"
#include "device/FlashDataMap.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "device/WorkingImage.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/lighting/LampLight.h"
#include "pages/sensor/Sensor.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/UpDateRepair.h"
#include "shell/Dialog.h"
#include "shell/DialogChange.h"
#include "shell/DialogMain.h"
#include "shell/UpDataParam.h"
#include "support/EventHook.h"
#include "support/HidSimScript.h"
#include "support/HubRecorder.h"
#include "support/ModalAnswerer.h"
#include "support/ProgramWorld.h"
#include "support/Wait.h"

#include "HIDUsbControl.h"

#include <QElapsedTimer>
#include <QComboBox>
#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>
#include <QSpinBox>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <atomic>
#include <cstring>

namespace {

// Keeps what the device side hands to the pages.
class PageImages : public QObject {
    Q_OBJECT
public:
    PageImages()
    {
        PostMsg::connectBlocking(SIGNAL(SigUpDataLightSensor(FlashDataMap)), this, SLOT(onSensor(FlashDataMap)));
    }
    QByteArray sensor;

private slots:
    void onSensor(FlashDataMap image) { sensor = QByteArray(reinterpret_cast<const char*>(&image), sizeof image); }
};

using World = ProgramWorld;

// The program's waits at another scale while it lives.
struct WaitScale {
    explicit WaitScale(double scale) { ProgramWaits::setWaitScale(scale); }
    ~WaitScale() { ProgramWaits::setWaitScale(before); }
    const double before = ProgramWaits::waitScale();
};

struct LinkHookGuard {
    ~LinkHookGuard() { HidSim_SetLinkCallHook(nullptr, nullptr); }
};

// The link to the mouse opens once `context` (an atomic bool) is set, at most ten seconds on.
void openLinkOnceBuilt(const char* name, void* context)
{
    if (std::strcmp(name, "UsbServerC_Start") != 0)
        return;
    auto* built = static_cast<std::atomic<bool>*>(context);
    for (int i = 0; i < 1000 && !built->load(); ++i)
        QThread::msleep(10);
}

using SimScript::settle;

void pressSpace(QWidget* window)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(window, &press);
    // What the key started runs once its handler has returned.
    QVERIFY(runQueuedWork());
}

}  // namespace

class TestDeviceSelection : public QObject {
    Q_OBJECT
private slots:
    // The main road, end to end: tile click, frame shown, Worker run, pages filled with the
    // mouse's image, and a setter's change arriving in the library's stored image.
    void tileClickLoadsMouseAndChangesReachIt()
    {
        World world;
        const SimScript::Device mouse = SimScript::addCableMouse(1);
        const QByteArray image = SimScript::makeImage(7);
        QCOMPARE(HidSim_SetImage(mouse.mouse, 0, reinterpret_cast<const uint8_t*>(image.constData())), 0);

        ModalAnswerer answerer;  // the busy dialog of the load is closed when it shows
        PageImages pages;
        linktest::HubRecorder recorder;
        DialogMain window;
        window.show();
        settle();
        QCOMPARE(ChoiceDeviceList.size(), 1);
        // Until a tile is clicked the user sees only the tiles: no frame, no page, no Worker.
        QVERIFY(!window.findChild<Dialog*>());
        QVERIFY(!window.findChild<Buttoninterface*>());
        QVERIFY(!Worker::instance());

        QList<int> setver;
        QList<int> mouseIndex;
        QStringList selectedPaths;
        QList<QStringList> labelTexts;
        QList<int> mainDialog;
        PostMsg* hub = PostMsg::instance();
        QList<QMetaObject::Connection> links;
        // The click's first signal already reaches the pages, and the choice the Worker.
        bool frameAtFirstSignal = false;
        bool workerAtChoice = false;
        links << connect(hub, &PostMsg::SigSetver, this, [&](int i) {
            if (setver.isEmpty())
                frameAtFirstSignal = window.findChild<Buttoninterface*>() != nullptr;
            setver << i;
        });
        links << connect(hub, &PostMsg::SigSelectMouseInfo, this, [&] { workerAtChoice = Worker::instance() != nullptr; });
        links << connect(hub, &PostMsg::SigMouseIndex, this, [&](int i) { mouseIndex << i; });
        links << connect(hub, &PostMsg::SigSelectMouseInfo, this, [&](DeviceAllInfo r) { selectedPaths << r.path; });
        links << connect(hub, &PostMsg::SigLabelTextB, this, [&](QString a, QString b) { labelTexts << QStringList{a, b}; });
        links << connect(hub, &PostMsg::SigChangeMainDialog, this, [&](int i) { mainDialog << i; });

        const int mark = recorder.mark();
        window.findChild<QToolButton*>(QStringLiteral("btn0"))->click();

        QVERIFY(!setver.isEmpty());
        QCOMPARE(setver.first(), 6);
        QVERIFY(frameAtFirstSignal);
        QVERIFY(workerAtChoice);
        QCOMPARE(window.findChildren<Dialog*>().size(), 1);
        QCOMPARE(mouseIndex, QList<int>{0});
        QCOMPARE(selectedPaths, QStringList{QString::fromLatin1(mouse.path)});
        QCOMPARE(labelTexts.size(), 1);
        QCOMPARE(labelTexts.first().first(), ChoiceDeviceList.first().firmwareVersion);
        QCOMPARE(mainDialog, QList<int>{1});
        QCOMPARE(window.currentPage(), int(DialogMain::FramePage));
        QCOMPARE(MainPageActive.load(), 1);
        QCOMPARE(ChosenModelId.load(), 1);
        QCOMPARE(CurrentDeviceRecord().path, QString::fromLatin1(mouse.path));
        for (const auto& link : links)
            disconnect(link);

        QVERIFY(waitForLoad(recorder, mark));
        QVERIFY(SimScript::countCalls(QStringLiteral("UsbServerC_Start(") + QString::fromLatin1(mouse.path)) >= 1);
        QCOMPARE(pages.sensor.size(), int(sizeof(FlashDataMap)));
        QCOMPARE(pages.sensor.left(124), image.left(124));

        // A page's change: the setter writes the byte and hands the image to the mouse.
        const uint8_t rate = image.at(0) == 0x02 ? 0x04 : 0x02;
        QVERIFY(SetReportRate(rate));
        const QByteArray written = SimScript::lastWrittenImage(mouse.mouse);
        QCOMPARE(written.size(), HIDUSB_IMAGE_SIZE);
        QCOMPARE(uint8_t(written.at(0)), rate);
        QCOMPARE(written.mid(1, 123), image.mid(1, 123));

        if (Worker* worker = Worker::instance())
            worker->wait(5000);
    }

    // A machine too slow for the frame's late page build: building the pages takes longer
    // than the busy dialog's whole wait, and the mouse's link opens only once they are built.
    // The wait is the mouse's time to answer, so the load still ends with every page showing
    // the mouse's configuration and no offline notice.
    void slowPageBuildLeavesTheMouseItsWholeWait()
    {
        World world;
        const SimScript::Device mouse = SimScript::addCableMouse(1);
        QByteArray image = SimScript::storedImage(mouse.mouse);
        image[0] = 0x02;  // 500 Hz
        image[6] = 8;     // debounce item 8
        image[8] = 30;    // sleep item 3
        const char light[] = {4, 10, 20, 30};  // effect and colour
        image.replace(0x43, 4, light, 4);
        image[0x49] = 1;  // lighting on
        QCOMPARE(HidSim_SetImage(mouse.mouse, 0, reinterpret_cast<const uint8_t*>(image.constData())), 0);

        // The waits at a scale that leaves the link of a busy machine time to open after the
        // build, as the real wait does; the build takes longer than the whole wait all the same.
        WaitScale scale(0.4);
        ModalAnswerer answerer;
        answerer.on(QStringLiteral("UpDataParam"), [](QWidget*) {});  // runs its course
        linktest::HubRecorder hub;
        DialogMain window;
        window.show();
        settle();
        std::atomic<bool> built{false};
        LinkHookGuard guard;
        HidSim_SetLinkCallHook(openLinkOnceBuilt, &built);
        QObject releasing;  // ends the release below with this test
        bool slowed = false;
        EventHook slowBuild(qApp, QEvent::ChildAdded, [&](QObject* receiver) {
            // The first page after the button page: the build after the frame's first paint.
            if (slowed || receiver->objectName() != QLatin1String("stackedWidgetDialog") || !window.findChild<Buttoninterface*>())
                return;
            slowed = true;
            QThread::msleep(ProgramWaits::scaled(UpDataParam::StartDelayMs) + 200);
            // Due once the build has returned (a zero wait would come before an overdue timer).
            QTimer::singleShot(1, &releasing, [&built] { built = true; });
        });
        QVERIFY(loadFirstTile(window, hub));
        QVERIFY(slowed);
        QVERIFY(answerer.handled().contains(QStringLiteral("UpDataParam")));
        QVERIFY(!answerer.handled().contains(QStringLiteral("MouseOffLine")));

        auto* sensor = window.findChild<Sensor*>();
        auto* buttons = window.findChild<Buttoninterface*>();
        auto* lighting = window.findChild<LampLight*>();
        QVERIFY(sensor && buttons && lighting);
        QVERIFY(sensor->findChild<QAbstractButton*>(QStringLiteral("Button500HZ"))->isChecked());
        QCOMPARE(buttons->findChild<QComboBox*>(QStringLiteral("Debunce"))->currentIndex(), 8);
        const auto colour = [lighting](const char* name) { return lighting->findChild<QSpinBox*>(QLatin1String(name))->value(); };
        QCOMPARE((QList<int>{colour("RSpinBox"), colour("GSpinBox"), colour("BSpinBox")}), (QList<int>{10, 20, 30}));
        QCOMPARE(lighting->findChild<QComboBox*>(QStringLiteral("StopClose"))->currentIndex(), 3);
        QCOMPARE(HidSim_WriteCount(mouse.mouse), 0);
        if (Worker* worker = Worker::instance())
            worker->wait(5000);
    }

    // The back arrow returns to the tiles and keeps the frame: the next click shows the same
    // frame, pages and Worker, loads the mouse again and a change still reaches it.
    void secondTileClickReusesTheFrame()
    {
        World world;
        const SimScript::Device mouse = SimScript::addCableMouse(1);
        ModalAnswerer answerer;
        linktest::HubRecorder hub;
        DialogMain window;
        window.show();
        settle();
        QVERIFY(loadFirstTile(window, hub));
        Dialog* frame = window.findChild<Dialog*>();
        auto* buttons = window.findChild<Buttoninterface*>();
        Worker* worker = Worker::instance();
        QVERIFY(frame && buttons && worker);
        QCOMPARE(window.frame(), frame);

        QTest::mouseClick(frame->findChild<QToolButton*>(QStringLiteral("UpArrow")), Qt::LeftButton);
        QCOMPARE(window.currentPage(), int(DialogMain::ChoicePage));
        QCOMPARE(window.findChild<Dialog*>(), frame);

        const int starts = SimScript::countCalls(QStringLiteral("UsbServerC_Start(") + QString::fromLatin1(mouse.path));
        QVERIFY(loadFirstTile(window, hub));
        QCOMPARE(window.currentPage(), int(DialogMain::FramePage));
        QCOMPARE(window.findChildren<Dialog*>(), QList<Dialog*>{frame});
        QCOMPARE(window.findChildren<Buttoninterface*>(), QList<Buttoninterface*>{buttons});
        QCOMPARE(Worker::instance(), worker);
        QVERIFY(SimScript::countCalls(QStringLiteral("UsbServerC_Start(") + QString::fromLatin1(mouse.path)) > starts);

        const QByteArray before = SimScript::storedImage(mouse.mouse);
        const uint8_t level = uint8_t(before.at(2)) == 1 ? 2 : 1;
        QVERIFY(SetCurrentDpiLevel(level));
        QByteArray expected = before;
        expected[2] = char(level);
        QCOMPARE(SimScript::storedImage(mouse.mouse), expected);
        worker->wait(5000);
    }

    // A language chosen on the choice page before the first click: the frame that click builds
    // speaks it on every page and shows the chosen model (MID 5: picture 3, no lighting).
    void frameBuiltAfterLanguageChoiceSpeaksIt()
    {
        World world;
        SimScript::addCableMouse(5);
        ModalAnswerer answerer;
        linktest::HubRecorder hub;
        DialogMain window;
        window.show();
        settle();
        QMetaObject::invokeMethod(window.findChild<QComboBox*>(QStringLiteral("comboBox")), "activated", Q_ARG(int, 5));
        QVERIFY(!window.findChild<Dialog*>());

        QVERIFY(loadFirstTile(window, hub));
        auto* buttons = window.findChild<Buttoninterface*>();
        auto* settings = window.findChild<FormSetting*>();
        QVERIFY(buttons && settings);
        QCOMPARE(buttons->findChild<QAbstractButton*>(QStringLiteral("Reset"))->text(), QString::fromUtf8("リセット"));
        QCOMPARE(settings->findChild<QLabel*>(QStringLiteral("label_2"))->text(), QString::fromUtf8("言語"));
        QCOMPARE(settings->findChild<QComboBox*>(QStringLiteral("comboBox"))->currentIndex(), 5);
        QVERIFY(buttons->findChild<QWidget*>(QStringLiteral("widget"))->styleSheet().contains(QStringLiteral("mouse3.png")));
        QVERIFY(!window.findChild<QAbstractButton*>(QStringLiteral("LightsButton"))->isVisible());
        if (Worker* worker = Worker::instance())
            worker->wait(5000);
    }

    // A mouse chosen while asleep and then woken (through the library's control interface, as
    // simctl does): the poll sees it come back, the busy dialog runs, the pages fill with its
    // configuration and a change reaches it.
    void sleepingMouseChosenThenWokenIsLoaded()
    {
        World world;
        const SimScript::Device mouse = SimScript::addReceiverMouse(1, 1, false);
        const QByteArray image = SimScript::makeImage(5);
        QCOMPARE(HidSim_SetImage(mouse.mouse, 0, reinterpret_cast<const uint8_t*>(image.constData())), 0);
        ModalAnswerer answerer;
        PageImages pages;
        linktest::HubRecorder hub;
        DialogMain window;
        window.show();
        settle();
        QCOMPARE(ChoiceDeviceList.size(), 1);
        window.findChild<QToolButton*>(QStringLiteral("btn0"))->click();
        QVERIFY(SimScript::deliverUntil([] { return WaitingForMouse.load() == 1; }));
        QVERIFY(!WorkingImageLoaded());

        const int mark = hub.mark();
        char reply[256] = {};
        QCOMPARE(HidSim_ControlCommand(qPrintable(QStringLiteral("wake %1").arg(mouse.mouse)), reply, sizeof reply), 0);
        // The busy dialog comes with the run the poll asks for once the mouse is back, which a
        // loaded machine can hold back for seconds.
        QVERIFY(SimScript::deliverUntil([&] {
            return WorkingImageLoaded() && answerer.handled().contains(QStringLiteral("UpDataParam")) && hub.loadEndedSince(mark);
        }, 15000));
        QCOMPARE(pages.sensor.left(124), image.left(124));

        const uint8_t rate = image.at(0) == 0x02 ? 0x04 : 0x02;
        QVERIFY(SetReportRate(rate));
        const QByteArray written = SimScript::lastWrittenImage(mouse.mouse);
        QCOMPARE(uint8_t(written.at(0)), rate);
        QCOMPARE(written.mid(1, 123), image.mid(1, 123));
        if (Worker* worker = Worker::instance())
            worker->wait(5000);
    }

    // In the frame, Space runs the pairing dialog and re-opens the link on the same mouse: the
    // mouse's configuration is still the one loaded, so the next change reaches it.
    void changeAfterSpacePairingInTheFrameArrives()
    {
        World world;
        const SimScript::Device mouse = SimScript::addReceiverMouse(1, 1);
        ModalAnswerer answerer;
        answerer.on(QStringLiteral("Match"), ModalAnswerer::clickButton(QStringLiteral("CloseButton")));
        linktest::HubRecorder hub;
        DialogMain window;
        window.show();
        settle();
        QVERIFY(loadFirstTile(window, hub));
        QVERIFY(WorkingImageLoaded());
        const int starts = SimScript::countCalls(QStringLiteral("UsbServerC_Start("));

        pressSpace(&window);
        QVERIFY(answerer.handled().contains(QStringLiteral("Match")));
        QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start(")), starts + 1);
        const uint8_t level = 3;
        QVERIFY(SetCurrentDpiLevel(level));
        QCOMPARE(uint8_t(SimScript::lastWrittenImage(mouse.mouse).at(2)), level);
        if (Worker* worker = Worker::instance())
            worker->wait(5000);
    }

    // An 8 kHz receiver is a receiver in the frame too: a plug event there keeps the receiver
    // version that the tile click reported, and the device stays a receiver.
    void eightKilohertzReceiverKeepsItsVersionOnPlugEvents()
    {
        World world;
        SimScript::addReceiverMouse(1, 5);
        ModalAnswerer answerer;
        linktest::HubRecorder hub;
        DialogMain window;
        window.show();
        settle();
        QCOMPARE(ChoiceDeviceList.size(), 1);

        QList<QStringList> labelTexts;
        const auto link = connect(PostMsg::instance(), &PostMsg::SigLabelTextB, this,
                                  [&](QString a, QString b) { labelTexts << QStringList{a, b}; });
        QVERIFY(loadFirstTile(window, hub));
        QCOMPARE(labelTexts.size(), 1);
        const QString version = labelTexts.first().first();
        QVERIFY(!version.isEmpty());

        // Something else is plugged in while the frame is shown.
        SimScript::addCableMouse(2, false);
        settle();
        QVERIFY(SimScript::countCalls(QStringLiteral("UsbFinderC_GetDeviceInfo")) > 0);
        disconnect(link);
        QCOMPARE(labelTexts.size(), 1);  // not wiped by an empty version
        QCOMPARE(int(CurrentDeviceRecord().cableFlag), 0);
        QCOMPARE(window.currentPage(), int(DialogMain::FramePage));
        if (Worker* worker = Worker::instance())
            worker->wait(5000);
    }

    void spaceOnChoicePagePairsLoneReceiver()
    {
        World world;
        SimScript::addInterface(SimScript::Receiver1kPid, 0, -1);
        ModalAnswerer answerer;
        DialogMain window;
        window.show();
        settle();
        QCOMPARE(ChoiceDeviceList.size(), 1);
        PairChosenDevice = 1;
        HidSim_ClearCallLog();
        pressSpace(&window);
        QCOMPARE(answerer.handled(), QStringList{QStringLiteral("Match")});
        QCOMPARE(int(PairChosenDevice), 0);
        // No device was chosen yet: there is no link to reopen.
        QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start(")), 0);

        // After a device was chosen once, its link is opened again.
        const QByteArray chosen = ChoiceDeviceList.first().path.toLocal8Bit();
        SetCurrentDevicePath(chosen);
        pressSpace(&window);
        QCOMPARE(answerer.count(), 2);
        QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start(")), 1);
        QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start(") + QString::fromLocal8Bit(chosen)), 1);
    }

    // Space on the choice page with one receiver listed: a receiver without firmware of its own
    // (a kind other than 0, 1 and 4, or an empty "D2M"/"D4M") takes the mouse check's result;
    // a newer receiver image offers the repair, which starts when accepted.
    void spaceRunsReceiverChecks_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("emptyReceiverModel");
        QTest::addColumn<bool>("mouseNewer");
        QTest::addColumn<bool>("receiverNewer");
        QTest::addColumn<bool>("acceptRepair");
        QTest::addColumn<QStringList>("dialogs");
        const QStringList pairing{QStringLiteral("Match")};
        QTest::newRow("8 kHz receiver, mouse newer") << 5 << false << true << false << false << pairing;
        QTest::newRow("8 kHz receiver, receiver images newer") << 5 << false << false << true << false << pairing;
        QTest::newRow("empty D2M, mouse newer") << 4 << true << true << false << false << pairing;
        QTest::newRow("empty D4M, receiver images newer") << 1 << true << false << true << false << pairing;
        QTest::newRow("listed D2M, mouse newer") << 4 << false << true << false << false
                                                 << QStringList{QStringLiteral("UpDateWarning")};
        QTest::newRow("receiver newer, repair accepted")
            << 0 << false << false << true << true << QStringList{QStringLiteral("ContainReset"), QStringLiteral("UpDateRepair")};
        QTest::newRow("receiver newer, repair declined")
            << 0 << false << false << true << false << QStringList{QStringLiteral("ContainReset")};
    }
    void spaceRunsReceiverChecks()
    {
        QFETCH(int, kind);
        QFETCH(bool, emptyReceiverModel);
        QFETCH(bool, mouseNewer);
        QFETCH(bool, receiverNewer);
        QFETCH(bool, acceptRepair);
        QFETCH(QStringList, dialogs);
        World world;
        choicetest::writeCatalogue(world.env, 1, {1}, emptyReceiverModel && kind == 4, emptyReceiverModel && kind == 1);
        // One receiver of `kind` with its mouse; the product id only lets the scan find it.
        HidSimMouseSetup mouse{};
        mouse.cid = 10;
        mouse.mid = 1;
        mouse.version = 0x0105;
        mouse.awake = 1;
        HidSimInterfaceSetup receiver{};
        receiver.vid = "0x3554";
        receiver.pid = "0xF501";
        receiver.kind = kind;
        receiver.version = 0x0102;
        receiver.mouseId = HidSim_AddMouse(&mouse);
        HidSim_AddInterface(&receiver);
        Registry::setValue(QString::fromLatin1(MouseVersionRegistryKey), QStringLiteral("MouseVer101"), QStringLiteral("v1.0"));
        world.env.writeProgramFile(QStringLiteral("bin/readme.txt"), "firmware images");
        if (mouseNewer)
            world.env.writeProgramFile(QStringLiteral("bin/mouse.bin"), SimScript::makeFirmware(0x0101, 210, 10, 1, "MM0"));
        if (receiverNewer) {
            for (const char* model : {"DM0", "D2M0", "D4M0"})
                world.env.writeProgramFile(QStringLiteral("bin/%1.bin").arg(QLatin1String(model)),
                                           SimScript::makeFirmware(0x0103, 211, 10, 1, model));
        }

        ModalAnswerer answerer;
        answerer.on(QStringLiteral("ContainReset"), ModalAnswerer::clickButton(acceptRepair ? QStringLiteral("OK")
                                                                                             : QStringLiteral("Cancel")));
        int repairIndex = -2;
        int repairImages = -1;
        answerer.on(QStringLiteral("UpDateRepair"), [&](QWidget* w) {
            auto* repair = qobject_cast<UpDateRepair*>(w);
            QVERIFY(repair);
            repairIndex = repair->RepairIndex();
            repairImages = repair->RepairImages().size();
            // A repair under way refuses to close: the user, like this answer, closes it once
            // it shows its outcome.
            ModalAnswerer::answerWhen(
                w, [](QWidget* d) { return d->findChild<QToolButton*>(QStringLiteral("NewHong"))->isVisibleTo(d); },
                [](QWidget* d, bool) { ModalAnswerer::clickButton(QStringLiteral("CloseButton"))(d); });
        });
        DialogMain window;
        window.show();
        settle();
        QCOMPARE(ChoiceDeviceList.size(), 1);
        QCOMPARE(int(ChoiceDeviceList.first().kind), kind);
        QCOMPARE(int(ChoiceDeviceList.first().cableFlag), 0);
        QCOMPARE(ChoiceDeviceList.first().modelIndex, 0);

        pressSpace(&window);
        QCOMPARE(answerer.handled(), dialogs);
        if (dialogs.contains(QStringLiteral("UpDateRepair"))) {
            QCOMPARE(repairIndex, 0);   // started as a repair
            QCOMPARE(repairImages, 1);  // with the image the receiver check chose
        }
    }

    void spaceWithTwoDevicesDoesNothing()
    {
        World world;
        SimScript::addInterface(SimScript::Receiver1kPid, 0, -1);
        SimScript::addCableMouse(2);
        ModalAnswerer answerer;
        DialogMain window;
        window.show();
        settle();
        QCOMPARE(ChoiceDeviceList.size(), 2);
        HidSim_ClearCallLog();
        pressSpace(&window);
        QCoreApplication::processEvents();
        QCOMPARE(answerer.count(), 0);
        QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServerC_Start(")), 0);
    }

    // Space on the choice page offers the update warning when only the mouse has newer firmware.
    void spaceOffersMouseUpdateWarning()
    {
        World world;
        SimScript::addReceiverMouse(1, 0);
        Registry::setValue(QString::fromLatin1(MouseVersionRegistryKey),
                           QStringLiteral("MouseVer") + UserConfig::instance()->value(QStringLiteral("Option"), QStringLiteral("CID"))
                               + UserConfig::instance()->value(QStringLiteral("Drive1"), QStringLiteral("MID")),
                           QStringLiteral("v1.0"));
        const QByteArray model = UserConfig::instance()->value(QStringLiteral("Drive1"), QStringLiteral("MM")).toUtf8();
        world.env.writeProgramFile(QStringLiteral("bin/mouse.bin"), SimScript::makeFirmware(0x0201, 210, 10, 1, model));
        QStringList shown;
        ModalAnswerer answerer;
        answerer.on(QStringLiteral("UpDateWarning"), [&](QWidget* w) {
            shown << w->findChild<QLabel*>(QStringLiteral("label"))->text();
            ModalAnswerer::reject()(w);
        });
        DialogMain window;
        window.show();
        settle();
        QCOMPARE(ChoiceDeviceList.size(), 1);
        pressSpace(&window);
        // In the language of the box, before and after the user picks another one.
        QMetaObject::invokeMethod(window.findChild<QComboBox*>(QStringLiteral("comboBox")), "activated", Q_ARG(int, 5));
        pressSpace(&window);
        QCOMPARE(answerer.handled(), (QStringList{QStringLiteral("UpDateWarning"), QStringLiteral("UpDateWarning")}));
        QCOMPARE(shown, (QStringList{QStringLiteral("Connect the mouse cable to update."),
                                     QString::fromUtf8("ケーブルでマウスを接続してください。")}));
        // The text came without the settings page: the frame was never built.
        QVERIFY(!window.findChild<Dialog*>());
    }
};

QTEST_MAIN(TestDeviceSelection)
#include "tst_device_selection.moc"
