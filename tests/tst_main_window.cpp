// The top-level window: its two pages, the hot-plug watch, the tray, quitting, the offline
// notice, the keys and the installer's language choice.
#include "ShellTestSupport.h"

#include "device/CurrentDevice.h"
#include "device/DataCallback.h"
#include "device/DeviceRecords.h"
#include "device/MacroFiles.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "device/WorkingImage.h"
#include "widgets/BackgroundPicture.h"
#include "shell/Dialog.h"
#include "shell/DialogChange.h"
#include "shell/DialogMain.h"
#include "support/HidSimScript.h"
#include "support/KeySender.h"
#include "support/ModalAnswerer.h"
#include "support/Wait.h"
#include "support/WindowClick.h"

#include "HIDUsbControl.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QListWidget>
#include <QStackedWidget>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <memory>

using namespace shelltest;

namespace {

// The window as it behaves where the desktop has a tray, and with the process end recorded
// instead of carried out.
class TrayWindow : public DialogMain {
public:
    bool tray = true;
    QList<int> endedWith;

protected:
    bool hasSystemTray() const override { return tray; }
    void endProcess(int status) override { endedWith << status; }
};

// A library whose UsbServer_Exit waits for its data thread, whose callback is passing a
// battery answer to the frame at that moment.
struct ExitJoinsDataThread {
    std::atomic<bool> entered{false};
    std::atomic<bool> returned{false};
};
ExitJoinsDataThread exitJoin;

void countedCallback(uint8_t* header, int headerLength, uint8_t* data, uint32_t dataLength)
{
    exitJoin.entered = true;
    OnUsbData(header, headerLength, data, dataLength);
    exitJoin.returned = true;
}

// Long beside a quit that returns quickly, even on a loaded machine.
constexpr int ExitJoinGiveUpMs = 10000;

void waitForDataThreadOnExit(const char* name, void*)
{
    if (std::strcmp(name, "UsbServer_Exit") != 0)
        return;
    const uint8_t battery[4] = {50, 1, 0, 0};
    HidSim_Inject(4, 0, 0, battery, 4);
    QElapsedTimer clock;
    clock.start();
    while (!exitJoin.returned && clock.elapsed() < ExitJoinGiveUpMs)
        QThread::msleep(2);
}

struct LinkHookGuard {
    ~LinkHookGuard() { HidSim_SetLinkCallHook(nullptr, nullptr); }
};

void pressKey(QWidget* w, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    // What the key started runs once its handler has returned.
    QVERIFY(runQueuedWork());
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void buildsTwoPageStack();
    void takesOverInstallerLanguage_data();
    void takesOverInstallerLanguage();
    void hotPlugWatchFollowsPageShown();
    void frameBackgroundWaitsForTheFrame();
    void sizeRequestsSetDriverStatus_data();
    void sizeRequestsSetDriverStatus();
    void hidesToTrayAndBack();
    void trayMenuOpensOnceAfterRepeatedHiding();
    void minimisesWhereThereIsNoTray();
    void exitActionEndsAtOnce();
    void quitWhileADeliveryWaitsReturnsQuickly();
    void offlineNoticeClosesWhenMouseWakes();
    void keys();
    void spaceOnFramePairsThenReopensLink();
    void spaceReachesTheWindowPastFocusedControls_data();
    void spaceReachesTheWindowPastFocusedControls();

private:
    void makeWindow();
    // The window showing the frame, a mouse behind a receiver the current device.
    bool showFrameOfReceiverMouse();
    // The window on the choice page, `mouse` the current device (online).
    void windowWithCurrentMouse(const SimScript::Device& mouse, DeviceAllInfo record);
    // The window on the choice page, a cable mouse the current device.
    void windowWithCurrentCableMouse();
    int setverCount() const { return m_hub ? m_hub->count(QStringLiteral("Setver(4)")) : 0; }

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<ShellSignals> m_hub;
    std::unique_ptr<TrayWindow> m_window;
    SimScript::Device m_mouse;
};

void MainWindowTest::init()
{
    m_env = std::make_unique<TestEnv>();
    prepare(*m_env);
    MainPageActive = 0;
    WriteEnabled = 0;
    MacroRecording = 0;
    NoBusyDialog = 1;  // no busy dialog from the Worker's runs in these tests
    FirmwareIdle = 1;
}

void MainWindowTest::makeWindow()
{
    m_hub = std::make_unique<ShellSignals>();
    m_window = std::make_unique<TrayWindow>();
    m_window->show();
    SimScript::deliver();
    HidSim_ClearCallLog();
}

bool MainWindowTest::showFrameOfReceiverMouse()
{
    DeviceAllInfo record;
    record.kind = 1;
    windowWithCurrentMouse(SimScript::addReceiverMouse(1), record);
    PostMsg::instance()->SendChangeMainDialog(1);
    return SimScript::deliver();
}

void MainWindowTest::cleanup()
{
    m_window.reset();
    m_hub.reset();
    UsbServer_Exit();
    ChoiceDeviceList.clear();
    ResetCurrentDevice();
    clearShellFlags();
    m_env.reset();
}

void MainWindowTest::buildsTwoPageStack()
{
    makeWindow();
    auto* stack = m_window->findChild<QStackedWidget*>(QStringLiteral("stackedWidgetMain"));
    // The frame comes when first needed, as the second page, and stays.
    QCOMPARE(stack->count(), 1);
    QVERIFY(qobject_cast<DialogChange*>(stack->widget(0)));
    QVERIFY(!m_window->findChild<Dialog*>());
    Dialog* frame = m_window->frame();
    QCOMPARE(stack->count(), 2);
    QCOMPARE(stack->widget(1), frame);
    QCOMPARE(m_window->frame(), frame);
    QCOMPARE(stack->count(), 2);
    QCOMPARE(stack->currentIndex(), 0);
    QCOMPARE(m_window->size(), QSize(1020, 700));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Kavro Mouse Software"));
    QVERIFY(m_window->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(m_window->trayIcon()->toolTip(), QStringLiteral("Kavro Mouse Software"));
    QVERIFY(!m_window->trayIcon()->isVisible());
}

void MainWindowTest::takesOverInstallerLanguage_data()
{
    QTest::addColumn<int>("installerIndex");
    QTest::addColumn<QString>("stored");
    QTest::newRow("Korean is copied") << 3 << "3";
    QTest::newRow("0 copies nothing") << 0 << "";
}

void MainWindowTest::takesOverInstallerLanguage()
{
    QFETCH(int, installerIndex);
    QFETCH(QString, stored);
    const QString path = DialogMain::installerRegistryPath();
    QCOMPARE(path, QStringLiteral("HKEY_CURRENT_USER\\Software\\TrelmC\\Kavro Mouse Software\\Kavro Mouse Software"));
    Registry::setValue(path, QStringLiteral("LanguageIndex"), installerIndex);
    makeWindow();
    QCOMPARE(MacroSetting::instance()->value(QStringLiteral("Language"), QStringLiteral("Language")), stored);
    QVERIFY(!Registry::contains(path, QStringLiteral("LanguageIndex")));

    // The next start finds nothing to take over.
    MacroSetting::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("2"));
    m_window.reset();
    makeWindow();
    QCOMPARE(MacroSetting::instance()->value(QStringLiteral("Language"), QStringLiteral("Language")), QStringLiteral("2"));
}

void MainWindowTest::windowWithCurrentMouse(const SimScript::Device& mouse, DeviceAllInfo record)
{
    m_mouse = mouse;
    makeWindow();
    record.online = 1;
    makeCurrent(m_mouse.path, record);
}

void MainWindowTest::windowWithCurrentCableMouse()
{
    DeviceAllInfo record;
    record.cid = 10;
    record.mid = 1;
    record.kind = 2;
    record.cableFlag = 1;
    windowWithCurrentMouse(SimScript::addCableMouse(1), record);
}

void MainWindowTest::hotPlugWatchFollowsPageShown()
{
    windowWithCurrentCableMouse();

    // The frame's callback announces itself to the settings page; the choice page's scans
    // with the default finder.
    PostMsg::instance()->SendChangeMainDialog(1);
    QCOMPARE(m_window->currentPage(), 1);
    QCOMPARE(int(WriteEnabled), 1);
    QVERIFY(SimScript::deliver());
    QCOMPARE(setverCount(), 1);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbFinderC_FindHidDevicesByDefaultDeviceId")), 0);

    MainPageActive = 1;
    m_hub->events.clear();
    HidSim_ClearCallLog();
    LoadWorkingImage(FlashDataMap{});
    PostMsg::instance()->SendChangeMainDialog(0);
    QCOMPARE(m_window->currentPage(), 0);
    QCOMPARE(int(MainPageActive), 0);
    QVERIFY(!WorkingImageLoaded());  // the closed link's image is no longer the mouse's
    QCOMPARE(m_hub->events, (QStringList{"ChangeMainDialog(0)", "MainPageChange", "SecondPageChange"}));
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServer_Exit")), 1);
    QVERIFY(SimScript::deliver());
    QVERIFY(SimScript::countCalls(QStringLiteral("UsbFinderC_FindHidDevicesByDefaultDeviceId")) > 0);
    QCOMPARE(setverCount(), 0);
}

// The frame's full-size background is not decoded while only the choice page shows.
void MainWindowTest::frameBackgroundWaitsForTheFrame()
{
    windowWithCurrentCableMouse();
    auto* background = m_window->frame()->findChild<BackgroundPicture*>(QStringLiteral("FrameBackground"));
    QVERIFY(background);
    QVERIFY(background->image().isNull());
    PostMsg::instance()->SendChangeMainDialog(1);
    QVERIFY(background->isVisible());
    QVERIFY(background->picture().endsWith(QLatin1String("/BackGround.png")));
    // Opaque: kept as 24-bit RGB, and drawn as the picture is.
    QCOMPARE(background->image().format(), QImage::Format_RGB888);
    QCOMPARE(background->grab().toImage().convertToFormat(QImage::Format_RGB888),
             QImage(background->picture()).convertToFormat(QImage::Format_RGB888));
}

void MainWindowTest::sizeRequestsSetDriverStatus_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("quits");
    QTest::newRow("frame minimise") << 0 << 0 << false;
    QTest::newRow("frame close") << 1 << 0 << true;
    QTest::newRow("choice minimise") << 2 << 1 << false;
    QTest::newRow("choice close") << 3 << 1 << true;
    QTest::newRow("unknown") << 4 << 1 << false;
}

