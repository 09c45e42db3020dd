// The lighting page: fills show the image and write nothing; every user change ends as exact
// bytes in the mouse's stored image; the colour board reads the screen through its source; texts
// and pictures.
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/Registry.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "device/WorkingImage.h"
#include "pages/lighting/LampLight.h"
#include "pages/lighting/LightRules.h"
#include "pages/lighting/ScreenColor.h"
#include "pages/sensor/StopCloseTime.h"
#include "shell/Dialog.h"
#include "shell/DialogMain.h"
#include "widgets/MyConmboBox.h"
#include "support/EventHook.h"
#include "support/HidSimScript.h"
#include "support/HubRecorder.h"
#include "support/ModalAnswerer.h"
#include "support/ProgramWorld.h"
#include "support/SharedWorld.h"
#include "support/Wait.h"

#include "HIDUsbControl.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QListView>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <cstring>
#include <functional>
#include <memory>

namespace {

enum Byte { Sleep = 8, Toggle = 0x0B, Effect = 0x43, Red = 0x44, Green = 0x45, Blue = 0x46, Speed = 0x47,
            Brightness = 0x48, OnOff = 0x49 };

using SimScript::storedImage;

FlashDataMap imageOf(const QByteArray& bytes)
{
    FlashDataMap image{};
    std::memcpy(&image, bytes.constData(), qMin<size_t>(sizeof image, size_t(bytes.size())));
    return image;
}

// What the page shows of the light: effect row, sliders, colour, toggle and sleep item.
QList<int> shownLight(QWidget* page)
{
    const auto value = [page](const char* name) { return page->findChild<QAbstractSlider*>(QLatin1String(name))->value(); };
    const auto box = [page](const char* name) { return page->findChild<QSpinBox*>(QLatin1String(name))->value(); };
    return {page->findChild<QComboBox*>(QStringLiteral("LightMod"))->currentIndex(),
            value("horizontalLight"),
            value("horizontalSpeed"),
            box("RSpinBox"),
            box("GSpinBox"),
            box("BSpinBox"),
            page->findChild<QToolButton*>(QStringLiteral("RippeControl"))->isChecked() ? 1 : 0,
            page->findChild<StopCloseTime*>(QStringLiteral("frameClose"))->currentIndex()};
}

// The program's window over the simulated devices, with the busy dialogs of the loads closed.
struct TileRoad {
    ModalAnswerer answerer;
    linktest::HubRecorder hub;
    DialogMain window;
    TileRoad()
    {
        window.show();
        SimScript::settle();
    }
    bool loadTile() { return loadFirstTile(window, hub); }
};

// A light setting as the mouse holds it, on a recognisable image.
QByteArray lightImage(int onOff, int effect, int brightness = 3, int speed = 5, int sleep = 6,
                      QVector<int> colour = {10, 20, 30}, int toggle = 0)
{
    QByteArray image = SimScript::makeImage(21);
    image[OnOff] = char(onOff);
    image[Effect] = char(effect);
    image[Brightness] = char(brightness);
    image[Speed] = char(speed);
    image[Sleep] = char(sleep);
    image[Red] = char(colour[0]);
    image[Green] = char(colour[1]);
    image[Blue] = char(colour[2]);
    image[Toggle] = char(toggle);
    return image;
}

void pick(QComboBox* combo, int row)
{
    combo->showPopup();
    combo->view()->setCurrentIndex(combo->model()->index(row, 0));
    QTest::keyClick(combo->view(), Qt::Key_Return);
}

// Gives the colours the test sets and counts the questions.
class FixedColorSource : public ScreenColorSource {
public:
    explicit FixedColorSource(std::optional<QColor> colour, int* asked)
        : m_colour(colour)
        , m_asked(asked)
    {
    }
    std::optional<QColor> colorAt(const QPoint&) override
    {
        ++*m_asked;
        return m_colour;
    }

private:
    std::optional<QColor> m_colour;
    int* m_asked;
};

}  // namespace

class LightingPageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void rulesMapBytesToRowsAndBack();
    void fillShowsTheImage_data();
    void fillShowsTheImage();
    void fillKeepingTheRowKeepsTheLayout();
    void modelsDecideWhatIsFilledAndOffered();
    void factoryEffectIsOnTheModelsList();
    void arrowKeysSkipRowsTheModelLacks();
    void everyRowWritesItsMode_data();
    void everyRowWritesItsMode();
    void controlsWriteTheirBytes();
    void slidersDragShowsAndWritesOnceOnRelease();
    void colourStepsAndPresets();
    void typingWritesOnEveryChange();
    void writesDisabledOrOffline();
    void buildingFillsResetAndLanguageWriteNothing();
    void colourBoardPicksThroughItsSource();
    void languageSectionSetsEveryText();
    void picturesHoldTheirColours();
    void tileToLightingPageEndToEnd();
    void receiverMouseLeavesThePageAsBuilt();

