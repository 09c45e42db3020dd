// The configuration frame: page buttons, back arrow, close and minimise, battery display,
// model-specific buttons and the busy dialog it runs for the device side.
#include "ShellTestSupport.h"

#include "common/ProgramWaits.h"
#include "device/CurrentDevice.h"
#include "device/DataCallback.h"
#include "device/DeviceCache.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"
#include "pages/lighting/LampLight.h"
#include "pages/sensor/Sensor.h"
#include "shell/Dialog.h"
#include "widgets/BackgroundPicture.h"
#include "shell/UpDataParam.h"
#include "support/EventHook.h"
#include "support/HidSimScript.h"
#include "support/ModalAnswerer.h"

#include "HIDUsbControl.h"

#include <QColor>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QStackedWidget>
#include <QThread>
#include <QToolButton>
#include <QtTest>

#include <memory>
#include <atomic>
#include <thread>

using namespace shelltest;

class ConfigFrameTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void buildsPagesAndButtons();
    void pagesNotYetBuiltGetTheFirstSignalForThem();
    void signalWhileThePagesAreBuiltWaitsForThem();
    void pageButtonsSwitchPages();
    void backArrowStopsDeviceThenShowsChoicePage();
    void backArrowWithoutLoadedImageKeepsCache();
    void closeWritesCacheMinimiseDoesNot();
    void batteryDisplay_data();
    void batteryDisplay();
    void batteryTextFollowsCatalogue_data();
    void batteryTextFollowsCatalogue();
    void modelWithoutLightingMovesSettingsButton();
    void recordingDisablesPageButtonsOnly();
    void busyDialogRunsOnceAndWaitModeFollowsEachLoad();
    void waitModeHoldKeepsTheWindowPainting();
    void loadStartedFromOfflineNoticeRunsAfterBusyDialog();
    void settingsButtonOpensVersionDialog();

private:
    QToolButton* button(const char* name) const { return m_frame->findChild<QToolButton*>(QLatin1String(name)); }
    QStackedWidget* pages() const
    {
        return m_frame->findChild<QStackedWidget*>(QStringLiteral("stackedWidgetDialog"));
    }
    void openLinkWithLoadedImage(const FlashDataMap& image);

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<Dialog> m_frame;
    SimScript::Device m_mouse;
};

void ConfigFrameTest::init()
{
    m_env = std::make_unique<TestEnv>();
    prepare(*m_env, QString::fromLatin1(QTest::currentDataTag()) == QLatin1String("without percent") ? 0 : 1);
    m_mouse = SimScript::addCableMouse(1);
    DeviceAllInfo record;
    record.online = 1;
    record.cableFlag = 1;
    makeCurrent(m_mouse.path, record);
    LoadFinished = 0;
    MouseOnline = 0;
    m_frame = std::make_unique<Dialog>();
    m_frame->show();
    HidSim_ClearCallLog();
}

void ConfigFrameTest::cleanup()
{
    m_frame.reset();
    UsbServer_Exit();
    ClearWorkingImage();
    ResetCurrentDevice();
    m_env.reset();
}

void ConfigFrameTest::openLinkWithLoadedImage(const FlashDataMap& image)
{
    UsbServerC_Start(m_mouse.path.constData(), m_mouse.path.constData(), SimScript::DataRecorder::callback());
    UsbServer_SetPCDriverStatus(1);
    SetWorkingImage(image);
    SetWorkingImageLoaded(true);
    SetLoadedCacheName(DeviceCacheFileName(10, 1));
    HidSim_ClearCallLog();
}

void ConfigFrameTest::buildsPagesAndButtons()
{
    // The button page comes with the frame, the other four after its first paint.
    QTRY_COMPARE(pages()->count(), 5);
    const QStringList order{"Buttoninterface", "Sensor", "Macro", "LampLight", "FormSetting"};
    for (int i = 0; i < order.size(); ++i)
        QCOMPARE(QString::fromLatin1(pages()->widget(i)->metaObject()->className()), order.at(i));
    QCOMPARE(pages()->currentIndex(), 0);
    QVERIFY(button("ButtonMain")->isChecked());
    QVERIFY(button("SetButton")->isHidden());
    QVERIFY(m_frame->findChild<QLabel*>(QStringLiteral("label"))->isHidden());
    QVERIFY(m_frame->findChild<QLabel*>(QStringLiteral("label_2"))->isHidden());
    QCOMPARE(m_frame->size(), QSize(1020, 700));
}

