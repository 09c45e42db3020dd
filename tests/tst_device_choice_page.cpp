// The device-choice page on the simulated library, offscreen: tiles and paging, pictures and
// marks, hot-plug rebuilds, identical devices, the repair button, the language choice, and the
// receiver flows of a tile click.
#include "ChoiceTestCatalogue.h"

#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/Registry.h"
#include "common/SkinStyles.h"
#include "device/DataCallback.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "dialogs/ContainReset.h"
#include "dialogs/UpDateWarning.h"
#include "pages/settings/FormSetting.h"
#include "shell/ChoiceDevices.h"
#include "shell/ChoiceFlows.h"
#include "shell/DialogChange.h"
#include "widgets/mytoolButtonEnter.h"
#include "support/HidSimScript.h"
#include "support/ModalAnswerer.h"
#include "support/Wait.h"

#include "HIDUsbControl.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

using namespace choicetest;

namespace {

const QString NoDeviceEnglish = QStringLiteral("Please connect your gaming mouse");

// The catalogue's models in order; the last one (MID 3) has no pictures.
const QList<int> ModelMids = {1, 2, 4, 5, 6, 10, 13, 3};

// One test's world: shipped pictures and language files, a catalogue of eight models (MID 3
// has no pictures), a registry and user settings of its own.
struct ChoiceWorld {
    TestEnv env;
    ChoiceWorld(int models = 8, bool emptyD2M = false)
    {
        env.stageShippedData();
        writeCatalogue(env, models, ModelMids, emptyD2M);
        Registry::setBaseFolder(env.home() + QStringLiteral("/registry"));
        MacroSetting::reload();
        ChoiceDeviceList.clear();
        MainPageActive = 0;
        PairChosenDevice = 0;
        PairingDevice = DeviceAllInfo();
    }
    ~ChoiceWorld()
    {
        Registry::setBaseFolder(QString());
        ChoiceDeviceList.clear();
    }
};

// Delivers the hot-plug calls the library posted (the rebuild runs in them).
using SimScript::settle;

template <typename T>
T* child(QWidget* page, const QString& name)
{
    return page->findChild<T*>(name);
}

QStackedWidget* stack(QWidget* page)
{
    return child<QStackedWidget>(page, QStringLiteral("stackedWidget"));
}

// What a tile's widget shows: the picture its property picks in the page's one style sheet,
// checked against the widget's own rendering (every opaque pixel of that picture is drawn, centred
// for tiles and marks, from the corner for badges).
QString shownPicture(QWidget* w, const char* property = "picture")
{
    const QString name = w->property(property).toString();
    if (name.isEmpty())
        return name;
    const QImage picture(pictureFolder(QStringLiteral("DialogChange")) + name);
    const QImage shot = w->grab().toImage();
    if (picture.isNull())
        return QStringLiteral("<no picture file>");
    const bool centred = qstrcmp(property, "badge") != 0;
    const QPoint offset = centred ? QPoint((shot.width() - picture.width()) / 2, (shot.height() - picture.height()) / 2)
                                  : QPoint();
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            if (qAlpha(p) == 255 && shot.pixel(offset + QPoint(x, y)) != p)
                return QStringLiteral("<not drawn>");
        }
    }
    return name;
}

QString tilePicture(QWidget* page, int tile)
{
    auto* b = child<QToolButton>(page, QStringLiteral("btn%1").arg(tile));
    return b ? shownPicture(b) : QStringLiteral("<no tile>");
}

bool shown(QWidget* page, const QString& name)
{
    QWidget* w = child<QWidget>(page, name);
    return w && w->isVisible();
}

// The badge of a tile: the unnamed 42 x 26 label on its page at the tile's badge spot.
QString badgePicture(QWidget* page, int tile)
{
    QWidget* b = child<QWidget>(page, QStringLiteral("btn%1").arg(tile));
    if (!b)
        return QStringLiteral("<no tile>");
    for (QLabel* l : b->parentWidget()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (l->objectName().isEmpty() && l->x() == b->x() + 7 && l->size() == QSize(42, 26))
            return l->isVisible() ? shownPicture(l, "badge") : QStringLiteral("<hidden badge>");
    }
    return QStringLiteral("<no badge>");
}