private:
    void openMouse(const QByteArray& image);
    // `device` holding `image` for a tile load, with no model chosen and writes off until the load.
    void placeMouse(const SimScript::Device& device, const QByteArray& image)
    {
        ChosenModelId = 0;
        WriteEnabled = 0;
        m_mouse = device;
        QCOMPARE(HidSim_SetImage(m_mouse.mouse, 0, reinterpret_cast<const uint8_t*>(image.constData())), 0);
    }
    template <typename T>
    T* child(const char* name) const
    {
        return m_page->findChild<T*>(QLatin1String(name));
    }
    MyConmboBox* modes() const { return child<MyConmboBox>("LightMod"); }
    int writes() const { return HidSim_WriteCount(m_mouse.mouse); }
    void expectStored(const QMap<int, int>& changes, int extraWrites);

    std::unique_ptr<SharedWorld> m_world;
    std::unique_ptr<LampLight> m_page;
    SimScript::Device m_mouse;
    QByteArray m_image;
    int m_writesBefore = 0;
};

void LightingPageTest::initTestCase()
{
    m_world = std::make_unique<SharedWorld>();
}

void LightingPageTest::cleanupTestCase()
{
    m_world.reset();
}

void LightingPageTest::init()
{
    SharedWorld::startCase();
}

void LightingPageTest::cleanup()
{
    m_page.reset();
    SharedWorld::endCase();
}

// A cable mouse holding `image`, its link open and the image loaded; the page built and filled
// from the same image.
void LightingPageTest::openMouse(const QByteArray& image)
{
    m_mouse = SimScript::addCableMouse(1);
    m_image = image;
    QCOMPARE(HidSim_SetImage(m_mouse.mouse, 0, reinterpret_cast<const uint8_t*>(image.constData())), 0);
    SetCurrentDevicePath(m_mouse.path);
    SimScript::openQuietLink(m_mouse.path);
    SetWorkingImage(imageOf(image));
    SetWorkingImageLoaded(true);
    m_page = std::make_unique<LampLight>();
    m_page->SlotUpDataLightUILight(imageOf(image));
    m_writesBefore = writes();
}

void LightingPageTest::expectStored(const QMap<int, int>& changes, int extraWrites)
{
    QByteArray expected = m_image;
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        expected[it.key()] = char(it.value());
    const QByteArray stored = storedImage(m_mouse.mouse);
    for (int i = 0; i < 74; ++i)
        QVERIFY2(stored.at(i) == expected.at(i), qPrintable(QStringLiteral("byte %1: %2, expected %3")
                                                                .arg(i)
                                                                .arg(uint8_t(stored.at(i)))
                                                                .arg(uint8_t(expected.at(i)))));
    QCOMPARE(stored, expected);
    QCOMPARE(writes() - m_writesBefore, extraWrites);
}

void LightingPageTest::rulesMapBytesToRowsAndBack()
{
    using namespace LightRules;
    const struct {
        int onOff, effect, row;
    } rows[] = {{0, 3, 0}, {1, 0, 0}, {1, 1, 5}, {1, 2, 1}, {1, 3, 2}, {1, 4, 3}, {1, 5, 4}, {1, 6, 6}, {1, 7, 6},
                {1, 8, 4}, {1, 255, 4}};
    for (const auto& r : rows)
        QCOMPARE(rowForImage(r.onOff, r.effect, 4), r.row);
    const int modes[] = {0, 2, 3, 4, 5, 1, 6};
    for (int row = 0; row < RowCount; ++row) {
        QCOMPARE(modeForRow(row), modes[row]);
        if (row > 0)
            QCOMPARE(rowForImage(1, modes[row], -1), row);
    }
    QCOMPARE(modeForRow(7), -1);
    QCOMPARE(sliderForByte(0), 1);
    QCOMPARE(sliderForByte(9), 10);
    QCOMPARE(sliderForByte(200), 10);
    QCOMPARE(sliderForByte(255), 10);
}

void LightingPageTest::fillShowsTheImage_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("shown");  // l line, 2 line_2, c colour area, b brightness, s speed
    QTest::addColumn<int>("brightness");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("sleepItem");
    QTest::newRow("light off, effect 3") << lightImage(0, 3) << 0 << "l2" << 4 << 6 << 2;
    QTest::newRow("effect 2: row 1") << lightImage(1, 2) << 1 << "cbs" << 4 << 6 << 2;
    QTest::newRow("effect 3: row 2") << lightImage(1, 3) << 2 << "2cb" << 4 << 6 << 2;
    QTest::newRow("effect 4: row 3") << lightImage(1, 4) << 3 << "bs" << 4 << 6 << 2;
    QTest::newRow("effect 1: row 5") << lightImage(1, 1) << 5 << "bs" << 4 << 6 << 2;
    QTest::newRow("bytes 9 and 200 show 10") << lightImage(1, 2, 9, 200) << 1 << "cbs" << 10 << 10 << 2;
    QTest::newRow("bytes 0 and 255 show 1 and 10") << lightImage(1, 2, 0, 255) << 1 << "cbs" << 1 << 10 << 2;
    QTest::newRow("sleep 240: 40 minutes") << lightImage(1, 2, 3, 5, 240) << 1 << "cbs" << 4 << 6 << 10;
    QTest::newRow("sleep 2: item kept") << lightImage(1, 2, 3, 5, 2) << 1 << "cbs" << 4 << 6 << 0;
}