// A frame not painted yet has only its button page; a signal for another page, here the
// mouse's lighting from a device thread, has the pages built first and reaches its page.
void ConfigFrameTest::pagesNotYetBuiltGetTheFirstSignalForThem()
{
    m_frame.reset();
    PostMsg::instance()->SendMouseIndex(2);
    Dialog frame;
    auto* stack = frame.findChild<QStackedWidget*>(QStringLiteral("stackedWidgetDialog"));
    QCOMPARE(stack->count(), 1);
    QVERIFY(!frame.findChild<LampLight*>());

    FlashDataMap image = makeImage(31);
    image.lightOn = 1;
    image.lightEffect = 1;
    image.lightRed = 12;
    image.lightGreen = 34;
    image.lightBlue = 56;
    std::atomic<bool> delivered{false};
    std::thread device([&image, &delivered] {
        PostMsg::instance()->SendUpDataLightLight(image);
        delivered = true;
    });
    QTRY_VERIFY(delivered.load());
    device.join();
    QCOMPARE(stack->count(), 5);
    auto* lighting = frame.findChild<LampLight*>();
    QCOMPARE(lighting->findChild<QSpinBox*>(QStringLiteral("RSpinBox"))->value(), 12);
    QCOMPARE(lighting->findChild<QSpinBox*>(QStringLiteral("GSpinBox"))->value(), 34);
    QCOMPARE(lighting->findChild<QSpinBox*>(QStringLiteral("BSpinBox"))->value(), 56);
    // Built after the mouse was chosen, the sensor page shows that model's effect panel.
    QVERIFY(!frame.findChild<Sensor*>()->findChild<QWidget*>(QStringLiteral("frameEffect"))->isHidden());
}

// A device thread that emits while the frame is building its pages (here just as the first
// of them, the lighting page, is being made, before it has connected) waits for the build, and
// its signal reaches the page.
void ConfigFrameTest::signalWhileThePagesAreBuiltWaitsForThem()
{
    m_frame.reset();
    Dialog frame;
    auto* stack = frame.findChild<QStackedWidget*>(QStringLiteral("stackedWidgetDialog"));
    FlashDataMap image = makeImage(31);
    image.lightOn = 1;
    image.lightEffect = 1;
    image.lightRed = 98;
    std::atomic<bool> delivered{false};
    std::thread device;
    EventHook hook(stack, QEvent::ChildAdded, [&](QObject*) {
        if (device.joinable())
            return;
        device = std::thread([&image, &delivered] {
            PostMsg::instance()->SendUpDataLightLight(image);
            delivered = true;
        });
        // Time for the device thread to emit while the page is still being made.
        QThread::msleep(100);
    });
    frame.show();
    QTRY_VERIFY(delivered.load());
    device.join();
    QCOMPARE(stack->count(), 5);
    QCOMPARE(frame.findChild<LampLight*>()->findChild<QSpinBox*>(QStringLiteral("RSpinBox"))->value(), 98);
}

void ConfigFrameTest::pageButtonsSwitchPages()
{
    ShellSignals hub;
    const QList<QPair<const char*, int>> buttons{
        {"SensorButton", 1}, {"MacroButton", 2}, {"LightsButton", 3}, {"FormSetting", 4}, {"ButtonMain", 0}};
    for (const auto& b : buttons) {
        QTest::mouseClick(button(b.first), Qt::LeftButton);
        QCOMPARE(pages()->currentIndex(), b.second);
        QVERIFY(button(b.first)->isChecked());
    }
    QVERIFY(!button("SensorButton")->isChecked());
    QCOMPARE(hub.events, QStringList{"AddMacroButton"});

    // Escape and F12 stay in the frame.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(m_frame.get(), &escape);
    QVERIFY(m_frame->isVisible());
}

void ConfigFrameTest::backArrowStopsDeviceThenShowsChoicePage()
{
    const FlashDataMap image = makeImage(31);
    openLinkWithLoadedImage(image);
    QTest::mouseClick(button("SensorButton"), Qt::LeftButton);
    const QString cacheFile = DeviceCacheFolder() + DeviceCacheFileName(10, 1);

    // Looks in during the frame's short wait: the driver status is off and the cache is
    // written, but the link is still open. A zero timer runs on the wait's first turn of the
    // event loop, however short the scaled wait is.
    bool lookedIn = false;
    QTimer::singleShot(0, this, [&] {
        lookedIn = true;
        QCOMPARE(HidSim_PCDriverStatus(), 0);
        QVERIFY(QFileInfo::exists(cacheFile));
        QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServer_Exit")), 0);
    });
    ShellSignals hub;
    QTest::mouseClick(m_frame->findChild<QToolButton*>(QStringLiteral("UpArrow")), Qt::LeftButton);

    QVERIFY(lookedIn);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServer_Exit")), 1);
    QCOMPARE(hub.events, (QStringList{"ChangeMainDialog(0)", "SetMacroPage"}));
    QCOMPARE(pages()->currentIndex(), 0);
    QVERIFY(button("ButtonMain")->isChecked());
    FlashDataMap cached{};
    QVERIFY(ReadDeviceInfoFile(DeviceCacheFileName(10, 1), &cached));
    QCOMPARE(imageBytes(cached), imageBytes(image));
}

