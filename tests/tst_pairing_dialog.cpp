// The receiver pairing dialog on the simulated library: the run from the click to the
// receiver's result, failure and a new try, a receiver that leaves the bus or never answers,
// answers that are not a pairing result, a mouse on its cable and no receiver at all, the
// button's text steps, and the openers: the frame's Space key (which reads the newly paired
// mouse afterwards) and the choice page's re-pair question.
#include "ChoiceTestCatalogue.h"

#include "common/LanguageFile.h"
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/Registry.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DataCallback.h"
#include "device/DeviceRecords.h"
#include "device/DeviceSetters.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "device/WorkingImage.h"
#include "pages/settings/Match.h"
#include "shell/DialogChange.h"
#include "shell/DialogMain.h"
#include "support/HidSimScript.h"
#include "support/HubRecorder.h"
#include "support/ModalAnswerer.h"
#include "support/ProgramWorld.h"
#include "support/Wait.h"

#include "HIDUsbControl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <functional>

namespace {

using SimScript::settle;

// The program's world with no pairing under way.
struct World : ProgramWorld {
    World()
    {
        PairChosenDevice = 0;
        PairingDevice = DeviceAllInfo();
        FirmwareIdle = 1;
    }
};

// A text of the shipped English "Match" section.
QString matchText(const char* element)
{
    QString found;
    loadLanguageSection(0, QStringLiteral("Match"), {QString::fromLatin1(element)},
                        [&found](const QString&, const QString& text) { found = text; });
    return found;
}

QPushButton* pairButton(Match* m)
{
    return m->findChild<QPushButton*>(QStringLiteral("MatchButton"));
}

bool waitFor(const std::function<bool()>& done, int timeoutMs = 8000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        HidSim_DeliverPending(50);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

void sendKey(QWidget* w, int key, const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// Space as the user presses it: through the dialog's shortcut, which clicks a moment later.
void pressSpace(QWidget* dialog)
{
    QApplication::setActiveWindow(dialog);
    QTest::keyClick(dialog, Qt::Key_Space);
    QTest::qWait(150);
}

// Ends a modal run for sure, so a failed check inside it cannot hang the test.
void closeAtLast(Match* m)
{
    m->findChild<QToolButton*>(QStringLiteral("CloseButton"))->click();
    if (m->isVisible()) {
        PairingActive = 0;
        m->done(QDialog::Rejected);
    }
}

// One poll of the dialog, then the receiver's answer and the signals it leads to.
void poll(Match* m)
{
    m->onPairTimeupDestroy();
    settle();
}

// Polls until the run has a result (at most `polls` times).
void pollToResult(Match* m, int polls = 10)
{
    for (int i = 0; i < polls && PairingActive.load() == 1; ++i)
        poll(m);
}

QString receiverLine(int interfaceId)
{
    char reply[4096] = {0};
    HidSim_ControlCommand("list", reply, sizeof reply);
    for (const QString& line : QString::fromLatin1(reply).split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("receiver %1 ").arg(interfaceId)))
            return line;
    return QString();
}

// A receiver without its mouse and a mouse of the catalogue's CID that no receiver holds.
struct LoneReceiver {
    int receiver = -1;
    int mouse = -1;
    QByteArray path;
};

LoneReceiver addLoneReceiver()
{
    LoneReceiver r;
    r.receiver = choicetest::plugLoneInterface(SimScript::VendorId, SimScript::Receiver4kPid, 1);
    r.path = SimScript::path(r.receiver);
    r.mouse = SimScript::addMouse(1, false);
    return r;
}

// Lists the devices the way the choice page does.
void listOnChoicePage(DialogChange& page)
{
    page.show();
    settle();
}

// A lone receiver listed on the choice page and its pairing window shown, the receiver's
// pairing run scripted to end after `polls` polls with `result`.
struct ShownPairing {
    World world;
    LoneReceiver receiver = addLoneReceiver();
    DialogChange page;
    Match match;
    ShownPairing(int polls, int result)
    {
        HidSim_ScriptPairing(polls, result, receiver.mouse);
        listOnChoicePage(page);
        match.SetPairButtonImage();
        match.show();
    }
};

}  // namespace

class TestPairingDialog : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        PairingActive = 0;
        PairResult = 0;
        RestoreMainPage = 0;
    }

    // Ready, pairing over two polls, success: the button steps through its looks, clicks after
    // the success send nothing, and the receiver holds the scripted mouse.
    void pairsToSuccess()
    {
        World world;
        const LoneReceiver r = addLoneReceiver();
        HidSim_ScriptPairing(2, 3, r.mouse);
        DialogChange page;
        listOnChoicePage(page);
        QCOMPARE(ChoiceDeviceList.size(), 1);

        Match m;
        m.SetPairButtonImage();
        m.show();
        QPushButton* button = pairButton(&m);
        QVERIFY(button->isEnabled());
        QCOMPARE(button->text(), matchText("MatchButton"));
        QVERIFY(m.findChild<QTextEdit*>(QStringLiteral("textEdit"))->isVisible());
        QVERIFY(!m.findChild<QLabel*>(QStringLiteral("label"))->isVisible());
        QVERIFY(button->styleSheet().contains(QStringLiteral("/Picture/Setting/Pair.png")));

        // The look at the moment the result arrives (the 100 ms receiver check enables it again).
        bool disabledAtResult = false;
        const auto atResult = connect(PostMsg::instance(), &PostMsg::SigButtonEnable, this,
                                      [&] { disabledAtResult = !button->isEnabled(); });
        HidSim_ClearCallLog();
        button->click();
        QCOMPARE(PairingActive.load(), uint8_t(1));
        QCOMPARE(PairResult.load(), 1);
        QCOMPARE(button->text(), matchText("Matching"));
        const QString receiverPath = QString::fromLatin1(r.path);
        QCOMPARE(SimScript::callLog().mid(0, 2),
                 (QStringList{QStringLiteral("UsbServerC_Start(%1, %1)").arg(receiverPath),
                              QStringLiteral("UsbServer_EnterDonglePairOnlyCid(10)")}));

        poll(&m);
        poll(&m);
        QCOMPARE(PairResult.load(), 1);
        QVERIFY(button->isEnabled());
        poll(&m);
        QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServer_ReadDonglePairStatus")), 3);
        QCOMPARE(PairingActive.load(), uint8_t(0));
        QCOMPARE(PairResult.load(), 2);
        QCOMPARE(button->text(), matchText("MatchSuccess"));
        QVERIFY(button->styleSheet().contains(QStringLiteral("PairSuccess.png")));
        disconnect(atResult);
        QVERIFY(disabledAtResult);
        // The receiver check enables it again; a click then does nothing.
        m.onUSBTimeupDestroy();
        QVERIFY(button->isEnabled());
        button->click();
        pressSpace(&m);
        QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServer_EnterDonglePairOnlyCid")), 1);
        QCOMPARE(button->text(), matchText("MatchSuccess"));

        QVERIFY(receiverLine(r.receiver).contains(QStringLiteral("mouse=%1 ").arg(r.mouse)));
        QCOMPARE(UsbFinderC_GetDeviceOnLine(r.path.constData()), 1);
    }

    // A failure shows its text and picture and leaves the button enabled; the next click
    // starts again and can succeed.
    void failureThenNewTry()
    {
        ShownPairing shown(1, 2);
        const LoneReceiver& r = shown.receiver;
        Match& m = shown.match;
        QPushButton* button = pairButton(&m);
        HidSim_ClearCallLog();
        button->click();
        pollToResult(&m);
        QCOMPARE(PairResult.load(), 3);
        QCOMPARE(button->text(), matchText("MatchFail"));
        QVERIFY(button->styleSheet().contains(QStringLiteral("PairFail.png")));
        QVERIFY(button->isEnabled());

        HidSim_ScriptPairing(0, 3, r.mouse);
        pressSpace(&m);
        QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServer_EnterDonglePairOnlyCid(10)")), 2);
        QCOMPARE(PairResult.load(), 1);
        pollToResult(&m);
        QCOMPARE(PairResult.load(), 2);
        QCOMPARE(button->text(), matchText("MatchSuccess"));
    }

    // Answers that are no pairing result leave the run as it is.
    void otherAnswersChangeNothing()
    {
        ShownPairing shown(1000, 3);
        Match& m = shown.match;
        pairButton(&m)->click();
        poll(&m);  // a "pairing" answer
        const uint8_t paired = 3;
        const uint8_t pairing = 1;
        HidSim_Inject(5, 0, 0, &paired, 1);   // another kind
        HidSim_Inject(6, 0, 0, &pairing, 1);  // still pairing
        HidSim_Inject(6, 0, 0, nullptr, 0);   // a status without data
        settle();
        uint8_t shortHeader[1] = {6};
        PairCallback(shortHeader, 1, const_cast<uint8_t*>(&paired), 1);
        PairCallback(nullptr, 0, nullptr, 0);
        settle();
        QCOMPARE(PairingActive.load(), uint8_t(1));
        QCOMPARE(PairResult.load(), 1);
        QCOMPARE(pairButton(&m)->text(), matchText("Matching"));
    }

    // A record on its cable, no record at all and a record without a path: the button is
    // refused and nothing reaches the library.
    void nothingToPair_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::newRow("mouse on its cable") << QStringLiteral("cable");
        QTest::newRow("no record") << QStringLiteral("none");
        QTest::newRow("record without a path") << QStringLiteral("empty path");
    }
    void nothingToPair()
    {
        QFETCH(QString, situation);
        World world;
        const bool cable = situation == QLatin1String("cable");
        DialogChange page;
        if (cable) {
            SimScript::addCableMouse(1);
            listOnChoicePage(page);
            QCOMPARE(ChoiceDeviceList.size(), 1);
        } else if (situation == QLatin1String("empty path")) {
            PairChosenDevice = 1;
            PairingDevice = DeviceAllInfo();
        }
        settle();
        HidSim_ClearCallLog();
        Match m;
        m.SetPairButtonImage();
        m.show();
        m.onUSBTimeupDestroy();
        QPushButton* button = pairButton(&m);
        QVERIFY(!button->isEnabled());
        QVERIFY(button->styleSheet().contains(QStringLiteral("color: rgb(0,0,0)")));
        QCOMPARE(m.findChild<QLabel*>(QStringLiteral("label"))->isVisible(), cable);
        QCOMPARE(m.findChild<QTextEdit*>(QStringLiteral("textEdit"))->isVisible(), !cable);
        if (cable)
            QCOMPARE(m.findChild<QLabel*>(QStringLiteral("label"))->text(), matchText("label"));
        m.on_MatchButton_clicked();
        pressSpace(&m);
        QCOMPARE(PairResult.load(), 0);
        QCOMPARE(SimScript::callLog(), QStringList());
        QVERIFY(!button->isEnabled());
    }

    // The button text: the pairing text, then one, two and three dots, and round again.
    void textSteps()
    {
        World world;
        const LoneReceiver r = addLoneReceiver();
        HidSim_ScriptPairing(1000, 3, r.mouse);
        DialogChange page;
        listOnChoicePage(page);
        Match m;
        QList<int> intervals;
        for (QTimer* t : m.findChildren<QTimer*>())
            intervals << t->interval();
        std::sort(intervals.begin(), intervals.end());
        QCOMPARE(intervals, (QList<int>{100, 500, 1000}));
        m.SetPairButtonImage();
        pairButton(&m)->click();
        const QString p = matchText("Matching");
        QStringList shown;
        for (int i = 0; i < 6; ++i) {
            m.onTextTimeupDestroy();
            shown << pairButton(&m)->text();
        }
        QCOMPARE(shown, (QStringList{p, p + ".", p + "..", p + "...", p, p + "."}));
    }

    // The instructions of every language fit their box without a scroll bar.
    void instructionsFitTheirBox_data()
    {
        QTest::addColumn<int>("language");
        for (int i = 0; i < 6; ++i)
            QTest::addRow("language %d", i) << i;
    }
    void instructionsFitTheirBox()
    {
        QFETCH(int, language);
        World world;
        MacroSetting::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"),
                                           QString::number(language));
        Match m;
        m.show();
        auto* text = m.findChild<QTextEdit*>(QStringLiteral("textEdit"));
        QVERIFY(!text->toPlainText().isEmpty());
        QVERIFY(!text->toPlainText().contains(QString::fromUtf8("鼠标")));  // the language file's own text
        text->document()->setTextWidth(text->viewport()->width());
        QVERIFY2(text->document()->size().height() <= text->viewport()->height(),
                 qPrintable(QStringLiteral("%1 > %2").arg(text->document()->size().height()).arg(text->viewport()->height())));
    }

    // Over the frame: a receiver that never answers keeps the dialog open through several
    // polls; it cannot be closed until the receiver leaves the bus, which fails the run and
    // gives the frame back its state.
    void silentReceiverThenUnplugged()
    {
        World world;
        const SimScript::Device d = SimScript::addReceiverMouse(1);
        HidSim_ScriptPairing(1, 0, -1);
        ModalAnswerer answerer;  // the busy dialog of the load
        linktest::HubRecorder hub;
        DialogMain window;
        window.show();
        settle();
        QVERIFY(loadFirstTile(window, hub));
        QCOMPARE(MainPageActive.load(), 1);

        Match m;
        m.SetPairButtonImage();
        m.show();
        QVERIFY(pairButton(&m)->isEnabled());
        pairButton(&m)->click();
        QCOMPARE(MainPageActive.load(), 0);
        for (int i = 0; i < 3; ++i)
            poll(&m);
        QCOMPARE(PairingActive.load(), uint8_t(1));
        QVERIFY(SimScript::countCalls(QStringLiteral("UsbServer_ReadDonglePairStatus")) >= 3);

        m.findChild<QToolButton*>(QStringLiteral("CloseButton"))->click();
        sendKey(&m, Qt::Key_Escape);
        m.close();
        QCoreApplication::processEvents();
        QVERIFY(m.isVisible());

        HidSim_SetPlugged(d.interface, 0);
        m.onPairTimeupDestroy();
        QCOMPARE(PairingActive.load(), uint8_t(0));
        QCOMPARE(PairResult.load(), 3);
        QCOMPARE(MainPageActive.load(), 1);
        QCOMPARE(pairButton(&m)->text(), matchText("MatchFail"));
        QVERIFY(pairButton(&m)->styleSheet().contains(QStringLiteral("PairFail.png")));
        sendKey(&m, Qt::Key_Escape);
        QVERIFY(!m.isVisible());

        if (Worker* worker = Worker::instance())
            worker->wait(5000);
    }

    // Space over the frame: the dialog pairs the receiver with another mouse; afterwards the
    // frame's hot-plug watch and data link are back, the new mouse's configuration is read,
    // and a change reaches the new mouse.
    void spaceOnFramePairsAndReadsTheNewMouse()
    {
        World world;
        const SimScript::Device d = SimScript::addReceiverMouse(1);
        const int newMouse = SimScript::addMouse(1, false);
        const QByteArray newImage = SimScript::makeImage(42);
        QCOMPARE(HidSim_SetImage(newMouse, 0, reinterpret_cast<const uint8_t*>(newImage.constData())), 0);
        HidSim_ScriptPairing(2, 3, newMouse);

        ModalAnswerer answerer;
        linktest::HubRecorder hub;
        DialogMain window;
        window.show();
        settle();
        QVERIFY(loadFirstTile(window, hub));

        QList<int> activeDuring;
        bool disabledAtSuccess = false;
        bool enabledAgain = false;
        QString successText;
        answerer.on(QStringLiteral("Match"), [&](QWidget* w) {
            auto* m = static_cast<Match*>(w);
            const auto atResult = connect(PostMsg::instance(), &PostMsg::SigButtonEnable, this,
                                          [&, m] { disabledAtSuccess = !pairButton(m)->isEnabled(); });
            pressSpace(m);
            activeDuring << MainPageActive.load();
            pollToResult(m);
            disconnect(atResult);
            successText = pairButton(m)->text();
            m->onUSBTimeupDestroy();
            enabledAgain = pairButton(m)->isEnabled();
            pairButton(m)->click();
            activeDuring << MainPageActive.load();
            closeAtLast(m);
        });
        HidSim_ClearCallLog();
        const unsigned loadsBefore = FullLoadCount.load();
        sendKey(&window, Qt::Key_Space, QStringLiteral(" "));
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.handled().filter(QStringLiteral("Match")).size(), 1);
        QCOMPARE(activeDuring, (QList<int>{0, 1}));
        QCOMPARE(successText, matchText("MatchSuccess"));
        QVERIFY(disabledAtSuccess);
        QVERIFY(enabledAgain);

        const QString path = QString::fromLatin1(d.path);
        const QStringList log = SimScript::callLog();
        QCOMPARE(log.filter(QStringLiteral("UsbServer_EnterDonglePairOnlyCid(10)")).size(), 1);
        QVERIFY(log.filter(QStringLiteral("UsbServer_ReadDonglePairStatus")).size() >= 3);
        QVERIFY(receiverLine(d.interface).contains(QStringLiteral("mouse=%1 ").arg(newMouse)));
        // After the dialog: the frame's watch, the data link on the current device, a full read.
        const int watch = log.lastIndexOf(QStringLiteral("StartUsbChanged(600)"));
        const int open = log.lastIndexOf(QStringLiteral("UsbServerC_Start(%1, %1)").arg(path));
        const int read = log.lastIndexOf(QStringLiteral("UsbServer_ReadAllFlashData()"));
        QVERIFY(watch >= 0 && watch < open && open < read);
        QCOMPARE(MainPageActive.load(), 1);

        // Once the new mouse's configuration is in, a change reaches that mouse.
        QVERIFY(waitFor([&] { return FullLoadCount.load() != loadsBefore; }));
        settle();
        const uint8_t rate = newImage.at(0) == 0x02 ? 0x04 : 0x02;
        QVERIFY(SetReportRate(rate));
        const QByteArray written = SimScript::lastWrittenImage(newMouse);
        QCOMPARE(written.size(), HIDUSB_IMAGE_SIZE);
        QCOMPARE(uint8_t(written.at(0)), rate);
        QCOMPARE(written.mid(1, 123), newImage.mid(1, 123));
        QVERIFY(SimScript::lastWrittenImage(d.mouse).isEmpty());

        // The frame's hot-plug callback runs again on plug events.
        QSignalSpy setver(PostMsg::instance(), SIGNAL(SigSetver(int)));
        SimScript::addCableMouse(2);
        settle();
        QVERIFY(setver.count() >= 1);
        QCOMPARE(setver.first().first().toInt(), 4);

        if (Worker* worker = Worker::instance())
            worker->wait(5000);
    }

    // The choice page's re-pair question runs the real dialog to its end; the hot plug that
    // the success raises rebuilds the tiles under the open dialog.
    void choicePageRePairRunsToSuccess()
    {
        World world;
        choicetest::writeCatalogue(world.env, 1);
        const int receiver = choicetest::plugLoneInterface(SimScript::VendorId, choicetest::pidForKind(0), 0);
        const int mouse = SimScript::addMouse(1, false);
        HidSim_ScriptPairing(1, 3, mouse);
        // A mouse version seen before (the receiver alone names no model: the name has no MID):
        // the flow asks before it pairs again.
        Registry::setValue(QString::fromLatin1(MouseVersionRegistryKey), QStringLiteral("MouseVer10"),
                           QStringLiteral("v1.0"));
        DialogChange page;
        listOnChoicePage(page);
        QCOMPARE(ChoiceDeviceList.size(), 1);

        ModalAnswerer answerer;
        answerer.on(QStringLiteral("RePair"), ModalAnswerer::clickButton(QStringLiteral("OK")));
        int tilesAfterSuccess = -1;
        answerer.on(QStringLiteral("Match"), [&](QWidget* w) {
            auto* m = static_cast<Match*>(w);
            pairButton(m)->click();
            pollToResult(m);
            settle();  // the success's hot plug rebuilds the tiles now
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            tilesAfterSuccess = ChoiceDeviceList.size();
            closeAtLast(m);
        });
        page.findChild<QToolButton*>(QStringLiteral("btn0"))->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.handled(), (QStringList{QStringLiteral("RePair"), QStringLiteral("Match")}));
        QCOMPARE(PairResult.load(), 2);
        QCOMPARE(tilesAfterSuccess, 1);
        QVERIFY(receiverLine(receiver).contains(QStringLiteral("mouse=%1 ").arg(mouse)));
        settle();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(ChoiceDeviceList.size(), 1);
        QCOMPARE(ChoiceDeviceList.first().online, uint8_t(1));
    }
};

QTEST_MAIN(TestPairingDialog)
#include "tst_pairing_dialog.moc"
