// The hand on the whole program: mouse input reaches the top-level window at a control's place,
// as a user's would, with the window's drag live. A press belongs to the control under it; a
// press nobody takes drags the window; the offline notice never opens inside a control's press,
// and a mouse that sleeps and wakes gets nothing the user did not ask for.
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/ProgramWaits.h"
#include "device/CurrentDevice.h"
#include "device/DeviceCache.h"
#include "device/MacroFiles.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/lighting/LampLight.h"
#include "pages/lighting/ScreenColor.h"
#include "pages/sensor/SensorDPI.h"
#include "shell/DialogMain.h"
#include "support/FileReplacements.h"
#include "support/HidSimScript.h"
#include "support/HubRecorder.h"
#include "support/ModalAnswerer.h"
#include "support/ProgramWorld.h"
#include "support/Wait.h"

#include "HIDUsbControl.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QWindow>
#include <QtTest>
#include <QtTest/qtestspontaneevent.h>

#include <functional>
#include <memory>

namespace {

enum Byte { LevelCount = 1, CurrentLevel = 2, Effect = 0x43, Red = 0x44, Green = 0x45, Blue = 0x46, Speed = 0x47,
            Brightness = 0x48, OnOff = 0x49 };

// The simulated library writes a device's memory file at most once in this time.
constexpr qint64 SimMemoryGapMs = 500;

// The screen under the colour board: a colour that follows the pointer's x.
class RampColorSource : public ScreenColorSource {
public:
    std::optional<QColor> colorAt(const QPoint& globalPos) override
    {
        asked << globalPos;
        return QColor(globalPos.x() % 256, 40, 7);
    }
    QList<QPoint> asked;
};

// The program's window over one mouse behind a receiver, loaded from its tile. The busy dialog
// of each load is closed. An offline notice is counted; while it shows, `atNotice` looks at the
// window, and the mouse wakes, so that the online poll closes the notice.
struct Program {
    enum Mice { OneReceiverMouse, OneCableMouse };
    enum Memory { Forgets, Remembers };  // the simulated mouse keeps its state in a file

    ProgramWorld world;
    SimScript::Device mouse;
    ModalAnswerer answerer;
    linktest::HubRecorder hub;
    std::unique_ptr<DialogMain> window;
    std::function<void()> atNotice;
    int formsAtSleep = 0;

    explicit Program(Mice mice = OneReceiverMouse, Memory memory = Forgets)
    {
        QByteArray image = SimScript::makeImage(33);
        image[LevelCount] = 3;
        image[CurrentLevel] = 0;
        image[OnOff] = 1;
        image[Effect] = 2;  // the colour row, with both sliders
        image[Brightness] = 2;
        image[Speed] = 2;
        if (memory == Remembers)
            HidSim_SetMemory(1);
        mouse = mice == OneReceiverMouse ? SimScript::addReceiverMouse(1) : SimScript::addCableMouse(1);
        HidSim_SetImage(mouse.mouse, 0, reinterpret_cast<const uint8_t*>(image.constData()));
        answerer.on(QStringLiteral("MouseOffLine"), [this](QWidget*) {
            if (atNotice)
                atNotice();
            HidSim_SetAwake(mouse.mouse, 1);
        });
        window = std::make_unique<DialogMain>();
        window->move(100, 80);
        window->show();
        SimScript::settle();
    }
    ~Program()
    {
        window.reset();
        if (Worker* worker = Worker::instance())
            worker->wait(5000);
    }
    bool load() { return loadFirstTile(*window, hub); }
    void openPage(const char* button)
    {
        QTest::mouseClick(window->findChild<QToolButton*>(QLatin1String(button)), Qt::LeftButton);
    }
    int writes() const { return HidSim_WriteCount(mouse.mouse); }
    QByteArray stored() const { return SimScript::storedImage(mouse.mouse); }
    int notices() const { return answerer.handled().count(QStringLiteral("MouseOffLine")); }

