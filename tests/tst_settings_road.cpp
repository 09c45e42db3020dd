// The settings page end to end, as a user reaches it: a tile click loads a wireless mouse, the
// settings page button shows the page with the versions the mouse and receiver answered, the
// receiver's modes change in the simulated library, pairing from the page reads the newly
// paired mouse, the receiver's light mode shows after the load, and no page draws outside the
// frame's panel.
#include "common/FramePanel.h"
#include "device/DataCallback.h"
#include "device/DeviceSetters.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "pages/settings/Match.h"
#include "pages/settings/FormSetting.h"
#include "shell/Dialog.h"
#include "shell/DialogMain.h"
#include "support/HidSimScript.h"
#include "support/HubRecorder.h"
#include "support/ModalAnswerer.h"
#include "support/ProgramWorld.h"
#include "support/Wait.h"
#include "support/WindowClick.h"

#include "HIDUsbControl.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

#include <memory>

namespace {

// The program's window over the simulated devices, with the busy dialogs of the loads closed.
struct Road {
    ProgramWorld world;
    ModalAnswerer answerer;
    linktest::HubRecorder hub;
    std::unique_ptr<DialogMain> window;

    Road()
    {
        window = std::make_unique<DialogMain>();
        window->show();
        SimScript::settle();
    }
    ~Road()
    {
        window.reset();
        if (Worker* worker = Worker::instance())
            worker->wait(5000);
    }

