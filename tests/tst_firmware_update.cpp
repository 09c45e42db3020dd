// Firmware update from the settings page through the simulated library: the check steps on
// the timer's ticks, the progress reports, success and failure with the repair record,
// device counts, broken image files, the follow-up update and a library that never finishes.
#include "ShellTestSupport.h"

#include "common/LanguageFile.h"
#include "common/ProgramWaits.h"
#include "device/DataCallback.h"
#include "device/DeviceRecords.h"
#include "device/FirmwareFiles.h"
#include "device/FirmwareUpgrade.h"
#include "device/FoundDevicePaths.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "dialogs/Progress.h"
#include "dialogs/UpDateWarning.h"
#include "pages/settings/FormSetting.h"
#include "support/FirmwareWorld.h"
#include "support/HidSimScript.h"

#include "HIDUsbControl.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace shelltest;

namespace {

// The shipped catalogue's model with update buttons: MID 6, mouse "KVM-PICO", 1 kHz receiver
// "KVR-1K", no 2 or 4 kHz receiver firmware. Model MID 1 has "KVR-4K" for its 4 kHz receiver.
constexpr uint8_t Pico = 6;
constexpr uint8_t Vela = 1;

QString registryKey()
{
    return QString::fromLatin1(MouseVersionRegistryKey);
}

QString failRecord()
{
    return FirmwareWorld::failRecord();
}

int activeTimers(QWidget* page)
{
    int n = 0;
    for (QTimer* t : page->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly))
        n += t->isActive() ? 1 : 0;
    return n;
}

// Chooses the device at `path` (found under product id `pid`) as a tile click does, with the
// version texts the link would have read, then runs the frame's scan of the listed devices.
void choose(const QByteArray& path, const char* pid, const QString& receiverVersion, const QString& mouseVersion)
{
    DeviceAllInfo r = RecordForFoundPath(QString::fromLatin1(path), QString::fromLatin1(SimScript::VendorId),
                                         QString::fromLatin1(pid), PathEncoding::Utf8);
    QCOMPARE(FillDeviceRecord(r, r.path), 1);
    r.firmwareVersion = receiverVersion;
    r.mouseVersion = mouseVersion;
    makeCurrent(path, r);
    MainPageDeviceList.clear();
    ScanDevices(QString::fromLatin1(SimScript::VendorId), ScannedProductIds());
}

// A text of the shipped language file `language`.
QString languageText(const QString& section, const QString& element, int language = 0)
{
    QString found;
    loadLanguageSection(language, section, {element}, [&found](const QString&, const QString& text) { found = text; });
    return found;
}

struct ProgressLog : QObject {
    ProgressLog()
    {
        connect(PostMsg::instance(), &PostMsg::SigProgress, this,
                [this](int value, int meaning) { events << QStringLiteral("%1/%2").arg(value).arg(meaning); });
    }
    QStringList events;
};

}  // namespace

class FirmwareUpdateTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_world = std::make_unique<FirmwareWorld>();
        // The tests run the check's ticks themselves: its timer never fires on its own here.
        ProgramWaits::setWaitScale(1000);
    }
    void cleanup() { m_world.reset(); }

    void receiverUpdateRunsOnFourTicksAndShowsTheNewVersion();
    void mouseUpdateByCableRecordsTheMouseVersion();
    void failureWritesTheRecordAndLeavesBootMode();
    void failurePartwayKeepsTheBarWhereItStopped();
    void deviceCountsEndTheCheck_data();
    void deviceCountsEndTheCheck();
    void clicksDuringAnotherCheckAndAfterUpToDate();
    void reportsAtOnceAndALibraryThatNeverFinishes();
    void silentReceiverGetsNoOlderImage();
    void continueRunsTheOtherUpdateOnlyAfterSuccess();
    void brokenImageFileSendsNothing();

