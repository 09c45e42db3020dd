// The debounce-time list (button page) and the sleep-time list (lighting page): a user's choice
// ends as exact bytes in the mouse's stored image, fills and resets write nothing, the low
// debounce advice follows the write, and the entry texts follow the language.
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/Registry.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "device/WorkingImage.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/lighting/LampLight.h"
#include "pages/sensor/DebounceTime.h"
#include "pages/sensor/SleepTimeSteps.h"
#include "pages/sensor/StopCloseTime.h"
#include "shell/DialogMain.h"
#include "widgets/MyConmboBox.h"
#include "support/HidSimScript.h"
#include "support/HubRecorder.h"
#include "support/ModalAnswerer.h"
#include "support/SharedWorld.h"
#include "support/Wait.h"

#include "HIDUsbControl.h"

#include <QAbstractItemView>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include <cstring>
#include <memory>

namespace {

constexpr int DebounceByte = 6;
constexpr int SleepByte = 8;

using SimScript::storedImage;

FlashDataMap imageOf(const QByteArray& bytes)
{
    FlashDataMap image{};
    std::memcpy(&image, bytes.constData(), qMin<size_t>(sizeof image, size_t(bytes.size())));
    return image;
}

// Picks row `row` the way a user does: opens the pop-up, moves to the row, presses Return.
void pick(QComboBox* combo, int row)
{
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    view->setCurrentIndex(combo->model()->index(row, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QVERIFY(!view->isVisible());
    // An advice the choice brings opens once the key's handler has returned.
    QVERIFY(runQueuedWork());
}

QStringList itemTexts(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

QByteArray languageFile(const QString& ms, const QString& sleepPrefix)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Total><Buttoninterface>";
    for (int k = 1; k <= 20; ++k)
        xml += QStringLiteral("<S%1>%2</S%1>").arg(k).arg(ms).toUtf8();
    xml += "<Other><S3>not a suffix</S3></Other></Buttoninterface><Light>";
    xml += ("<StopCloseTime>" + sleepPrefix + "0</StopCloseTime>").toUtf8();
    for (int k = 1; k <= 10; ++k)
        xml += QStringLiteral("<StopCloseTime%1>%2</StopCloseTime%1>").arg(k).arg(sleepPrefix + QString::number(k)).toUtf8();
    xml += "</Light></Total>\n";
    return xml;
}

}  // namespace

class SettingListsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void debounceChoiceWritesByteSix_data();
    void debounceChoiceWritesByteSix();
    void debounceAdviceFollowsTheWriteOverTheList();
    void sleepPickWritesByteEight_data();
    void sleepPickWritesByteEight();
    void sleepPickOfShownEntrySendsAgain();
    void writesDisabledSendNothing();
    void offlineChoiceGivesOneNotice();
    void buttonPageFillAndResetWriteNothing_data();
    void buttonPageFillAndResetWriteNothing();
    void lightingPageFillAndReset_data();
    void lightingPageFillAndReset();
    void entryTextsFollowTheLanguage();
    void tileToDebounceAndSleepEndToEnd();

private:
    void openMouse(const QByteArray& image, bool behindReceiver = false);
    MyConmboBox* debounceList(QWidget* page) const
    {
        return page->findChild<DebounceTime*>(QStringLiteral("DebunceButton"))->findChild<MyConmboBox*>(QStringLiteral("Debunce"));
    }
    MyConmboBox* sleepList(QWidget* page) const
    {
        return page->findChild<StopCloseTime*>(QStringLiteral("frameClose"))->findChild<MyConmboBox*>(QStringLiteral("StopClose"));
    }

    std::unique_ptr<SharedWorld> m_world;
    SimScript::Device m_mouse;
    QByteArray m_image;
};

// One program folder for the whole run: staging the shipped data takes a while.
void SettingListsTest::initTestCase()
{
    m_world = std::make_unique<SharedWorld>();
}

void SettingListsTest::cleanupTestCase()
{
    m_world.reset();
}

void SettingListsTest::init()
{
    SharedWorld::startCase();
}

void SettingListsTest::cleanup()
{
    SharedWorld::endCase();
}

// A cable mouse holding `image`, its link open and the image loaded, as after a full load.
void SettingListsTest::openMouse(const QByteArray& image, bool behindReceiver)
{
    m_mouse = behindReceiver ? SimScript::addReceiverMouse(1) : SimScript::addCableMouse(1);
    m_image = image;
    QCOMPARE(HidSim_SetImage(m_mouse.mouse, 0, reinterpret_cast<const uint8_t*>(image.constData())), 0);
    SetCurrentDevicePath(m_mouse.path);
    SimScript::openQuietLink(m_mouse.path);
    SetWorkingImage(imageOf(image));
    SetWorkingImageLoaded(true);
}

void SettingListsTest::debounceChoiceWritesByteSix_data()
{
    QTest::addColumn<int>("ms");
    QTest::addColumn<bool>("advised");
    QTest::newRow("0 ms") << 0 << true;
    QTest::newRow("5 ms") << 5 << true;
    QTest::newRow("7 ms") << 7 << true;
    QTest::newRow("8 ms") << 8 << false;
    QTest::newRow("20 ms") << 20 << false;
}

void SettingListsTest::debounceChoiceWritesByteSix()
{
    QFETCH(int, ms);
    QFETCH(bool, advised);
    openMouse(SimScript::makeImage(3));
    DebounceTime list;
    auto* combo = list.findChild<MyConmboBox*>(QStringLiteral("Debunce"));
    if (ms == 0) {
        WriteEnabled = 0;  // the list starts on 0 ms: move away first
        pick(combo, 1);
        WriteEnabled = 1;
    }
    ModalAnswerer answerer;

    pick(combo, ms);

    QByteArray expected = m_image;
    expected[DebounceByte] = char(ms);
    QCOMPARE(storedImage(m_mouse.mouse), expected);
    QCOMPARE(HidSim_WriteCount(m_mouse.mouse), 1);
    QCOMPARE(answerer.handled(), advised ? QStringList{QStringLiteral("LessThree")} : QStringList{});
}

void SettingListsTest::debounceAdviceFollowsTheWriteOverTheList()
{
    openMouse(SimScript::makeImage(4));
    QWidget page;
    page.resize(400, 300);
    auto* list = new DebounceTime(&page);
    list->setGeometry(35, 50, 165, 37);
    page.move(600, 400);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    int byteWhenShown = -1;
    QPoint shownAt;
    QWidget* parentOfNotice = &page;
    ModalAnswerer answerer;
    answerer.on(QStringLiteral("LessThree"), [&](QWidget* notice) {
        byteWhenShown = uint8_t(storedImage(m_mouse.mouse).at(DebounceByte));
        shownAt = notice->pos();
        parentOfNotice = notice->parentWidget();
        ModalAnswerer::clickButton(QStringLiteral("NewHong"))(notice);
    });
    pick(list->findChild<MyConmboBox*>(), 3);

    QCOMPARE(answerer.handled(), QStringList{QStringLiteral("LessThree")});
    QCOMPARE(byteWhenShown, 3);
    QVERIFY(parentOfNotice == nullptr);
    const QPoint corner = list->mapToGlobal(QPoint(0, 0));
    // The notice is 300 x 140: centred over the list, then 409 left and 202 up.
    QCOMPARE(shownAt, QPoint(corner.x() + (165 - 300) / 2 - 409, corner.y() + (37 - 140) / 2 - 202));
}

void SettingListsTest::sleepPickWritesByteEight_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("units");
    const int units[] = {1, 3, 6, 30, 60, 90, 120, 150, 180, 210, 240};
    for (int i = 0; i < 11; ++i)
        QTest::addRow("entry %d", i) << i << units[i];
}