// Cables of different models; the finder lists at most five per id, so the later ones sit
// under the second vendor id.
void plugCables(int count)
{
    for (int i = 0; i < count; ++i) {
        int mouse = -1;
        HidSimMouseSetup setup{};
        setup.cid = 10;
        setup.mid = uint8_t(ModelMids.at(i));
        setup.awake = 1;
        mouse = HidSim_AddMouse(&setup);
        HidSimInterfaceSetup cable{};
        cable.vid = i < 4 ? "0x3554" : "0x3555";
        cable.pid = "0xF500";
        cable.kind = 2;
        cable.mouseId = mouse;
        HidSim_AddInterface(&cable);
    }
}

}  // namespace

class TestDeviceChoicePage : public QObject {
    Q_OBJECT
private slots:
    void noDeviceShowsText()
    {
        ChoiceWorld world;
        DialogChange page;
        page.show();
        settle();
        QCOMPARE(stack(&page)->count(), 0);
        QVERIFY(shown(&page, QStringLiteral("label_2")));
        QVERIFY(!shown(&page, QStringLiteral("label_3")));
        QVERIFY(!shown(&page, QStringLiteral("LeftButton")));
        QVERIFY(!shown(&page, QStringLiteral("RightButton")));
        QVERIFY(!shown(&page, QStringLiteral("Repair")));
        QCOMPARE(child<QLabel>(&page, QStringLiteral("label_2"))->text(), NoDeviceEnglish);

        // A recorded failed update: the next hot-plug call shows the repair offer.
        Registry::setValue(QString::fromLatin1(MouseVersionRegistryKey), QStringLiteral("UpdateFailInfo"), QStringLiteral("mouse"));
        const int id = plugDevice(10, 1, 2);
        HidSim_RemoveInterface(id);
        settle();
        QVERIFY(shown(&page, QStringLiteral("Repair")));
        QCOMPARE(child<QLabel>(&page, QStringLiteral("label_2"))->text(), page.repairText());
        QVERIFY(!page.repairText().isEmpty());
    }

    void tilesAndPaging_data()
    {
        QTest::addColumn<int>("devices");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QList<int>>("lastPageX");
        QTest::addColumn<bool>("right");
        QTest::newRow("three") << 3 << 1 << QList<int>{0, 300, 600} << false;
        QTest::newRow("four") << 4 << 2 << QList<int>{305} << true;
        QTest::newRow("five") << 5 << 2 << QList<int>{135, 445} << true;
        QTest::newRow("six") << 6 << 2 << QList<int>{0, 300, 600} << true;
        QTest::newRow("seven") << 7 << 3 << QList<int>{305} << true;
    }
    void tilesAndPaging()
    {
        QFETCH(int, devices);
        QFETCH(int, pages);
        QFETCH(QList<int>, lastPageX);
        QFETCH(bool, right);
        ChoiceWorld world;
        plugCables(devices);
        DialogChange page;
        page.show();
        settle();
        QCOMPARE(ChoiceDeviceList.size(), devices);
        QCOMPARE(stack(&page)->count(), pages);
        QCOMPARE(stack(&page)->currentIndex(), 0);
        QVERIFY(!shown(&page, QStringLiteral("label_2")));
        QVERIFY(shown(&page, QStringLiteral("label_3")));
        QCOMPARE(shown(&page, QStringLiteral("RightButton")), right);
        QVERIFY(!shown(&page, QStringLiteral("LeftButton")));
        QWidget* last = stack(&page)->widget(pages - 1);
        QList<int> xs;
        for (auto* b : last->findChildren<mytoolButtonEnter*>())
            xs << b->x();
        std::sort(xs.begin(), xs.end());
        QCOMPARE(xs, lastPageX);
        for (int t = 0; t < devices; ++t) {
            auto* b = child<mytoolButtonEnter>(&page, QStringLiteral("btn%1").arg(t));
            QVERIFY(b);
            QCOMPARE(b->size(), QSize(284, 360));
            QCOMPARE(b->parentWidget(), stack(&page)->widget(t / 3));
        }
    }

