// Prints figures of the running program on the default simulated devices:
//   1. process start to the first painted main window,
//   2. a full 6,912-byte configuration answer handed to the library to the three pages filled,
//   3. a setter call to the image arriving in the library,
//   4. private memory with the choice page shown,
//   5. a click on a macro of 70 key events to its 139 rows shown on the Macro page,
//   6. the Macro page's language change,
//   7. the button page filled from an image with a combination, a media key and a macro,
//      emitted off the GUI thread, to the slot's return,
//   8. a language switch to every page's texts and the button page's selectors redrawn,
//   9. a media button clicked with a key chosen on the button page to the image in the library.
//  10. the sensor page filled from a full image sent off the GUI thread, to the slot's return,
//  11. one DPI value change (the slider's value set as a release sets it) to the image in the library,
//  12. one report-rate click to the image in the library,
//  13. a key event, while recording with 138 rows listed, to its row shown,
//  14. the button page's request for a saved macro of 70 key events to the image in the library.
//  15. a preset colour clicked on the lighting page (all three values differ) to its third image
//      in the library,
//  16. a plus click on the lighting page's red box to its image in the library,
//  17. a language chosen in the settings page's box, the frame and its pages built, to every
//      window's texts set,
//  18. a drag on the lighting page's colour board at a user's pace, every move a new colour for
//      the mouse, to the disk syncs (fsync, fdatasync) of the whole process a second of drag.
// With --bare it shows a plain 1020 x 700 Qt window instead and prints figures 1 and 4 only,
// for comparison. Beside figure 1 it prints the time from process start to the device tiles
// painted, beside figure 4 the private dirty memory; these start-up and memory figures are
// medians of StartRounds fresh processes (the benchmark runs itself with --once), the others
// come from the first of them. Run under a display (xvfb-run -a) or with QT_QPA_PLATFORM=offscreen.
// With --rebuilds it shows the choice page with 16 simulated devices (eight cable mice and eight
// receivers, no two alike) instead, rebuilds it RebuildRounds times by its hot-plug callback, as
// a plug event does, each time painted, and prints the median time of one rebuild. Under
// valgrind --tool=callgrind --toggle-collect='*rebuildTilesOnce*' the counts show what the
// rebuilds spend on style sheets and pictures.
// With --idle it prints the idle CPU and wake-ups of the whole process over --idle-seconds
// (default 60) of idle event loop: the bare window's, then the program's on the choice page,
// on the frame of the cable mouse and on its sensor page, each in a fresh process.
// With --macros it builds the frame and times a Buttons-tab click, which rebuilds the macro
// panel, with 1, 100 and 1,000 saved macros.
// With --frame it starts as the program does and makes the first tile click only (for
// valgrind --tool=callgrind --toggle-collect='*buildFrameByFirstClick*').
// With --start it starts as the program does and ends once the device tiles are painted (for
// callgrind, beside --bare --once).
#include "app/Startup.h"
#include "common/PostMsg.h"
#include "common/Registry.h"
#include "device/ButtonRecords.h"
#include "device/DeviceSetters.h"
#include "device/MacroNames.h"
#include "device/FlashDataMap.h"
#include "device/MacroFiles.h"
#include "device/SharedFlags.h"
#include "pages/macro/Macro.h"
#include "pages/buttons/Buttoninterface.h"
#include "device/DeviceCache.h"
#include "pages/lighting/LampLight.h"
#include "pages/lighting/ScreenColor.h"
#include "pages/sensor/Sensor.h"
#include "pages/settings/FormSetting.h"
#include "pages/macro/MacroRecorder.h"
#include "shell/DialogChange.h"
#include "shell/DialogMain.h"

#include "HIDUsbControl.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QWindow>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QSlider>
#include <QThread>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QDir>
#include <QToolButton>

#include <algorithm>
#include <atomic>
#include <map>
#include <cstdio>
#include <ctime>
#include <thread>
#include <dlfcn.h>
#include <unistd.h>
#include <vector>

// Every disk sync of the process (Qt's QSaveFile, the simulated library's files) is counted: the
// benchmark's own definitions come first in the symbol lookup and hand each call on.
std::atomic<int> g_diskSyncs{0};

template <typename Call>
int countedSync(const char* name, int fd)
{
    ++g_diskSyncs;
    static const auto real = reinterpret_cast<Call>(dlsym(RTLD_NEXT, name));
    return real ? real(fd) : -1;
}

extern "C" int fsync(int fd)
{
    return countedSync<int (*)(int)>("fsync", fd);
}

extern "C" int fdatasync(int fd)
{
    return countedSync<int (*)(int)>("fdatasync", fd);
}