void SettingListsTest::sleepPickWritesByteEight()
{
    QFETCH(int, position);
    QFETCH(int, units);
    openMouse(SimScript::makeImage(5));
    StopCloseTime list;
    ModalAnswerer answerer;

    pick(list.findChild<MyConmboBox*>(QStringLiteral("StopClose")), position);

    QByteArray expected = m_image;
    expected[SleepByte] = char(units);
    QCOMPARE(storedImage(m_mouse.mouse), expected);
    QCOMPARE(HidSim_WriteCount(m_mouse.mouse), 1);
    QCOMPARE(answerer.count(), 0);
    QCOMPARE(SleepTimeSteps::positionOf(units), position);
}

void SettingListsTest::sleepPickOfShownEntrySendsAgain()
{
    openMouse(SimScript::makeImage(6));
    StopCloseTime list;
    auto* combo = list.findChild<MyConmboBox*>();
    pick(combo, 3);
    pick(combo, 3);
    QCOMPARE(HidSim_WriteCount(m_mouse.mouse), 2);
    QCOMPARE(uint8_t(storedImage(m_mouse.mouse).at(SleepByte)), uint8_t(30));
}

void SettingListsTest::writesDisabledSendNothing()
{
    openMouse(SimScript::makeImage(7));
    DebounceTime debounce;
    StopCloseTime sleep;
    WriteEnabled = 0;
    ModalAnswerer answerer;
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);

    pick(debounce.findChild<MyConmboBox*>(), 4);
    pick(sleep.findChild<MyConmboBox*>(), 10);
    LightPageBusy = 1;  // the lighting page fills: a pick is not sent either
    WriteEnabled = 1;
    pick(sleep.findChild<MyConmboBox*>(), 9);

    QCOMPARE(debounce.currentIndex(), 4);
    QCOMPARE(sleep.currentIndex(), 9);
    QCOMPARE(HidSim_WriteCount(m_mouse.mouse), 0);
    QCOMPARE(storedImage(m_mouse.mouse), m_image);
    QCOMPARE(answerer.count(), 0);
    QCOMPARE(offline.count(), 0);
}