    // Chooses the first tile and waits until its load has ended with the mouse's configuration
    // in the pages.
    bool chooseTile()
    {
        const bool loaded = loadFirstTile(*window, hub);
        SimScript::settle();
        return loaded;
    }
    // A mouse behind the 4 kHz receiver, whose light holds mode 2, chosen and loaded in full.
    bool loadReceiverWithLight(SimScript::Device& d)
    {
        d = SimScript::addReceiverMouse(2, 1, true, true);
        DongleRGB light{};
        light.bytes[0] = 2;
        if (UsbFinderC_Set4KDongleRGB(d.path.constData(), &light) != 1)
            return false;
        SimScript::settle();
        HidSim_ClearCallLog();
        const unsigned loadsBefore = FullLoadCount.load();
        return chooseTile() && SimScript::deliverUntil([&] { return FullLoadCount.load() != loadsBefore; });
    }
    FormSetting* openSettingsPage()
    {
        clickInWindow(window->findChild<QToolButton*>(QStringLiteral("FormSetting")));
        auto* page = window->findChild<FormSetting*>();
        return page && page->isVisible() ? page : nullptr;
    }
};

template <typename T = QWidget>
T* child(QWidget* page, const char* name)
{
    return page->findChild<T*>(QLatin1String(name));
}

// One notch of the wheel down at `pos` of `widget`, delivered to its window as the system
// delivers it.
void wheelDown(QWidget* widget, QPoint pos)
{
    QWidget* window = widget->window();
    const QPoint inWindow = widget->mapTo(window, pos);
    QWheelEvent event(QPointF(inWindow), QPointF(window->mapToGlobal(inWindow)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    // Handed to notify() as it is: only a system's event goes on to the widgets beneath one that
    // lets it pass.
    QSpontaneKeyEvent::setSpontaneous(&event);
    QCoreApplication::instance()->notify(window->windowHandle(), &event);
}

// The first pixel of `shot` outside the frame's panel that differs from `bare`, as "x,y"; empty
// when there is none.
QString firstPixelOutsidePanel(const QImage& shot, const QImage& bare)
{
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (!FramePanel::inside().contains(x, y) && shot.pixel(x, y) != bare.pixel(x, y))
                return QStringLiteral("%1,%2").arg(x).arg(y);
    return QString();
}

bool lightAreaShown(QWidget* page)
{
    return child(page, "ReUntil")->isVisibleTo(page) && child(page, "ReUntil_2")->isVisibleTo(page)
        && child(page, "ReUntil_3")->isVisibleTo(page);
}

}  // namespace

class SettingsRoadTest : public QObject {
    Q_OBJECT

private slots:
    void wirelessMouseVersionsLongRangeAndPairing();
    void receiverLightModeShowsAfterTheLoad();
    void noPageDrawsOutsideThePanel();
};

// A mouse behind a 2 kHz receiver, its model with long range: the page shows both versions,
// the long-range box reaches the receiver, and the pair button pairs the receiver with another
// mouse whose configuration is then read and written.
void SettingsRoadTest::wirelessMouseVersionsLongRangeAndPairing()
{
    Road road;
    const SimScript::Device d = SimScript::addReceiverMouse(5, 4, true, true);
    QCOMPARE(HidSim_SetMouseVersion(d.mouse, 0x0123), 0);
    QCOMPARE(HidSim_SetInterfaceVersion(d.interface, 0x0245), 0);
    const int newMouse = SimScript::addMouse(5, false);
    const QByteArray newImage = SimScript::makeImage(42);
    QCOMPARE(HidSim_SetImage(newMouse, 0, reinterpret_cast<const uint8_t*>(newImage.constData())), 0);
    SimScript::settle();
    QVERIFY(road.chooseTile());
    FormSetting* page = road.openSettingsPage();
    QVERIFY(page);

    // The versions as the receiver and then the mouse answered them.
    QVERIFY(SimScript::deliverUntil([page] { return child<QLabel>(page, "label_7")->text() == QStringLiteral("v1.23"); }));
    QCOMPARE(child<QLabel>(page, "label_5")->text(), QStringLiteral("v2.45"));

    auto* longRange = child<QCheckBox>(page, "checkBox_2");
    QVERIFY(longRange->isVisible());
    QVERIFY(!child(page, "ReUntil")->isVisibleTo(page));  // the model has no receiver light
    const int before = HidSim_LongRangeMode(d.interface);
    QTest::mouseClick(longRange, Qt::LeftButton);
    QCOMPARE(HidSim_LongRangeMode(d.interface), before ? 0 : 1);
    QTest::mouseClick(longRange, Qt::LeftButton);
    QCOMPARE(HidSim_LongRangeMode(d.interface), before);

    // Pairing from the page: the receiver takes the scripted mouse, and the frame reads it.
    HidSim_ScriptPairing(2, 3, newMouse);
    road.answerer.on(QStringLiteral("Match"), [](QWidget* w) {
        auto* match = static_cast<Match*>(w);
        match->findChild<QPushButton*>(QStringLiteral("MatchButton"))->click();
        for (int i = 0; i < 10 && PairingActive.load() == 1; ++i) {
            match->onPairTimeupDestroy();
            SimScript::settle();
        }
        match->findChild<QToolButton*>(QStringLiteral("CloseButton"))->click();
        if (match->isVisible()) {  // a failed run must not hang the test
            PairingActive = 0;
            match->done(QDialog::Rejected);
        }
    });
    const unsigned loadsBefore = FullLoadCount.load();
    QTest::mouseClick(child<QPushButton>(page, "pushButton_2"), Qt::LeftButton);
    QVERIFY(runQueuedWork());
    QCOMPARE(road.answerer.handled().filter(QStringLiteral("Match")).size(), 1);
    QCOMPARE(PairResult.load(), 2);  // paired
    QVERIFY(SimScript::deliverUntil([&] { return FullLoadCount.load() != loadsBefore; }));
    SimScript::settle();
    const uint8_t rate = newImage.at(0) == 0x02 ? 0x04 : 0x02;
    QVERIFY(SetReportRate(rate));
    const QByteArray written = SimScript::lastWrittenImage(newMouse);
    QCOMPARE(written.size(), HIDUSB_IMAGE_SIZE);
    QCOMPARE(uint8_t(written.at(0)), rate);
    QCOMPARE(written.mid(1), newImage.mid(1));
    QVERIFY(SimScript::lastWrittenImage(d.mouse).isEmpty());
}

// A receiver with its own light, holding mode 2: the load reads the mode, the page checks it and
// writes the same mode back while the data thread waits (no deadlock), and the area stays shown
// after the load's form, which comes after the answer. A click on another mode reaches the receiver.
void SettingsRoadTest::receiverLightModeShowsAfterTheLoad()
{
    Road road;
    SimScript::Device d;
    QVERIFY(road.loadReceiverWithLight(d));
    FormSetting* page = road.openSettingsPage();
    QVERIFY(page);
    QVERIFY(child(page, "checkBox_2")->isVisible());
    QVERIFY(lightAreaShown(page));
    QVERIFY(child(page, "ReUntil_2")->isVisible());
    QVERIFY(child<QCheckBox>(page, "ReUntil_2")->isChecked());
    QCOMPARE(child(page, "pushButton_3")->pos(), QPoint(600, 720));  // the full layout
    // The echo: the checked mode written back to the receiver.
    QVERIFY(SimScript::countCalls(QStringLiteral("UsbFinderC_Set4KDongleRGB(%1, 2)").arg(QString::fromLatin1(d.path))) >= 1);
    QCOMPARE(HidSim_LightMode(d.interface), 2);

    QTest::mouseClick(child<QCheckBox>(page, "ReUntil_3"), Qt::LeftButton);
    QCOMPARE(HidSim_LightMode(d.interface), 3);
}

// Every page of a mouse behind the 4 kHz receiver, whose settings page has its longest layout:
// outside the panel the frame shows what it shows with no page, with the settings page at rest
// and scrolled to its end; the page's scroll bar lies inside the panel.
void SettingsRoadTest::noPageDrawsOutsideThePanel()
{
    Road road;
    SimScript::Device d;
    QVERIFY(road.loadReceiverWithLight(d));
    auto* frame = road.window->findChild<Dialog*>();
    // The frame as it is, its page buttons included, without its pages.
    const auto bareFrame = [frame] {
        QWidget* pageArea = child(frame, "frame_4");
        pageArea->hide();
        const QImage bare = frame->grab().toImage();
        pageArea->show();
        return bare;
    };

    for (const char* pageButton : {"ButtonMain", "SensorButton", "MacroButton", "LightsButton"}) {
        clickInWindow(child<QToolButton>(frame, pageButton));
        SimScript::settle();
        QCOMPARE(QString(pageButton) + QLatin1Char(' ') + firstPixelOutsidePanel(frame->grab().toImage(), bareFrame()),
                 QString(pageButton) + QLatin1Char(' '));
    }
    FormSetting* page = road.openSettingsPage();
    QVERIFY(page);
    QVERIFY(lightAreaShown(page));
    QCOMPARE(firstPixelOutsidePanel(frame->grab().toImage(), bareFrame()), QString());

    QScrollBar* bar = child<QScrollArea>(page, "scrollArea")->verticalScrollBar();
    QVERIFY(bar->isVisible());
    const QRect barInFrame(bar->mapTo(frame, QPoint(0, 0)), bar->size());
    QVERIFY(FramePanel::inside().contains(barInFrame));
    for (int notch = 0; notch < 50 && bar->value() < bar->maximum(); ++notch)
        wheelDown(page, page->rect().center());
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(firstPixelOutsidePanel(frame->grab().toImage(), bareFrame()), QString());
}

QTEST_MAIN(SettingsRoadTest)
#include "tst_settings_road.moc"
