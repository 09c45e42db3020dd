// The button page's whole-mouse controls through the program and the simulated library: the
// onboard-profile box, the factory reset, and profile files exported and imported.
#include "common/LanguageFile.h"
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/Registry.h"
#include "common/UserConfig.h"
#include "device/DeviceRecords.h"
#include "device/ProfileFile.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "device/WorkingImage.h"
#include "dialogs/ExchangeFileChoice.h"
#include "pages/buttons/SelectorTable.h"
#include "pages/buttons/Buttoninterface.h"
#include "shell/DialogMain.h"
#include "widgets/MyConmboBox.h"
#include "support/HidSimScript.h"
#include "support/HubRecorder.h"
#include "support/ModalAnswerer.h"
#include "support/ProgramWorld.h"
#include "support/TestEnv.h"
#include "support/Wait.h"

#include "HIDUsbControl.h"

#include <QAbstractItemView>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include <cstring>
#include <memory>

namespace {

QByteArray bytesOf(const FlashDataMap& image)
{
    return QByteArray(reinterpret_cast<const char*>(&image), int(sizeof image));
}

QByteArray stored(int mouse, int profile = 0)
{
    FlashDataMap image{};
    HidSim_GetImage(mouse, profile, reinterpret_cast<uint8_t*>(&image));
    return bytesOf(image);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// A binding of a mouse button at its offset in the image (button 1 = the second key).
QByteArray bindingAt(const QByteArray& image, int button)
{
    return image.mid(74 + 3 * button, 3);
}

}  // namespace

class ButtonProfilesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<ModalAnswerer> m_answerer;
    std::unique_ptr<linktest::HubRecorder> m_hub;
    std::unique_ptr<DialogMain> m_window;
    Buttoninterface* m_page = nullptr;
    SimScript::Device m_cable;
    SimScript::Device m_wireless;
    QByteArray m_factory;
    QStringList m_busyLabels;  // the text each busy dialog showed
    int m_switchMark = 0;      // where the last profile switch began in the hub's record
    bool m_confirmReset = false;

    QToolButton* button(const char* name) const { return m_page->findChild<QToolButton*>(QLatin1String(name)); }
    QString text(const char* name) const { return button(name)->text(); }
    MyConmboBox* profiles() const { return m_page->findChild<MyConmboBox*>(QStringLiteral("ProjectChoose")); }
    QString path(const char* name) const { return m_env->home() + QLatin1Char('/') + QLatin1String(name); }

    // Chooses a tile as a user does and waits for the pages; the tile's busy dialog is left out.
    bool chooseTile(const SimScript::Device& device)
    {
        if (MainPageActive.load() == 1) {  // the frame is shown: back to the tiles first
            m_window->findChild<QToolButton*>(QStringLiteral("UpArrow"))->click();
            SimScript::settle();
            if (Worker* worker = Worker::instance())
                worker->wait(5000);
        }
        const int mark = m_hub->mark();
        NoBusyDialog = 1;
        for (int i = 0; i < ChoiceDeviceList.size(); ++i) {
            if (ChoiceDeviceList.at(i).path == QString::fromLatin1(device.path))
                m_window->findChild<QToolButton*>(QStringLiteral("btn%1").arg(i))->click();
        }
        const bool ready = waitForLoad(*m_hub, mark) && WorkingImageLoaded();
        SimScript::settle();  // and the answers that follow the load (the profile list)
        NoBusyDialog = 0;
        m_page = m_window->findChild<Buttoninterface*>();
        return ready && m_page;
    }

    // The user opens the profile list and picks item `index`. The reload a switch begins is
    // looked for from here on.
    void chooseProfile(int index)
    {
        m_switchMark = m_hub->mark();
        QTest::mousePress(profiles(), Qt::LeftButton);
        QAbstractItemView* view = profiles()->view();
        view->setCurrentIndex(profiles()->model()->index(index, 0));
        QTest::keyClick(view, Qt::Key_Return);
    }

    // The second key gets the middle click: 01 04 00 at bytes 77-79.
    void giveSecondKeyTheMiddleClick()
    {
        button("RightKey")->click();
        button("MidKey")->click();
    }