private:
    void writeImage(const char* name, uint32_t version, uint8_t kind, uint8_t mid, const QByteArray& model)
    {
        m_world->writeImage(QLatin1String(name), version, kind, mid, model);
    }
    // Runs the check's timer slot `ticks` times, delivering the library's reports after each.
    static void tick(FormSetting& page, bool mouse, int ticks = 1)
    {
        for (int i = 0; i < ticks; ++i) {
            mouse ? page.onMouseCheckTimer() : page.onDongleCheckTimer();
            SimScript::settle();
        }
    }
    std::unique_ptr<FirmwareWorld> m_world;
};

// One receiver with a newer "DM" image: steps 0 to 3 on four ticks, the end on the fifth.
void FirmwareUpdateTest::receiverUpdateRunsOnFourTicksAndShowsTheNewVersion()
{
    const SimScript::Device d = SimScript::addReceiverMouse(Pico, 0);
    HidSim_SetInterfaceVersion(d.interface, 0x0100);
    writeImage("r.bin", 0x0102, FirmwareFiles::ReceiverKind, Pico, "KVR-1K");
    FirmwareWorld::setFailRecord(QStringLiteral("211,1,10,6"));
    choose(d.path, SimScript::Receiver1kPid, QStringLiteral("v1.0"), QStringLiteral("v1.0"));
    FormSetting page;
    page.SlotMouseIndex(4);
    page.SetVer(0);
    QCOMPARE(int(ReceiverUpdateAvailable), 1);
    ProgressLog progress;
    HidSim_ClearCallLog();

    child<QToolButton>(&page, "Receive")->click();
    QVERIFY(!child<QToolButton>(&page, "Receive")->isEnabled() && !child<QToolButton>(&page, "Mouse")->isEnabled());
    QCOMPARE(int(ManualUpdateActive), 1);
    QCOMPARE(int(FirmwareIdle), 0);
    tick(page, false);  // step 0: the image
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbUpgrade_Start")), 0);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbUpgradeC_FindBootDevices")), 1);
    tick(page, false);  // step 1: one receiver, started
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbUpgrade_Start")), 1);
    QVERIFY(page.progressDialog()->isVisible());
    tick(page, false, 2);  // steps 2 and 3
    QCOMPARE(int(ManualUpdateActive), 1);
    tick(page, false);  // step 4: the end
    QCOMPARE(int(ManualUpdateActive), 0);
    QCOMPARE(activeTimers(&page), 0);

    QCOMPARE(progress.events, QStringList({"0/3", "33/0", "66/0", "100/0", "0/2"}));
    QCOMPARE(child<QLabel>(&page, "label_5")->text(), QStringLiteral("v1.2"));
    QCOMPARE(CurrentDeviceRecord().firmwareVersion, QStringLiteral("v1.2"));
    QVERIFY(failRecord().isEmpty());
    int version = 0;
    QVERIFY(UsbFinderC_GetSlaveVersion(d.path.constData(), &version));
    QCOMPARE(version, 0x0102);
    QCOMPARE(int(FirmwareIdle), 1);
    QCOMPARE(int(DongleUpdate), int(UpdateSucceeded));
    QCOMPARE(int(ReceiverUpdateAvailable), 0);
    QVERIFY(child<QToolButton>(&page, "Receive")->isEnabled() && child<QToolButton>(&page, "Mouse")->isEnabled());
}

void FirmwareUpdateTest::mouseUpdateByCableRecordsTheMouseVersion()
{
    const SimScript::Device d = SimScript::addCableMouse(Pico);
    writeImage("m.bin", 0x0107, FirmwareFiles::MouseKind, Pico, "KVM-PICO");
    choose(d.path, SimScript::CablePid, QString(), QStringLiteral("v1.6"));
    FormSetting page;
    page.SetVer(0);
    QCOMPARE(int(MouseNewFirmware), 1);
    child<QToolButton>(&page, "Mouse")->click();
    tick(page, true, 5);
    QCOMPARE(child<QLabel>(&page, "label_7")->text(), QStringLiteral("v1.7"));
    QCOMPARE(Registry::value(registryKey(), QStringLiteral("MouseVer106")).toString(), QStringLiteral("v1.7"));
    QCOMPARE(CurrentDeviceRecord().mouseVersion, QStringLiteral("v1.7"));
    QCOMPARE(UsbFinderC_GetVersion(CurrentDevicePath().constData()), 0x0107);
    QCOMPARE(int(MouseNewFirmware), 0);
    QCOMPARE(int(FirmwareIdle), 1);
}