void LightingPageTest::fillShowsTheImage()
{
    QFETCH(QByteArray, image);
    QFETCH(int, row);
    QFETCH(QString, shown);
    QFETCH(int, brightness);
    QFETCH(int, speed);
    QFETCH(int, sleepItem);
    image[Toggle] = char(1);
    openMouse(image);
    m_page->show();

    QCOMPARE(modes()->currentIndex(), row);
    const auto visible = [this](const char* name) { return child<QWidget>(name)->isVisible(); };
    QCOMPARE(visible("line"), shown.contains('l'));
    QCOMPARE(visible("line_2"), shown.contains('2'));
    for (const char* name : {"label_7", "RSpinBox", "labelPreView", "toolButtonColorN", "label_13", "AddB"})
        QCOMPARE(visible(name), shown.contains('c'));
    QCOMPARE(visible("horizontalLight"), shown.contains('b'));
    QCOMPARE(visible("LightSpinBox_2"), shown.contains('b'));
    QCOMPARE(visible("horizontalSpeed"), shown.contains('s'));
    QCOMPARE(visible("SpeedSpinBox_2"), shown.contains('s'));
    for (const char* always : {"label", "LightMod", "label_2", "label_3", "label_4", "RippeControl", "label_5", "frameClose"})
        QVERIFY2(visible(always), always);

    QCOMPARE(child<QSlider>("horizontalLight")->value(), brightness);
    QCOMPARE(child<QSpinBox>("LightSpinBox_2")->value(), brightness);
    QCOMPARE(child<QSlider>("horizontalSpeed")->value(), speed);
    QCOMPARE(child<QSpinBox>("SpeedSpinBox_2")->value(), speed);
    QCOMPARE(child<QSpinBox>("RSpinBox")->value(), 10);
    QCOMPARE(child<QSpinBox>("GSpinBox")->value(), 20);
    QCOMPARE(child<QSpinBox>("BSpinBox")->value(), 30);
    QCOMPARE(child<QLabel>("labelPreView")->styleSheet(),
             QStringLiteral("QLabel{background-color: rgb(10,20,30);border: 2px solid  rgb(220,220,220);}"));
    QVERIFY(child<QToolButton>("RippeControl")->isChecked());
    QCOMPARE(child<StopCloseTime>("frameClose")->currentIndex(), sleepItem);
    QCOMPARE(writes(), 0);
    QCOMPARE(LightPageBusy.load(), 0);
    QCOMPARE(LightPageReady.load(), 1);
}

// Row 6 and an effect without a row change nothing of the layout the last row set.
void LightingPageTest::fillKeepingTheRowKeepsTheLayout()
{
    openMouse(lightImage(1, 3));  // row 2: colour area, brightness, line_2
    m_page->show();
    m_page->SlotUpDataLightUILight(imageOf(lightImage(1, 9)));
    QCOMPARE(modes()->currentIndex(), 2);
    m_page->SlotUpDataLightUILight(imageOf(lightImage(1, 7)));
    QCOMPARE(modes()->currentIndex(), 6);
    QVERIFY(child<QWidget>("label_7")->isVisible());
    QVERIFY(child<QWidget>("line_2")->isVisible());
    QVERIFY(!child<QWidget>("horizontalSpeed")->isVisible());
    m_page->SlotUpDataLightUILight(imageOf(lightImage(1, 6)));
    QCOMPARE(modes()->currentIndex(), 6);
    QCOMPARE(writes(), 0);
}