namespace {

const char helpText[] =
    "kavro_bench: figures of the running program on the default simulated devices.\n"
    "Run under a display (xvfb-run -a) or with QT_QPA_PLATFORM=offscreen.\n"
    "\n"
    "  (no option)       start-up to the first painted window and to the tiles, private memory,\n"
    "                    the first tile click to the frame painted and its other pages built, the\n"
    "                    timed rounds of the pages (fill, setters, macros, recording, lighting,\n"
    "                    languages): medians; the disk syncs of a colour-board drag\n"
    "  --bare            the same start-up and memory figures of a plain 1020 x 700 Qt window\n"
    "  --rebuilds        one rebuild of a choice page with 16 devices, median of 20\n"
    "  --frame           the first tile click only (for callgrind's --toggle-collect)\n"
    "  --start           one start of the program, ended once its tiles are painted (for\n"
    "                    callgrind, beside --bare --once)\n"
    "  --macros          a Buttons-tab click with 1, 100 and 1,000 saved macros\n"
    "  --idle            idle CPU and wake-ups: the bare window, the choice page, the frame and\n"
    "                    the sensor page, each in a fresh process\n"
    "  --idle-seconds N  length of each idle stretch (default 60)\n"
    "  --help            this text\n";

constexpr int Rounds = 50;
constexpr int StartRounds = 9;  // fresh processes for the start-up and memory figures

QElapsedTimer g_sinceMain;
double g_startToMainMs = 0;  // process start (kernel) to main()
double g_firstPaintMs = -1;  // main() to the first paint event of the main window
double g_tilesPaintedMs = -1;  // main() to the first paint of a device tile
qint64 g_privateDirtyKb = -1;
qint64 g_privateKb = -1;
std::vector<double> g_loadMs;
std::vector<double> g_writeMs;
std::vector<double> g_buttonFillMs;
std::vector<double> g_languageMs;
std::vector<double> g_assignMs;
std::vector<double> g_sensorFillMs;
std::vector<double> g_dpiValueMs;
std::vector<double> g_rateClickMs;
QString g_failure;
std::vector<double> g_macroClickMs;
std::vector<double> g_macroLanguageMs;
std::vector<double> g_recordKeyMs;
std::vector<double> g_macroSendMs;
std::vector<double> g_presetMs;
std::vector<double> g_plusMs;
std::vector<double> g_settingsLanguageMs;
double g_dragSyncsPerSecond = -1;
int g_dragSyncs = -1;
int g_dragImages = -1;
const QString BenchMacro = QStringLiteral("Bench70");

// A macro of 70 key events with a delay between two: 139 rows.
void writeBenchMacro()
{
    MacroRows rows;
    for (int i = 0; i < 70; ++i) {
        if (i > 0)
            rows.append({QStringLiteral("%1ms").arg(10 + i), false});
        rows.append({QString(QChar('A' + i / 2 % 26)), i % 2 == 1});
    }
    WriteMacroFile(MacroFilePath(MacroFolder(), BenchMacro), 1, rows);
}

int findCableMouse();
bool waitUntil(const std::function<bool()>& done, int timeoutMs);

// Figures 5, 6, 13 and 14 on the Macro page.
void measureMacroPage(QWidget* window)
{
    auto* page = window->findChild<Macro*>();
    auto* list = page ? page->findChild<QListWidget*>(QStringLiteral("listWidgetHong")) : nullptr;
    const QList<QListWidgetItem*> found = list ? list->findItems(BenchMacro, Qt::MatchExactly) : QList<QListWidgetItem*>{};
    if (found.isEmpty()) {
        g_failure = QStringLiteral("the Macro page does not list the bench macro");
        return;
    }
    list->setCurrentItem(found.first());
    const QModelIndex index = list->currentIndex();
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer clock;
        clock.start();
        QMetaObject::invokeMethod(page, "on_listWidgetHong_clicked", Q_ARG(QModelIndex, index));
        if (page->rows().size() != 139) {
            g_failure = QStringLiteral("the bench macro did not show 139 rows");
            return;
        }
        g_macroClickMs.push_back(clock.nsecsElapsed() / 1e6);
    }
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer clock;
        clock.start();
        page->SlotChangeLanguage(i % 2 ? 0 : 5);
        g_macroLanguageMs.push_back(clock.nsecsElapsed() / 1e6);
    }
    page->SlotChangeLanguage(0);

    // Figure 13: a key typed into the window while recording, with 138 rows already listed.
    auto* start = page->findChild<QPushButton*>(QStringLiteral("StartRecord"));
    auto* stop = page->findChild<QPushButton*>(QStringLiteral("StopRecord"));
    window->activateWindow();
    waitUntil([window] { return window->isActiveWindow(); }, 2000);
    for (int i = 0; i < Rounds; ++i) {
        start->click();
        for (int row = 0; row < 69; ++row) {
            page->AddKeyItem(QStringLiteral("B"), row % 2 == 0);
            page->AddDelayItem(10);
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38, 'a', 0, QStringLiteral("a"));
        const int before = page->rows().size();
        QElapsedTimer clock;
        clock.start();
        QCoreApplication::sendEvent(window->windowHandle(), &press);
        const bool shown = page->rows().size() > before;
        g_recordKeyMs.push_back(clock.nsecsElapsed() / 1e6);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, 38, 'a', 0, QStringLiteral("a"));
        QCoreApplication::sendEvent(window->windowHandle(), &release);
        stop->click();
        if (before != 138 || !shown) {
            g_failure = QStringLiteral("a recorded key did not reach its row");
            return;
        }
    }

    // Figure 14: the saved bench macro to device key 9, as the button page asks for it.
    const int mouse = findCableMouse();
    WriteEnabled = 1;
    for (int i = 0; i < Rounds; ++i) {
        const int before = HidSim_WriteCount(mouse);
        QElapsedTimer clock;
        clock.start();
        PostMsg::instance()->SendMacroDownLoadData(BenchMacro, 9);
        while (HidSim_WriteCount(mouse) == before && clock.elapsed() < 2000) {
        }
        if (HidSim_WriteCount(mouse) == before) {
            g_failure = QStringLiteral("a saved macro did not reach the library");
            return;
        }
        g_macroSendMs.push_back(clock.nsecsElapsed() / 1e6);
    }
}

// Milliseconds from the kernel's start of this process to now (10 ms resolution).
double processAgeMs()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    const int close = line.lastIndexOf(')');
    if (close < 0)
        return 0;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    if (fields.size() < 20)
        return 0;
    const double startTicks = fields.at(19).toDouble();  // field 22 of the whole line
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// Private (not shared) resident memory of this process in KiB.
// Private_Dirty of this process in KiB: memory it wrote that nobody shares.
qint64 privateDirtyKb()
{
    QFile smaps(QStringLiteral("/proc/self/smaps_rollup"));
    if (!smaps.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        if (line.startsWith("Private_Dirty:"))
            return line.simplified().split(' ').value(1).toLongLong();
    }
    return -1;
}

qint64 privateMemoryKb()
{
    QFile smaps(QStringLiteral("/proc/self/smaps_rollup"));
    if (!smaps.open(QIODevice::ReadOnly))
        return -1;
    qint64 total = 0;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        if (line.startsWith("Private_Clean:") || line.startsWith("Private_Dirty:"))
            total += line.simplified().split(' ').value(1).toLongLong();
    }
    return total;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

// Notes the first paint of the window.
class PaintWatch : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            if (g_firstPaintMs < 0)
                g_firstPaintMs = g_sinceMain.nsecsElapsed() / 1e6;
            if (g_tilesPaintedMs < 0 && watched->objectName() == QLatin1String("btn0"))
                g_tilesPaintedMs = g_sinceMain.nsecsElapsed() / 1e6;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Marks the moment the pages were filled: SigForm follows the three page images, and this