    // The hand, at `pos` of `widget`, delivered to the window as the system delivers it.
    QPoint at(QWidget* widget, QPoint pos) const { return widget->mapTo(window.get(), pos); }
    void press(QWidget* widget, QPoint pos) { QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, at(widget, pos)); }
    void moveTo(QWidget* widget, QPoint pos) { QTest::mouseMove(window->windowHandle(), at(widget, pos)); }
    void release(QWidget* widget, QPoint pos)
    {
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, at(widget, pos));
    }

    // One notch of the wheel (down for a negative count) at `pos` of `widget`, delivered to the
    // window as the system delivers it.
    void wheel(QWidget* widget, QPoint pos, int notches = -1)
    {
        const QPoint inWindow = at(widget, pos);
        QWheelEvent event(QPointF(inWindow), QPointF(window->mapToGlobal(inWindow)), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        // Handed to notify() as it is: sendEvent() would take its mark of a system event, and
        // only those go on to the widgets beneath one that lets them pass.
        QSpontaneKeyEvent::setSpontaneous(&event);
        QCoreApplication::instance()->notify(window->windowHandle(), &event);
    }

    void sleep()
    {
        formsAtSleep = hub.count(QStringLiteral("Form"));
        HidSim_SetAwake(mouse.mouse, 0);
    }
    // Waits until the notice has been shown and closed by the mouse's return, and the reload
    // has filled the pages again.
    bool reloadedAfterWake()
    {
        return spinUntil([&] {
            HidSim_DeliverPending(20);
            return hub.count(QStringLiteral("Form")) > formsAtSleep && !QApplication::activeModalWidget();
        }, 8000);
    }
};

// The second key of the image a right click, which a rapid-fire binding may replace.
void bindSecondKeyToRightClick(int mouseId)
{
    QByteArray image = SimScript::storedImage(mouseId);
    image.replace(77, 3, QByteArray("\x01\x02\x00", 3));
    HidSim_SetImage(mouseId, 0, reinterpret_cast<const uint8_t*>(image.constData()));
}

// The visible widget of that name in the window (the choice page and the frame share some).
QWidget* shownChild(QWidget* window, const QString& name)
{
    for (QWidget* widget : window->findChildren<QWidget*>(name))
        if (widget->isVisible())
            return widget;
    return nullptr;
}

// Dialogs of the program that are on the screen, the window aside.
QStringList shownDialogs(QWidget* window)
{
    QStringList shown;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != window && qobject_cast<QDialog*>(widget) && widget->isVisible())
            shown << QString::fromLatin1(widget->metaObject()->className());
    return shown;
}

void pick(QComboBox* combo, int row)
{
    combo->showPopup();
    combo->view()->setCurrentIndex(combo->model()->index(row, 0));
    QTest::keyClick(combo->view(), Qt::Key_Return);
}

}  // namespace

class WindowHandTest : public QObject {
    Q_OBJECT

private slots:
    void init() { WriteEnabled = 0; }
    void markerDragChangesTheLevelAndLeavesTheWindow();
    void pressNobodyTakesDragsTheWindow();
    void colourBoardDragPicksAlongAndLeavesTheWindow();
    void colourBoardDragSparesTheDisk();
    void sliderPressOnASleepingMouseThenWake_data();
    void sliderPressOnASleepingMouseThenWake();
    void offlineLevelCountChangeShowsOneNoticeAndWritesNothing();
    void offlineMarkerDropGoesBack();
    void currentMacroKeepsItsHighlightAcrossALanguageChange();
    void noticeAfterADialogOpenedByAPressComesAtOnce();
    void rapidFireDialogOpensAfterTheRelease();
    void dialogsForAMouseCloseWhenItGoes_data();
    void dialogsForAMouseCloseWhenItGoes();
    void wheelPassesOverListsAndSliders_data();
    void wheelPassesOverListsAndSliders();
};