void LightingPageTest::modelsDecideWhatIsFilledAndOffered()
{
    openMouse(lightImage(1, 4, 3, 5, 30));
    auto* view = qobject_cast<QListView*>(modes()->view());
    QVERIFY(view);
    const auto offered = [view] { return !view->isRowHidden(5) && !view->isRowHidden(6); };
    const auto hidden = [view] { return view->isRowHidden(5) && view->isRowHidden(6); };
    QVERIFY(hidden());

    ChosenModelId = 4;
    m_page->SlotUpDataLightUILight(imageOf(lightImage(1, 2)));
    QVERIFY(offered());

    // 5 and 15: nothing filled, the page still counts as filled.
    for (int mid : {5, 15}) {
        ChosenModelId = mid;
        LightPageReady = 0;
        m_page->SlotUpDataLightUILight(imageOf(lightImage(0, 0, 9, 9, 240)));
        QCOMPARE(modes()->currentIndex(), 1);
        QCOMPARE(LightPageReady.load(), 1);
        m_page->SlotFormResetLight();
        QCOMPARE(modes()->currentIndex(), 1);
    }

    // 19: rows 5 and 6 after a reset (row 5 chosen), hidden again after the next fill.
    ChosenModelId = 19;
    m_page->SlotFormResetLight();
    QVERIFY(offered());
    QCOMPARE(modes()->currentIndex(), 5);
    QCOMPARE(child<QSlider>("horizontalLight")->value(), 10);
    QCOMPARE(child<QSlider>("horizontalSpeed")->value(), 8);
    QCOMPARE(child<StopCloseTime>("frameClose")->currentIndex(), 2);
    m_page->SlotUpDataLightUILight(imageOf(lightImage(1, 2)));
    QVERIFY(hidden());

    // 1: a reset picks row 3.
    ChosenModelId = 1;
    m_page->SlotFormResetLight();
    QCOMPARE(modes()->currentIndex(), 3);

    // 20: the reset leaves the controls, a fill fills them.
    ChosenModelId = 20;
    m_page->SlotUpDataLightUILight(imageOf(lightImage(1, 2, 0, 0, 30)));
    m_page->SlotFormResetLight();
    QCOMPARE(modes()->currentIndex(), 1);
    QCOMPARE(child<QSlider>("horizontalLight")->value(), 1);
    QCOMPARE(child<StopCloseTime>("frameClose")->currentIndex(), 3);

    // The profile fill disables the sliders and leaves the ready flag; a device fill undoes both.
    ChosenModelId = 1;
    LightPageReady = 0;
    m_page->SlotUpDataLightUIA(imageOf(lightImage(1, 5)));
    QCOMPARE(modes()->currentIndex(), 4);
    QVERIFY(!child<QSlider>("horizontalLight")->isEnabled());
    QVERIFY(!child<QSlider>("horizontalSpeed")->isEnabled());
    QCOMPARE(LightPageReady.load(), 0);
    m_page->SlotUpDataLightUILight(imageOf(lightImage(1, 5)));
    QVERIFY(child<QSlider>("horizontalLight")->isEnabled());
    QVERIFY(child<QSlider>("horizontalSpeed")->isEnabled());
    QCOMPARE(LightPageReady.load(), 1);
    QCOMPARE(writes(), 0);
}

// Every simulated model starts with a light effect that its page lists, so a user who changes
// it can choose it again.
void LightingPageTest::factoryEffectIsOnTheModelsList()
{
    m_page = std::make_unique<LampLight>();
    auto* view = qobject_cast<QListView*>(modes()->view());
    QVERIFY(view);
    for (int mid : {1, 2, 4, 6, 10, 13, 14, 19, 20}) {
        const SimScript::Device mouse = SimScript::addCableMouse(uint8_t(mid));
        const QByteArray factory = storedImage(mouse.mouse);
        QCOMPARE(factory.size(), HIDUSB_IMAGE_SIZE);
        ChosenModelId = mid;
        m_page->SlotUpDataLightUILight(imageOf(factory));
        QVERIFY2(!view->isRowHidden(modes()->currentIndex()), qPrintable(QStringLiteral("MID %1").arg(mid)));
        QVERIFY(modes()->currentIndex() != 0);  // the light is on
    }
}

void LightingPageTest::arrowKeysSkipRowsTheModelLacks()
{
    openMouse(lightImage(1, 5));  // row 4 on MID 1: rows 5 and 6 not offered
    m_page->show();
    QCOMPARE(modes()->currentIndex(), 4);
    QTest::keyClick(modes(), Qt::Key_Down);
    QCOMPARE(modes()->currentIndex(), 4);
    QCOMPARE(writes(), 0);

    // Offered on MID 4: the key reaches row 5 and writes its mode.
    ChosenModelId = 4;
    m_page->SlotUpDataLightUILight(imageOf(lightImage(1, 5)));
    QTest::keyClick(modes(), Qt::Key_Down);
    QCOMPARE(modes()->currentIndex(), 5);
    expectStored({{OnOff, 1}, {Effect, 1}}, 1);
}

void LightingPageTest::everyRowWritesItsMode_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("onOff");
    QTest::addColumn<int>("effect");
    QTest::newRow("row 0: off, effect kept") << 0 << 0 << 4;
    QTest::newRow("row 1") << 1 << 1 << 2;
    QTest::newRow("row 2") << 2 << 1 << 3;
    QTest::newRow("row 3") << 3 << 1 << 4;
    QTest::newRow("row 4") << 4 << 1 << 5;
    QTest::newRow("row 5") << 5 << 1 << 1;
    QTest::newRow("row 6") << 6 << 1 << 6;
}