void SettingListsTest::offlineChoiceGivesOneNotice()
{
    openMouse(SimScript::makeImage(8), true);
    DebounceTime debounce;
    StopCloseTime sleep;
    HidSim_SetAwake(m_mouse.mouse, 0);
    ModalAnswerer answerer;
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);

    // Refused: each list shows the mouse's entry again, with no advice on a time not set.
    const int debounceShown = debounce.currentIndex();
    QVERIFY(debounceShown != 5);
    pick(debounce.findChild<MyConmboBox*>(), 5);
    QCOMPARE(offline.count(), 1);
    QCOMPARE(answerer.handled(), QStringList());
    QCOMPARE(debounce.currentIndex(), debounceShown);

    const int sleepShown = sleep.currentIndex();
    QVERIFY(sleepShown != 4);
    pick(sleep.findChild<MyConmboBox*>(), 4);
    QCOMPARE(offline.count(), 2);
    QCOMPARE(sleep.currentIndex(), sleepShown);
    QCOMPARE(HidSim_WriteCount(m_mouse.mouse), 0);
    QCOMPARE(storedImage(m_mouse.mouse), m_image);
}

void SettingListsTest::buttonPageFillAndResetWriteNothing_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("shown");
    QTest::newRow("3 ms") << 3 << 3;
    QTest::newRow("20 ms") << 20 << 20;
    QTest::newRow("0 ms, already shown") << 0 << 0;
    QTest::newRow("above 20: no entry") << 21 << -1;
}