void ConfigFrameTest::backArrowWithoutLoadedImageKeepsCache()
{
    // A cached image from an earlier session, and no configuration loaded this time.
    const FlashDataMap earlier = makeImage(5);
    QVERIFY(WriteDeviceInfoFile(DeviceCacheFileName(10, 1), earlier));
    SetLoadedCacheName(DeviceCacheFileName(10, 1));
    ClearWorkingImage();

    QTest::mouseClick(m_frame->findChild<QToolButton*>(QStringLiteral("UpArrow")), Qt::LeftButton);
    FlashDataMap cached{};
    QVERIFY(ReadDeviceInfoFile(DeviceCacheFileName(10, 1), &cached));
    QCOMPARE(imageBytes(cached), imageBytes(earlier));
}

void ConfigFrameTest::closeWritesCacheMinimiseDoesNot()
{
    openLinkWithLoadedImage(makeImage(8));
    const QString cacheFile = DeviceCacheFolder() + DeviceCacheFileName(10, 1);
    ShellSignals hub;

    QTest::mouseClick(button("MinButton"), Qt::LeftButton);
    QCOMPARE(hub.events, QStringList{"ChangeSize(0)"});
    QVERIFY(!QFileInfo::exists(cacheFile));

    QTest::mouseClick(button("CloseButton"), Qt::LeftButton);
    QCOMPARE(hub.events, (QStringList{"ChangeSize(0)", "ChangeSize(1)"}));
    QVERIFY(QFileInfo::exists(cacheFile));
    // The frame leaves the driver status to the top-level window.
    QCOMPARE(HidSim_PCDriverStatus(), 1);
}

void ConfigFrameTest::batteryDisplay_data()
{
    QTest::addColumn<bool>("charging");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("withPercent");
    QTest::addColumn<QColor>("fill");
    QTest::addColumn<QString>("text");
    const QColor low(152, 43, 34);
    const QColor fine(0, 255, 153);
    QTest::newRow("15 % is low") << false << 15 << true << low << "15%";
    QTest::newRow("16 % is fine") << true << 16 << true << fine << "16%";
    QTest::newRow("empty while charging") << true << 0 << false << low << "0";
    QTest::newRow("full") << false << 100 << false << fine << "100";
}

void ConfigFrameTest::batteryDisplay()
{
    QFETCH(bool, charging);
    QFETCH(int, level);
    QFETCH(bool, withPercent);
    QFETCH(QColor, fill);
    QFETCH(QString, text);
    // From the other fill, so that the report has to change it.
    m_frame->SlotBattery(false, level < 16 ? 90 : 5, true);
    m_frame->SlotBattery(charging, level, withPercent);
    auto* bar = m_frame->findChild<QProgressBar*>(QStringLiteral("progressBar"));
    QCOMPARE(bar->value(), level);
    // The bar as drawn: its chunk's left end has the fill of the level.
    const QImage drawn = bar->grab().toImage();
    if (level > 0)
        QCOMPARE(drawn.pixelColor(1, drawn.height() / 2), fill);
    QCOMPARE(!m_frame->findChild<QLabel*>(QStringLiteral("label"))->isHidden(), charging);
    QCOMPARE(m_frame->findChild<QLabel*>(QStringLiteral("label_2"))->text(), text);
}

void ConfigFrameTest::batteryTextFollowsCatalogue_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("with percent") << "57%";
    QTest::newRow("without percent") << "57";
}

void ConfigFrameTest::batteryTextFollowsCatalogue()
{
    // The mouse reports its battery on the library's data thread; the frame shows it.
    QFETCH(QString, text);
    UsbServerC_Start(m_mouse.path.constData(), m_mouse.path.constData(), OnUsbData);
    SimScript::deliver();
    const uint8_t battery[4] = {57, 1, 0, 0};
    QCOMPARE(HidSim_Inject(4, 0, 0, battery, 4), 0);
    QVERIFY(SimScript::deliver());
    QTRY_COMPARE(m_frame->findChild<QLabel*>(QStringLiteral("label_2"))->text(), text);
    QVERIFY(!m_frame->findChild<QLabel*>(QStringLiteral("label"))->isHidden());
    QCOMPARE(m_frame->findChild<QProgressBar*>(QStringLiteral("progressBar"))->value(), 57);
}

