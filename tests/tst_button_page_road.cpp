// The button page on the main road: a mouse's bindings travel from the simulated library
// through a tile click to the page's selectors, in each language, and follow the chosen mouse.
#include "common/PostMsg.h"
#include "device/ButtonRecords.h"
#include "device/DeviceRecords.h"
#include "device/MacroNames.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "pages/buttons/Buttoninterface.h"
#include "shell/DialogMain.h"
#include "support/HidSimScript.h"
#include "support/HubRecorder.h"
#include "support/KeySender.h"
#include "support/ModalAnswerer.h"
#include "support/ProgramWorld.h"

#include "HIDUsbControl.h"

#include <QCheckBox>
#include <QToolButton>
#include <QtTest>

#include <cstring>

namespace {

FlashDataMap storedImage(int mouse)
{
    FlashDataMap image{};
    HidSim_GetImage(mouse, 0, reinterpret_cast<uint8_t*>(&image));
    return image;
}

}  // namespace

class ButtonPageRoadTest : public QObject {
    Q_OBJECT

private slots:
    void tileClickShowsTheMousesBindings()
    {
        ProgramWorld world;

        // The cable mouse holds a combination, a media key, a DPI lock and a macro.
        const SimScript::Device cable = SimScript::addCableMouse(1);
        const SimScript::Device wireless = SimScript::addReceiverMouse(2);
        FlashDataMap image = storedImage(cable.mouse);
        image.buttons[1] = ComboBinding;
        image.combos[1] = BuildComboRecord(QStringLiteral("Ctrl+C"));
        image.buttons[2] = ComboBinding;
        image.combos[2] = MediaKeyRecord(0x00E9);
        image.buttons[3] = ButtonBinding{10, 7, 0};  // sensor "3395" has no code table: 400 DPI
        image.buttons[5] = ButtonBinding{6, 5, 3};
        WriteMacroRecordName(image.macros[5], QStringLiteral("Fire"));
        image.macros[5].eventCount = 2;
        image.macros[5].events[0] = KeyEvent{0, 1, 0x04, 20};
        image.macros[5].events[1] = KeyEvent{1, 1, 0x04, 0};
        QCOMPARE(HidSim_SetImage(cable.mouse, 0, reinterpret_cast<const uint8_t*>(&image)), 0);

        ModalAnswerer answerer;
        linktest::HubRecorder hub;
        DialogMain window;
        window.show();
        SimScript::settle();
        QCOMPARE(ChoiceDeviceList.size(), 2);
        // The first tile click builds the frame with the page.
        Buttoninterface* page = nullptr;
        const auto text = [&page](const char* name) { return page->findChild<QToolButton*>(QLatin1String(name))->text(); };
        const auto chooseTile = [&](const SimScript::Device& device) {
            const int mark = hub.mark();
            NoBusyDialog = 1;  // no busy dialog: its fixed waits are no part of this road
            for (int i = 0; i < ChoiceDeviceList.size(); ++i) {
                if (ChoiceDeviceList.at(i).path == QString::fromLatin1(device.path))
                    window.findChild<QToolButton*>(QStringLiteral("btn%1").arg(i))->click();
            }
            return waitForLoad(hub, mark);
        };
        const auto back = [&] {
            window.findChild<QToolButton*>(QStringLiteral("UpArrow"))->click();
            SimScript::settle();
            if (Worker* worker = Worker::instance())
                worker->wait(5000);
        };
        const int writesBefore = HidSim_WriteCount(cable.mouse);

        QVERIFY(chooseTile(cable));
        page = window.findChild<Buttoninterface*>();
        QVERIFY(page);
        const auto cableShown = [&](const char* language) {
            QVERIFY2(text("FireKey") == text("LeftKey_3"), language);
            QCOMPARE(text("RightKey"), QStringLiteral("Ctrl+C"));
            QCOMPARE(text("BackKey"), text("VolumeDown"));
            QCOMPARE(text("TopMusic"), text("DPI_4") + QStringLiteral("-400"));
            QCOMPARE(text("StartPause"), text("ForWardKey"));
            QCOMPARE(text("BackMusic"), page->MacroPrefixText + QStringLiteral("Fire"));
        };
        cableShown("English");
        QCOMPARE(text("BackKey"), QStringLiteral("Volume up"));
        QVERIFY(page->findChild<QWidget*>(QStringLiteral("widget"))->styleSheet().contains(QStringLiteral("mouse0.png")));
        QCOMPARE(page->findChild<QWidget*>(QStringLiteral("Number6"))->pos(), QPoint(320, 220));
        QVERIFY(!page->findChild<QWidget*>(QStringLiteral("Button7"))->isVisible());

        // The same functions in Japanese.
        PostMsg::instance()->SendChangeLanguage(5);
        cableShown("Japanese");
        QCOMPARE(text("BackKey"), QString::fromUtf8("音量を上げる"));
        QCOMPARE(text("BackMusic"), QString::fromUtf8("マクロ_Fire"));

        // The receiver's mouse shows its own factory bindings.
        back();
        QVERIFY(chooseTile(wireless));
        QCOMPARE(text("RightKey"), text("RightKey_3"));
        QCOMPARE(text("BackKey"), text("MidKey"));
        QCOMPARE(text("TopMusic"), text("BackKey_2"));
        QCOMPARE(text("BackMusic"), text("VolumeUp_8"));

        // And the first mouse as before.
        back();
        QVERIFY(chooseTile(cable));
        cableShown("Japanese again");
        // Filling the page from the mouse wrote nothing back.
        QCOMPARE(HidSim_WriteCount(cable.mouse), writesBefore);

        // Assigning: volume up on the sixth key, a DPI lock on the third.
        const auto click = [page](const char* name) { page->findChild<QToolButton*>(QLatin1String(name))->click(); };
        click("BackMusic");
        click("DPI_12");
        click("VolumeDown");
        FlashDataMap sent = storedImage(cable.mouse);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&sent) + 89, 3), QByteArray("\x05\x00\x00", 3));
        const ButtonComboRecord volumeUp = MediaKeyRecord(0x00E9);
        QCOMPARE(std::memcmp(reinterpret_cast<const char*>(&sent) + 384, &volumeUp, sizeof volumeUp), 0);
        click("BackKey");
        click("DPI_4");
        click("VolumeUp_16");
        sent = storedImage(cable.mouse);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&sent) + 80, 3), QByteArray("\x0A\x07\x00", 3));
        // A key combination on the second key, entered in its dialog.
        answerer.on("GroupKey", [](QWidget* dialog) {
            QTest::mouseClick(dialog->findChild<QCheckBox*>(QStringLiteral("Shift")), Qt::LeftButton);
            keys::tap(dialog, keys::letter('Z'));
            ModalAnswerer::clickButton(QStringLiteral("NewHong"))(dialog);
        });
        click("RightKey");
        click("DPI_8");
        QVERIFY(answerer.waitForNext());
        sent = storedImage(cable.mouse);
        const ButtonComboRecord shiftZ = BuildComboRecord(QStringLiteral("Shift+Z"));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&sent) + 77, 3), QByteArray("\x05\x00\x00", 3));
        QCOMPARE(std::memcmp(reinterpret_cast<const char*>(&sent) + 124 + 52, &shiftZ, sizeof shiftZ), 0);

        // Back and the same mouse again: each key names its function and opens on it.
        back();
        QVERIFY(chooseTile(cable));
        QCOMPARE(text("BackMusic"), text("VolumeDown"));
        QCOMPARE(text("BackKey"), text("DPI_4") + QStringLiteral("-400"));
        QCOMPARE(text("RightKey"), QStringLiteral("Shift+Z"));
        click("RightKey");
        QVERIFY(page->findChild<QToolButton*>(QStringLiteral("DPI_8"))->isChecked());
        click("BackMusic");
        QVERIFY(page->findChild<QToolButton*>(QStringLiteral("VolumeDown"))->isChecked());
        click("BackKey");
        QVERIFY(page->findChild<QToolButton*>(QStringLiteral("VolumeUp_16"))->isChecked());
        back();
    }
};

QTEST_MAIN(ButtonPageRoadTest)
#include "tst_button_page_road.moc"