    // The sleeping mouse wakes; the reload the offline notice asked for runs to its end.
    bool wake(const SimScript::Device& device)
    {
        HidSim_SetAwake(device.mouse, 1);
        const bool done = SimScript::deliverUntil([] { return !WaitingForMouse && !RestartWanted && !RunRequested; });
        SimScript::settle();
        const bool loaded = done && SimScript::deliverUntil(WorkingImageLoaded);
        // The reload's busy dialog was asked for before its images came: it runs here, not
        // in the next step of the test.
        SimScript::settle();
        return loaded;
    }

    // The reload begun after `mark` has filled the pages. The busy dialog waits for them; on a
    // slow machine they may come after it closed.
    bool reloaded(int mark)
    {
        return SimScript::deliverUntil([&] { return WorkingImageLoaded() && m_hub->loadEndedSince(mark); }, 15000);
    }

    // The keys shown as chosen on the page.
    QStringList chosenKeys() const
    {
        QStringList names;
        for (int i = 0; i < SelectorTable::Count; ++i) {
            if (auto* key = m_page->findChild<QToolButton*>(SelectorTable::selectorName(i)); key && key->isChecked())
                names << key->objectName();
        }
        return names;
    }

    // After a profile switch: its reload has ended and the page shows `wanted`.
    bool waitForText(const char* name, const QString& wanted)
    {
        return SimScript::deliverUntil(
            [&] { return WorkingImageLoaded() && m_hub->loadEndedSince(m_switchMark) && text(name) == wanted; }, 15000);
    }

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnv>();
        m_env->stageShippedData();
        UserConfig::reload();
        Registry::setBaseFolder(m_env->home() + QStringLiteral("/registry"));
        MacroSetting::reload();
        ResetCurrentDevice();
        ChoiceDeviceList.clear();
        MainPageActive = 0;

        m_cable = SimScript::addCableMouse(1);
        m_wireless = SimScript::addReceiverMouse(2);
        FlashDataMap factory{};
        HidSim_GetImage(m_cable.mouse, -1, reinterpret_cast<uint8_t*>(&factory));
        m_factory = bytesOf(factory);