void ConfigFrameTest::modelWithoutLightingMovesSettingsButton()
{
    PostMsg::instance()->SendMouseIndex(8);
    QVERIFY(button("LightsButton")->isHidden());
    QCOMPARE(button("FormSetting")->pos(), QPoint(480, 60));
    QVERIFY(m_frame->findChild<BackgroundPicture*>(QStringLiteral("FrameBackground"))->picture().endsWith(QStringLiteral("/BackGround2.png")));

    PostMsg::instance()->SendMouseIndex(0);
    QVERIFY(!button("LightsButton")->isHidden());
    QCOMPARE(button("FormSetting")->pos(), QPoint(557, 60));
    QVERIFY(m_frame->findChild<BackgroundPicture*>(QStringLiteral("FrameBackground"))->picture().endsWith(QStringLiteral("/BackGround.png")));
}

void ConfigFrameTest::recordingDisablesPageButtonsOnly()
{
    const QStringList pageButtons{"ButtonMain", "SensorButton", "MacroButton", "LightsButton", "FormSetting"};
    PostMsg::instance()->SendStartRecord(0);
    for (const QString& name : pageButtons)
        QVERIFY(!button(qPrintable(name))->isEnabled());
    for (const char* name : {"UpArrow", "MinButton", "CloseButton"})
        QVERIFY(m_frame->findChild<QToolButton*>(QLatin1String(name))->isEnabled());
    PostMsg::instance()->SendStartRecord(7);
    QVERIFY(!button("SensorButton")->isEnabled());
    PostMsg::instance()->SendStartRecord(1);
    for (const QString& name : pageButtons)
        QVERIFY(button(qPrintable(name))->isEnabled());
}

void ConfigFrameTest::busyDialogRunsOnceAndWaitModeFollowsEachLoad()
{
    ShellSignals hub;
    LoadFinished = 1;
    MouseOnline = 0;
    LightPageReady = SensorPageReady = ButtonPageReady = 1;
    UpDataParam* busy = m_frame->busyDialog();
    // Each run of the busy dialog: its wait mode and whether an earlier run was still open.
    QList<int> modes;
    bool nested = false;
    int openRuns = 0;
    QObject watching;  // ends the connections below with this test, also when it fails
    connect(busy, &QDialog::finished, &watching, [&] { --openRuns; });
    connect(PostMsg::instance(), &PostMsg::SigSetver, &watching, [&](int v) {
        if (v != 4)
            return;
        modes << busy->WaitMode;
        nested = nested || openRuns > 0;
        ++openRuns;
    });
    bool secondWhileRunning = false;
    // Well inside the first run's start delay.
    QTimer::singleShot(ProgramWaits::scaled(1000), &watching, [&] {
        secondWhileRunning = busy->isVisible();
        PostMsg::instance()->SendUpDataParam(0);
    });
    // A change reported by the mouse: wait mode. The normal load reported meanwhile runs
    // after it, not inside it, and not in wait mode.
    PostMsg::instance()->SendUpDataParam(1);
    QVERIFY(secondWhileRunning);
    QCOMPARE(modes, (QList<int>{1, 0}));
    QVERIFY(!nested);
    QCOMPARE(hub.count(QStringLiteral("Setver(4)")), 2);
    QCOMPARE(busy->WaitMode, uint8_t(0));
    QCOMPARE(int(ButtonPageReady), 0);  // the finished load clears the flags; wait mode left them
    const QPoint corner = m_frame->mapToGlobal(QPoint(0, 0));
    QCOMPARE(busy->pos(), QPoint(corner.x() + (1020 - busy->width()) / 2, corner.y() + (700 - busy->height()) / 2 - 20));
    QVERIFY(!busy->isVisible());
}