// A fill, from the mouse or from a cache file while the mouse holds another value, shows the
// byte and sends nothing; a reset shows 8 ms.
void SettingListsTest::buttonPageFillAndResetWriteNothing()
{
    QFETCH(int, byte);
    QFETCH(int, shown);
    QByteArray mouseHolds = SimScript::makeImage(9);
    mouseHolds[DebounceByte] = char(12);
    openMouse(mouseHolds);
    ModalAnswerer answerer;
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    {
        Buttoninterface page;
        auto* list = page.findChild<DebounceTime*>(QStringLiteral("DebunceButton"));
        QVERIFY(list);
        QCOMPARE(list->geometry(), QRect(35, 50, 165, 37));
        QCOMPARE(list->frameShape(), QFrame::StyledPanel);

        QByteArray cached = mouseHolds;
        cached[DebounceByte] = char(byte);
        page.SlotUpDataButtonUIB(imageOf(cached));
        QCOMPARE(list->currentIndex(), shown);
        page.SlotUpDataButtonUIButton(imageOf(mouseHolds));
        QCOMPARE(list->currentIndex(), 12);
        page.SlotUpDataButtonUIButton(imageOf(cached));
        QCOMPARE(list->currentIndex(), shown);
        QCOMPARE(ButtonPageBusy.load(), 0);
        QCOMPARE(ButtonPageReady.load(), 1);
        page.SlotFormResetButton();
        QCOMPARE(list->currentIndex(), 8);
        QCOMPARE(ButtonPageBusy.load(), 0);
    }
    QCOMPARE(HidSim_WriteCount(m_mouse.mouse), 0);
    QCOMPARE(storedImage(m_mouse.mouse), mouseHolds);
    QCOMPARE(answerer.count(), 0);
    QCOMPARE(offline.count(), 0);
}

void SettingListsTest::lightingPageFillAndReset_data()
{
    QTest::addColumn<int>("mid");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("afterFill");
    QTest::addColumn<int>("afterReset");
    // The list starts on entry 0 (10 s); entry 2 is 1 minute.
    QTest::newRow("MID 1, 5 min") << 1 << 30 << 3 << 2;
    QTest::newRow("MID 1, 1 min") << 1 << 6 << 2 << 2;
    QTest::newRow("MID 1, 40 min") << 1 << 240 << 10 << 2;
    QTest::newRow("MID 1, 20 s: no step") << 1 << 2 << 0 << 2;
    QTest::newRow("MID 1, 255: no step") << 1 << 255 << 0 << 2;
    QTest::newRow("MID 5: no light settings") << 5 << 30 << 0 << 0;
    QTest::newRow("MID 15: no light settings") << 15 << 30 << 0 << 0;
    QTest::newRow("MID 20: filled, not reset") << 20 << 60 << 4 << 4;
}

void SettingListsTest::lightingPageFillAndReset()
{
    QFETCH(int, mid);
    QFETCH(int, byte);
    QFETCH(int, afterFill);
    QFETCH(int, afterReset);
    openMouse(SimScript::makeImage(10));
    ChosenModelId = mid;
    ModalAnswerer answerer;
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    LampLight page;
    auto* list = page.findChild<StopCloseTime*>(QStringLiteral("frameClose"));
    QVERIFY(list);
    QCOMPARE(list->geometry(), QRect(235, 420, 145, 35));
    QCOMPARE(list->currentIndex(), 0);

    QByteArray image = m_image;
    image[SleepByte] = char(byte);
    page.SlotUpDataLightUILight(imageOf(image));
    QCOMPARE(list->currentIndex(), afterFill);
    QCOMPARE(LightPageReady.load(), 1);
    QCOMPARE(LightPageBusy.load(), 0);
    page.SlotUpDataLightUIA(imageOf(image));
    QCOMPARE(list->currentIndex(), afterFill);
    page.SlotFormResetLight();
    QCOMPARE(list->currentIndex(), afterReset);
    QCOMPARE(LightPageBusy.load(), 0);

    QCOMPARE(HidSim_WriteCount(m_mouse.mouse), 0);
    QCOMPARE(storedImage(m_mouse.mouse), m_image);
    QCOMPARE(offline.count(), 0);
    QCOMPARE(answerer.count(), 0);
}

