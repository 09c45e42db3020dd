// The sensor page end to end: the user chooses a mouse's tile, changes settings on the
// sensor page, and the library's stored image holds exactly those bytes; back to the tiles
// and the same tile again, the page shows what the mouse now holds.
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/Registry.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "pages/sensor/DebounceTime.h"
#include "pages/sensor/Sensor.h"
#include "pages/sensor/SensorDPI.h"
#include "pages/sensor/StopCloseTime.h"
#include "shell/DialogChange.h"
#include "shell/DialogMain.h"
#include "support/HidSimScript.h"
#include "support/ModalAnswerer.h"
#include "support/TestEnv.h"

#include "HIDUsbControl.h"

#include <QAbstractItemView>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

// Counts the loads that filled the pages from the mouse: SigForm follows the three page images,
// and its emitter sends it only once every receiver of the images, the sensor page among them,
// has returned (the page is built after this counter connects, so a count on the sensor image
// itself could come before the page's own slot).
class FillCounter : public QObject {
    Q_OBJECT
public:
    FillCounter() { PostMsg::connectBlocking(SIGNAL(SigForm()), this, SLOT(onFill())); }
    int fills = 0;
private slots:
    void onFill() { ++fills; }
};

using SimScript::storedImage;

// The program's window with one cable mouse of model `mid`.
struct Road {
    TestEnv env;
    SimScript::Device mouse;
    ModalAnswerer answerer;  // closes the busy dialog of each load
    std::unique_ptr<DialogMain> window;
    std::unique_ptr<FillCounter> counter;

    explicit Road(uint8_t mid)
    {
        env.stageShippedData();
        UserConfig::reload();
        MacroSetting::reload();
        Registry::setBaseFolder(env.home() + QStringLiteral("/registry"));
        ResetCurrentDevice();
        ChoiceDeviceList.clear();
        MainPageActive = 0;
        mouse = SimScript::addCableMouse(mid);
        window = std::make_unique<DialogMain>();
        counter = std::make_unique<FillCounter>();
        window->show();
        SimScript::settle();
    }
    ~Road()
    {
        counter.reset();
        window.reset();
        Registry::setBaseFolder(QString());
    }

    // Chooses the tile and waits until the sensor page is filled from the mouse.
    bool chooseTile()
    {
        auto* tile = window->findChild<QToolButton*>(QStringLiteral("btn0"));
        if (!tile)
            return false;
        const int before = counter->fills;
        tile->click();
        const bool filled = SimScript::deliverUntil([&] { return counter->fills > before; });
        if (Worker* worker = Worker::instance())
            worker->wait(5000);
        return filled;
    }
    Sensor* openSensorPage()
    {
        QTest::mouseClick(window->findChild<QToolButton*>(QStringLiteral("SensorButton")), Qt::LeftButton);
        return window->findChild<Sensor*>();
    }
    QComboBox* debounceList() const
    {
        return window->findChild<DebounceTime*>(QStringLiteral("DebunceButton"))->findChild<QComboBox*>(QStringLiteral("Debunce"));
    }
    QComboBox* sleepList() const
    {
        return window->findChild<StopCloseTime*>(QStringLiteral("frameClose"))->findChild<QComboBox*>(QStringLiteral("StopClose"));
    }
    void back() { QTest::mouseClick(window->findChild<QToolButton*>(QStringLiteral("UpArrow")), Qt::LeftButton); }
    template <typename T = QWidget>
    T* get(const char* name) const
    {
        return window->findChild<Sensor*>()->findChild<T*>(QLatin1String(name));
    }
};

// The user opens a list and takes an entry.
void pick(QComboBox* combo, int row)
{
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    view->setCurrentIndex(combo->model()->index(row, 0));
    QTest::keyClick(view, Qt::Key_Return);
}

void dragMarker(SensorDPI* dpi, int x)
{
    auto* marker = dpi->findChild<QLabel*>(QStringLiteral("label_8"));
    const QPoint start = marker->geometry().center();
    const QPoint end(x, start.y());
    QMouseEvent press(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dpi, &press);
    QMouseEvent move(QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dpi, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dpi, &release);
}

}  // namespace

class SensorRoadTest : public QObject {
    Q_OBJECT

private slots:
    void dpiLevelsReachTheMouseAndComeBack();
    void sensorSettingsReachTheMouseAndComeBack();
    void colourDialogSpeaksTheChosenLanguage();
};