void LightingPageTest::everyRowWritesItsMode()
{
    QFETCH(int, row);
    QFETCH(int, onOff);
    QFETCH(int, effect);
    ChosenModelId = 4;  // offers rows 5 and 6
    openMouse(row == 3 ? lightImage(1, 2) : lightImage(1, 4));
    pick(modes(), row);
    QCOMPARE(modes()->currentIndex(), row);
    expectStored({{OnOff, onOff}, {Effect, row == 0 ? m_image.at(Effect) : effect}}, 1);
}

void LightingPageTest::controlsWriteTheirBytes()
{
    openMouse(lightImage(1, 2, 3, 5, 6, {10, 20, 30}, 0));
    m_page->show();
    QTest::keyClick(child<QSlider>("horizontalLight"), Qt::Key_Right);  // 4 -> 5
    expectStored({{Brightness, 4}}, 1);
    QCOMPARE(child<QSpinBox>("LightSpinBox_2")->value(), 5);
    QTest::keyClick(child<QSlider>("horizontalSpeed"), Qt::Key_Left);  // 6 -> 5
    expectStored({{Brightness, 4}, {Speed, 4}}, 2);
    QTest::mouseClick(child<QToolButton>("RippeControl"), Qt::LeftButton);
    expectStored({{Brightness, 4}, {Speed, 4}, {Toggle, 1}}, 3);
    QTest::mouseClick(child<QToolButton>("RippeControl"), Qt::LeftButton);
    expectStored({{Brightness, 4}, {Speed, 4}, {Toggle, 0}}, 4);
    pick(child<StopCloseTime>("frameClose")->findChild<QComboBox*>(), 4);
    expectStored({{Brightness, 4}, {Speed, 4}, {Toggle, 0}, {Sleep, 60}}, 5);
}

void LightingPageTest::slidersDragShowsAndWritesOnceOnRelease()
{
    openMouse(lightImage(1, 2, 2));  // brightness level 3
    auto* slider = child<QSlider>("horizontalLight");
    auto* display = child<QSpinBox>("LightSpinBox_2");
    slider->setSliderDown(true);
    for (int level : {4, 5, 6, 7}) {
        slider->setSliderPosition(level);
        QCOMPARE(display->value(), level);
    }
    QCOMPARE(writes(), m_writesBefore);
    slider->setSliderDown(false);
    expectStored({{Brightness, 6}}, 1);
}

void LightingPageTest::colourStepsAndPresets()
{
    openMouse(lightImage(1, 2, 3, 5, 6, {255, 0, 1}));
    m_page->show();
    const auto click = [this](const char* name) { QTest::mouseClick(child<QToolButton>(name), Qt::LeftButton); };

    click("AddR");  // at 255: nothing
    click("ReduceG");  // at 0: nothing
    QCOMPARE(writes(), m_writesBefore);
    click("ReduceB");
    expectStored({{Red, 255}, {Green, 0}, {Blue, 0}}, 1);
    click("toolButtonColorA");  // equal to the colour: nothing
    expectStored({{Red, 255}, {Green, 0}, {Blue, 0}}, 1);
    click("toolButtonColorD");  // differs in blue only: one write
    expectStored({{Red, 255}, {Green, 0}, {Blue, 255}}, 2);
    click("toolButtonColorN");
    click("toolButtonColorA");  // after N: three writes, the last one 255, 0, 0
    expectStored({{Red, 255}, {Green, 0}, {Blue, 0}}, 2 + 3 + 3);
    click("AddG");
    expectStored({{Red, 255}, {Green, 1}, {Blue, 0}}, 9);
    QCOMPARE(child<QLabel>("labelPreView")->styleSheet(),
             QStringLiteral("QLabel{background-color: rgb(255,1,0);border: 2px solid  rgb(220,220,220);}"));

    for (const LightRules::Preset& preset : LightRules::Presets) {
        click(qPrintable(QStringLiteral("toolButtonColor") + QLatin1Char(preset.letter)));
        const QByteArray stored = storedImage(m_mouse.mouse);
        QCOMPARE(uint8_t(stored.at(Red)), preset.red);
        QCOMPARE(uint8_t(stored.at(Green)), preset.green);
        QCOMPARE(uint8_t(stored.at(Blue)), preset.blue);
    }
}

void LightingPageTest::typingWritesOnEveryChange()
{
    openMouse(lightImage(1, 2, 3, 5, 6, {10, 20, 30}));
    m_page->show();
    auto* green = child<QSpinBox>("GSpinBox");
    QTest::mouseClick(green, Qt::LeftButton);
    green->selectAll();
    QTest::keyClicks(green, QStringLiteral("100"));
    QCOMPARE(green->value(), 100);
    expectStored({{Green, 100}}, 3);  // 1, 10, 100
}