// After a change the mouse reported, the busy dialog holds a moment; the window goes on
// handling its events meanwhile instead of freezing for the whole hold (a sleep saw none).
void ConfigFrameTest::waitModeHoldKeepsTheWindowPainting()
{
    // The pages built after the first paint are no part of the hold.
    QTRY_COMPARE(pages()->count(), 5);
    // The start delay at the suite's scale; once the run begins, the hold a second long.
    const double suiteScale = ProgramWaits::waitScale();
    bool holding = false;
    QObject watching;  // ends the connection with this test
    connect(PostMsg::instance(), &PostMsg::SigSetver, &watching, [&holding](int v) {
        if (v != 4)
            return;
        ProgramWaits::setWaitScale(0.5);
        holding = true;
    });
    LoadFinished = 1;
    MouseOnline = 0;
    LightPageReady = SensorPageReady = ButtonPageReady = 1;
    UpDataParam* busy = m_frame->busyDialog();
    int ticksInHold = 0;
    QTimer ticks;
    ticks.setInterval(20);
    connect(&ticks, &QTimer::timeout, [&] {
        if (holding && busy->isVisible())
            ++ticksInHold;
    });
    ticks.start();
    PostMsg::instance()->SendUpDataParam(1);
    ProgramWaits::setWaitScale(suiteScale);
    QVERIFY(holding);
    QVERIFY(!busy->isVisible());
    // Fifty at best; a window that slept through the hold saw none.
    QVERIFY2(ticksInHold >= 2, qPrintable(QStringLiteral("%1 timer events in the hold").arg(ticksInHold)));
}

void ConfigFrameTest::loadStartedFromOfflineNoticeRunsAfterBusyDialog()
{
    // A load that did not finish opens the offline notice while the busy run is still on the
    // stack; the mouse wakes, the notice closes and the Worker reports the next load (twice
    // here: the latest, a change of the mouse, wins).
    ShellSignals hub;
    LoadFinished = 0;
    MouseOnline = 0;
    UpDataParam* busy = m_frame->busyDialog();
    bool noticeOpen = false;
    QList<QPair<int, bool>> runs;  // wait mode and whether the notice was open, per run
    auto watching = std::make_unique<QObject>();  // owns the connections below
    connect(PostMsg::instance(), &PostMsg::SigSetver, watching.get(), [&](int v) {
        if (v == 4)
            runs << qMakePair(int(busy->WaitMode), noticeOpen);
    });
    int notices = 0;
    connect(PostMsg::instance(), &PostMsg::SigMouseOffLineo, watching.get(), [&] {
        if (++notices > 1)
            return;
        noticeOpen = true;
        QEventLoop notice;
        QTimer::singleShot(50, &notice, [&] {
            PostMsg::instance()->SendUpDataParam(0);
            PostMsg::instance()->SendUpDataParam(1);
            notice.quit();
        });
        notice.exec();
        noticeOpen = false;
    });
    LightPageReady = SensorPageReady = ButtonPageReady = 1;
    PostMsg::instance()->SendUpDataParam(0);
    watching.reset();

    QCOMPARE(runs.size(), 2);
    QCOMPARE(runs.at(0), qMakePair(0, false));
    QCOMPARE(runs.at(1), qMakePair(1, false));  // after the notice, in wait mode
    QCOMPARE(hub.count(QStringLiteral("Setver(4)")), 2);
    QVERIFY(!busy->isVisible());

    // The next load runs normally again.
    LoadFinished = 1;
    PostMsg::instance()->SendUpDataParam(0);
    QCOMPARE(hub.count(QStringLiteral("Setver(4)")), 3);
    QCOMPARE(busy->WaitMode, uint8_t(0));
}

void ConfigFrameTest::settingsButtonOpensVersionDialog()
{
    UpdateCurrentDeviceRecord([](DeviceAllInfo& r) {
        r.cableFlag = 0;
        r.firmwareVersion = QStringLiteral("v2.1");
        r.mouseVersion = QStringLiteral("v1.5");
    });
    ModalAnswerer answerer;
    QStringList versions;
    QPoint shownAt;
    answerer.on(QStringLiteral("LanSetting"), [&](QWidget* modal) {
        versions << modal->findChild<QLabel*>(QStringLiteral("label_2"))->text()
                 << modal->findChild<QLabel*>(QStringLiteral("label_5"))->text();
        shownAt = modal->pos();
        ModalAnswerer::reject()(modal);
    });
    m_frame->on_SetButton_clicked();
    QVERIFY(answerer.waitForNext());
    QCOMPARE(answerer.handled(), QStringList{"LanSetting"});
    QCOMPARE(versions, (QStringList{"v2.1", "v1.5"}));
    QCOMPARE(shownAt, m_frame->mapToGlobal(QPoint(0, 0)) + QPoint(240, 220));
}

QTEST_MAIN(ConfigFrameTest)
#include "tst_config_frame.moc"