void WindowHandTest::markerDragChangesTheLevelAndLeavesTheWindow()
{
    Program program;
    QVERIFY(program.load());
    program.openPage("SensorButton");
    auto* dpi = program.window->findChild<SensorDPI*>();
    auto* marker = dpi->findChild<QLabel*>(QStringLiteral("label_8"));
    QCOMPARE(marker->pos(), QPoint(27, 154));
    const QPoint windowAt = program.window->pos();
    const int writes = program.writes();

    const QPoint grip(15, 15);
    program.press(marker, grip);
    for (int dx = 10; dx <= 90; dx += 20)
        program.moveTo(dpi, QPoint(27 + dx, 154) + grip);
    program.release(dpi, QPoint(27 + 91, 154) + grip);

    QCOMPARE(program.window->pos(), windowAt);
    QCOMPARE(dpi->currentLevel(), 1);
    QCOMPARE(marker->pos(), QPoint(118, 154));
    QCOMPARE(program.writes(), writes + 1);
    QCOMPARE(int(program.stored().at(CurrentLevel)), 1);
}

void WindowHandTest::pressNobodyTakesDragsTheWindow()
{
    Program program;
    QVERIFY(program.load());
    program.openPage("SensorButton");
    auto* dpi = program.window->findChild<SensorDPI*>();
    const QPoint windowAt = program.window->pos();
    const QPoint bare(400, 30);  // the panel's own background
    QCOMPARE(dpi->childAt(bare), nullptr);

    program.press(dpi, bare);
    program.moveTo(dpi, bare + QPoint(30, 20));
    QCoreApplication::processEvents();
    // The window follows the hand down and right. (Without a real pointer the platform moves
    // its cursor with the window and repeats the move, so the distance is not exact here.)
    const QPoint moved = program.window->pos();
    QVERIFY2(moved.x() > windowAt.x() && moved.y() > windowAt.y(), "the window drags");
    program.release(dpi, bare + QPoint(30, 20));
    QCoreApplication::processEvents();
    // The drag ended with its release: the next move with no button moves nothing.
    const QPoint dropped = program.window->pos();
    QTest::mouseMove(program.window->windowHandle(), QPoint(5, 5));
    QCoreApplication::processEvents();
    QCOMPARE(program.window->pos(), dropped);
    QCOMPARE(dpi->currentLevel(), 0);
}

void WindowHandTest::colourBoardDragPicksAlongAndLeavesTheWindow()
{
    Program program;
    QVERIFY(program.load());
    program.openPage("LightsButton");
    auto* page = program.window->findChild<LampLight*>();
    auto source = std::make_unique<RampColorSource>();
    RampColorSource* screen = source.get();
    page->setColorSource(std::move(source));
    auto* board = page->findChild<QLabel*>(QStringLiteral("label_7"));
    QVERIFY(board->isVisible());
    const QPoint windowAt = program.window->pos();

    program.press(board, QPoint(20, 10));
    program.moveTo(board, QPoint(120, 12));
    program.moveTo(board, QPoint(220, 14));
    program.release(board, QPoint(220, 14));

    QCOMPARE(program.window->pos(), windowAt);
    QCOMPARE(screen->asked.size(), 3);
    const int lastRed = board->mapToGlobal(QPoint(220, 14)).x() % 256;
    QCOMPARE(screen->asked.last(), board->mapToGlobal(QPoint(220, 14)));
    QCOMPARE(page->findChild<QSpinBox*>(QStringLiteral("RSpinBox"))->value(), lastRed);
    QCOMPARE(uint8_t(program.stored().at(Red)), uint8_t(lastRed));
    QCOMPARE(uint8_t(program.stored().at(Green)), uint8_t(40));
    QCOMPARE(uint8_t(program.stored().at(Blue)), uint8_t(7));
}