// receiver is connected after the pages, so it runs once they have been filled.
class LoadWatch : public QObject {
    Q_OBJECT
public:
    LoadWatch() { PostMsg::connectBlocking(SIGNAL(SigForm()), this, SLOT(onForm())); }
    QElapsedTimer clock;
    std::atomic<bool> filled{false};
    double elapsedMs = 0;
private slots:
    void onForm()
    {
        elapsedMs = clock.nsecsElapsed() / 1e6;
        filled = true;
    }
};

int findCableMouse()
{
    std::vector<uint8_t> image(HIDUSB_IMAGE_SIZE);
    for (int id = 0; id < 16; ++id) {
        if (HidSim_GetImage(id, 0, image.data()) == 0)
            return id;
    }
    return -1;
}

void measureSensorPage(QWidget* window, int mouse, const std::vector<uint8_t>& image);

double g_frameBuildMs = -1;
double g_otherPagesMs = -1;

// The first tile click builds the configuration frame with its button page; timed from the
// click to the frame painted. Under valgrind --tool=callgrind
// --toggle-collect='*buildFrameByFirstClick*' the counts show what the build spends on style
// sheets, pictures and dialogs.
Q_NEVER_INLINE void buildFrameByFirstClick(QWidget* window)
{
    auto* tile = window->findChild<QAbstractButton*>(QStringLiteral("btn0"));
    QElapsedTimer clock;
    clock.start();
    tile->click();
    window->repaint();
    g_frameBuildMs = clock.nsecsElapsed() / 1e6;
}

// The frame's four other pages, built once it was painted (or by the first signal for one of
// them): timed from the paint to the last of them made (--toggle-collect='*buildOtherPages*').
Q_NEVER_INLINE void buildOtherPages(QWidget* window)
{
    QElapsedTimer clock;
    clock.start();
    if (waitUntil([window] { return window->findChild<FormSetting*>() != nullptr; }, 10000))
        g_otherPagesMs = clock.nsecsElapsed() / 1e6;
}
void measureLightingAndSettings(QWidget* window, int mouse);

void measureProgram(QWidget* window)
{
    // Figure 4: the choice page with its tiles.
    if (!waitUntil([window] { return window->findChild<QAbstractButton*>(QStringLiteral("btn0")) != nullptr; }, 5000)) {
        g_failure = QStringLiteral("no device tile appeared");
        return;
    }
    QCoreApplication::processEvents();
    waitUntil([] { return g_tilesPaintedMs >= 0; }, 5000);
    g_privateKb = privateMemoryKb();
    g_privateDirtyKb = privateDirtyKb();

    // Choose the cable mouse; the busy dialog's fixed waits are not part of the figures.
    HidSim_SetZeroDelays(1);
    NoBusyDialog = 1;
    buildFrameByFirstClick(window);
    buildOtherPages(window);
    if (!waitUntil([] { return SensorPageReady && LightPageReady && ButtonPageReady && !RunRequested; }, 10000)) {
        g_failure = QStringLiteral("the chosen mouse did not load");
        return;
    }
    const int mouse = findCableMouse();
    std::vector<uint8_t> image(HIDUSB_IMAGE_SIZE);
    HidSim_GetImage(mouse, 0, image.data());

    // Figure 2: a full answer through the data callback into the three pages.
    std::vector<uint8_t> answer(HIDUSB_FULL_ANSWER_SIZE, 0);
    std::copy(image.begin(), image.begin() + 956, answer.begin());
    answer[956] = 0xFF;  // no macros
    LoadWatch watch;
    for (int i = 0; i < Rounds; ++i) {
        HidSim_DeliverPending(2000);
        watch.filled = false;
        watch.clock.start();
        HidSim_Inject(8, 0, 0, answer.data(), uint32_t(answer.size()));
        if (!waitUntil([&watch] { return watch.filled.load(); }, 5000)) {
            g_failure = QStringLiteral("a full answer did not reach the pages");
            return;
        }
        g_loadMs.push_back(watch.elapsedMs);
    }
    HidSim_DeliverPending(2000);

    // Figure 3: a setter's image arriving in the library.
    for (int i = 0; i < Rounds; ++i) {
        const int before = HidSim_WriteCount(mouse);
        QElapsedTimer clock;
        clock.start();
        SetReportRate(i % 2 ? 0x01 : 0x02);
        while (HidSim_WriteCount(mouse) == before && clock.elapsed() < 2000) {
        }
        if (HidSim_WriteCount(mouse) == before) {
            g_failure = QStringLiteral("a setter's image did not arrive");
            return;
        }
        g_writeMs.push_back(clock.nsecsElapsed() / 1e6);
    }
    measureMacroPage(window);

    // Figure 7: the button page filled from a device thread, as the data callback does.
    FlashDataMap bindings{};
    std::copy(image.begin(), image.end(), reinterpret_cast<uint8_t*>(&bindings));
    bindings.buttons[1] = ComboBinding;
    bindings.combos[1] = BuildComboRecord(QStringLiteral("Ctrl+Shift+A"));
    bindings.buttons[2] = ComboBinding;
    bindings.combos[2] = MediaKeyRecord(0x00E9);
    bindings.buttons[5] = ButtonBinding{6, 5, 1};
    WriteMacroRecordName(bindings.macros[5], QStringLiteral("Bench"));
    for (int i = 0; i < Rounds; ++i) {
        std::atomic<bool> done{false};
        double elapsed = 0;
        std::thread device([&] {
            QElapsedTimer clock;
            clock.start();
            PostMsg::instance()->SendUpDataLightUIButton(bindings);
            elapsed = clock.nsecsElapsed() / 1e6;
            done = true;
        });
        waitUntil([&done] { return done.load(); }, 5000);
        device.join();
        g_buttonFillMs.push_back(elapsed);
    }

    // Figure 8: a language switch, every page and the button page's selectors.
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer clock;
        clock.start();
        PostMsg::instance()->SendChangeLanguage(i % 2 ? 0 : 5);
        g_languageMs.push_back(clock.nsecsElapsed() / 1e6);
    }

    // Figure 9: one assignment on the button page, the second key to volume up.
    auto* page = window->findChild<Buttoninterface*>();
    auto* key = page ? page->findChild<QAbstractButton*>(QStringLiteral("RightKey")) : nullptr;
    auto* media = page ? page->findChild<QAbstractButton*>(QStringLiteral("VolumeDown")) : nullptr;
    if (!key || !media) {
        g_failure = QStringLiteral("no button page");
        return;
    }
    for (int i = 0; i < Rounds; ++i) {
        key->setChecked(true);
        media->setChecked(false);
        const int before = HidSim_WriteCount(mouse);
        QElapsedTimer clock;
        clock.start();
        media->click();
        while (HidSim_WriteCount(mouse) == before && clock.elapsed() < 2000) {
        }
        if (HidSim_WriteCount(mouse) == before) {
            g_failure = QStringLiteral("an assignment did not arrive");
            return;
        }
        g_assignMs.push_back(clock.nsecsElapsed() / 1e6);
    }
    if (g_failure.isEmpty())
        measureSensorPage(window, mouse, image);
    if (g_failure.isEmpty())
        measureLightingAndSettings(window, mouse);
}