// A scripted failure: the failure text, the record for the repair, both flags cleared, no
// follow-up update, and the receiver waiting in its boot loader.
void FirmwareUpdateTest::failureWritesTheRecordAndLeavesBootMode()
{
    const SimScript::Device d = SimScript::addCableMouse(Pico);
    const int receiver = SimScript::addInterface(SimScript::Receiver1kPid, 0, d.mouse, false, 0, 0x0100);
    writeImage("r.bin", 0x0102, FirmwareFiles::ReceiverKind, Pico, "KVR-1K");
    writeImage("m.bin", 0x0107, FirmwareFiles::MouseKind, Pico, "KVM-PICO");
    HidSim_ScriptFirmware(2, 0, 0);
    choose(d.path, SimScript::CablePid, QString(), QStringLiteral("v1.0"));
    FormSetting page;
    page.SetVer(0);
    QCOMPARE(child<QLabel>(&page, "label_5")->text(), QStringLiteral("v1.0"));
    QVERIFY(MouseNewFirmware && ReceiverUpdateAvailable);
    ProgressLog progress;
    child<QToolButton>(&page, "Receive")->click();
    tick(page, false, 5);
    QCOMPARE(progress.events.last(), QStringLiteral("0/1"));
    QCOMPARE(page.progressDialog()->findChild<QLabel*>(QStringLiteral("label"))->text(), page.progressDialog()->FailText);
    // The bar keeps the last percentage reported before the failure.
    const QString lastReport = progress.events.at(progress.events.size() - 2);
    QVERIFY2(lastReport.endsWith(QLatin1String("/0")) && !lastReport.startsWith(QLatin1String("0/")), qPrintable(lastReport));
    QCOMPARE(page.progressDialog()->findChild<QProgressBar*>()->value(), lastReport.section(QLatin1Char('/'), 0, 0).toInt());
    QCOMPARE(failRecord(), QStringLiteral("211,1,10,6"));
    QCOMPARE(int(MouseNewFirmware), 0);
    QCOMPARE(int(ReceiverUpdateAvailable), 0);
    QCOMPARE(int(DongleUpdate), int(UpdateFailed));
    QCOMPARE(int(FirmwareIdle), 1);

    HidSim_ClearCallLog();
    page.SlotContinue(0);  // no follow-up after a failure
    QCOMPARE(activeTimers(&page), 0);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbUpgrade_Start")), 0);
    int count = 5;
    UsbFinderC_FindHidDevicesByDefaultDeviceId(SimScript::VendorId, SimScript::Receiver1kPid, &count);
    QCOMPARE(count, 0);
    const QByteArray image = FirmwareImages.value(0);
    UsbUpgradeC_FindBootDevices(reinterpret_cast<const uint8_t*>(image.constData()), uint32_t(image.size()), &count);
    QCOMPARE(count, 1);
    Q_UNUSED(receiver);
}

// An update that fails halfway: the dialog says so over a bar left at the half.
void FirmwareUpdateTest::failurePartwayKeepsTheBarWhereItStopped()
{
    const SimScript::Device d = SimScript::addCableMouse(Pico);
    writeImage("m.bin", 0x0107, FirmwareFiles::MouseKind, Pico, "KVM-PICO");
    HidSim_ScriptFirmware(10, 0, 0);
    HidSim_ScriptFirmwareStop(50);
    choose(d.path, SimScript::CablePid, QString(), QStringLiteral("v1.0"));
    FormSetting page;
    page.SetVer(0);
    ProgressLog progress;
    child<QToolButton>(&page, "Mouse")->click();
    tick(page, true, 5);

    QCOMPARE(progress.events, QStringList({"0/3", "10/0", "20/0", "30/0", "40/0", "50/0", "0/1"}));
    Progress* dialog = page.progressDialog();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("label"))->text(), dialog->FailText);
    QCOMPARE(dialog->findChild<QProgressBar*>()->value(), 50);
    QCOMPARE(failRecord(), QStringLiteral("210,0,10,6"));
}