// A drag of 100 moves on the colour board sends the mouse an image at every move, but writes the
// mouse's cache and the simulated mouse's memory file only a few times a second, the cache once
// more at the release: then the cache holds what the mouse holds, the last colour.
void WindowHandTest::colourBoardDragSparesTheDisk()
{
    Program program(Program::OneCableMouse, Program::Remembers);
    QVERIFY(program.load());
    program.openPage("LightsButton");
    auto* page = program.window->findChild<LampLight*>();
    page->setColorSource(std::make_unique<RampColorSource>());
    auto* board = page->findChild<QLabel*>(QStringLiteral("label_7"));
    QVERIFY(board->isVisible());
    const QString cacheFile = DeviceCacheFolder() + DeviceCacheFileName(SimScript::Cid, 1);
    const QString memoryFolder = program.world.env.home() + QStringLiteral("/.local/state/kavro-sim");
    QVERIFY(QDir().mkpath(DeviceCacheFolder()) && QDir().mkpath(memoryFolder));
    FileReplacements cache(DeviceCacheFolder());
    FileReplacements memory(memoryFolder);
    QVERIFY(cache.watching() && memory.watching());
    const int writes = program.writes();

    QElapsedTimer clock;
    clock.start();
    constexpr int Moves = 100;
    program.press(board, QPoint(3, 10));
    for (int move = 1; move <= Moves; ++move)
        program.moveTo(board, QPoint(3 + 3 * move, 10));
    const QPoint last(3 + 3 * Moves, 10);
    program.release(board, last);
    const qint64 dragMs = clock.elapsed();

    // Every move's colour reached the mouse (the red follows the pointer, 3 px a move).
    QVERIFY(program.writes() - writes >= 1 + Moves);
    const uint8_t lastRed = uint8_t(board->mapToGlobal(last).x() % 256);
    QCOMPARE(uint8_t(program.stored().at(Red)), lastRed);
    // The first change at once, one a gap while the drag lasted, and the release.
    const int cacheWrites = cache.count(QStringLiteral("Device_"));
    QVERIFY2(cacheWrites <= 2 + dragMs / CacheWriteGapMs,
             qPrintable(QStringLiteral("%1 cache writes in %2 ms").arg(cacheWrites).arg(dragMs)));
    QFile written(cacheFile);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll().mid(4), program.stored());
    written.close();

    QVERIFY(SimScript::deliver());
    const qint64 untilWrittenMs = clock.elapsed();
    const int memoryWrites = memory.count(QStringLiteral("mouse-"));
    QVERIFY2(memoryWrites >= 1 && memoryWrites <= 2 + untilWrittenMs / SimMemoryGapMs,
             qPrintable(QStringLiteral("%1 memory file writes in %2 ms").arg(memoryWrites).arg(untilWrittenMs)));
    QCOMPARE(cache.count(QStringLiteral("Device_")), cacheWrites);
}

void WindowHandTest::sliderPressOnASleepingMouseThenWake_data()
{
    QTest::addColumn<QString>("pageButton");
    QTest::addColumn<QString>("slider");
    QTest::newRow("brightness") << "LightsButton" << "horizontalLight";
    QTest::newRow("speed") << "LightsButton" << "horizontalSpeed";
    QTest::newRow("dpi value") << "SensorButton" << "horizontalSliderC";
}

// One press on the groove far from the handle, held a while, while the mouse sleeps: one notice
// after the release, the slider back on the mouse's value, and after the wake nothing written.
void WindowHandTest::sliderPressOnASleepingMouseThenWake()
{
    QFETCH(QString, pageButton);
    QFETCH(QString, slider);
    Program program;
    QVERIFY(program.load());
    program.openPage(qPrintable(pageButton));
    auto* control = program.window->findChild<QSlider*>(slider);
    QVERIFY(control && control->isVisible());
    const int shown = control->value();
    const int writes = program.writes();
    program.sleep();

    // The end of the groove away from the handle.
    const bool handleRight = control->value() - control->minimum() > (control->maximum() - control->minimum()) / 2;
    const QPoint farEnd(handleRight ? 3 : control->width() - 3, control->height() / 2);
    int valueAtNotice = -1;
    program.atNotice = [&] { valueAtNotice = control->value(); };
    program.press(control, farEnd);
    QVERIFY(!QApplication::activeModalWidget());  // never inside the press
    QTest::qWait(ProgramWaits::scaled(900));      // past the groove's repeat delay
    QCOMPARE(program.notices(), 0);               // nor while the hand holds the button
    program.release(control, farEnd);

    QVERIFY(program.reloadedAfterWake());
    QCOMPARE(program.notices(), 1);
    QCOMPARE(valueAtNotice, shown);
    QTest::qWait(ProgramWaits::scaled(900));
    QVERIFY2(program.writes() - writes <= 1, qPrintable(QString::number(program.writes() - writes)));
    QCOMPARE(program.writes(), writes);
    QCOMPARE(program.notices(), 1);
    QCOMPARE(control->value(), shown);
}