// Times `action` from its start to the library's write count grown by `writes`; false on time-out.
bool timeWrite(int mouse, const std::function<void()>& action, std::vector<double>& into, int writes = 1)
{
    const int before = HidSim_WriteCount(mouse);
    QElapsedTimer clock;
    clock.start();
    action();
    while (HidSim_WriteCount(mouse) < before + writes && clock.elapsed() < 2000) {
    }
    if (HidSim_WriteCount(mouse) < before + writes)
        return false;
    into.push_back(clock.nsecsElapsed() / 1e6);
    return true;
}

// Figures 10 to 12: the sensor page's fill and two of its controls.
void measureSensorPage(QWidget* window, int mouse, const std::vector<uint8_t>& image)
{
    FlashDataMap map{};
    std::copy(image.begin(), image.end(), reinterpret_cast<uint8_t*>(&map));
    // The image is emitted as the device side emits it: off the GUI thread, blocking until
    // the page's slot has returned.
    for (int i = 0; i < Rounds; ++i) {
        double elapsed = -1;
        QThread* emitter = QThread::create([&] {
            QElapsedTimer clock;
            clock.start();
            PostMsg::instance()->SendUpDataLightSensor(map);
            elapsed = clock.nsecsElapsed() / 1e6;
        });
        emitter->start();
        waitUntil([emitter] { return emitter->isFinished(); }, 5000);
        emitter->wait();
        delete emitter;
        if (elapsed < 0) {
            g_failure = QStringLiteral("a sensor page fill did not return");
            return;
        }
        g_sensorFillMs.push_back(elapsed);
    }

    auto* sensor = window->findChild<Sensor*>();
    auto* slider = sensor ? sensor->findChild<QSlider*>(QStringLiteral("horizontalSliderC")) : nullptr;
    auto* rate500 = sensor ? sensor->findChild<QAbstractButton*>(QStringLiteral("Button500HZ")) : nullptr;
    auto* rate1000 = sensor ? sensor->findChild<QAbstractButton*>(QStringLiteral("Button1000HZ")) : nullptr;
    if (!slider || !rate500 || !rate1000) {
        g_failure = QStringLiteral("the sensor page has no DPI slider or rate buttons");
        return;
    }
    NoBusyDialog = 0;
    WriteEnabled = 1;
    for (int i = 0; i < Rounds; ++i) {
        if (!timeWrite(mouse, [slider, i] { slider->setValue(i % 2 ? 800 : 1600); }, g_dpiValueMs)) {
            g_failure = QStringLiteral("a DPI value did not reach the library");
            return;
        }
    }
    for (int i = 0; i < Rounds; ++i) {
        QAbstractButton* button = i % 2 ? rate1000 : rate500;
        if (!timeWrite(mouse, [button] { button->click(); }, g_rateClickMs)) {
            g_failure = QStringLiteral("a report-rate click did not reach the library");
            return;
        }
    }
}

constexpr int RebuildRounds = 20;

// Sixteen devices the choice page lists side by side: cable mice of eight models (at most five
// under one vendor and product id, as the finder lists) and receivers of the four kinds for two
// further models.
void addSixteenDevices()
{
    HidSim_Reset();
    const int cableMids[] = {1, 2, 4, 5, 6, 10, 13, 14};
    const struct {
        const char* pid;
        int kind;
    } receivers[] = {{"0xF501", 0}, {"0xF502", 4}, {"0xF503", 1}, {"0xF504", 5}};
    uint8_t address = 0;
    const auto addMouse = [&address](int mid) {
        HidSimMouseSetup mouse{};
        mouse.cid = 10;
        mouse.mid = uint8_t(mid);
        mouse.address[0] = 0x4B;
        mouse.address[1] = ++address;
        mouse.version = 0x0103;
        mouse.battery = 80;
        mouse.awake = 1;
        return HidSim_AddMouse(&mouse);
    };
    for (int i = 0; i < 8; ++i) {
        HidSimInterfaceSetup cable{};
        cable.vid = i < 5 ? "0x3554" : "0x3555";
        cable.pid = "0xF500";
        cable.kind = 2;
        cable.version = 0x0103;
        cable.mouseId = addMouse(cableMids[i]);
        HidSim_AddInterface(&cable);
    }
    for (int mid : {15, 19}) {
        for (const auto& r : receivers) {
            HidSimInterfaceSetup receiver{};
            receiver.vid = "0x3554";
            receiver.pid = r.pid;
            receiver.kind = r.kind;
            receiver.version = 0x0110;
            receiver.mouseId = addMouse(mid);
            HidSim_AddInterface(&receiver);
        }
    }
}

// One rebuild as a plug event makes it, with the old tiles deleted and the new ones painted.
Q_NEVER_INLINE void rebuildTilesOnce(QWidget* window)
{
    OnChoicePageUsbChanged();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    window->repaint();
}