void SensorRoadTest::dpiLevelsReachTheMouseAndComeBack()
{
    Road road(1);
    const QByteArray factory = storedImage(road.mouse.mouse);
    QVERIFY(road.chooseTile());
    Sensor* page = road.openSensorPage();
    QVERIFY(page && page->isVisible());
    SensorDPI* dpi = page->dpiPanel();
    auto* count = road.get<QComboBox>("ChooseEvent");
    QCOMPARE(count->currentIndex(), 3);  // factory: four levels, level 1 active

    // Level 1's value by the slider, level 2 made active by a drag, a colour, three levels.
    road.get<QSlider>("horizontalSliderC")->setValue(1200);
    dragMarker(dpi, 210);
    QCOMPARE(dpi->currentLevel(), 2);
    QTest::mouseClick(road.get<QToolButton>("RedButtonA"), Qt::LeftButton);
    auto* dialog = dpi->findChild<QColorDialog*>();
    QVERIFY(dialog && dialog->isVisible());
    dialog->setCurrentColor(QColor(0x20, 0x40, 0x60));
    dialog->accept();
    count->setCurrentIndex(2);

    QByteArray expected = factory;
    expected.replace(15 + 6, 3, QByteArray::fromHex("171700"));  // 1200 DPI
    expected[2] = 2;
    expected.replace(15 + 12 + 3, 3, QByteArray::fromHex("204060"));
    expected[1] = 3;
    QCOMPARE(SimScript::lastWrittenImage(road.mouse.mouse), expected);
    QCOMPARE(storedImage(road.mouse.mouse), expected);

    road.back();
    QCOMPARE(road.window->currentPage(), int(DialogMain::ChoicePage));
    const int writes = HidSim_WriteCount(road.mouse.mouse);
    QVERIFY(road.chooseTile());
    QCOMPARE(HidSim_WriteCount(road.mouse.mouse), writes);
    QCOMPARE(road.get<QToolButton>("BrightRedButton")->text(), QStringLiteral("1200"));
    QCOMPARE(dpi->levelColor(2), QStringLiteral("32,64,96"));
    QCOMPARE(count->currentIndex(), 2);
    QVERIFY(road.get<QToolButton>("RedButton")->isChecked());
    QCOMPARE(road.get<QLabel>("label_8")->pos(), QPoint(209, 154));
    QVERIFY(!road.get<QToolButton>("YellowButton")->isVisibleTo(dpi));
}

void SensorRoadTest::sensorSettingsReachTheMouseAndComeBack()
{
    Road road(4);  // sensor "3950": three lift-off distances; its picture shows the DPI light block
    const QByteArray factory = storedImage(road.mouse.mouse);
    QVERIFY(road.chooseTile());
    Sensor* page = road.openSensorPage();
    QVERIFY(page && page->isVisible());
    auto* lod = road.get<QComboBox>("LOD");
    auto* effect = road.get<QComboBox>("Model");
    QCOMPARE(lod->currentText(), QStringLiteral("1mm"));
    QVERIFY(road.get<QToolButton>("Button1000HZ")->isChecked());
    QVERIFY(road.get("frameEffect")->isVisible());
    QCOMPARE(effect->currentIndex(), 1);

    QTest::mouseClick(road.get<QToolButton>("Button500HZ"), Qt::LeftButton);
    QTest::mouseClick(road.get<QToolButton>("RippeControl_2"), Qt::LeftButton);
    pick(lod, lod->findText(QStringLiteral("0.7mm")));
    pick(effect, 2);
    // The debounce time on the button page, the sleep time on the lighting page.
    QTest::mouseClick(road.window->findChild<QToolButton*>(QStringLiteral("ButtonMain")), Qt::LeftButton);
    pick(road.debounceList(), 8);
    QTest::mouseClick(road.window->findChild<QToolButton*>(QStringLiteral("LightsButton")), Qt::LeftButton);
    pick(road.sleepList(), 3);

    QByteArray expected = factory;
    expected[0] = 0x02;
    expected[10] = 1;
    expected[5] = 3;
    expected[63] = 2;
    expected[6] = 8;
    expected[8] = 30;
    QCOMPARE(storedImage(road.mouse.mouse), expected);

    road.back();
    const int writes = HidSim_WriteCount(road.mouse.mouse);
    QVERIFY(road.chooseTile());
    QCOMPARE(HidSim_WriteCount(road.mouse.mouse), writes);
    QVERIFY(road.get<QToolButton>("Button500HZ")->isChecked());
    QVERIFY(road.get<QToolButton>("RippeControl_2")->isChecked());
    QCOMPARE(lod->currentText(), QStringLiteral("0.7mm"));
    QCOMPARE(effect->currentIndex(), 2);
    QCOMPARE(road.debounceList()->currentIndex(), 8);
    QCOMPARE(road.sleepList()->currentIndex(), 3);
}

// Qt's own texts follow the program's language, and installing Qt's translation leaves the
// choice page in the chosen language with its language box where the user put it.
void SensorRoadTest::colourDialogSpeaksTheChosenLanguage()
{
    Road road(1);
    auto* choice = road.window->findChild<DialogChange*>();
    QVERIFY(choice);
    auto* box = choice->findChild<QComboBox*>(QStringLiteral("comboBox"));
    auto* title = choice->findChild<QLabel*>(QStringLiteral("label_3"));
    QVERIFY(box && title);
    const QString english = title->text();
    const auto cancelText = [] {
        QColorDialog dialog;
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&'));
    };
    QCOMPARE(cancelText(), QStringLiteral("Cancel"));

    // The user picks Japanese in the choice page's language box.
    box->setCurrentIndex(5);
    QMetaObject::invokeMethod(box, "activated", Q_ARG(int, 5));
    QCOMPARE(box->currentIndex(), 5);
    QVERIFY(!title->text().isEmpty());
    QVERIFY(title->text() != english);
    QVERIFY2(cancelText().contains(QStringLiteral("キャンセル")), qPrintable(cancelText()));

    box->setCurrentIndex(0);
    QMetaObject::invokeMethod(box, "activated", Q_ARG(int, 0));
    QCOMPARE(cancelText(), QStringLiteral("Cancel"));
    QCOMPARE(title->text(), english);
    QCOMPARE(box->currentIndex(), 0);
}

QTEST_MAIN(SensorRoadTest)
#include "tst_sensor_road.moc"