void WindowHandTest::offlineLevelCountChangeShowsOneNoticeAndWritesNothing()
{
    Program program;
    QVERIFY(program.load());
    program.openPage("SensorButton");
    auto* dpi = program.window->findChild<SensorDPI*>();
    auto* count = dpi->findChild<QComboBox*>(QStringLiteral("ChooseEvent"));
    QCOMPARE(count->currentIndex(), 2);
    // The active level lies beyond the count chosen below: the change would write three times.
    QTest::mouseClick(dpi->findChild<QToolButton*>(QStringLiteral("RedButton")), Qt::LeftButton);
    QCOMPARE(int(program.stored().at(CurrentLevel)), 2);
    const QByteArray before = program.stored();
    const int writes = program.writes();
    program.sleep();

    int countAtNotice = -1;
    bool thirdShown = false;
    program.atNotice = [&] {
        countAtNotice = count->currentIndex();
        thirdShown = dpi->findChild<QToolButton*>(QStringLiteral("RedButton"))->isVisible();
    };
    pick(count, 0);

    QVERIFY(program.reloadedAfterWake());
    QCOMPARE(countAtNotice, 2);  // the list shows the mouse's count again
    QVERIFY(thirdShown);
    QTest::qWait(ProgramWaits::scaled(900));
    QCOMPARE(program.notices(), 1);
    QCOMPARE(program.writes(), writes);
    QCOMPARE(program.stored(), before);
    QCOMPARE(count->currentIndex(), 2);
}

void WindowHandTest::offlineMarkerDropGoesBack()
{
    Program program;
    QVERIFY(program.load());
    program.openPage("SensorButton");
    auto* dpi = program.window->findChild<SensorDPI*>();
    auto* marker = dpi->findChild<QLabel*>(QStringLiteral("label_8"));
    const int writes = program.writes();
    program.sleep();

    const QPoint grip(15, 15);
    QPoint markerAtNotice;
    int levelAtNotice = -1;
    program.atNotice = [&] {
        markerAtNotice = marker->pos();
        levelAtNotice = dpi->currentLevel();
    };
    program.press(marker, grip);
    program.moveTo(dpi, QPoint(27 + 91, 154) + grip);
    program.release(dpi, QPoint(27 + 91, 154) + grip);

    QVERIFY(program.reloadedAfterWake());
    QCOMPARE(markerAtNotice, QPoint(27, 154));
    QCOMPARE(levelAtNotice, 0);
    QCOMPARE(program.notices(), 1);
    QCOMPARE(program.writes(), writes);
}