int runRebuilds(int& argc, char** argv)
{
    QApplication app(argc, argv);
    HidSim_SetZeroDelays(1);
    addSixteenDevices();
    DialogMain window;
    window.show();
    if (!waitUntil([&window] { return window.findChild<QAbstractButton*>(QStringLiteral("btn15")) != nullptr; }, 10000)) {
        std::printf("FAILED: the choice page did not list the sixteen devices\n");
        return 1;
    }
    QCoreApplication::processEvents();
    std::vector<double> times;
    for (int i = 0; i < RebuildRounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        rebuildTilesOnce(&window);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("Kavro Mouse Software, choice page with 16 simulated devices\n");
    std::printf("  rebuild on a plug event, painted (median of %d): %.3f ms\n", RebuildRounds, median(times));
    return 0;
}

// The program as it starts, the choice page shown, then the first tile click only: for
// callgrind, which runs the whole benchmark too slowly.
int runFrameBuild(int& argc, char** argv)
{
    const int status = runProgram(argc, argv, [] {
        auto* window = new DialogMain;
        QTimer::singleShot(0, window, [window] {
            HidSim_SetZeroDelays(1);
            NoBusyDialog = 1;
            if (waitUntil([window] { return window->findChild<QAbstractButton*>(QStringLiteral("btn0")) != nullptr; }, 10000)) {
                QCoreApplication::processEvents();
                buildFrameByFirstClick(window);
                buildOtherPages(window);
                // The load the click started ends before the program does.
                waitUntil([] { return SensorPageReady && LightPageReady && ButtonPageReady && !RunRequested; }, 10000);
                HidSim_DeliverPending(2000);
            }
            QCoreApplication::exit(0);
        });
        return window;
    });
    std::printf("  first tile click to the frame painted, its button page built: %.1f ms\n", g_frameBuildMs);
    std::printf("  the four other pages, built after that paint: %.1f ms\n", g_otherPagesMs);
    return g_frameBuildMs < 0 || g_otherPagesMs < 0 ? 1 : status;
}

// The program's start alone: it ends as soon as its device tiles are painted.
int runStartOnly(int& argc, char** argv)
{
    return runProgram(argc, argv, [] {
        auto* window = new DialogMain;
        auto* paint = new PaintWatch(window);
        QCoreApplication::instance()->installEventFilter(paint);
        QTimer::singleShot(0, window, [] {
            waitUntil([] { return g_tilesPaintedMs >= 0; }, 10000);
            QCoreApplication::exit(g_tilesPaintedMs >= 0 ? 0 : 1);
        });
        return window;
    });
}

constexpr int MacroClickRounds = 20;

// Saved macros named Scale0000, Scale0001, ... up to `count`, each of one key press.
void writeScaleMacros(int count)
{
    for (int i = 0; i < count; ++i) {
        const QString path = MacroFilePath(MacroFolder(), QStringLiteral("Scale%1").arg(i, 4, 10, QLatin1Char('0')));
        if (!QFileInfo::exists(path))
            WriteMacroFile(path, 1, MacroRows{{QStringLiteral("A"), false}});
    }
}

// One Buttons-tab click, which rebuilds the macro panel (open on the second key), to the old
// panel deleted and the window painted.
Q_NEVER_INLINE void clickButtonsTabOnce(QWidget* window, QAbstractButton* tab)
{
    tab->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    window->repaint();
}

// The frame built by a tile click, then for 1, 100 and 1,000 saved macros (the bench macro among
// them) the median time of a Buttons-tab click and the private dirty memory it added, and of a
// click with one macro saved since the last one (the panel built anew).
int runMacroScale(int& argc, char** argv)
{
    QApplication app(argc, argv);
    HidSim_SetZeroDelays(1);
    NoBusyDialog = 1;
    DialogMain window;
    window.show();
    if (!waitUntil([&window] { return window.findChild<QAbstractButton*>(QStringLiteral("btn0")) != nullptr; }, 10000)) {
        std::printf("FAILED: no device tile appeared\n");
        return 1;
    }
    window.findChild<QAbstractButton*>(QStringLiteral("btn0"))->click();
    if (!waitUntil([] { return ButtonPageReady && !RunRequested; }, 10000)) {
        std::printf("FAILED: the chosen mouse did not load\n");
        return 1;
    }
    auto* tab = window.findChild<QAbstractButton*>(QStringLiteral("ButtonMain"));
    auto* page = window.findChild<Buttoninterface*>();
    std::printf("Kavro Mouse Software, Buttons-tab click with saved macros (median of %d)\n", MacroClickRounds);
    for (int count : {1, 100, 1000}) {
        writeScaleMacros(count - 1);  // with the bench macro
        clickButtonsTabOnce(&window, tab);
        // The second key opened on its macro panel, as a user picks a macro for it.
        for (const char* name : {"RightKey", "DPI_10"}) {
            if (auto* button = page ? page->findChild<QAbstractButton*>(QLatin1String(name)) : nullptr)
                button->click();
        }
        const qint64 before = privateDirtyKb();
        std::vector<double> times;
        for (int i = 0; i < MacroClickRounds; ++i) {
            QElapsedTimer clock;
            clock.start();
            clickButtonsTabOnce(&window, tab);
            times.push_back(clock.nsecsElapsed() / 1e6);
        }
        const qint64 grown = privateDirtyKb() - before;
        if (!page || page->findChildren<QToolButton*>().size() < count) {
            std::printf("FAILED: the macro panel does not list %d macros\n", count);
            return 1;
        }
        // A macro saved since the last click: the panel is built anew (the extra macros go
        // again before the next count).
        std::vector<double> rebuilt;
        for (int i = 0; i < MacroClickRounds; ++i) {
            const QString extra = MacroFilePath(MacroFolder(), QStringLiteral("Extra%1").arg(i, 2, 10, QLatin1Char('0')));
            WriteMacroFile(extra, 1, MacroRows{{QStringLiteral("A"), false}});
            QElapsedTimer clock;
            clock.start();
            clickButtonsTabOnce(&window, tab);
            rebuilt.push_back(clock.nsecsElapsed() / 1e6);
        }
        for (int i = 0; i < MacroClickRounds; ++i)
            QFile::remove(MacroFilePath(MacroFolder(), QStringLiteral("Extra%1").arg(i, 2, 10, QLatin1Char('0'))));
        std::printf("  %4d macros: %.3f ms a click (%+lld KiB private dirty memory after %d clicks), %.3f ms with one "
                    "macro more\n",
                    count, median(times), static_cast<long long>(grown), MacroClickRounds, median(rebuilt));
    }
    return 0;
}

// Figures 15 to 17: a preset and a plus click on the lighting page, each to its last image in
// the library, and a language chosen in the settings page's box to every window's texts set.
void measureColourDrag(LampLight* lighting, int mouse);

void measureLightingAndSettings(QWidget* window, int mouse)
{
    auto* lights = window->findChild<QAbstractButton*>(QStringLiteral("LightsButton"));
    auto* lighting = window->findChild<LampLight*>();
    auto* modes = lighting ? lighting->findChild<QComboBox*>(QStringLiteral("LightMod")) : nullptr;
    auto* presetA = lighting ? lighting->findChild<QAbstractButton*>(QStringLiteral("toolButtonColorA")) : nullptr;
    auto* presetB = lighting ? lighting->findChild<QAbstractButton*>(QStringLiteral("toolButtonColorB")) : nullptr;
    auto* plus = lighting ? lighting->findChild<QAbstractButton*>(QStringLiteral("AddR")) : nullptr;
    auto* minus = lighting ? lighting->findChild<QAbstractButton*>(QStringLiteral("ReduceR")) : nullptr;
    if (!lights || !modes || !presetA || !presetB || !plus || !minus) {
        g_failure = QStringLiteral("no lighting page with presets and plus/minus buttons");
        return;
    }
    lights->click();
    modes->setCurrentIndex(1);  // an effect with the colour area
    HidSim_DeliverPending(2000);
    // Presets A (255, 0, 0) and B (0, 255, 255) differ in every value: three images a click.
    for (int i = 0; i < Rounds; ++i) {
        QAbstractButton* preset = i % 2 ? presetB : presetA;
        if (!timeWrite(mouse, [preset] { preset->click(); }, g_presetMs, 3)) {
            g_failure = QStringLiteral("a preset's three images did not reach the library");
            return;
        }
    }
    // From red 0 (after B), plus then minus: one image each; the plus clicks are timed.
    for (int i = 0; i < Rounds; ++i) {
        if (!timeWrite(mouse, [plus] { plus->click(); }, g_plusMs)) {
            g_failure = QStringLiteral("a plus click's image did not reach the library");
            return;
        }
        std::vector<double> ignored;
        if (!timeWrite(mouse, [minus] { minus->click(); }, ignored)) {
            g_failure = QStringLiteral("a minus click's image did not reach the library");
            return;
        }
    }

    measureColourDrag(lighting, mouse);
    if (!g_failure.isEmpty())
        return;

    auto* settingsButton = window->findChild<QAbstractButton*>(QStringLiteral("FormSetting"));
    auto* settings = window->findChild<FormSetting*>();
    auto* languages = settings ? settings->findChild<QComboBox*>(QStringLiteral("comboBox")) : nullptr;
    if (!settingsButton || !languages) {
        g_failure = QStringLiteral("no settings page with its language box");
        return;
    }
    settingsButton->click();
    // As the user picks an entry: the box's index, then its activation; every window's texts
    // are set when the activation returns.
    for (int i = 0; i < Rounds; ++i) {
        const int language = i % 2 ? 0 : 5;
        QElapsedTimer clock;
        clock.start();
        languages->setCurrentIndex(language);
        emit languages->activated(language);
        g_settingsLanguageMs.push_back(clock.nsecsElapsed() / 1e6);
    }
}

// The screen under the colour board: a colour that follows the pointer's x.
class RampColorSource : public ScreenColorSource {
public:
    std::optional<QColor> colorAt(const QPoint& globalPos) override { return QColor(globalPos.x() % 256, 40, 7); }
};

// Figure 18: a drag over the colour board, DragMoves moves DragMoveMs apart (a user's pace), each
// a new colour for the mouse. The syncs are counted from the press until the last write the drag
// owes is done, after the release; the time is the drag's, press to release.
constexpr int DragMoves = 40;
constexpr int DragMoveMs = 50;

void measureColourDrag(LampLight* lighting, int mouse)
{
    auto* board = lighting->findChild<QLabel*>(QStringLiteral("label_7"));
    if (!board || !board->isVisible()) {
        g_failure = QStringLiteral("no colour board");
        return;
    }
    lighting->setColorSource(std::make_unique<RampColorSource>());
    const auto send = [lighting, board](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        const QPoint pos = board->mapTo(lighting, at);
        QMouseEvent event(type, pos, lighting->mapToGlobal(pos), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(lighting, &event);
    };
    // What the figures before owe is written first.
    FlushDeviceCache();
    HidSim_DeliverPending(5000);
    const int syncsBefore = g_diskSyncs.load();
    const int imagesBefore = HidSim_WriteCount(mouse);
    QElapsedTimer clock;
    clock.start();
    send(QEvent::MouseButtonPress, QPoint(4, 10), Qt::LeftButton, Qt::LeftButton);
    for (int move = 1; move <= DragMoves; ++move) {
        waitUntil([] { return false; }, DragMoveMs);
        send(QEvent::MouseMove, QPoint(4 + 7 * move, 10), Qt::NoButton, Qt::LeftButton);
    }
    send(QEvent::MouseButtonRelease, QPoint(4 + 7 * DragMoves, 10), Qt::LeftButton, Qt::NoButton);
    const double dragSeconds = clock.nsecsElapsed() / 1e9;
    HidSim_DeliverPending(5000);
    g_dragSyncs = g_diskSyncs.load() - syncsBefore;
    g_dragImages = HidSim_WriteCount(mouse) - imagesBefore;
    g_dragSyncsPerSecond = g_dragSyncs / dragSeconds;
}

// Idle figures: the whole process's CPU time and wake-ups over a stretch of idle event loop.
constexpr int IdleSettleMs = 2000;  // after each step, before its stretch starts
int g_idleSeconds = 60;

double processCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

// Every thread's name and context switches (voluntary and not), by thread id: each time a
// sleeping thread wakes up it is switched out once more.
std::map<QString, std::pair<QByteArray, qint64>> threadSwitches()
{
    std::map<QString, std::pair<QByteArray, qint64>> threads;
    QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(tid) + QStringLiteral("/comm"));
        QFile status(tasks.filePath(tid) + QStringLiteral("/status"));
        if (!comm.open(QIODevice::ReadOnly) || !status.open(QIODevice::ReadOnly))
            continue;
        qint64 switches = 0;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.contains("ctxt_switches:"))
                switches += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        }
        threads[tid] = {comm.readAll().trimmed(), switches};
    }
    return threads;
}

