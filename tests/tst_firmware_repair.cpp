// The automatic repair after a failed firmware update, through the simulated library: the
// whole road from a failed update on the settings page to the repaired receiver's tile, the
// repair dialog's record and device-count cases, its close rules, a library that never
// finishes, and the choice page's receiver flow choosing between re-pairing and a repair.
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/ProgramWaits.h"
#include "common/Registry.h"
#include "common/UserConfig.h"
#include "common/LanguageFile.h"
#include "device/CurrentDevice.h"
#include "device/DataCallback.h"
#include "device/DeviceRecords.h"
#include "device/FirmwareFiles.h"
#include "device/FirmwareUpgrade.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "dialogs/Progress.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/UpDateRepair.h"
#include "shell/ChoiceFlows.h"
#include "shell/DialogMain.h"
#include "support/FirmwareWorld.h"
#include "support/HidSimScript.h"
#include "support/HubRecorder.h"
#include "support/ModalAnswerer.h"
#include "support/ProgramWorld.h"
#include "support/Wait.h"
#include "support/TestEnv.h"

#include "HIDUsbControl.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

// The shipped catalogue's model with update buttons (MID 6, receiver firmware "KVR-1K").
constexpr uint8_t Pico = 6;

QString registryKey()
{
    return QString::fromLatin1(MouseVersionRegistryKey);
}

QString failRecord()
{
    return FirmwareWorld::failRecord();
}

void setFailRecord(const QString& record)
{
    FirmwareWorld::setFailRecord(record);
}

QString languageText(const QString& element, int language = 0)
{
    QString found;
    loadLanguageSection(language, QStringLiteral("AutoRepair"), {element},
                        [&found](const QString&, const QString& text) { found = text; });
    return found;
}

QString toolText(QWidget* dialog)
{
    return dialog->findChild<QLabel*>(QStringLiteral("ToolText"))->text();
}

bool confirmShown(QWidget* dialog)
{
    return dialog->findChild<QToolButton*>(QStringLiteral("NewHong"))->isVisibleTo(dialog);
}

int upgradeCalls()
{
    return SimScript::countCalls(QStringLiteral("UsbUpgrade_Start")) + SimScript::countCalls(QStringLiteral("UsbUpgradeC_FindBootDevices"));
}

void pressEscape(QWidget* w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

}  // namespace

class FirmwareRepairTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_world = std::make_unique<FirmwareWorld>(); }
    void cleanup() { m_world.reset(); }

    void failedUpdateIsRepairedFromTheChoicePage();
    void repairCases_data();
    void repairCases();
    void closeIsRefusedWhileTheRepairRuns();
    void silentRepairEndsAsAFailure();
    void brokenImageKeepsTheRecord();
    void choicePageOffersNoOlderReceiverImage();

private:
    void writeReceiverImage(uint32_t version, const char* name = "r.bin")
    {
        m_world->writeImage(QLatin1String(name), version, FirmwareFiles::ReceiverKind, Pico, "KVR-1K");
    }
    // A 1 kHz receiver of the model with its mouse; in its boot loader when `boot`.
    int addReceiver(bool boot, int version = 0x0100)
    {
        const int mouse = SimScript::addMouse(Pico);
        const int receiver = SimScript::addInterface(SimScript::Receiver1kPid, 0, mouse, false, 0, version);
        if (boot)
            HidSim_SetInterfaceBootMode(receiver, 1, SimScript::Cid, Pico);
        return receiver;
    }

    std::unique_ptr<FirmwareWorld> m_world;
};