void WindowHandTest::currentMacroKeepsItsHighlightAcrossALanguageChange()
{
    Program program;
    QDir().mkpath(MacroFolder());
    for (const char* name : {"Alpha", "Beta"}) {
        QFile file(MacroFolder() + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("1\n0x01 4 0\n10ms\n0x01 4 1\n");
    }
    // The mouse's second button plays a macro of its own: the button page lists it on every
    // redraw of its bindings, a language change among them.
    QByteArray image = program.stored();
    const QByteArray withMacros = SimScript::makeImage(33, 2, 2);
    image.replace(956, withMacros.size() - 956, withMacros.mid(956));
    image[74 + 3] = 6;
    image[74 + 4] = 1;
    image[74 + 5] = 1;
    HidSim_SetImage(program.mouse.mouse, 0, reinterpret_cast<const uint8_t*>(image.constData()));
    QVERIFY(program.load());
    program.openPage("MacroButton");
    auto* macros = program.window->findChild<QListWidget*>(QStringLiteral("listWidgetHong"));
    auto* events = program.window->findChild<QListWidget*>(QStringLiteral("listWidgetKey"));
    QCOMPARE(macros->count(), 3);
    const QRect beta = macros->visualItemRect(macros->item(1));
    QTest::mouseClick(program.window->windowHandle(), Qt::LeftButton, {},
                      program.at(macros->viewport(), beta.center()));
    QCOMPARE(macros->currentRow(), 1);
    QCOMPARE(events->count(), 3);

    program.openPage("FormSetting");
    auto* language = program.window->findChild<QComboBox*>(QStringLiteral("comboBox"));
    QVERIFY(language);
    pick(language, 5);
    QCOMPARE(program.window->findChild<QToolButton*>(QStringLiteral("Save"))->text(), QString::fromUtf8("保存"));
    program.openPage("MacroButton");
    QCOMPARE(macros->currentRow(), 1);
    QVERIFY(macros->item(1)->isSelected());
    QCOMPARE(events->count(), 3);
    pick(language, 0);
}

// A press whose release a modal dialog took (opened by the press, as some controls do) does
// not hold the offline notice back: the window knows it will never see that release.
void WindowHandTest::noticeAfterADialogOpenedByAPressComesAtOnce()
{
    Program program;
    QVERIFY(program.load());
    program.sleep();
    auto* modal = new QDialog(program.window.get());
    modal->setObjectName(QStringLiteral("OpenedByThePress"));
    program.answerer.on(QStringLiteral("OpenedByThePress"), ModalAnswerer::reject());
    // The press on a bare spot of the window opens the dialog, as a control's press would.
    QTimer::singleShot(0, modal, [modal] { modal->exec(); });
    QTest::mousePress(program.window->windowHandle(), Qt::LeftButton, {}, QPoint(600, 40));
    QTRY_COMPARE(program.answerer.handled().count(QStringLiteral("QDialog")), 1);
    QTRY_VERIFY(!modal->isVisible());

    QElapsedTimer clock;
    clock.start();
    PostMsg::instance()->SendMouseOffLineo(0);  // no release of that press ever comes
    QVERIFY(program.reloadedAfterWake());
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(program.notices(), 1);
}

// A click on the rapid-fire button through the window (the button acts on the press): its
// dialog opens only once the release has been handled, so the press is not left hanging under
// the dialog, what the dialog chose reaches the mouse, and the hand moving afterwards does not
// take the window along.
void WindowHandTest::rapidFireDialogOpensAfterTheRelease()
{
    Program program;
    QByteArray image = program.stored();
    image.replace(77, 3, QByteArray("\x01\x02\x00", 3));  // the second key: a right click
    HidSim_SetImage(program.mouse.mouse, 0, reinterpret_cast<const uint8_t*>(image.constData()));
    QVERIFY(program.load());
    program.openPage("ButtonMain");
    auto* page = program.window->findChild<Buttoninterface*>();
    QVERIFY(page && page->isVisible());
    auto* right = page->findChild<QToolButton*>(QStringLiteral("RightKey"));
    auto* fire = page->findChild<QToolButton*>(QStringLiteral("DPI_6"));
    const QPoint rightAt = right->rect().center();
    program.press(right, rightAt);
    program.release(right, rightAt);
    QVERIFY(right->isChecked());
    QVERIFY(fire->isVisible());

    bool openedAfterRelease = false;
    bool downUnderDialog = true;
    program.answerer.on(QStringLiteral("FireKey"), [&](QWidget* dialog) {
        openedAfterRelease = QGuiApplication::mouseButtons() == Qt::NoButton;
        downUnderDialog = fire->isDown();
        dialog->findChild<QSpinBox*>(QStringLiteral("Time"))->setValue(25);
        dialog->findChild<QSpinBox*>(QStringLiteral("Count"))->setValue(2);
        ModalAnswerer::clickButton(QStringLiteral("NewHong"))(dialog);
    });
    const int writes = program.writes();
    const QPoint fireAt = fire->rect().center();
    program.press(fire, fireAt);
    program.release(fire, fireAt);
    QTRY_COMPARE(program.answerer.handled().count(QStringLiteral("FireKey")), 1);
    QVERIFY2(openedAfterRelease, "the dialog opened while the button was held");
    QVERIFY(!downUnderDialog);
    QVERIFY(!fire->isDown());
    QCOMPARE(program.writes(), writes + 1);
    QCOMPARE(program.stored().mid(77, 3), QByteArray("\x04\x19\x02", 3));

    const QPoint windowAt = program.window->pos();
    program.moveTo(fire, fireAt + QPoint(40, 30));
    QCoreApplication::processEvents();
    QCOMPARE(program.window->pos(), windowAt);
}

void WindowHandTest::dialogsForAMouseCloseWhenItGoes_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("clicks");  // in turn; the last opens the dialog
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<bool>("twin");       // a second mouse of the model, plugged in meanwhile, stays
    QTest::addColumn<bool>("backArrow");  // the user goes back instead of unplugging
    const QStringList rapidFire{QStringLiteral("RightKey"), QStringLiteral("DPI_6")};
    const QStringList swatch{QStringLiteral("BlueButtonA")};
    QTest::newRow("rapid fire") << "ButtonMain" << rapidFire << "FireKey" << false << false;
    QTest::newRow("rapid fire, a mouse of the same model stays") << "ButtonMain" << rapidFire << "FireKey" << true << false;
    QTest::newRow("profile file") << "ButtonMain" << QStringList{"ImportData"} << "QFileDialog" << false << false;
    QTest::newRow("level colour") << "SensorButton" << swatch << "QColorDialog" << false << false;
    // The colour dialog leaves the window the hand: the back arrow is at hand.
    QTest::newRow("level colour, back arrow") << "SensorButton" << swatch << "QColorDialog" << false << true;
}