// Measures one stretch of IdleSettleMs plus g_idleSeconds, prints its line and calls next.
void idleStretch(const char* what, const std::function<void()>& next)
{
    QTimer::singleShot(IdleSettleMs, [what, next] {
        const double cpuBefore = processCpuMs();
        const auto before = threadSwitches();
        QTimer::singleShot(g_idleSeconds * 1000, [what, next, cpuBefore, before] {
            const double cpuMs = processCpuMs() - cpuBefore;
            std::map<QByteArray, qint64> woken;
            qint64 total = 0;
            for (const auto& thread : threadSwitches()) {
                const auto old = before.find(thread.first);
                const qint64 wakeups = thread.second.second - (old == before.end() ? 0 : old->second.second);
                if (wakeups > 0)
                    woken[thread.second.first] += wakeups;
                total += wakeups;
            }
            QByteArray threads;
            for (const auto& thread : woken)
                threads += (threads.isEmpty() ? "" : ", ") + thread.first + ' ' + QByteArray::number(thread.second);
            std::printf("  idle %s over %d s: %.4f %% CPU, %.2f wake-ups a second (%s)\n", what, g_idleSeconds,
                        cpuMs / (g_idleSeconds * 10.0), double(total) / g_idleSeconds,
                        threads.isEmpty() ? "no thread woke" : threads.constData());
            std::fflush(stdout);
            next();
        });
    });
}