void LightingPageTest::writesDisabledOrOffline()
{
    openMouse(lightImage(1, 2, 3, 5, 6, {10, 20, 30}));
    m_page->show();
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);

    WriteEnabled = 0;
    QTest::mouseClick(child<QToolButton>("AddR"), Qt::LeftButton);
    QTest::keyClick(child<QSlider>("horizontalLight"), Qt::Key_Right);
    pick(modes(), 3);
    QTest::mouseClick(child<QToolButton>("toolButtonColorC"), Qt::LeftButton);
    QCOMPARE(child<QSpinBox>("RSpinBox")->value(), 0);
    QCOMPARE(writes(), m_writesBefore);
    QCOMPARE(offline.count(), 0);

    WriteEnabled = 1;
    pick(modes(), 1);
    m_writesBefore = writes();
    m_image = storedImage(m_mouse.mouse);
    HidSim_SetAwake(m_mouse.mouse, 0);
    HidSim_SetPlugged(m_mouse.interface, 0);
    QTest::keyClick(child<QSlider>("horizontalLight"), Qt::Key_Right);
    // One notice, and the slider shows the mouse's brightness again (byte 3), not the step
    // shown while writes were off.
    QCOMPARE(offline.count(), 1);
    QCOMPARE(child<QSlider>("horizontalLight")->value(), LightRules::sliderForByte(3));
    QCOMPARE(child<QSpinBox>("LightSpinBox_2")->value(), LightRules::sliderForByte(3));
    const int red = child<QSpinBox>("RSpinBox")->value();
    QTest::mouseClick(child<QToolButton>("AddR"), Qt::LeftButton);
    QCOMPARE(offline.count(), 2);  // plus stops at the notice: its box keeps its value
    QCOMPARE(child<QSpinBox>("RSpinBox")->value(), red);
    QCOMPARE(writes(), m_writesBefore);
    QCOMPARE(storedImage(m_mouse.mouse), m_image);
}

void LightingPageTest::buildingFillsResetAndLanguageWriteNothing()
{
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    openMouse(lightImage(1, 3, 7, 2, 90, {1, 2, 3}, 1));
    QCOMPARE(writes(), 0);  // building and the device fill
    m_page->SlotUpDataLightUIA(imageOf(lightImage(0, 5, 0, 9, 240, {200, 100, 50}, 0)));
    m_page->SlotUpDataLightUILight(imageOf(lightImage(1, 1, 9, 0, 1, {0, 255, 0}, 1)));
    m_page->SlotFormResetLight();
    PostMsg::instance()->SendChangeLanguage(5);
    PostMsg::instance()->SendChangeLanguage(0);
    QCOMPARE(writes(), 0);
    QCOMPARE(storedImage(m_mouse.mouse), m_image);
    QCOMPARE(offline.count(), 0);

    // Built with writes on, offline mouse: row 0's layout, still nothing sent.
    HidSim_SetAwake(m_mouse.mouse, 0);
    HidSim_SetPlugged(m_mouse.interface, 0);
    LampLight fresh;
    QCOMPARE(fresh.findChild<QComboBox*>(QStringLiteral("LightMod"))->currentIndex(), 0);
    QVERIFY(fresh.findChild<QWidget*>(QStringLiteral("horizontalLight"))->isHidden());
    QVERIFY(fresh.findChild<QWidget*>(QStringLiteral("label_7"))->isHidden());
    QCOMPARE(offline.count(), 0);
}

void LightingPageTest::colourBoardPicksThroughItsSource()
{
    openMouse(lightImage(1, 2, 3, 5, 6, {10, 20, 30}));
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    int asked = 0;
    m_page->setColorSource(std::make_unique<FixedColorSource>(QColor(200, 40, 7), &asked));
    auto* board = child<QLabel>("label_7");
    const QPoint onBoard = board->mapTo(m_page.get(), QPoint(5, 5));
    auto* red = child<QSpinBox>("RSpinBox");

    red->setFocus();
    QTest::mouseClick(m_page.get(), Qt::LeftButton, {}, onBoard);
    QCOMPARE(asked, 1);
    QVERIFY(!red->hasFocus());
    QCOMPARE(red->value(), 200);
    QCOMPARE(child<QSpinBox>("GSpinBox")->value(), 40);
    QCOMPARE(child<QSpinBox>("BSpinBox")->value(), 7);
    QCOMPARE(child<QLabel>("labelPreView")->styleSheet(),
             QStringLiteral("QLabel{background-color: rgb(200,40,7);border: 2px solid  rgb(220,220,220);}"));
    expectStored({{Red, 200}, {Green, 40}, {Blue, 7}}, 3);

    // An empty grab changes nothing.
    m_page->setColorSource(std::make_unique<FixedColorSource>(std::nullopt, &asked));
    QTest::mouseClick(m_page.get(), Qt::LeftButton, {}, onBoard);
    QCOMPARE(asked, 2);
    expectStored({{Red, 200}, {Green, 40}, {Blue, 7}}, 3);

    // Outside the board, or on it while it is hidden (row 3): only the focus goes.
    m_page->setColorSource(std::make_unique<FixedColorSource>(QColor(1, 1, 1), &asked));
    red->setFocus();
    QTest::mouseClick(m_page.get(), Qt::LeftButton, {}, QPoint(800, 600));
    QVERIFY(!red->hasFocus());
    pick(modes(), 3);
    QTest::mouseClick(m_page.get(), Qt::LeftButton, {}, onBoard);
    QCOMPARE(asked, 2);

    // Offline: the notice, and the screen is not read.
    pick(modes(), 1);
    m_writesBefore = writes();
    m_image = storedImage(m_mouse.mouse);
    HidSim_SetAwake(m_mouse.mouse, 0);
    HidSim_SetPlugged(m_mouse.interface, 0);
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    QTest::mouseClick(m_page.get(), Qt::LeftButton, {}, onBoard);
    QCOMPARE(offline.count(), 1);
    QCOMPARE(asked, 2);
    expectStored({}, 0);
}