// The frame's mouse goes while a dialog opened for it is up: the window goes back to the tiles,
// the dialog closes as if cancelled, and nothing reaches that mouse or another of its model.
void WindowHandTest::dialogsForAMouseCloseWhenItGoes()
{
    QFETCH(QString, page);
    QFETCH(QStringList, clicks);
    QFETCH(QString, dialog);
    QFETCH(bool, twin);
    QFETCH(bool, backArrow);
    Program program{Program::OneCableMouse};
    bindSecondKeyToRightClick(program.mouse.mouse);
    QVERIFY(program.load());
    // Two mice of one model show no tiles; the second one comes while the frame is up.
    SimScript::Device other;
    if (twin) {
        other = SimScript::addCableMouse(1);
        HidSim_SetImage(other.mouse, 0, reinterpret_cast<const uint8_t*>(program.stored().constData()));
        QVERIFY(SimScript::settle());
        QCOMPARE(CurrentDevicePath(), program.mouse.path);
    }
    program.openPage(qPrintable(page));
    const QByteArray stored = program.stored();
    const int writes = program.writes();
    const int otherWrites = twin ? HidSim_WriteCount(other.mouse) : 0;

    // The mouse goes while the dialog is up. A dialog the window leaves behind is closed after
    // a while here, so that its loop ends and the test can tell.
    QPointer<QDialog> opened;
    bool leftBehind = false;
    QObject guard;
    const auto leave = [&](QWidget* shown) {
        opened = qobject_cast<QDialog*>(shown);
        QTimer::singleShot(ProgramWaits::scaled(8000), &guard, [&] {
            if (opened && opened->isVisible()) {
                leftBehind = true;
                opened->reject();
            }
        });
        if (backArrow)
            QTest::mouseClick(program.window->windowHandle(), Qt::LeftButton, {},
                              program.at(shownChild(program.window.get(), QStringLiteral("UpArrow")), QPoint(10, 10)));
        else
            HidSim_SetPlugged(program.mouse.interface, 0);
    };
    program.answerer.on(dialog, leave);
    for (const QString& name : clicks) {
        QWidget* control = shownChild(program.window.get(), name);
        QVERIFY2(control, qPrintable(name));
        program.press(control, control->rect().center());
        program.release(control, control->rect().center());
    }
    if (dialog == QLatin1String("QColorDialog")) {
        // Not modal: it is simply shown.
        QVERIFY(spinUntil([&] { return shownDialogs(program.window.get()).contains(dialog); }));
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->inherits("QColorDialog"))
                leave(widget);
    }
    const bool seen = spinUntil([&] { return opened || program.answerer.handled().contains(dialog); });
    QVERIFY2(seen, qPrintable(dialog));
    QVERIFY(spinUntil([&] {
        HidSim_DeliverPending(20);
        return program.window->currentPage() == DialogMain::ChoicePage && !(opened && opened->isVisible());
    }, 12000));
    QVERIFY2(!leftBehind, "the dialog stayed over the tiles");
    QCOMPARE(shownDialogs(program.window.get()), QStringList());
    QCOMPARE(program.writes(), writes);
    QCOMPARE(program.stored(), stored);
    if (twin)
        QCOMPARE(HidSim_WriteCount(other.mouse), otherWrites);
}