// The program's stretches: the choice page, then the frame of the cable mouse, then its sensor page.
void measureIdleProgram(QWidget* window)
{
    if (!waitUntil([] { return g_tilesPaintedMs >= 0; }, 10000)) {
        g_failure = QStringLiteral("no device tile appeared");
        QCoreApplication::exit(1);
        return;
    }
    idleStretch("on the choice page", [window] {
        // The load's simulated latencies and the busy dialog's fixed waits only slow the bench.
        HidSim_SetZeroDelays(1);
        NoBusyDialog = 1;
        window->findChild<QAbstractButton*>(QStringLiteral("btn0"))->click();
        if (!waitUntil([] { return SensorPageReady && LightPageReady && ButtonPageReady && !RunRequested; }, 10000)) {
            g_failure = QStringLiteral("the chosen mouse did not load");
            QCoreApplication::exit(1);
            return;
        }
        HidSim_SetZeroDelays(0);
        idleStretch("on the frame", [window] {
            auto* sensor = window->findChild<QAbstractButton*>(QStringLiteral("SensorButton"));
            if (!sensor) {
                g_failure = QStringLiteral("no sensor page button");
                QCoreApplication::exit(1);
                return;
            }
            sensor->click();
            idleStretch("on the sensor page", [] { QCoreApplication::exit(0); });
        });
    });
}

int runIdle(int& argc, char** argv, bool bare)
{
    int status = 0;
    if (bare) {
        QApplication app(argc, argv);
        QWidget window;
        window.resize(1020, 700);
        window.show();
        std::printf("Bare Qt window (1020 x 700)\n");
        idleStretch("with the window shown", [] { QCoreApplication::exit(0); });
        status = app.exec();
    } else {
        std::printf("Kavro Mouse Software, default simulated devices\n");
        status = runProgram(argc, argv, [] {
            auto* window = new DialogMain;
            QCoreApplication::instance()->installEventFilter(new PaintWatch(window));
            QTimer::singleShot(0, window, [window] { measureIdleProgram(window); });
            return window;
        });
    }
    if (!g_failure.isEmpty()) {
        std::printf("  failed: %s\n", qPrintable(g_failure));
        return 1;
    }
    return status;
}

// The bare window's idle figures, then the program's, each from a fresh process.
int reportIdle(const char* self)
{
    for (bool bare : {true, false}) {
        QProcess run;
        QStringList arguments{QStringLiteral("--once"), QStringLiteral("--idle"), QStringLiteral("--idle-seconds"),
                              QString::number(g_idleSeconds)};
        if (bare)
            arguments << QStringLiteral("--bare");
        run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        run.start(QString::fromLocal8Bit(self), arguments);
        const bool finished = run.waitForFinished((4 * g_idleSeconds + 60) * 1000);
        std::printf("%s", run.readAllStandardOutput().constData());
        if (!finished || run.exitCode() != 0)
            return 1;
    }
    return 0;
}

}  // namespace

// The start-up and memory figures depend on one process start each: the benchmark runs itself
// StartRounds times with --once and prints the first run's report with those lines replaced by
// their medians over all runs (a figure is the first number after the line's colon).
const char* const MedianLines[] = {"  process start to first painted main window:",
                                   "  process start to the device tiles painted:", "  private dirty memory:",
                                   "  private memory "};

double numberAfterColon(const QByteArray& line)
{
    const QList<QByteArray> words = line.mid(line.indexOf(':') + 1).simplified().split(' ');
    return words.isEmpty() ? -1 : words.first().toDouble();
}

// The unit after that number ("ms", "KiB").
QByteArray unitAfterColon(const QByteArray& line)
{
    return line.mid(line.indexOf(':') + 1).simplified().split(' ').value(1);
}

int reportMedians(const char* self, bool bare)
{
    QList<QList<QByteArray>> runs;
    for (int i = 0; i < StartRounds; ++i) {
        QProcess run;
        QStringList arguments{QStringLiteral("--once")};
        if (bare)
            arguments << QStringLiteral("--bare");
        run.start(QString::fromLocal8Bit(self), arguments);
        if (!run.waitForFinished(120000) || run.exitCode() != 0) {
            std::printf("%s", run.readAllStandardOutput().constData());
            return 1;
        }
        runs << run.readAllStandardOutput().split('\n');
    }
    for (const QByteArray& line : runs.first()) {
        const char* const* kind = std::find_if(std::begin(MedianLines), std::end(MedianLines),
                                               [&line](const char* start) { return line.startsWith(start); });
        if (kind == std::end(MedianLines)) {
            if (!line.isEmpty())
                std::printf("%s\n", line.constData());
            continue;
        }
        std::vector<double> values;
        for (const QList<QByteArray>& lines : runs) {
            for (const QByteArray& other : lines) {
                if (other.startsWith(*kind))
                    values.push_back(numberAfterColon(other));
            }
        }
        std::printf("%s %.1f %s (median of %d starts)\n", line.left(line.indexOf(':') + 1).constData(), median(values),
                    unitAfterColon(line).constData(), int(values.size()));
    }
    return 0;
}