// A scripted failure on the settings page, the confirm back to the choice page, Repair, and
// the receiver working again with the image's version.
void FirmwareRepairTest::failedUpdateIsRepairedFromTheChoicePage()
{
    const int receiver = addReceiver(false);
    const QByteArray path = SimScript::path(receiver);
    writeReceiverImage(0x0102);
    HidSim_ScriptFirmware(2, 0, 0);
    ModalAnswerer answerer;  // closes the busy dialog of the load
    linktest::HubRecorder hub;
    DialogMain window;
    window.show();
    SimScript::settle();
    QCOMPARE(ChoiceDeviceList.size(), 1);
    QVERIFY(loadFirstTile(window, hub));
    auto* page = window.findChild<FormSetting*>();
    QVERIFY(page);
    QVERIFY(page->findChild<QToolButton*>(QStringLiteral("Receive"))->isVisibleTo(page));

    page->findChild<QToolButton*>(QStringLiteral("Receive"))->click();
    QVERIFY(SimScript::deliverUntil([] { return DongleUpdate.load() == UpdateFailed && ManualUpdateActive.load() == 0; }));
    Progress* progress = page->progressDialog();
    QCOMPARE(progress->findChild<QLabel*>(QStringLiteral("label"))->text(), progress->FailText);
    QCOMPARE(failRecord(), QStringLiteral("211,1,10,6"));
    QCOMPARE(int(MouseNewFirmware), 0);
    QCOMPARE(int(ReceiverUpdateAvailable), 0);
    QCOMPARE(int(MouseUpdate), 0);  // nothing chained
    int count = 5;
    UsbFinderC_FindHidDevicesByDefaultDeviceId(SimScript::VendorId, SimScript::Receiver1kPid, &count);
    QCOMPARE(count, 0);  // waiting in its boot loader

    progress->findChild<QToolButton*>(QStringLiteral("NewHong"))->click();
    QVERIFY(SimScript::deliverUntil([&] { return window.currentPage() == int(DialogMain::ChoicePage); }));
    SimScript::settle();
    auto* repair = window.findChild<QPushButton*>(QStringLiteral("Repair"));
    QVERIFY(repair->isVisible());

    HidSim_ScriptFirmware(4, 0, 1);
    QList<int> percentages;
    QList<bool> buttonHidden;
    QObject listener;
    connect(PostMsg::instance(), &PostMsg::SigAutoRepairProgress, &listener, [&](int v) { percentages << v; });
    connect(PostMsg::instance(), &PostMsg::SigUpDateButton, &listener, [&](bool hide) { buttonHidden << hide; });
    int shownPercent = -1;
    QString outcome;
    answerer.on(QStringLiteral("UpDateRepair"), [&](QWidget* dialog) {
        ModalAnswerer::answerWhen(dialog, confirmShown, [&](QWidget* shownDialog, bool shown) {
            if (shown)
                shownPercent = shownDialog->findChild<QSpinBox*>(QStringLiteral("spinBox"))->value();
            outcome = toolText(shownDialog);
            shownDialog->findChild<QToolButton*>(QStringLiteral("NewHong"))->click();
        });
    });
    repair->click();
    QVERIFY(runQueuedWork());
    QCOMPARE(answerer.handled().count(QStringLiteral("UpDateRepair")), 1);
    QCOMPARE(percentages, (QList<int>{25, 50, 75, 100}));
    QCOMPARE(shownPercent, 100);
    QCOMPARE(outcome, languageText(QStringLiteral("UpdateSuccess")));
    QVERIFY(failRecord().isEmpty());
    QCOMPARE(buttonHidden, QList<bool>{true});
    QVERIFY(!repair->isVisible());
    QCOMPARE(int(FirmwareIdle), 1);
    int version = 0;
    QVERIFY(UsbFinderC_GetSlaveVersion(path.constData(), &version));
    QCOMPARE(version, 0x0102);
    QVERIFY(SimScript::deliverUntil([] { return ChoiceDeviceList.size() == 1; }));
    QVERIFY(window.findChild<QToolButton*>(QStringLiteral("btn0")));
    if (Worker* worker = Worker::instance())
        worker->wait(5000);
}

void FirmwareRepairTest::repairCases_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<int>("bootDevices");
    QTest::addColumn<bool>("repairMode");
    QTest::addColumn<QString>("text");       // the dialog's text afterwards: an element of the section
    QTest::addColumn<bool>("started");
    QTest::addColumn<QString>("recordAfter");
    QTest::newRow("three fields: removed") << "211,1,10" << 1 << false << "ToolText" << false << "";
    QTest::newRow("not a number: removed") << "211,x,10,6" << 1 << false << "ToolText" << false << "";
    QTest::newRow("no model of that MID: kept") << "211,1,10,99" << 1 << false << "ToolText" << false << "211,1,10,99";
    QTest::newRow("no boot device") << "211,1,10,6" << 0 << false << "NoDevice" << false << "211,1,10,6";
    QTest::newRow("two boot devices") << "211,1,10,6" << 2 << false << "SameDevice" << false << "211,1,10,6";
    QTest::newRow("one boot device: repaired") << "211,1,10,6" << 1 << false << "UpdateSuccess" << true << "";
    QTest::newRow("repair mode skips the count") << "" << 0 << true << "UpdateSuccess" << true << "";
}