    void sevenDevicesPageThrough()
    {
        ChoiceWorld world;
        plugCables(7);
        DialogChange page;
        page.show();
        settle();
        auto arrows = [&] {
            return QStringLiteral("%1%2%3")
                .arg(stack(&page)->currentIndex())
                .arg(shown(&page, QStringLiteral("LeftButton")) ? "L" : "-")
                .arg(shown(&page, QStringLiteral("RightButton")) ? "R" : "-");
        };
        QCOMPARE(arrows(), QStringLiteral("0-R"));
        QTest::mouseClick(child<QToolButton>(&page, QStringLiteral("RightButton")), Qt::LeftButton);
        QCOMPARE(arrows(), QStringLiteral("1-R"));
        QTest::mouseClick(child<QToolButton>(&page, QStringLiteral("RightButton")), Qt::LeftButton);
        QCOMPARE(arrows(), QStringLiteral("2L-"));
        QTest::mouseClick(child<QToolButton>(&page, QStringLiteral("LeftButton")), Qt::LeftButton);
        QCOMPARE(arrows(), QStringLiteral("1L-"));
        QTest::mouseClick(child<QToolButton>(&page, QStringLiteral("LeftButton")), Qt::LeftButton);
        QCOMPARE(arrows(), QStringLiteral("0-R"));
    }

    void picturesMarksAndBadges()
    {
        ChoiceWorld world;
        // Tiles follow the scan order: cables (USB_PID) first, then the receivers by product id.
        plugDevice(10, 1, 3);                       // tile 0: 8 kHz cable, online
        plugDevice(10, 3, 2);                       // tile 1: cable, MID without pictures
        int sleeping = -1;
        plugDevice(10, 2, 0, &sleeping, 0);         // tile 2: 1 kHz receiver, mouse asleep
        plugLoneInterface("0x3554", "0xF502", 4);   // tile 3: 2 kHz receiver without a mouse
        DialogChange page;
        page.show();
        settle();
        QCOMPARE(ChoiceDeviceList.size(), 4);

        for (int t = 0; t < 3; ++t)
            QVERIFY(shown(&page, QStringLiteral("btn%1").arg(t)));
        QCOMPARE(tilePicture(&page, 0), QStringLiteral("OnLine0.png"));
        QVERIFY(shown(&page, QStringLiteral("UsbWifi0")));
        QVERIFY(!shown(&page, QStringLiteral("label0")));
        QCOMPARE(shownPicture(child<QLabel>(&page, QStringLiteral("UsbWifi0"))), QStringLiteral("OnLineUsb.png"));
        QCOMPARE(badgePicture(&page, 0), QStringLiteral("8KHz.png"));

        QCOMPARE(tilePicture(&page, 1), QString());   // a MID outside the picture table
        QCOMPARE(badgePicture(&page, 1), QString());    // cable kind 2: no badge

        QCOMPARE(tilePicture(&page, 2), QStringLiteral("DisOnlin1.png"));
        QVERIFY(shown(&page, QStringLiteral("label2")));
        QVERIFY(!shown(&page, QStringLiteral("UsbWifi2")));
        QCOMPARE(shownPicture(child<QLabel>(&page, QStringLiteral("label2"))), QStringLiteral("DisOnline.png"));
        QCOMPARE(child<QLabel>(&page, QStringLiteral("label2"))->toolTip(),
                 QStringLiteral("The mouse is offline.\nMove the mouse or check its receiver."));
        QCOMPARE(shownPicture(child<QLabel>(&page, QStringLiteral("UsbWifi2"))), QStringLiteral("OnLineWifi.png"));
        QCOMPARE(badgePicture(&page, 2), QStringLiteral("1KHz.png"));

        // Tile 3 is on page 2: it takes its picture when that page first opens.
        QCOMPARE(tilePicture(&page, 3), QString());
        QTest::mouseClick(child<QToolButton>(&page, QStringLiteral("RightButton")), Qt::LeftButton);
        QCOMPARE(tilePicture(&page, 3), QStringLiteral("Unknow.png"));
        QVERIFY(shown(&page, QStringLiteral("UsbWifi3")));
        QCOMPARE(badgePicture(&page, 3), QStringLiteral("2KHz.png"));
        QTest::mouseClick(child<QToolButton>(&page, QStringLiteral("LeftButton")), Qt::LeftButton);

        // Hovering a tile re-checks its device.
        HidSim_SetAwake(sleeping, 1);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(child<QWidget>(&page, QStringLiteral("btn2")), &enter);
        QCOMPARE(tilePicture(&page, 2), QStringLiteral("OnLine1.png"));
        QVERIFY(!shown(&page, QStringLiteral("label2")));
        QVERIFY(shown(&page, QStringLiteral("UsbWifi2")));
        QCOMPARE(int(ChoiceDeviceList.at(2).online), 1);
        page.RefreshDeviceTile(9);  // a tile outside the list is ignored
        page.RefreshDeviceTile(-1);
    }