void LightingPageTest::languageSectionSetsEveryText()
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Total><Light>"
                     "<label>Effect</label><LightMod>Row zero</LightMod>"
                     "<Unknown><label_2>not this</label_2></Unknown>"
                     "<LightMod5>Row five</LightMod5><label_2>Glow</label_2><label_5>Sleep after</label_5>"
                     "<StopCloseTime>ten s</StopCloseTime><StopCloseTime10>forty min</StopCloseTime10>"
                     "<label_13>Presets</label_13></Light></Total>\n";
    m_world->env().writeProgramFile(QStringLiteral("Language/3-Korea.xml"), xml);
    openMouse(lightImage(1, 2));
    QVERIFY(qobject_cast<QListView*>(modes()->view())->isRowHidden(5));
    PostMsg::instance()->SendChangeLanguage(3);
    QCOMPARE(child<QLabel>("label")->text(), QStringLiteral("Effect"));
    QCOMPARE(modes()->itemText(0), QStringLiteral("Row zero"));
    QCOMPARE(modes()->itemText(5), QStringLiteral("Row five"));
    QCOMPARE(child<QLabel>("label_2")->text(), QStringLiteral("Glow"));
    QCOMPARE(child<QLabel>("label_5")->text(), QStringLiteral("Sleep after"));
    QCOMPARE(child<QLabel>("label_13")->text(), QStringLiteral("Presets"));
    auto* sleep = child<StopCloseTime>("frameClose")->findChild<QComboBox*>();
    QCOMPARE(sleep->itemText(0), QStringLiteral("ten s"));
    QCOMPARE(sleep->itemText(10), QStringLiteral("forty min"));

    PostMsg::instance()->SendChangeLanguage(0);
    QCOMPARE(child<QLabel>("label")->text(), QStringLiteral("Lighting effect"));
    QCOMPARE(modes()->itemText(5), QStringLiteral("Rainbow wave"));
    QCOMPARE(sleep->itemText(10), QStringLiteral("40 minutes"));
    QFile shipped(QStringLiteral(KAVRO_OUTPUT_DIR "/Language/3-Korea.xml"));
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    m_world->env().writeProgramFile(QStringLiteral("Language/3-Korea.xml"), shipped.readAll());
}

void LightingPageTest::picturesHoldTheirColours()
{
    const QString folder = QStringLiteral(KAVRO_OUTPUT_DIR "/Picture/Light/");
    for (const LightRules::Preset& preset : LightRules::Presets) {
        const QImage swatch(folder + QStringLiteral("Color") + QLatin1Char(preset.letter) + QStringLiteral(".png"));
        QCOMPARE(swatch.size(), QSize(28, 28));
        QCOMPARE(swatch.pixelColor(14, 14), QColor(preset.red, preset.green, preset.blue));
    }
    const QImage board(folder + QStringLiteral("ColorBoard.png"));
    QCOMPARE(board.size(), QSize(308, 34));
    QCOMPARE(board.pixelColor(0, 17).hue(), 0);
    const int hues[] = {board.pixelColor(60, 17).hue(), board.pixelColor(150, 17).hue(), board.pixelColor(300, 17).hue()};
    QVERIFY(hues[0] > 20 && hues[0] < 70);     // orange to yellow
    QVERIFY(hues[1] > 120 && hues[1] < 200);   // green to cyan
    QVERIFY(hues[2] > 250);                    // violet
    QCOMPARE(QImage(folder + QStringLiteral("PreviewColor.png")).size(), QSize(60, 60));
    for (const char* file : {"ComboboxBack.png", "HuaKuai.png", "Close.png", "Open.png", "Add.png", "Reduce.png", "Menu.png"})
        QVERIFY2(!QImage(folder + QLatin1String(file)).isNull(), file);
}