void FirmwareUpdateTest::deviceCountsEndTheCheck_data()
{
    QTest::addColumn<QString>("devices");  // r mouse through its receiver, c mouse on a cable
    QTest::addColumn<bool>("mouse");
    QTest::addColumn<bool>("warning");  // reached through the follow-up (the warning dialog)
    QTest::addColumn<QString>("text");
    QTest::newRow("mouse only through its receiver") << "r" << true << false << "WiredMode";
    QTest::newRow("two mice on cables") << "cc" << true << false << "SameDevice";
    QTest::newRow("no receiver") << "c" << false << false << "NoDevice";
    QTest::newRow("follow-up: the warning dialog") << "r" << true << true << "WiredMode";
}

void FirmwareUpdateTest::deviceCountsEndTheCheck()
{
    QFETCH(QString, devices);
    QFETCH(bool, mouse);
    QFETCH(bool, warning);
    QFETCH(QString, text);
    SimScript::Device first;
    for (const QChar c : devices) {
        const SimScript::Device d = c == QLatin1Char('r') ? SimScript::addReceiverMouse(Pico, 0) : SimScript::addCableMouse(Pico);
        if (first.path.isEmpty())
            first = d;
    }
    writeImage("m.bin", 0x0107, FirmwareFiles::MouseKind, Pico, "KVM-PICO");
    const bool cable = devices.startsWith(QLatin1Char('c'));
    choose(first.path, cable ? SimScript::CablePid : SimScript::Receiver1kPid, QStringLiteral("v1.0"), QStringLiteral("v1.0"));
    FormSetting page;
    page.SetVer(0);
    HidSim_ClearCallLog();
    if (warning) {
        // The receiver's check finds nothing newer (state 4), its confirm continues with the mouse.
        child<QToolButton>(&page, "Receive")->click();
        tick(page, false, 2);
        QCOMPARE(int(DongleUpdate), int(UpdateEnded));
        page.SlotContinue(0);
    } else {
        child<QToolButton>(&page, mouse ? "Mouse" : "Receive")->click();
    }
    tick(page, mouse, 3);
    const QString expected = languageText(QStringLiteral("FormSetting"), text);
    QVERIFY(!expected.isEmpty());
    if (warning) {
        QVERIFY(page.warningDialog()->isVisible());
        QCOMPARE(page.warningDialog()->findChild<QLabel*>(QStringLiteral("label"))->text(), expected);
        QVERIFY(!child<QLabel>(&page, "label_13")->isVisibleTo(&page));
        page.warningDialog()->close();
    } else {
        QLabel* note = child<QLabel>(&page, mouse ? "label_13" : "label_12");
        QVERIFY(note->isVisibleTo(&page));
        QCOMPARE(note->text(), expected);
    }
    QCOMPARE(int(mouse ? MouseUpdate : DongleUpdate), int(UpdateRefused));
    QVERIFY(child<QToolButton>(&page, "Receive")->isEnabled() && child<QToolButton>(&page, "Mouse")->isEnabled());
    QCOMPARE(activeTimers(&page), 0);
    QCOMPARE(int(ManualUpdateActive), 0);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbUpgrade_Start")), 0);
}