void MainWindowTest::sizeRequestsSetDriverStatus()
{
    QFETCH(int, index);
    QFETCH(int, status);
    QFETCH(bool, quits);
    makeWindow();
    UsbServer_SetPCDriverStatus(1);
    HidSim_ClearCallLog();
    PostMsg::instance()->SendChangeSize(index);
    QCOMPARE(HidSim_PCDriverStatus(), status);
    QCOMPARE(SimScript::countCalls(QStringLiteral("StopUsbChanged")), quits ? 1 : 0);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServer_Exit")), quits ? 1 : 0);
    if (quits)  // the watch stops before the link closes
        QCOMPARE(SimScript::callLog().mid(index == 1 ? 1 : 0), (QStringList{"StopUsbChanged()", "UsbServer_Exit()"}));
    QCOMPARE(m_window->isVisible(), index == 4);
    QCOMPARE(m_window->trayIcon()->isVisible(), index == 0 || index == 2);
}

// Quitting while the data thread waits for the GUI thread, with a library that waits for
// that thread when the link closes: neither side waits for the other.
void MainWindowTest::quitWhileADeliveryWaitsReturnsQuickly()
{
    makeWindow();
    m_mouse = SimScript::addReceiverMouse(1);
    QVERIFY(SimScript::deliver());
    exitJoin.entered = false;
    exitJoin.returned = false;
    UsbServerC_Start(m_mouse.path.constData(), m_mouse.path.constData(), countedCallback);
    HidSim_ClearCallLog();
    LoadWorkingImage(FlashDataMap{});
    LinkHookGuard guard;
    HidSim_SetLinkCallHook(waitForDataThreadOnExit, nullptr);

    QElapsedTimer clock;
    clock.start();
    PostMsg::instance()->SendChangeSize(1);
    const qint64 elapsed = clock.elapsed();
    // A quit that waited for the data thread would take the hook's whole wait.
    QVERIFY2(elapsed < ExitJoinGiveUpMs / 2, qPrintable(QString::number(elapsed)));
    QVERIFY(exitJoin.entered);
    QVERIFY(exitJoin.returned);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServer_Exit")), 1);
    QVERIFY(!WorkingImageLoaded());
    QVERIFY(!m_window->isVisible());
}