// From the tile to the stored image and back: every change of the lighting page reaches the
// mouse, and the same tile again shows them without writing.
void LightingPageTest::tileToLightingPageEndToEnd()
{
    QByteArray image = lightImage(1, 4, 2, 2, 6, {10, 20, 30}, 0);
    placeMouse(SimScript::addCableMouse(1), image);
    TileRoad road;
    DialogMain& window = road.window;
    // The frame comes on the screen before its lighting page is built.
    bool painted = false;
    bool pageAtFirstPaint = false;
    EventHook firstPaint(qApp, QEvent::Paint, [&](QObject* widget) {
        if (!painted && widget->objectName() == QLatin1String("FrameBackground")) {
            painted = true;
            pageAtFirstPaint = window.findChild<LampLight*>() != nullptr;
        }
    });
    QVERIFY(road.loadTile());
    QVERIFY(painted);
    QVERIFY(!pageAtFirstPaint);
    QTest::mouseClick(window.findChild<QToolButton*>(QStringLiteral("LightsButton")), Qt::LeftButton);
    auto* page = window.findChild<LampLight*>();
    // Built later, the page shows the mouse's colour all the same.
    QCOMPARE(shownLight(page).mid(3, 3), (QList<int>{10, 20, 30}));
    const auto find = [page](const char* name) { return page->findChild<QWidget*>(QLatin1String(name)); };
    QCOMPARE(HidSim_WriteCount(m_mouse.mouse), 0);

    pick(static_cast<QComboBox*>(find("LightMod")), 1);
    QTest::keyClick(find("horizontalLight"), Qt::Key_Right);
    QTest::keyClick(find("horizontalSpeed"), Qt::Key_Right);
    QTest::mouseClick(static_cast<QToolButton*>(find("toolButtonColorI")), Qt::LeftButton);
    auto* green = static_cast<QSpinBox*>(find("GSpinBox"));
    QTest::mouseClick(green, Qt::LeftButton);
    green->selectAll();
    QTest::keyClicks(green, QStringLiteral("77"));
    QTest::mouseClick(static_cast<QToolButton*>(find("RippeControl")), Qt::LeftButton);
    pick(find("frameClose")->findChild<QComboBox*>(), 8);

    QByteArray expected = image;
    expected[Effect] = char(2);
    expected[Brightness] = char(3);
    expected[Speed] = char(3);
    expected[Red] = char(46);
    expected[Green] = char(77);
    expected[Blue] = char(223);
    expected[Toggle] = char(1);
    expected[Sleep] = char(180);
    QCOMPARE(storedImage(m_mouse.mouse), expected);
    const int written = HidSim_WriteCount(m_mouse.mouse);

    QTest::mouseClick(window.findChild<QToolButton*>(QStringLiteral("UpArrow")), Qt::LeftButton);
    SimScript::settle();
    if (Worker* worker = Worker::instance())
        worker->wait(5000);
    QVERIFY(road.loadTile());
    QCOMPARE(static_cast<QComboBox*>(find("LightMod"))->currentIndex(), 1);
    QCOMPARE(static_cast<QSlider*>(find("horizontalLight"))->value(), 4);
    QCOMPARE(static_cast<QSlider*>(find("horizontalSpeed"))->value(), 4);
    QCOMPARE(static_cast<QSpinBox*>(find("RSpinBox"))->value(), 46);
    QCOMPARE(green->value(), 77);
    QCOMPARE(static_cast<QSpinBox*>(find("BSpinBox"))->value(), 223);
    QVERIFY(static_cast<QToolButton*>(find("RippeControl"))->isChecked());
    QCOMPARE(static_cast<StopCloseTime*>(find("frameClose"))->currentIndex(), 8);
    QCOMPARE(HidSim_WriteCount(m_mouse.mouse), written);
    QCOMPARE(storedImage(m_mouse.mouse), expected);
    if (Worker* worker = Worker::instance())
        worker->wait(5000);
}

// The mouse behind the 2 kHz receiver (MID 5, a model without lighting): its full load from the
// tile leaves the lighting page as it was built, and nothing is written back.
void LightingPageTest::receiverMouseLeavesThePageAsBuilt()
{
    placeMouse(SimScript::addReceiverMouse(5, 4), lightImage(1, 4, 2, 2, 6, {10, 20, 30}, 1));
    TileRoad road;
    QVERIFY(road.loadTile());
    // The page counts as filled: the load ends without the offline notice.
    QVERIFY(!road.answerer.handled().contains(QStringLiteral("MouseOffLine")));
    // The frame's page shows what a page just built shows.
    auto* page = road.window.findChild<LampLight*>();
    QVERIFY(page);
    LampLight built;
    QCOMPARE(shownLight(page), shownLight(&built));
    QVERIFY(!road.window.findChild<QToolButton*>(QStringLiteral("LightsButton"))->isVisible());
    QCOMPARE(HidSim_WriteCount(m_mouse.mouse), 0);
    if (Worker* worker = Worker::instance())
        worker->wait(5000);
}

QTEST_MAIN(LightingPageTest)
#include "tst_lighting_page.moc"