// A click while the other device's check runs does nothing; after "nothing newer" a click
// only shows the up-to-date text.
void FirmwareUpdateTest::clicksDuringAnotherCheckAndAfterUpToDate()
{
    const SimScript::Device d = SimScript::addReceiverMouse(Pico, 0);
    choose(d.path, SimScript::Receiver1kPid, QStringLiteral("v1.0"), QStringLiteral("v1.0"));
    FormSetting page;
    page.SetVer(0);
    page.on_Receive_clicked();
    QCOMPARE(activeTimers(&page), 1);
    page.on_Mouse_clicked();
    QCOMPARE(activeTimers(&page), 1);
    tick(page, false, 2);
    QCOMPARE(int(DongleUpdate), int(UpdateEnded));
    QCOMPARE(int(MouseUpdate), 0);
    const QString upToDate = languageText(QStringLiteral("FormSetting"), QStringLiteral("VerNew"));
    QCOMPARE(child<QToolButton>(&page, "Receive")->text(), upToDate);
    page.SetVer(3);
    QVERIFY(child<QToolButton>(&page, "Receive")->text() != upToDate);
    page.on_Receive_clicked();
    QCOMPARE(activeTimers(&page), 0);
    QCOMPARE(child<QToolButton>(&page, "Receive")->text(), upToDate);
}

// Reports at once still end the update; a library that never finishes ends by the watchdog as
// a failure; a late success then only removes the record; malformed reports change nothing.
void FirmwareUpdateTest::reportsAtOnceAndALibraryThatNeverFinishes()
{
    const SimScript::Device d = SimScript::addCableMouse(Pico);
    writeImage("m.bin", 0x0107, FirmwareFiles::MouseKind, Pico, "KVM-PICO");
    choose(d.path, SimScript::CablePid, QString(), QStringLiteral("v1.6"));
    FormSetting page;
    HidSim_ScriptFirmware(0, 0, 1);
    page.on_Mouse_clicked();
    tick(page, true, 2);
    QCOMPARE(int(MouseUpdate), int(UpdateSucceeded));  // final report before the next tick
    tick(page, true, 3);
    QCOMPARE(int(ManualUpdateActive), 0);
    QCOMPARE(child<QLabel>(&page, "label_7")->text(), QStringLiteral("v1.7"));

    // Silent: no final report. The watchdog ends it as a failure.
    choose(d.path, SimScript::CablePid, QString(), QStringLiteral("v1.6"));
    page.SetVer(0);
    HidSim_ScriptFirmware(2, 0, HIDSIM_FIRMWARE_SILENT);
    ProgressLog progress;
    page.on_Mouse_clicked();
    tick(page, true, 3);
    QCOMPARE(int(MouseUpdate), int(UpdateRunning));
    QCOMPARE(int(FirmwareIdle), 0);
    // While it runs, a search elsewhere (the choice page's checks) leaves its image held.
    const QByteArray held = FirmwareImages.value(0);
    writeImage("n.bin", 0x0108, FirmwareFiles::MouseKind, Pico, "KVM-PICO");
    QVERIFY(FormSetting::FindFirmwareFile(FirmwareFiles::MouseKind, QStringLiteral("v1.6"), QStringLiteral("KVM-PICO"),
                                          SimScript::Cid, Pico));
    QCOMPARE(FirmwareImages.value(0), held);
    for (const QByteArray& bad : {QByteArray("\x06\x02\x01", 3), QByteArray("\x07\x03\x01", 3),
                                  QByteArray("\x07\x00\x01", 3)}) {
        OnUpgradeStatus(reinterpret_cast<uint8_t*>(const_cast<char*>(bad.constData())));
        SimScript::settle();
        QCOMPARE(int(MouseUpdate), int(UpdateRunning));
    }
    ProgramWaits::setWaitScale(0.001);  // the watchdog after 60 ms
    QTest::qWait(80);
    tick(page, true, 3);
    QCOMPARE(int(MouseUpdate), int(UpdateFailed));
    QCOMPARE(progress.events.last(), QStringLiteral("0/1"));
    QCOMPARE(failRecord(), QStringLiteral("210,0,10,6"));
    QCOMPARE(int(FirmwareIdle), 1);
    QCOMPARE(int(ManualUpdateActive), 0);
    uint8_t late[3] = {7, 2, 1};
    OnUpgradeStatus(late);
    SimScript::settle();
    QVERIFY(failRecord().isEmpty());
    QCOMPARE(int(MouseUpdate), int(UpdateFailed));
    QCOMPARE(progress.events.last(), QStringLiteral("0/1"));
}