void MainWindowTest::hidesToTrayAndBack()
{
    makeWindow();
    PostMsg::instance()->SendChangeMainDialog(1);
    PostMsg::instance()->SendChangeSize(0);
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_window->trayIcon()->isVisible());
    QMenu* menu = m_window->trayIcon()->contextMenu();
    QVERIFY(menu);
    const QList<QAction*> actions = menu->actions();
    QCOMPARE(actions.size(), 3);
    QCOMPARE(actions.at(0)->text(), QStringLiteral("Show window"));
    QVERIFY(actions.at(1)->isSeparator());
    QCOMPARE(actions.at(2)->text(), QStringLiteral("Quit now"));

    // A double click shows the window but leaves the driver off.
    emit m_window->trayIcon()->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(m_window->isVisible());
    QVERIFY(!m_window->trayIcon()->isVisible());
    QCOMPARE(HidSim_PCDriverStatus(), 0);

    // A click on the frame's page turns the driver back on; so does the show action.
    PostMsg::instance()->SendChangeSize(0);
    emit m_window->trayIcon()->activated(QSystemTrayIcon::Trigger);
    QVERIFY(m_window->isVisible());
    QCOMPARE(HidSim_PCDriverStatus(), 1);
    PostMsg::instance()->SendChangeSize(0);
    QCOMPARE(HidSim_PCDriverStatus(), 0);
    m_window->trayIcon()->contextMenu()->actions().at(0)->trigger();
    QVERIFY(m_window->isVisible());
    QCOMPARE(HidSim_PCDriverStatus(), 1);

    // On the choice page the click does not touch the driver.
    PostMsg::instance()->SendChangeMainDialog(0);
    UsbServer_SetPCDriverStatus(0);
    PostMsg::instance()->SendChangeSize(2);
    emit m_window->trayIcon()->activated(QSystemTrayIcon::Trigger);
    QCOMPARE(HidSim_PCDriverStatus(), 0);
    QVERIFY(m_window->isVisible());
}