void WindowHandTest::wheelPassesOverListsAndSliders_data()
{
    QTest::addColumn<int>("mice");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("pageScrolls");
    const int receiver = Program::OneReceiverMouse;
    QTest::newRow("language list") << receiver << "FormSetting" << "comboBox" << true;
    QTest::newRow("debounce list") << receiver << "ButtonMain" << "Debunce" << false;
    QTest::newRow("DPI slider") << receiver << "SensorButton" << "horizontalSliderC" << false;
    QTest::newRow("DPI level count list") << receiver << "SensorButton" << "ChooseEvent" << false;
    QTest::newRow("brightness slider") << receiver << "LightsButton" << "horizontalLight" << false;
    QTest::newRow("speed slider") << receiver << "LightsButton" << "horizontalSpeed" << false;
    QTest::newRow("light effect list") << receiver << "LightsButton" << "LightMod" << false;
    QTest::newRow("red number box") << receiver << "LightsButton" << "RSpinBox" << false;
    // On the cable the sensor-mode list is fixed, and disabled.
    QTest::newRow("disabled list") << int(Program::OneCableMouse) << "SensorButton" << "ModelChoose" << false;
}

// A wheel that only passed over a closed list or a slider changes nothing and writes nothing:
// the page beneath scrolls where it can.
void WindowHandTest::wheelPassesOverListsAndSliders()
{
    QFETCH(int, mice);
    QFETCH(QString, page);
    QFETCH(QString, control);
    QFETCH(bool, pageScrolls);
    Program program{Program::Mice(mice)};
    QVERIFY(program.load());
    program.openPage(qPrintable(page));
    QWidget* widget = shownChild(program.window.get(), control);
    QVERIFY2(widget, qPrintable(control));
    auto* list = qobject_cast<QComboBox*>(widget);
    auto* slider = qobject_cast<QSlider*>(widget);
    auto* box = qobject_cast<QSpinBox*>(widget);
    QVERIFY(list || slider || box);
    QCOMPARE(widget->isEnabled(), control != QLatin1String("ModelChoose"));
    const auto value = [&] { return list ? list->currentIndex() : slider ? slider->value() : box->value(); };
    QScrollBar* pageBar = nullptr;
    for (QWidget* up = widget->parentWidget(); up && !pageBar; up = up->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(up))
            pageBar = area->verticalScrollBar();
    QCOMPARE(pageBar && pageBar->maximum() > 0, pageScrolls);
    const int shown = value();
    const int scrolled = pageBar ? pageBar->value() : 0;
    const QByteArray stored = program.stored();
    const int writes = program.writes();
    const QString language = MacroSetting::instance()->value(QStringLiteral("Language"), QStringLiteral("Language"));
    const QStringList dialogs = program.answerer.handled();

    for (int turn = 0; turn < 2; ++turn) {
        program.wheel(widget, widget->rect().center(), -1);
        program.wheel(widget, widget->rect().center(), 1);
        program.wheel(widget, widget->rect().center(), -1);
    }
    QVERIFY(runQueuedWork());

    QCOMPARE(value(), shown);
    if (pageScrolls)
        QVERIFY2(pageBar->value() > scrolled, qPrintable(QString::number(pageBar->value())));
    QCOMPARE(program.answerer.handled(), dialogs);
    QCOMPARE(program.writes(), writes);
    QCOMPARE(program.stored(), stored);
    QCOMPARE(MacroSetting::instance()->value(QStringLiteral("Language"), QStringLiteral("Language")), language);
}

QTEST_MAIN(WindowHandTest)
#include "tst_window_hand.moc"