        m_answerer = std::make_unique<ModalAnswerer>();
        // A busy dialog runs on its own; its text tells an import from a wait.
        m_answerer->on(QStringLiteral("UpDataParam"), [this](QWidget* modal) {
            m_busyLabels << modal->findChild<QLabel*>(QStringLiteral("label"))->text();
        });
        m_answerer->on(QStringLiteral("ContainReset"), [this](QWidget* modal) {
            ModalAnswerer::clickButton(m_confirmReset ? QStringLiteral("OK") : QStringLiteral("Cancel"))(modal);
        });
        m_answerer->on(QStringLiteral("MouseOffLine"), ModalAnswerer::clickButton(QStringLiteral("NewHong")));
        m_answerer->on(QStringLiteral("ExportFail"), ModalAnswerer::clickButton(QStringLiteral("NewHong")));
        m_answerer->on(QStringLiteral("InportFail"), ModalAnswerer::clickButton(QStringLiteral("NewHong")));
        m_hub = std::make_unique<linktest::HubRecorder>();
        m_window = std::make_unique<DialogMain>();
        m_window->show();
        SimScript::settle();
        QCOMPARE(ChoiceDeviceList.size(), 2);
    }

    void cleanupTestCase()
    {
        setExchangeFileChooser({});
        m_window.reset();
        m_hub.reset();
        m_answerer.reset();
        Registry::setBaseFolder(QString());
        m_env.reset();
    }

    void init()
    {
        m_busyLabels.clear();
        setExchangeFileChooser({});
        HidSim_SetAwake(m_wireless.mouse, 1);
    }

    // The chosen item becomes the mouse's profile; until its configuration has been read,
    // no change is written, and each switch is read, however quick the next one comes.
    void profileChoiceSwitchesAndReloads()
    {
        // Profile 1: forward on the second key; 2: middle click there; 3: middle click on the fourth.
        const ButtonBinding second[] = {{1, 16, 0}, {1, 4, 0}, {1, 2, 0}};
        const ButtonBinding fourth[] = {{1, 8, 0}, {1, 8, 0}, {1, 4, 0}};
        FlashDataMap image{};
        for (int profile = 1; profile < 4; ++profile) {
            std::memcpy(&image, m_factory.constData(), sizeof image);
            image.buttons[1] = second[profile - 1];
            image.buttons[3] = fourth[profile - 1];
            QCOMPARE(HidSim_SetImage(m_cable.mouse, profile, reinterpret_cast<const uint8_t*>(&image)), 0);
        }
        std::memcpy(&image, m_factory.constData(), sizeof image);
        QCOMPARE(HidSim_SetImage(m_cable.mouse, 0, reinterpret_cast<const uint8_t*>(&image)), 0);
        QVERIFY(chooseTile(m_cable));
        QVERIFY(profiles()->isEnabled());
        QCOMPARE(profiles()->count(), 4);
        const int writes = HidSim_WriteCount(m_cable.mouse);

        chooseProfile(2);
        QCOMPARE(HidSim_ActiveProfile(m_cable.mouse), 2);
        // The image is still the first profile's: a change now writes nothing.
        button("StartPause")->click();
        button("RightKey_3")->click();
        QCOMPARE(HidSim_WriteCount(m_cable.mouse), writes);
        QVERIFY(waitForText("RightKey", text("MidKey")));
        QCOMPARE(profiles()->currentIndex(), 2);

        // A change now lands in the second profile.
        button("BackKey")->click();
        button("RightKey_3")->click();
        QCOMPARE(bindingAt(stored(m_cable.mouse, 2), 2), QByteArray("\x01\x02\x00", 3));
        QCOMPARE(bindingAt(stored(m_cable.mouse, 0), 2), bindingAt(m_factory, 2));

        // Two switches in a row, the second well within the mouse's status throttle.
        chooseProfile(1);
        QVERIFY(waitForText("RightKey", text("ForWardKey")));
        chooseProfile(3);
        QCOMPARE(HidSim_ActiveProfile(m_cable.mouse), 3);
        QVERIFY(waitForText("TopMusic", text("MidKey")));
        QCOMPARE(profiles()->currentIndex(), 3);
        QVERIFY(HidSim_WriteCount(m_cable.mouse) == writes + 1);

        // The mouse reporting its profile list changes the box but switches nothing.
        const int switches = SimScript::countCalls(QStringLiteral("UsbServer_SetCurrentConfig"));
        const uint8_t reported = 1;
        HidSim_Inject(14, 0, 0, &reported, 1);
        QVERIFY(SimScript::deliverUntil([this] { return profiles()->currentIndex() == 1; }));
        QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServer_SetCurrentConfig")), switches);
        QCOMPARE(HidSim_ActiveProfile(m_cable.mouse), 3);
        chooseProfile(0);
        QVERIFY(waitForText("TopMusic", text("BackKey_2")));
    }

    // Offline, the box returns to the profile it showed and the offline notice opens; while the
    // page is filling itself the choice is sent all the same.
    void profileChoiceOffline()
    {
        QVERIFY(chooseTile(m_wireless));
        const uint8_t reported = 1;  // the mouse reports its second profile
        HidSim_Inject(14, 0, 0, &reported, 1);
        QVERIFY(SimScript::deliverUntil([this] { return profiles()->currentIndex() == 1; }));
        HidSim_SetAwake(m_wireless.mouse, 0);
        const int switches = SimScript::countCalls(QStringLiteral("UsbServer_SetCurrentConfig"));
        const int notices = m_answerer->handled().count(QStringLiteral("MouseOffLine"));

        chooseProfile(3);
        QTRY_COMPARE(m_answerer->handled().count(QStringLiteral("MouseOffLine")), notices + 1);
        QCOMPARE(profiles()->currentIndex(), 1);
        QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServer_SetCurrentConfig")), switches);
        QVERIFY(WorkingImageLoaded());

        ButtonPageBusy = 1;
        chooseProfile(2);
        ButtonPageBusy = 0;
        QCOMPARE(SimScript::countCalls(QStringLiteral("UsbServer_SetCurrentConfig")), switches + 1);
        QCOMPARE(profiles()->currentIndex(), 2);
        QVERIFY(!WorkingImageLoaded());
        QVERIFY(wake(m_wireless));
    }

    // Reset asks first; accepted, the mouse and the pages hold the factory settings, after one
    // busy dialog, and the online poll runs again.
    void resetRestoresTheFactorySettings()
    {
        QVERIFY(chooseTile(m_cable));
        giveSecondKeyTheMiddleClick();
        QCOMPARE(bindingAt(stored(m_cable.mouse), 1), QByteArray("\x01\x04\x00", 3));
        const int writes = HidSim_WriteCount(m_cable.mouse);

        m_confirmReset = false;
        button("Reset")->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(HidSim_ResetCount(m_cable.mouse), 0);
        QCOMPARE(HidSim_WriteCount(m_cable.mouse), writes);
        QVERIFY(m_busyLabels.isEmpty());

        QSignalSpy shellBusy(PostMsg::instance(), SIGNAL(SigUpDataParam(int)));
        m_confirmReset = true;
        const int mark = m_hub->mark();
        button("Reset")->click();
        QVERIFY(runQueuedWork());
        QVERIFY(reloaded(mark));
        QCOMPARE(HidSim_ResetCount(m_cable.mouse), 1);
        QCOMPARE(stored(m_cable.mouse), m_factory);
        QCOMPARE(bytesOf(WorkingImageCopy()), m_factory);
        QVERIFY(WorkingImageLoaded());
        QCOMPARE(text("RightKey"), text("RightKey_3"));
        QVERIFY(SensorPageReady && LightPageReady && ButtonPageReady);
        QCOMPARE(m_busyLabels.size(), 1);
        SimScript::settle();
        QCOMPARE(m_busyLabels.size(), 1);
        QCOMPARE(shellBusy.count(), 0);
        QCOMPARE(int(NoBusyDialog), 0);
        QVERIFY(Worker::instance()->findChild<QTimer*>()->isActive());

        // Offline: the notice, nothing sent.
        QVERIFY(chooseTile(m_wireless));
        HidSim_SetAwake(m_wireless.mouse, 0);
        const int notices = m_answerer->handled().count(QStringLiteral("MouseOffLine"));
        button("Reset")->click();
        QVERIFY(runQueuedWork());
        QTRY_COMPARE(m_answerer->handled().count(QStringLiteral("MouseOffLine")), notices + 1);
        QCOMPARE(m_answerer->handled().count(QStringLiteral("ContainReset")), 2);
        QCOMPARE(HidSim_ResetCount(m_wireless.mouse), 0);
        QVERIFY(wake(m_wireless));
    }

    // An export holds the loaded configuration, also offline; without one, or where the file
    // cannot be written, the notice says so and nothing is written.
    void exportWritesTheLoadedConfiguration()
    {
        QVERIFY(chooseTile(m_wireless));
        const QString sensor = UserConfig::instance()->value(CatalogueModelGroup(CurrentDeviceRecord().modelIndex),
                                                             QStringLiteral("Sensor"));
        QVERIFY(!sensor.isEmpty());
        HidSim_SetAwake(m_wireless.mouse, 0);
        setExchangeFileChooser([&](bool save) { return save ? path("offline.bin") : QString(); });
        button("OutputData")->click();
        QVERIFY(runQueuedWork());
        const QByteArray file = readFile(path("offline.bin"));
        QCOMPARE(file.size(), 10464);
        QCOMPARE(file.left(36), QByteArray::fromHex("0000000C") + "Trelm" + QByteArray(7, '\0') + QByteArray::fromHex("0000000C")
                                    + ProfileFile::sensorField(sensor).leftJustified(12, '\0') + QByteArray::fromHex("000028BC"));
        QCOMPARE(file.mid(36), stored(m_wireless.mouse));
        HidSim_SetAwake(m_wireless.mouse, 1);

        // Cancelled: nothing.
        const int notices = m_answerer->handled().count(QStringLiteral("ExportFail"));
        setExchangeFileChooser([](bool) { return QString(); });
        button("OutputData")->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(m_answerer->handled().count(QStringLiteral("ExportFail")), notices);

        // A folder that cannot hold the file.
        QVERIFY(writeFile(path("plain-file"), "kept"));
        setExchangeFileChooser([this](bool) { return path("plain-file") + QStringLiteral("/p.bin"); });
        button("OutputData")->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(m_answerer->handled().count(QStringLiteral("ExportFail")), notices + 1);

        // Right after a profile switch the image is not the mouse's: an existing file stays.
        QVERIFY(writeFile(path("existing.bin"), "kept"));
        chooseProfile(1);
        QVERIFY(!WorkingImageLoaded());
        setExchangeFileChooser([this](bool) { return path("existing.bin"); });
        button("OutputData")->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(m_answerer->handled().count(QStringLiteral("ExportFail")), notices + 2);
        QCOMPARE(readFile(path("existing.bin")), QByteArray("kept"));
        QVERIFY(reloaded(m_switchMark));
        chooseProfile(0);
        QVERIFY(reloaded(m_switchMark));
    }

    // Import checks the mouse is there, then the file; a refused file changes nothing.
    void importChecksBeforeItSends()
    {
        QVERIFY(chooseTile(m_wireless));
        const int writes = HidSim_WriteCount(m_wireless.mouse);
        int asked = 0;
        bool askedToSave = false;
        int busyWhileAsked = -1;
        setExchangeFileChooser([&](bool save) {
            ++asked;
            askedToSave = save;
            busyWhileAsked = NoBusyDialog.load();
            return QString();
        });
        button("ImportData")->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(asked, 1);
        QVERIFY(!askedToSave);
        QCOMPARE(busyWhileAsked, 1);
        QCOMPARE(int(NoBusyDialog), 0);
        QCOMPARE(int(ImportRunning), 0);
        QVERIFY(m_busyLabels.isEmpty());

        // Offline: the notice before any file is asked for.
        HidSim_SetAwake(m_wireless.mouse, 0);
        const int notices = m_answerer->handled().count(QStringLiteral("MouseOffLine"));
        button("ImportData")->click();
        QVERIFY(runQueuedWork());
        QTRY_COMPARE(m_answerer->handled().count(QStringLiteral("MouseOffLine")), notices + 1);
        QCOMPARE(asked, 1);
        QVERIFY(m_busyLabels.isEmpty());
        QVERIFY(wake(m_wireless));
        m_busyLabels.clear();  // the reload after the notice may have shown one

        // A file of another model: refused after the busy dialog, nothing sent.
        const FlashDataMap image = WorkingImageCopy();
        QVERIFY(ProfileFile::write(path("other.bin"), QStringLiteral("OTHER"), image));
        const int refusals = m_answerer->handled().count(QStringLiteral("InportFail"));
        setExchangeFileChooser([this](bool) { return path("other.bin"); });
        button("ImportData")->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(m_answerer->handled().count(QStringLiteral("InportFail")), refusals + 1);
        QCOMPARE(int(ImportResult), 2);
        QCOMPARE(HidSim_WriteCount(m_wireless.mouse), writes);
        QCOMPARE(m_busyLabels.size(), 1);
        QCOMPARE(int(NoBusyDialog), 0);
        QCOMPARE(int(ImportRunning), 0);
    }

    // The mouse gone while its file was being chosen: the import shows nothing as applied,
    // the offline notice says why, and the page keeps the mouse's own configuration.
    void importToAMouseGoneMeanwhileShowsTheNotice()
    {
        QVERIFY(chooseTile(m_wireless));
        const QString sensor = UserConfig::instance()->value(CatalogueModelGroup(CurrentDeviceRecord().modelIndex),
                                                             QStringLiteral("Sensor"));
        const QByteArray before = bytesOf(WorkingImageCopy());
        const QString right = text("RightKey");
        FlashDataMap image = WorkingImageCopy();
        image.buttons[1] = ButtonBinding{1, 4, 0};
        QVERIFY(ProfileFile::write(path("gone.bin"), sensor, image));
        const int writes = HidSim_WriteCount(m_wireless.mouse);
        const int notices = m_answerer->handled().count(QStringLiteral("MouseOffLine"));
        setExchangeFileChooser([this](bool) {
            HidSim_SetAwake(m_wireless.mouse, 0);
            return path("gone.bin");
        });
        button("ImportData")->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(HidSim_WriteCount(m_wireless.mouse), writes);
        QCOMPARE(bytesOf(WorkingImageCopy()), before);
        QCOMPARE(text("RightKey"), right);
        QTRY_COMPARE(m_answerer->handled().count(QStringLiteral("MouseOffLine")), notices + 1);
        QCOMPARE(int(NoBusyDialog), 0);
        QCOMPARE(int(ImportRunning), 0);
        QVERIFY(wake(m_wireless));
    }

    // The cable mouse's configuration exported, changed, reset and imported again: each step
    // ends as its bytes in the mouse.
    void exportChangeResetImportRoundTrip()
    {
        FlashDataMap image{};
        std::memcpy(&image, m_factory.constData(), sizeof image);
        image.buttons[3] = ButtonBinding{1, 16, 0};
        image.dpiLevelCount = 4;
        image.currentDpiLevel = 2;
        QCOMPARE(HidSim_SetImage(m_cable.mouse, 0, reinterpret_cast<const uint8_t*>(&image)), 0);
        QVERIFY(chooseTile(m_cable));
        QCOMPARE(text("TopMusic"), text("ForWardKey"));

        setExchangeFileChooser([this](bool) { return path("round.bin"); });
        button("OutputData")->click();
        QVERIFY(runQueuedWork());
        const QByteArray exported = readFile(path("round.bin"));
        QCOMPARE(exported.size(), 10464);
        QCOMPARE(exported.mid(36), bytesOf(image));

        giveSecondKeyTheMiddleClick();
        QCOMPARE(bindingAt(stored(m_cable.mouse), 1), QByteArray("\x01\x04\x00", 3));
        QCOMPARE(chosenKeys(), QStringList{"RightKey"});

        m_confirmReset = true;
        const int mark = m_hub->mark();
        button("Reset")->click();
        QVERIFY(runQueuedWork());
        QVERIFY(reloaded(mark));
        QCOMPARE(stored(m_cable.mouse), m_factory);
        QCOMPARE(text("TopMusic"), text("BackKey_2"));
        QCOMPARE(chosenKeys(), QStringList());  // the reset page starts with no key chosen

        const QString importText = m_busyLabels.value(0);
        m_busyLabels.clear();
        button("BackKey")->click();
        QCOMPARE(chosenKeys(), QStringList{"BackKey"});
        button("ImportData")->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(chosenKeys(), QStringList());
        QCOMPARE(stored(m_cable.mouse), bytesOf(image));
        QCOMPARE(bytesOf(WorkingImageCopy()), bytesOf(image));
        QCOMPARE(text("TopMusic"), text("ForWardKey"));
        QCOMPARE(text("RightKey"), text("RightKey_3"));
        QCOMPARE(int(ImportResult), 0);
        QCOMPARE(m_busyLabels.size(), 1);
        QVERIFY(m_busyLabels.first() != importText);  // the import's own text, not the wait's

        // Another mouse's page starts with no key chosen either, its key list at the top.
        button("TopMusic")->click();
        QCOMPARE(chosenKeys(), QStringList{"TopMusic"});
        QScrollBar* keyList = m_page->findChild<QScrollArea*>(QStringLiteral("scrollArea_11"))->verticalScrollBar();
        keyList->setValue(keyList->maximum());  // where a drag of the list's bar leaves it
        QVERIFY(keyList->value() > 0);
        QVERIFY(chooseTile(m_wireless));
        QCOMPARE(chosenKeys(), QStringList());
        QCOMPARE(keyList->value(), 0);
    }
};

QTEST_MAIN(ButtonProfilesTest)
#include "tst_button_profiles.moc"