void SettingListsTest::entryTextsFollowTheLanguage()
{
    // Before any language file: the lists' own texts.
    {
        DebounceTime debounce;
        QCOMPARE(itemTexts(debounce.findChild<MyConmboBox*>()).mid(0, 4), (QStringList{"0", "1ms", "2ms", "3"}));
        StopCloseTime sleep;
        QCOMPARE(itemTexts(sleep.findChild<MyConmboBox*>()).first(), QString::fromUtf8("10秒"));
        QCOMPARE(sleep.findChild<MyConmboBox*>()->count(), 11);
    }
    m_world->env().writeProgramFile(QStringLiteral("Language/0-English.xml"), languageFile(QStringLiteral(" msA"), QStringLiteral("A")));
    m_world->env().writeProgramFile(QStringLiteral("Language/5-Japanese.xml"), languageFile(QStringLiteral(" msB"), QStringLiteral("B")));
    ModalAnswerer answerer;
    Buttoninterface buttons;
    LampLight light;

    QStringList debounceA, sleepA, debounceB, sleepB;
    for (int i = 0; i <= 20; ++i) {
        debounceA << QString::number(i) + " msA";
        debounceB << QString::number(i) + " msB";
    }
    for (int i = 0; i <= 10; ++i) {
        sleepA << "A" + QString::number(i);
        sleepB << "B" + QString::number(i);
    }
    QCOMPARE(itemTexts(debounceList(&buttons)), debounceA);
    QCOMPARE(itemTexts(sleepList(&light)), sleepA);

    PostMsg::instance()->SendChangeLanguage(5);
    QCOMPARE(itemTexts(debounceList(&buttons)), debounceB);
    QCOMPARE(itemTexts(sleepList(&light)), sleepB);
    QCOMPARE(answerer.count(), 0);

    for (const char* file : {"0-English.xml", "5-Japanese.xml"}) {
        QFile shipped(QStringLiteral(KAVRO_OUTPUT_DIR "/Language/") + QLatin1String(file));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        m_world->env().writeProgramFile(QStringLiteral("Language/") + QLatin1String(file), shipped.readAll());
    }
}

// From the tile to the stored image: the debounce time on the button page and the sleep time on
// the lighting page reach the mouse; back on the choice page and the same tile again, the
// lists show them, and that load writes nothing.
void SettingListsTest::tileToDebounceAndSleepEndToEnd()
{
    ChosenModelId = 0;
    WriteEnabled = 0;
    m_mouse = SimScript::addCableMouse(1);
    QByteArray image = SimScript::makeImage(11);
    image[DebounceByte] = char(10);
    image[SleepByte] = char(60);
    QCOMPARE(HidSim_SetImage(m_mouse.mouse, 0, reinterpret_cast<const uint8_t*>(image.constData())), 0);

    ModalAnswerer answerer;  // closes the busy dialog of each load and the advice
    linktest::HubRecorder hub;
    DialogMain window;
    window.show();
    SimScript::settle();
    const auto loadTile = [&] { return loadFirstTile(window, hub); };
    QVERIFY(loadTile());
    QCOMPARE(debounceList(&window)->currentIndex(), 10);
    QCOMPARE(sleepList(&window)->currentIndex(), 4);
    QCOMPARE(HidSim_WriteCount(m_mouse.mouse), 0);

    const int advisedBefore = answerer.handled().count(QStringLiteral("LessThree"));
    pick(debounceList(&window), 6);
    QCOMPARE(answerer.handled().count(QStringLiteral("LessThree")), advisedBefore + 1);
    QTest::mouseClick(window.findChild<QToolButton*>(QStringLiteral("LightsButton")), Qt::LeftButton);
    QCOMPARE(window.findChild<QStackedWidget*>(QStringLiteral("stackedWidgetDialog"))->currentIndex(), 3);
    pick(sleepList(&window), 3);

    QByteArray expected = image;
    expected[DebounceByte] = char(6);
    expected[SleepByte] = char(30);
    QCOMPARE(storedImage(m_mouse.mouse), expected);
    QCOMPARE(HidSim_WriteCount(m_mouse.mouse), 2);

    QTest::mouseClick(window.findChild<QToolButton*>(QStringLiteral("UpArrow")), Qt::LeftButton);
    SimScript::settle();
    if (Worker* worker = Worker::instance())
        worker->wait(5000);

    QVERIFY(loadTile());
    QCOMPARE(debounceList(&window)->currentIndex(), 6);
    QCOMPARE(sleepList(&window)->currentIndex(), 3);
    QCOMPARE(HidSim_WriteCount(m_mouse.mouse), 2);
    QCOMPARE(storedImage(m_mouse.mouse), expected);
    if (Worker* worker = Worker::instance())
        worker->wait(5000);
}

QTEST_MAIN(SettingListsTest)
#include "tst_setting_lists.moc"