    void hotPlugRebuildsTiles()
    {
        ChoiceWorld world;
        plugDevice(10, 1, 2);
        DialogChange page;
        page.show();
        settle();
        QCOMPARE(ChoiceDeviceList.size(), 1);
        const int second = plugDevice(10, 2, 2);
        settle();
        QCOMPARE(ChoiceDeviceList.size(), 2);
        QVERIFY(child<QWidget>(&page, QStringLiteral("btn1")));
        HidSim_RemoveInterface(second);
        settle();
        QCOMPARE(ChoiceDeviceList.size(), 1);
        QCOMPARE(stack(&page)->count(), 1);
        QVERIFY(!shown(&page, QStringLiteral("btn1")));
        QVERIFY(shown(&page, QStringLiteral("btn0")));
    }

    void identicalDevicesShowNotice()
    {
        ChoiceWorld world;
        plugDevice(10, 2, 0);
        plugDevice(10, 2, 0);
        ModalAnswerer answerer;
        DialogChange page;
        page.show();
        settle();
        QVERIFY(answerer.waitForCount(1));
        QCOMPARE(answerer.handled(), QStringList{QStringLiteral("QuestiondialogB")});
        QCOMPARE(stack(&page)->count(), 0);
        QVERIFY(shown(&page, QStringLiteral("label_2")));
        QVERIFY(!shown(&page, QStringLiteral("label_3")));
    }

    void cableHidesItsReceiver()
    {
        ChoiceWorld world;
        int mouse = -1;
        plugDevice(10, 4, 2, &mouse);
        plugInterface(mouse, 1);
        DialogChange page;
        page.show();
        settle();
        QCOMPARE(ChoiceDeviceList.size(), 1);
        QCOMPARE(int(ChoiceDeviceList.first().cableFlag), 1);
        QCOMPARE(stack(&page)->count(), 1);
    }