void FirmwareRepairTest::repairCases()
{
    QFETCH(QString, record);
    QFETCH(int, bootDevices);
    QFETCH(bool, repairMode);
    QFETCH(QString, text);
    QFETCH(bool, started);
    QFETCH(QString, recordAfter);
    writeReceiverImage(0x0102);
    if (repairMode)
        addReceiver(false);
    for (int i = 0; i < bootDevices; ++i)
        addReceiver(true);
    if (!record.isEmpty())
        setFailRecord(record);
    HidSim_ClearCallLog();

    UpDateRepair dialog;
    QCOMPARE(upgradeCalls(), 0);  // building starts nothing
    const QString first = toolText(&dialog);
    if (repairMode) {
        QVERIFY(UpDateRepair::CheckFirmwareFile(&dialog, FirmwareFiles::ReceiverKind, QStringLiteral("v1.0"),
                                                QStringLiteral("KVR-1K"), SimScript::Cid, Pico));
        dialog.StartRepair(0);
    } else {
        dialog.RunUpgrade();
    }
    SimScript::settle();
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbUpgrade_Start")), started ? 1 : 0);
    if (text == QLatin1String("ToolText"))
        QCOMPARE(toolText(&dialog), first);
    else
        QCOMPARE(toolText(&dialog), languageText(text));
    QCOMPARE(confirmShown(&dialog), text != QLatin1String("ToolText"));
    QCOMPARE(failRecord(), recordAfter);
    QCOMPARE(int(FirmwareIdle), 1);
    if (!repairMode && recordAfter.isEmpty() && !started)
        QCOMPARE(upgradeCalls(), 0);  // a malformed record is removed before any library call
}

// The close button, the confirm and Escape do nothing from the first progress report to the
// final report; before and after they close the dialog.
void FirmwareRepairTest::closeIsRefusedWhileTheRepairRuns()
{
    {
        UpDateRepair idle;
        idle.show();
        pressEscape(&idle);
        QVERIFY(!idle.isVisible());
    }
    writeReceiverImage(0x0102);
    addReceiver(true);
    setFailRecord(QStringLiteral("211,1,10,6"));
    HidSim_SetZeroDelays(0);
    HidSim_ScriptFirmware(3, 150, 1);
    UpDateRepair dialog;
    dialog.show();
    dialog.RunUpgrade();
    QVERIFY(SimScript::deliverUntil([] { return RepairBusy.load() == 1; }));
    dialog.findChild<QToolButton*>(QStringLiteral("CloseButton"))->click();
    pressEscape(&dialog);
    dialog.close();
    QVERIFY(dialog.isVisible());
    QVERIFY(SimScript::deliverUntil([&] { return confirmShown(&dialog); }));
    QCOMPARE(int(RepairBusy), 0);
    QCOMPARE(toolText(&dialog), languageText(QStringLiteral("UpdateSuccess")));
    pressEscape(&dialog);
    QVERIFY(!dialog.isVisible());
}

// A library that never sends its final report: the watchdog ends the repair as a failure and
// writes the record again; in repair mode the record comes from the image's header.
void FirmwareRepairTest::silentRepairEndsAsAFailure()
{
    writeReceiverImage(0x0102);
    addReceiver(false);
    HidSim_ScriptFirmware(2, 0, HIDSIM_FIRMWARE_SILENT);
    ProgramWaits::setWaitScale(0.001);
    UpDateRepair dialog;
    QVERIFY(UpDateRepair::CheckFirmwareFile(&dialog, FirmwareFiles::ReceiverKind, QStringLiteral("v1.0"),
                                            QStringLiteral("KVR-1K"), SimScript::Cid, Pico));
    dialog.StartRepair(0);
    QVERIFY(SimScript::deliverUntil([&] { return confirmShown(&dialog); }, 3000));
    QCOMPARE(toolText(&dialog), languageText(QStringLiteral("UpdateFail")));
    QCOMPARE(failRecord(), QStringLiteral("211,1,10,6"));
    QCOMPARE(int(FirmwareIdle), 1);
    QCOMPARE(int(RepairBusy), 0);
    // A success after the watchdog: the device is fine, the record goes.
    uint8_t late[3] = {7, 2, 1};
    OnRepairStatus(late);
    SimScript::settle();
    QVERIFY(failRecord().isEmpty());
    QCOMPARE(toolText(&dialog), languageText(QStringLiteral("UpdateFail")));
}

