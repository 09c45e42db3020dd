// One macro's whole road, as a user takes it: a tile click loads the cable mouse, the Macro
// page gets a new macro through its name dialog, keys typed through the window are recorded
// and saved, the button page's request puts the record into the mouse's stored image, and the
// macro goes out to an exchange file and comes back in after being deleted.
#include "common/PostMsg.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "pages/macro/KeyClock.h"
#include "pages/macro/KeyHook.h"
#include "pages/macro/Macro.h"
#include "pages/macro/MacroFileChoice.h"
#include "shell/DialogMain.h"
#include "support/HidSimScript.h"
#include "support/HubRecorder.h"
#include "support/KeySender.h"
#include "support/ModalAnswerer.h"
#include "support/Wait.h"
#include "support/ProgramWorld.h"

#include "HIDUsbControl.h"
#include "MacroPageFixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', "").replace('|', ""));
}

using SimScript::storedImage;

}  // namespace

class MacroRoadTest : public QObject {
    Q_OBJECT

private slots:
    void recordSaveSendExportImport();
};

void MacroRoadTest::recordSaveSendExportImport()
{
    ProgramWorld world;
    qint64 now = 0;
    setKeyClock([&now] { return now; });

    const SimScript::Device mouse = SimScript::addCableMouse(1);
    const QByteArray image = SimScript::makeImage(7);
    QCOMPARE(HidSim_SetImage(mouse.mouse, 0, reinterpret_cast<const uint8_t*>(image.constData())), 0);

    ModalAnswerer answerer;  // also closes the busy dialog of the load
    answerer.on("QuestionDialog", [](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("lineEdit"));
        QTest::keyClicks(edit, QStringLiteral("Rec"));
        dialog->findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
    });
    answerer.on("DeleteConfirm", ModalAnswerer::clickButton(QStringLiteral("NewHong")));
    {
        linktest::HubRecorder hub;
        DialogMain window;
        window.show();
        SimScript::settle();
        const int loadWrites = HidSim_WriteCount(mouse.mouse);
        QVERIFY(loadFirstTile(window, hub));
        if (Worker* worker = Worker::instance())
            worker->wait(5000);
        QCOMPARE(HidSim_WriteCount(mouse.mouse), loadWrites);  // the load writes nothing back

        QTest::mouseClick(window.findChild<QAbstractButton*>(QStringLiteral("MacroButton")), Qt::LeftButton);
        auto* page = window.findChild<Macro*>();
        QVERIFY(page && page->isVisible());
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        const int dialogsOfTheLoad = answerer.count();  // the busy dialog, if it showed
        QTest::mouseClick(page->findChild<QToolButton*>(QStringLiteral("NewHong")), Qt::LeftButton);
        QVERIFY(runQueuedWork());
        QCOMPARE(page->currentMacroName(), QStringLiteral("Rec"));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        // Typed through the window: A, then B, 50, 70 and 50 ms apart.
        QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("StartRecord")), Qt::LeftButton);
        QVERIFY(KeyHook().installed());
        const keys::Key a = keys::letter('A');
        const keys::Key b = keys::letter('B');
        now += 1000;
        QVERIFY(keys::press(page, a));
        now += 50;
        QVERIFY(keys::release(page, a));
        now += 70;
        QVERIFY(keys::press(page, b));
        now += 50;
        QVERIFY(keys::release(page, b));
        QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("StopRecord")), Qt::LeftButton);
        QVERIFY(!KeyHook().installed());
        QTest::mouseClick(page->findChild<QToolButton*>(QStringLiteral("Save")), Qt::LeftButton);
        const QString file = macropage::macroPath(QStringLiteral("Rec"));
        const QByteArray saved = "1\n0x04 1 0\n50ms\n0x04 1 1\n70ms\n0x05 1 0\n50ms\n0x05 1 1\n";
        QCOMPARE(macropage::readAll(file), saved);

        // As the button page's update sends it for device key 9: one write of the whole image,
        // the record in key 9's place and everything else as the mouse held it.
        const QByteArray before = storedImage(mouse.mouse);
        const int writes = HidSim_WriteCount(mouse.mouse);
        PostMsg::instance()->SendMacroDownLoadData(QStringLiteral("Rec"), 9);
        QCOMPARE(HidSim_WriteCount(mouse.mouse), writes + 1);
        const QByteArray after = storedImage(mouse.mouse);
        QCOMPARE(after.mid(6284, 592), hex("03 52 65 63") + QByteArray(27, 0) + hex("04") +
                                           hex("00 01 04 00 32 00 00 00 | 01 01 04 00 46 00 00 00 |"
                                               "00 01 05 00 32 00 00 00 | 01 01 05 00 00 00 00 00") +
                                           QByteArray(592 - 64, 0));
        QByteArray rest = after;
        QByteArray expected = before;
        rest.replace(6284, 592, QByteArray(592, 0));
        expected.replace(6284, 592, QByteArray(592, 0));
        QCOMPARE(rest, expected);

        // Out to an exchange file, deleted, and back in.
        const QString exchange = world.env.home() + QStringLiteral("/Rec exchange.ini");
        setMacroExchangeFileChooser([&](bool) { return exchange; });
        QVERIFY(QMetaObject::invokeMethod(page, "ExPortMacro"));
        QVERIFY(runQueuedWork());
        QVERIFY(QFile::exists(exchange));
        QTest::mouseClick(page->findChild<QToolButton*>(QStringLiteral("DeleteHong")), Qt::LeftButton);
        QVERIFY(runQueuedWork());
        QVERIFY(!QFile::exists(file));
        auto* list = page->findChild<QListWidget*>(QStringLiteral("listWidgetHong"));
        QVERIFY(list->findItems(QStringLiteral("Rec"), Qt::MatchExactly).isEmpty());
        QVERIFY(QMetaObject::invokeMethod(page, "InPortMacro"));
        QVERIFY(runQueuedWork());
        QCOMPARE(macropage::readAll(file), saved);
        QCOMPARE(page->currentMacroName(), QStringLiteral("Rec"));
        setMacroExchangeFileChooser({});
        QCOMPARE(answerer.handled().mid(dialogsOfTheLoad), (QStringList{"QuestionDialog", "DeleteConfirm"}));
    }
    setKeyClock({});
    if (Worker* worker = Worker::instance())
        worker->wait(5000);
}

QTEST_MAIN(MacroRoadTest)
#include "tst_macro_road.moc"