void MainWindowTest::trayMenuOpensOnceAfterRepeatedHiding()
{
    makeWindow();
    for (int i = 0; i < 3; ++i) {
        PostMsg::instance()->SendChangeSize(2);
        m_window->show();
    }
    PostMsg::instance()->SendChangeSize(2);
    int opened = 0;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&opened] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            ++opened;
            popup->close();
        }
    });
    closer.start(20);
    emit m_window->trayIcon()->activated(QSystemTrayIcon::Context);
    QTest::qWait(100);
    QCOMPARE(opened, 1);
    QCOMPARE(m_window->findChildren<QMenu*>().size(), 1);
}

void MainWindowTest::minimisesWhereThereIsNoTray()
{
    makeWindow();
    m_window->tray = false;
    PostMsg::instance()->SendChangeMainDialog(1);
    PostMsg::instance()->SendChangeSize(0);
    QVERIFY(m_window->isMinimized());
    QVERIFY(m_window->isVisible());
    QVERIFY(!m_window->trayIcon()->isVisible());
    QCOMPARE(HidSim_PCDriverStatus(), 0);

    // Coming back from the task bar is like the tray's show action.
    m_window->setWindowState(Qt::WindowNoState);
    QTRY_VERIFY(!m_window->isMinimized());
    QCOMPARE(HidSim_PCDriverStatus(), 1);
}

void MainWindowTest::exitActionEndsAtOnce()
{
    makeWindow();
    PostMsg::instance()->SendChangeSize(0);
    HidSim_ClearCallLog();
    m_window->trayIcon()->contextMenu()->actions().at(2)->trigger();
    QCOMPARE(m_window->endedWith, QList<int>{0});
    QCOMPARE(SimScript::callLog(), QStringList());
}