// A 4 kHz receiver (type 4) that no longer answers its version (gone after step 0), with only
// an older image: nothing is started.
void FirmwareUpdateTest::silentReceiverGetsNoOlderImage()
{
    const SimScript::Device d = SimScript::addReceiverMouse(Vela, 1);
    writeImage("r.bin", 0x0101, FirmwareFiles::ReceiverKind, Vela, "KVR-4K");
    choose(d.path, SimScript::Receiver4kPid, QStringLiteral("v1.2"), QStringLiteral("v1.0"));
    FormSetting page;
    page.SetVer(0);
    HidSim_ClearCallLog();
    page.on_Receive_clicked();
    tick(page, false);
    HidSim_SetPlugged(d.interface, 0);
    tick(page, false, 2);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbFinderC_GetSlaveVersion")), 1);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbUpgrade_Start")), 0);
    QCOMPARE(int(DongleUpdate), int(UpdateEnded));
    QCOMPARE(int(ManualUpdateActive), 0);
}

// The confirm after a receiver success runs the mouse update (through the cable).
void FirmwareUpdateTest::continueRunsTheOtherUpdateOnlyAfterSuccess()
{
    const SimScript::Device d = SimScript::addCableMouse(Pico);
    SimScript::addInterface(SimScript::Receiver1kPid, 0, d.mouse, false, 0, 0x0100);
    writeImage("r.bin", 0x0102, FirmwareFiles::ReceiverKind, Pico, "KVR-1K");
    writeImage("m.bin", 0x0107, FirmwareFiles::MouseKind, Pico, "KVM-PICO");
    choose(d.path, SimScript::CablePid, QString(), QStringLiteral("v1.0"));
    FormSetting page;
    page.SetVer(0);
    page.on_Receive_clicked();
    tick(page, false, 3);  // started and reported; the confirm comes before the last ticks
    QCOMPARE(int(DongleUpdate), int(UpdateSucceeded));
    QVERIFY(page.progressDialog()->findChild<QToolButton*>(QStringLiteral("NewHong"))->isVisible());
    HidSim_ClearCallLog();
    page.progressDialog()->on_NewHong_clicked();
    SimScript::settle();
    QCOMPARE(activeTimers(&page), 1);  // the mouse check runs
    tick(page, true, 5);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbUpgrade_Start")), 1);
    QCOMPARE(int(MouseUpdate), int(UpdateSucceeded));
    QCOMPARE(child<QLabel>(&page, "label_7")->text(), QStringLiteral("v1.7"));
    QCOMPARE(child<QLabel>(&page, "label_5")->text(), QStringLiteral("v1.2"));
}

// A matching image over the size limit: the "BadFile" note (kept across a language change),
// nothing sent, no record.
void FirmwareUpdateTest::brokenImageFileSendsNothing()
{
    const SimScript::Device d = SimScript::addCableMouse(Pico);
    writeImage("m.bin", 0x0107, FirmwareFiles::MouseKind, Pico, "KVM-PICO");
    QVERIFY(m_world->oversize(QStringLiteral("m.bin")));
    choose(d.path, SimScript::CablePid, QString(), QStringLiteral("v1.0"));
    FormSetting page;
    HidSim_ClearCallLog();
    page.on_Mouse_clicked();
    tick(page, true, 2);
    QLabel* note = child<QLabel>(&page, "label_13");
    QVERIFY(note->isVisibleTo(&page));
    QCOMPARE(note->text(), languageText(QStringLiteral("FormSetting"), QStringLiteral("BadFile")));
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbUpgrade_Start")), 0);
    QVERIFY(failRecord().isEmpty());
    QVERIFY(!page.progressDialog()->isVisible());
    QCOMPARE(int(MouseUpdate), int(UpdateRefused));
    QCOMPARE(int(ManualUpdateActive), 0);
    page.SlotChangeLanguage(5);
    QCOMPARE(note->text(), languageText(QStringLiteral("FormSetting"), QStringLiteral("BadFile"), 5));
}

QTEST_MAIN(FirmwareUpdateTest)
#include "tst_firmware_update.moc"