int main(int argc, char** argv)
{
    g_sinceMain.start();
    g_startToMainMs = processAgeMs();
    bool bare = false;
    bool once = false;
    bool rebuilds = false;
    bool idle = false;
    bool macros = false;
    bool frameOnly = false;
    bool startOnly = false;
    for (int i = 1; i < argc; ++i) {
        bare = bare || QByteArray(argv[i]) == "--bare";
        once = once || QByteArray(argv[i]) == "--once";
        rebuilds = rebuilds || QByteArray(argv[i]) == "--rebuilds";
        idle = idle || QByteArray(argv[i]) == "--idle";
        if (QByteArray(argv[i]) == "--idle-seconds" && i + 1 < argc)
            g_idleSeconds = std::max(1, QByteArray(argv[i + 1]).toInt());
        macros = macros || QByteArray(argv[i]) == "--macros";
        frameOnly = frameOnly || QByteArray(argv[i]) == "--frame";
        startOnly = startOnly || QByteArray(argv[i]) == "--start";
        if (QByteArray(argv[i]) == "--help" || QByteArray(argv[i]) == "-h") {
            std::printf("%s", helpText);
            return 0;
        }
    }
    if (idle && !once)
        return reportIdle(argv[0]);
    if (!once && !rebuilds && !macros && !frameOnly && !startOnly)
        return reportMedians(argv[0], bare);

    // A home and registry of its own, so a running program or earlier settings play no part.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/.local/share")).toLocal8Bit());
    // The simulated devices' memory too: every run starts from their factory values.
    qputenv("XDG_STATE_HOME", (home.path() + QStringLiteral("/.local/state")).toLocal8Bit());
    Registry::setBaseFolder(home.path() + QStringLiteral("/registry"));
    writeBenchMacro();
    if (rebuilds)
        return runRebuilds(argc, argv);
    if (idle)
        return runIdle(argc, argv, bare);
    if (macros)
        return runMacroScale(argc, argv);
    if (frameOnly)
        return runFrameBuild(argc, argv);
    if (startOnly)
        return runStartOnly(argc, argv);

    int status = 0;
    if (bare) {
        QApplication app(argc, argv);
        QWidget window;
        window.resize(1020, 700);
        PaintWatch paint;
        window.installEventFilter(&paint);
        window.show();
        QTimer::singleShot(0, [&] {
            waitUntil([] { return g_firstPaintMs >= 0; }, 5000);
            g_privateKb = privateMemoryKb();
            g_privateDirtyKb = privateDirtyKb();
            app.quit();
        });
        status = app.exec();
    } else {
        status = runProgram(argc, argv, [] {
            auto* window = new DialogMain;
            // Every widget's paint: the window's first one, and the first tile's.
            auto* paint = new PaintWatch(window);
            QCoreApplication::instance()->installEventFilter(paint);
            QTimer::singleShot(0, window, [window] {
                waitUntil([] { return g_firstPaintMs >= 0; }, 5000);
                measureProgram(window);
                QCoreApplication::exit(0);
            });
            return window;
        });
    }

    std::printf("%s\n", bare ? "Bare Qt window (1020 x 700)" : "Kavro Mouse Software, default simulated devices");
    std::printf("  process start to first painted main window: %.1f ms (%.1f ms before main, %.1f ms in main)\n",
                g_startToMainMs + g_firstPaintMs, g_startToMainMs, g_firstPaintMs);
    if (!bare)
        std::printf("  process start to the device tiles painted: %.1f ms\n", g_startToMainMs + g_tilesPaintedMs);
    if (!bare) {
        std::printf("  first tile click to the frame painted, its button page built: %.1f ms\n", g_frameBuildMs);
        std::printf("  the four other pages, built after that paint: %.1f ms\n", g_otherPagesMs);
        std::printf("  full answer to the three pages filled (median of %d): %.3f ms\n", Rounds, median(g_loadMs));
        std::printf("  setter call to the image in the library (median of %d): %.3f ms\n", Rounds, median(g_writeMs));
        std::printf("  click on a macro of 70 key events to its 139 rows shown (median of %d): %.3f ms\n", Rounds,
                    median(g_macroClickMs));
        std::printf("  Macro page language change (median of %d): %.3f ms\n", Rounds, median(g_macroLanguageMs));
        std::printf("  button page filled from a device thread (median of %d): %.3f ms\n", Rounds, median(g_buttonFillMs));
        std::printf("  language switch with the selectors redrawn (median of %d): %.3f ms\n", Rounds, median(g_languageMs));
        std::printf("  media button to the image in the library (median of %d): %.3f ms\n", Rounds, median(g_assignMs));
        std::printf("  sensor page fill, full image sent off the GUI thread to the slot's return (median of %d): %.3f ms\n",
                    Rounds, median(g_sensorFillMs));
        std::printf("  DPI value change to the image in the library (median of %d): %.3f ms\n", Rounds,
                    median(g_dpiValueMs));
        std::printf("  report-rate click to the image in the library (median of %d): %.3f ms\n", Rounds,
                    median(g_rateClickMs));
        std::printf("  recorded key to its row shown, 138 rows listed (median of %d): %.3f ms\n", Rounds,
                    median(g_recordKeyMs));
        std::printf("  saved macro of 70 key events to the image in the library (median of %d): %.3f ms\n", Rounds,
                    median(g_macroSendMs));
        std::printf("  lighting preset click to its third image in the library (median of %d): %.3f ms\n", Rounds,
                    median(g_presetMs));
        std::printf("  lighting plus click to its image in the library (median of %d): %.3f ms\n", Rounds,
                    median(g_plusMs));
        std::printf("  language chosen on the settings page to every window's texts set (median of %d): %.3f ms\n",
                    Rounds, median(g_settingsLanguageMs));
        std::printf("  colour-board drag, %d moves %d ms apart, %d images to the mouse: %.1f disk syncs a second of "
                    "drag (%d in all, until its last write)\n",
                    DragMoves, DragMoveMs, g_dragImages, g_dragSyncsPerSecond, g_dragSyncs);
    }
    std::printf("  private dirty memory: %lld KiB\n", static_cast<long long>(g_privateDirtyKb));
    std::printf("  private memory %s: %lld KiB\n", bare ? "with the window shown" : "with the choice page shown (the demo devices)",
                static_cast<long long>(g_privateKb));
    if (!g_failure.isEmpty()) {
        std::printf("  failed: %s\n", qPrintable(g_failure));
        return 1;
    }
    return status;
}

#include "kavro_bench.moc"