void MainWindowTest::offlineNoticeClosesWhenMouseWakes()
{
    m_mouse = SimScript::addReceiverMouse(1, 1, false);
    makeWindow();
    DeviceAllInfo record;
    record.kind = 1;
    makeCurrent(m_mouse.path, record);
    PostMsg::instance()->SendChangeMainDialog(1);
    MainPageActive = 1;

    QPoint noticePos;
    QSize noticeSize;
    QString noticeClass;
    bool flagsSet = false;
    int notices = 0;
    ModalAnswerer counter(10);
    // Counts and closes nothing. While the first notice shows, more reports come (they fold
    // into it) and the mouse wakes.
    counter.setDefault([&](QWidget* notice) {
        if (++notices > 1)
            return;
        noticeClass = QString::fromLatin1(notice->metaObject()->className());
        noticePos = notice->pos();
        noticeSize = notice->size();
        flagsSet = WaitingForMouse == 1 && RestartWanted == 1;
        PostMsg::instance()->SendMouseOffLineo(0);
        PostMsg::instance()->SendMouseOffLineo(1);
        HidSim_SetAwake(m_mouse.mouse, 1);
    });
    // Never hang: a notice still open long after the mouse woke is closed by the test.
    bool closedByTest = false;
    QObject guard;
    QTimer::singleShot(20000, &guard, [&closedByTest] {
        if (QWidget* notice = QApplication::activeModalWidget()) {
            closedByTest = true;
            notice->close();
        }
    });
    // The notice opens after the emitter has returned: never inside a control's handler.
    PostMsg::instance()->SendMouseOffLineo(1);
    PostMsg::instance()->SendMouseOffLineo(0);
    QVERIFY(!QApplication::activeModalWidget());

    QTRY_COMPARE_WITH_TIMEOUT(noticeClass, QStringLiteral("MouseOffLine"), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget() && WaitingForMouse == 0, 25000);
    QVERIFY2(!closedByTest, "the online poll closes the notice");
    QCOMPARE(OfflineTextIndex.load(), 1);  // the first report's text
    QVERIFY(flagsSet);
    const QPoint corner = m_window->mapToGlobal(QPoint(0, 0));
    QCOMPARE(noticePos, QPoint(corner.x() + (1020 - noticeSize.width()) / 2,
                               corner.y() + (700 - noticeSize.height()) / 2 - 20));
    QVERIFY(runQueuedWork());  // a second notice would have opened by now
    QCOMPARE(notices, 1);
}

void MainWindowTest::keys()
{
    makeWindow();
    pressKey(m_window.get(), Qt::Key_Return);
    pressKey(m_window.get(), Qt::Key_Enter);
    pressKey(m_window.get(), Qt::Key_Escape);
    pressKey(m_window.get(), Qt::Key_F12);
    QCOMPARE(m_hub->events, (QStringList{"EnterKey", "EnterKey"}));
    QVERIFY(m_window->isVisible());

    // While a macro is recorded every key is the recorder's.
    MacroRecording = 1;
    ModalAnswerer answerer;
    PostMsg::instance()->SendChangeMainDialog(1);
    m_hub->events.clear();
    pressKey(m_window.get(), Qt::Key_Return);
    pressKey(m_window.get(), Qt::Key_Space);
    pressKey(m_window.get(), Qt::Key_Escape);
    QTest::qWait(50);
    QCOMPARE(m_hub->count(QStringLiteral("EnterKey")), 0);
    QCOMPARE(answerer.count(), 0);
    QVERIFY(m_window->isVisible());
    MacroRecording = 0;

    // Two devices on the choice page: Space offers nothing.
    PostMsg::instance()->SendChangeMainDialog(0);
    ChoiceDeviceList = {DeviceAllInfo(), DeviceAllInfo()};
    pressKey(m_window.get(), Qt::Key_Space);
    QTest::qWait(50);
    QCOMPARE(answerer.count(), 0);
}

void MainWindowTest::spaceOnFramePairsThenReopensLink()
{
    QVERIFY(showFrameOfReceiverMouse());
    HidSim_ClearCallLog();
    PairChosenDevice = 0;

    ModalAnswerer answerer;
    answerer.on(QStringLiteral("Match"), ModalAnswerer::clickButton(QStringLiteral("CloseButton")));
    // The configuration read after the pairing may be reported while the pairing's work ends.
    m_hub->events.clear();
    pressKey(m_window.get(), Qt::Key_Space);
    QCOMPARE(answerer.handled(), QStringList{"Match"});
    QCOMPARE(int(PairChosenDevice), 1);

    // The pairing dialog hands the watch to the choice page; the frame takes it back before
    // the data link is opened again and the mouse's configuration read.
    // (A poll of the online state may fall between these calls.)
    const QStringList log = SimScript::callLog();
    const QString calls = log.mid(log.size() - 8).join(QLatin1String(" | "));
    QCOMPARE(log.filter(QRegularExpression(QStringLiteral("^StartUsbChanged"))).size(), 2);
    // (Whole entries: the list matches a pattern against an entry as a whole.)
    const int lastWatch = log.lastIndexOf(QRegularExpression(QStringLiteral("StartUsbChanged.*")));
    const int lastOpen = log.lastIndexOf(
        QRegularExpression(QStringLiteral("^UsbServerC_Start\\(") + QRegularExpression::escape(QString::fromLatin1(m_mouse.path)) + QStringLiteral(".*")));
    const int lastRead = log.lastIndexOf(QStringLiteral("UsbServer_ReadAllFlashData()"));
    QVERIFY2(lastWatch >= 0 && lastWatch < lastOpen, qPrintable(calls));
    QVERIFY2(lastOpen < lastRead, qPrintable(calls));
    QVERIFY2(log.indexOf(QRegularExpression(QStringLiteral("UsbServerC_Start.*")), lastOpen + 1) < 0, qPrintable(calls));
    QVERIFY(SimScript::deliver());
    QVERIFY(setverCount() >= 1);
}