    void repairButtonFollowsUpdateState()
    {
        ChoiceWorld world;
        Registry::setValue(QString::fromLatin1(MouseVersionRegistryKey), QStringLiteral("UpdateFailInfo"), QStringLiteral("mouse"));
        DialogChange page;
        page.show();
        settle();
        QVERIFY(shown(&page, QStringLiteral("Repair")));

        PostMsg::instance()->SendUpDateButton(true);
        QVERIFY(!shown(&page, QStringLiteral("Repair")));
        QCOMPARE(child<QLabel>(&page, QStringLiteral("label_2"))->text(), NoDeviceEnglish);
        PostMsg::instance()->SendUpDateButton(false);
        QVERIFY(shown(&page, QStringLiteral("Repair")));
        QCOMPARE(child<QLabel>(&page, QStringLiteral("label_2"))->text(), page.repairText());

        // Return acts as the repair button while it is shown.
        ModalAnswerer answerer;
        PostMsg::instance()->SendEnterKey();
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.handled(), QStringList{QStringLiteral("UpDateRepair")});
        PostMsg::instance()->SendUpDateButton(true);
        PostMsg::instance()->SendEnterKey();
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.count(), 1);
    }

    void languageChoice()
    {
        ChoiceWorld world;
        plugDevice(10, 2, 0, nullptr, 0);
        DialogChange page;
        page.show();
        settle();
        QSignalSpy change(PostMsg::instance(), SIGNAL(SigChangeLanguage(int)));
        QSignalSpy same(PostMsg::instance(), SIGNAL(SigLanguageSameB(int)));
        auto* combo = child<QComboBox>(&page, QStringLiteral("comboBox"));
        // Every language the program ships can be picked, so the box never shows an empty entry.
        QCOMPARE(combo->count(), 6);
        QCOMPARE(combo->itemText(0), QStringLiteral("English"));
        QCOMPARE(combo->itemText(3), QString::fromUtf8("한국어"));
        QCOMPARE(combo->itemText(5), QString::fromUtf8("日本語"));
        QMetaObject::invokeMethod(combo, "activated", Q_ARG(int, 1));
        QCOMPARE(MacroSetting::instance()->value(QStringLiteral("Language"), QStringLiteral("Language")), QStringLiteral("1"));
        QCOMPARE(change.count(), 1);
        QCOMPARE(change.first().first().toInt(), 1);
        QCOMPARE(same.count(), 1);
        QCOMPARE(child<QLabel>(&page, QStringLiteral("label_3"))->text(),
                 QStringLiteral("Клацніть зображення, щоб налаштувати пристрій"));
        QCOMPARE(child<QLabel>(&page, QStringLiteral("label0"))->toolTip(),
                 QStringLiteral("Миша не в мережі.\nПорухайте мишею або перевірте приймач."));

        PostMsg::instance()->SendLanguageSameA(2);
        QCOMPARE(combo->currentIndex(), 2);

        MacroSetting::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("4"));
        DialogChange russian;
        QCOMPARE(russian.noDeviceText(), QStringLiteral("Подключите игровую мышь"));
        QCOMPARE(child<QComboBox>(&russian, QStringLiteral("comboBox"))->currentText(), QString::fromUtf8("Русский"));

        // A stored index that names no language (an installer value, a damaged file): English,
        // and the box says so instead of showing nothing.
        MacroSetting::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("9"));
        DialogChange unknown;
        QCOMPARE(child<QComboBox>(&unknown, QStringLiteral("comboBox"))->currentText(), QStringLiteral("English"));
        QCOMPARE(unknown.noDeviceText(), QStringLiteral("Please connect your gaming mouse"));
    }

    // Two receivers of one model: the offline one with its online twin runs the receiver flow,
    // whose firmware checks pick the dialog.
    void receiverFlowsPickDialog_data()
    {
        QTest::addColumn<bool>("storedVersion");
        QTest::addColumn<bool>("mouseFile");
        QTest::addColumn<bool>("receiverFile");
        QTest::addColumn<bool>("clickSecond");  // the kind-4 receiver, whose "D2M" is empty
        QTest::addColumn<QStringList>("dialogs");
        QTest::newRow("no mouse version: pairing") << false << true << true << false << QStringList{"Match"};
        QTest::newRow("nothing newer: re-pair") << true << false << false << false << QStringList{"RePair", "Match"};
        QTest::newRow("both newer: re-pair") << true << true << true << false << QStringList{"RePair", "Match"};
        QTest::newRow("mouse newer: warning") << true << true << false << false << QStringList{"UpDateWarning"};
        QTest::newRow("receiver newer: repair") << true << false << true << false << QStringList{"ContainReset", "UpDateRepair"};
        QTest::newRow("empty D2M follows the mouse") << true << true << true << true << QStringList{"RePair", "Match"};
    }
    void receiverFlowsPickDialog()
    {
        QFETCH(bool, storedVersion);
        QFETCH(bool, mouseFile);
        QFETCH(bool, receiverFile);
        QFETCH(bool, clickSecond);
        QFETCH(QStringList, dialogs);
        ChoiceWorld world(8, true);
        // Model 0 (MID 1): kind-0 receiver first in the scan, kind-4 receiver second.
        plugDevice(10, 1, 0, nullptr, clickSecond ? 1 : 0);
        plugDevice(10, 1, 4, nullptr, clickSecond ? 0 : 1);
        if (storedVersion)
            Registry::setValue(QString::fromLatin1(MouseVersionRegistryKey), QStringLiteral("MouseVer101"), QStringLiteral("v1.0"));
        world.env.writeProgramFile(QStringLiteral("bin/readme.txt"), "firmware images");
        if (mouseFile)
            world.env.writeProgramFile(QStringLiteral("bin/mouse.bin"), SimScript::makeFirmware(0x0101, 210, 10, 1, "MM0"));
        if (receiverFile)
            world.env.writeProgramFile(QStringLiteral("bin/receiver.bin"), SimScript::makeFirmware(0x0103, 211, 10, 1, "DM0"));
        // The frame's settings page reads the warning's text, the choice page the repair text.
        FormSetting settings;
        DialogChange page;
        page.show();
        settle();
        QCOMPARE(ChoiceDeviceList.size(), 2);
        // The warning speaks the language chosen in the box.
        if (dialogs.first() == QLatin1String("UpDateWarning"))
            QMetaObject::invokeMethod(child<QComboBox>(&page, QStringLiteral("comboBox")), "activated", Q_ARG(int, 5));
        int selected = 0;
        QMetaObject::Connection counting = connect(PostMsg::instance(), &PostMsg::SigSelectMouseInfo, [&] { ++selected; });
        QSignalSpy setver(PostMsg::instance(), SIGNAL(SigSetver(int)));
        QString shownText;
        ModalAnswerer answerer;
        answerer.on(QStringLiteral("RePair"), ModalAnswerer::clickButton(QStringLiteral("OK")));
        answerer.on(QStringLiteral("ContainReset"), [&](QWidget* w) {
            shownText = w->findChild<QLabel*>(QStringLiteral("label"))->text();
            ModalAnswerer::clickButton(QStringLiteral("OK"))(w);
        });
        answerer.on(QStringLiteral("UpDateWarning"), [&](QWidget* w) {
            shownText = w->findChild<QLabel*>(QStringLiteral("label"))->text();
            ModalAnswerer::reject()(w);
        });
        const int clicked = clickSecond ? 1 : 0;
        child<QToolButton>(&page, QStringLiteral("btn%1").arg(clicked))->click();
        QVERIFY(runQueuedWork());

        QCOMPARE(answerer.handled(), dialogs);
        QCOMPARE(setver.count(), 1);
        disconnect(counting);
        QCOMPARE(selected, 0);
        QCOMPARE(MainPageActive.load(), 0);
        if (dialogs.last() == QLatin1String("Match")) {
            QCOMPARE(int(PairChosenDevice), 1);
            QCOMPARE(PairingDevice.path, ChoiceDeviceList.at(clicked).path);
        }
        if (dialogs.first() == QLatin1String("UpDateWarning"))
            QCOMPARE(shownText, QString::fromUtf8("ケーブルでマウスを接続してください。"));
        if (dialogs.first() == QLatin1String("ContainReset"))
            QCOMPARE(shownText, QStringLiteral("A newer receiver firmware is available. Update the receiver now?"));
    }

    void unlistedTiles()
    {
        ChoiceWorld world;
        plugLoneInterface("0x3554", "0xF501", 0);
        plugDevice(10, 9, 2);  // a cable mouse of a model the catalogue lacks
        DialogChange page;
        page.show();
        settle();
        QCOMPARE(ChoiceDeviceList.size(), 2);
        int selected = 0;
        QMetaObject::Connection counting = connect(PostMsg::instance(), &PostMsg::SigSelectMouseInfo, [&] { ++selected; });
        ModalAnswerer answerer;
        // The unlisted cable mouse: nothing happens.
        const int cableTile = ChoiceDeviceList.at(0).cableFlag ? 0 : 1;
        child<QToolButton>(&page, QStringLiteral("btn%1").arg(cableTile))->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.count(), 0);
        // The receiver without its mouse and no stored version: straight to pairing.
        child<QToolButton>(&page, QStringLiteral("btn%1").arg(1 - cableTile))->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.handled(), QStringList{QStringLiteral("Match")});
        disconnect(counting);
        QCOMPARE(selected, 0);
    }

    // A hot-plug rebuild while a tile's pairing dialog runs deletes the tiles under the flow.
    void hotPlugDuringModalFlow()
    {
        ChoiceWorld world;
        plugLoneInterface("0x3554", "0xF501", 0);
        plugDevice(10, 1, 2);
        DialogChange page;
        page.show();
        settle();
        const int receiverTile = ChoiceDeviceList.at(0).cableFlag ? 1 : 0;
        ModalAnswerer answerer;
        answerer.on(QStringLiteral("Match"), [&](QWidget* w) {
            plugDevice(10, 2, 2);
            settle();
            plugDevice(10, 4, 2);
            settle();
            QCOMPARE(ChoiceDeviceList.size(), 4);
            ModalAnswerer::reject()(w);
        });
        child<QToolButton>(&page, QStringLiteral("btn%1").arg(receiverTile))->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.handled(), QStringList{QStringLiteral("Match")});
        settle();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(stack(&page)->count(), 2);
        QVERIFY(child<QWidget>(&page, QStringLiteral("btn3")));
    }
};

QTEST_MAIN(TestDeviceChoicePage)
#include "tst_device_choice_page.moc"