// A matching image over the size limit: the dialog says so, keeps the record, sends nothing.
void FirmwareRepairTest::brokenImageKeepsTheRecord()
{
    writeReceiverImage(0x0102);
    QVERIFY(m_world->oversize(QStringLiteral("r.bin")));
    addReceiver(true);
    setFailRecord(QStringLiteral("211,1,10,6"));
    HidSim_ClearCallLog();
    UpDateRepair dialog;
    dialog.RunUpgrade();
    QCOMPARE(toolText(&dialog), languageText(QStringLiteral("BadFile")));
    QVERIFY(confirmShown(&dialog));
    QCOMPARE(failRecord(), QStringLiteral("211,1,10,6"));
    QCOMPARE(upgradeCalls(), 0);
}

// A receiver whose mouse is gone but whose mouse version is known: only an older receiver
// image brings the re-pair question and flashes nothing; a newer one the confirmation, and
// accepting it flashes that image.
void FirmwareRepairTest::choicePageOffersNoOlderReceiverImage()
{
    const int receiver = SimScript::addInterface(SimScript::Receiver1kPid, 0, -1, false, 0, 0x0105);
    HidSim_SetInterfaceBootMode(receiver, 1, SimScript::Cid, Pico);  // it belongs to the model...
    HidSim_SetInterfaceBootMode(receiver, 0, SimScript::Cid, Pico);  // ...and works
    Registry::setValue(registryKey(), QStringLiteral("MouseVer106"), QStringLiteral("v1.6"));
    DeviceAllInfo r;
    r.path = QString::fromLatin1(SimScript::path(receiver));
    r.modelIndex = 4;  // "Drive5", MID 6
    r.kind = 0;
    r.firmwareVersion = QStringLiteral("v1.5");
    QWidget over;
    over.resize(600, 400);

    writeReceiverImage(0x0104, "old.bin");
    {
        ModalAnswerer answerer;
        answerer.on(QStringLiteral("RePair"), ModalAnswerer::clickButton(QStringLiteral("Cancel")));
        HidSim_ClearCallLog();
        ChoiceFlows::RunReceiverFlow(r, &over);
        QCOMPARE(answerer.handled(), QStringList{QStringLiteral("RePair")});
        QCOMPARE(upgradeCalls(), 0);
    }
    writeReceiverImage(0x0106, "zz.bin");
    {
        ModalAnswerer answerer;
        answerer.on(QStringLiteral("ContainReset"), ModalAnswerer::clickButton(QStringLiteral("OK")));
        bool outcomeShown = false;
        answerer.on(QStringLiteral("UpDateRepair"), [&](QWidget* dialog) {
            ModalAnswerer::answerWhen(dialog, confirmShown, [&](QWidget* shownDialog, bool shown) {
                outcomeShown = shown;
                shownDialog->findChild<QToolButton*>(QStringLiteral("NewHong"))->click();
            });
        });
        HidSim_ClearCallLog();
        ChoiceFlows::RunReceiverFlow(r, &over);
        QCOMPARE(answerer.handled(), (QStringList{QStringLiteral("ContainReset"), QStringLiteral("UpDateRepair")}));
        QVERIFY(outcomeShown);
        QCOMPARE(SimScript::countCalls(QStringLiteral("UsbUpgrade_Start")), 1);
        int version = 0;
        QVERIFY(UsbFinderC_GetSlaveVersion(r.path.toLatin1().constData(), &version));
        QCOMPARE(version, 0x0106);
    }
}

QTEST_MAIN(FirmwareRepairTest)
#include "tst_firmware_repair.moc"