// Space pressed on the keyboard goes to the focused control first: a control of a page that
// gives Space no role of its own leaves it to the window, which pairs; a field being typed into
// keeps it, and during a macro recording nothing happens.
void MainWindowTest::spaceReachesTheWindowPastFocusedControls_data()
{
    QTest::addColumn<QString>("pageButton");
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<bool>("recording");
    QTest::addColumn<bool>("pairs");
    QTest::newRow("profile box") << "ButtonMain" << "ProjectChoose" << false << true;
    QTest::newRow("macro list") << "MacroButton" << "listWidgetHong" << false << true;
    QTest::newRow("fixed delay field") << "MacroButton" << "DelayTime" << false << false;
    QTest::newRow("macro list while recording") << "MacroButton" << "listWidgetHong" << true << false;
}

void MainWindowTest::spaceReachesTheWindowPastFocusedControls()
{
    QFETCH(QString, pageButton);
    QFETCH(QString, clicked);
    QFETCH(bool, recording);
    QFETCH(bool, pairs);
    QDir().mkpath(MacroFolder());
    QFile macro(MacroFolder() + QStringLiteral("/Jump.ini"));
    QVERIFY(macro.open(QIODevice::WriteOnly) && macro.write("1\n") == 2);
    macro.close();
    QVERIFY(showFrameOfReceiverMouse());
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTRY_VERIFY(m_window->findChild<QWidget*>(clicked));
    clickInWindow(m_window->findChild<QToolButton*>(pageButton));
    QWidget* control = m_window->findChild<QWidget*>(clicked);
    QTRY_VERIFY(control->isVisible());

    // The control takes the keyboard as a click gives it: the macro list's click chooses the
    // macro, the profile box's opens its list, which Escape closes again.
    auto* list = qobject_cast<QListWidget*>(control);
    if (list) {
        QTRY_COMPARE(list->count(), 1);
        clickInWindow(list->viewport(), list->visualItemRect(list->item(0)).center());
        QCOMPARE(list->currentRow(), 0);
    } else {
        clickInWindow(control);
    }
    if (QWidget* popup = QApplication::activePopupWidget())
        keys::tap(popup, keys::Key{Qt::Key_Escape, QStringLiteral("\x1b"), 9, 0xff1b});
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QVERIFY(control->hasFocus() || control->isAncestorOf(QApplication::focusWidget()));
    auto* field = qobject_cast<QAbstractSpinBox*>(control);
    const QString typedBefore = field ? field->text() : QString();
    if (recording) {
        clickInWindow(m_window->findChild<QWidget*>(QStringLiteral("StartRecord")));
        QVERIFY(m_window->findChild<QWidget*>(QStringLiteral("StopRecord"))->isVisible());
    }

    ModalAnswerer answerer;
    answerer.on(QStringLiteral("Match"), ModalAnswerer::clickButton(QStringLiteral("CloseButton")));
    const keys::Key space{Qt::Key_Space, QStringLiteral(" "), 65, 0x20};
    keys::tap(m_window.get(), space);
    QVERIFY(runQueuedWork());
    QCOMPARE(answerer.handled(), pairs ? QStringList{"Match"} : QStringList());
    // No list of the control opened meanwhile.
    QVERIFY(!QApplication::activePopupWidget());
    if (field)
        QCOMPARE(field->text(), typedBefore);  // a space is no digit: the field keeps its text
    if (recording) {
        clickInWindow(m_window->findChild<QWidget*>(QStringLiteral("StopRecord")));
        QVERIFY(m_window->findChild<QWidget*>(QStringLiteral("StartRecord"))->isVisible());
    }
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
