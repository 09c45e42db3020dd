// A macro's road through both pages, as a user takes it: made and recorded on the Macro page,
// bound to a mouse key on the button page, then renamed, edited and deleted on the Macro page;
// each step ends as its bytes in the mouse's stored image.
#include "app/QuitSignals.h"
#include "common/AppPaths.h"
#include "common/PostMsg.h"
#include "common/ProgramWaits.h"
#include "device/DeviceCache.h"
#include "device/DeviceRecords.h"
#include "device/MacroFiles.h"
#include "device/SharedFlags.h"
#include "device/UnsentMacros.h"
#include "device/UnsentMacrosFile.h"
#include "device/Worker.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/macro/KeyClock.h"
#include "pages/macro/Macro.h"
#include "shell/Dialog.h"
#include "shell/DialogMain.h"
#include "support/HidSimScript.h"
#include "support/HubRecorder.h"
#include "support/KeySender.h"
#include "support/ModalAnswerer.h"
#include "support/ProgramWorld.h"

#include "HIDUsbControl.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QDirIterator>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <sys/stat.h>

namespace {

QByteArray storedImage(int mouse)
{
    QByteArray image(HIDUSB_IMAGE_SIZE, '\0');
    HidSim_GetImage(mouse, 0, reinterpret_cast<uint8_t*>(image.data()));
    return image;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray recordOfFile(const QString& name)
{
    const MacroRecord record = MacroRecordFromFileText(name, readAll(MacroFolder() + QLatin1Char('/') + name + ".ini"));
    return QByteArray(reinterpret_cast<const char*>(&record), int(sizeof record));
}

void writeMacroFile(const QString& name, const QByteArray& text)
{
    QDir().mkpath(MacroFolder());
    QFile file(MacroFolder() + QLatin1Char('/') + name + ".ini");
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text);
}

// Shows the window and loads its first tile's mouse, without the busy dialog's fixed waits.
bool loadFirstMouse(DialogMain& window)
{
    window.show();
    SimScript::settle();
    NoBusyDialog = 1;
    linktest::HubRecorder hub;
    return loadFirstTile(window, hub);
}

// On the button page: the key `selector`, the macro list, the macro `name`.
void bindMacro(Buttoninterface* buttons, const char* selector, const QString& name)
{
    QTest::mouseClick(buttons->findChild<QToolButton*>(QLatin1String(selector)), Qt::LeftButton);
    QTest::mouseClick(buttons->findChild<QToolButton*>(QStringLiteral("DPI_10")), Qt::LeftButton);
    for (QToolButton* button : qAsConst(buttons->MacroButtons)) {
        if (button->isEnabled() && button->text() == name)
            QTest::mouseClick(button, Qt::LeftButton);
    }
}

// The world of a save made while the mouse sleeps: a mouse behind its receiver, the macro
// "Rec" (one A) and the Macro page's key clock.
struct SleepRoad {
    ProgramWorld world;
    qint64 now = 0;
    SimScript::Device wireless;
    QString file;

    SleepRoad()
    {
        ProgramWaits::setWaitScale(0.01);
        setKeyClock([this] { return now; });
        wireless = SimScript::addReceiverMouse(1);
        writeMacroFile(QStringLiteral("Rec"), "1\n0x04 1 0\n40ms\n0x04 1 1\n");
        file = MacroFolder() + QStringLiteral("/Rec.ini");
    }
    SleepRoad(const SleepRoad&) = delete;
    SleepRoad& operator=(const SleepRoad&) = delete;
};

// "Rec" as bindSleepAndSave saves it: repeated until pressed again, the key C.
const QByteArray RecEdited("253\n0x06 1 0\n40ms\n0x06 1 1\n");

// Binds "Rec" (one A) to the right key of `mouse`.
void bindRec(DialogMain& window, int mouse)
{
    window.findChild<QAbstractButton*>(QStringLiteral("ButtonMain"))->click();
    bindMacro(window.findChild<Buttoninterface*>(), "RightKey", QStringLiteral("Rec"));
    QCOMPARE(storedImage(mouse).mid(77, 3), QByteArray("\x06\x01\x01", 3));
}

// On the Macro page: records C over "Rec" with the repeat mode "until pressed again", and saves.
void editRecAndSave(DialogMain& window, qint64& now)
{
    auto* macros = window.findChild<Macro*>();
    window.findChild<QAbstractButton*>(QStringLiteral("MacroButton"))->click();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* list = macros->findChild<QListWidget*>(QStringLiteral("listWidgetHong"));
    QListWidgetItem* item = list->findItems(QStringLiteral("Rec"), Qt::MatchExactly).value(0);
    QVERIFY(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    auto* untilAgain = macros->findChild<QAbstractButton*>(QStringLiteral("ReUntil"));
    QTest::mouseClick(untilAgain, Qt::LeftButton, {}, untilAgain->rect().center());
    QVERIFY(untilAgain->isChecked());
    macros->findChild<QPushButton*>(QStringLiteral("StartRecord"))->click();
    keys::press(macros, keys::letter('C'));
    now += 40;
    keys::release(macros, keys::letter('C'));
    macros->findChild<QPushButton*>(QStringLiteral("StopRecord"))->click();
    QTest::mouseClick(macros->findChild<QToolButton*>(QStringLiteral("Save")), Qt::LeftButton);
}

// Binds "Rec" to the right key, puts `mouse` to sleep, and edits and saves "Rec".
void bindSleepAndSave(DialogMain& window, int mouse, qint64& now)
{
    bindRec(window, mouse);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(HidSim_SetAwake(mouse, 0), 0);
    editRecAndSave(window, now);
}

// Shows the window and clicks its first tile, for a mouse that sleeps: the pages fill from the
// cache, and the key `selector` names the macro `name`.
bool openAsleep(DialogMain& window, const char* selector, const QString& name)
{
    window.show();
    SimScript::settle();
    NoBusyDialog = 1;
    window.findChild<QToolButton*>(QStringLiteral("btn0"))->click();
    return SimScript::deliverUntil([&] {
        auto* buttons = window.findChild<Buttoninterface*>();
        auto* key = buttons ? buttons->findChild<QToolButton*>(QLatin1String(selector)) : nullptr;
        return key && key->text() == buttons->MacroPrefixText + name;
    });
}

// Every file below `folder`: its path, content and inode (a file written anew has a new one).
using FolderState = QMap<QString, QPair<QByteArray, quint64>>;
FolderState folderState(const QString& folder)
{
    FolderState state;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat info {};
        ::stat(QFile::encodeName(path).constData(), &info);
        state.insert(path.mid(folder.size()), qMakePair(readAll(path), quint64(info.st_ino)));
    }
    return state;
}

// Puts `folder` back to `state`, as a kill at the moment `state` was taken leaves it.
void restoreFolder(const QString& folder, const FolderState& state)
{
    QDir(folder).removeRecursively();
    for (auto it = state.constBegin(); it != state.constEnd(); ++it) {
        QDir().mkpath(QFileInfo(folder + it.key()).absolutePath());
        QFile file(folder + it.key());
        if (file.open(QIODevice::WriteOnly))
            file.write(it.value().first);
    }
}

// Quits with the frame's close button and waits for the load thread.
void quitWithCloseButton(DialogMain& window)
{
    auto* titleBar = window.findChild<Dialog*>()->findChild<QFrame*>(QStringLiteral("frame"));
    QTest::mouseClick(titleBar->findChild<QToolButton*>(QStringLiteral("CloseButton")), Qt::LeftButton);
    QTRY_VERIFY(!window.isVisible());
    if (Worker* worker = Worker::instance())
        worker->wait(5000);
}

// What a new start of the program finds: no queue, device, list or wait of the run before;
// only the user's files and the mice themselves are still there.
void startAgain()
{
    UnsentMacros::unload();
    ResetCurrentDevice();
    ChoiceDeviceList.clear();
    for (std::atomic<uint8_t>* flag : {&SensorPageReady, &LightPageReady, &ButtonPageReady, &SensorPageBusy,
                                       &LightPageBusy, &ButtonPageBusy, &RunRequested, &MouseOnline, &LoadedOnline,
                                       &LoadFinished, &WaitingForMouse, &RestartWanted, &NoBusyDialog})
        *flag = 0;
    MainPageActive = 0;
}

// The key clock and the waits back to normal, and the load thread done, before the window goes.
void endRoad()
{
    setKeyClock({});
    ProgramWaits::setWaitScale(1);
    if (Worker* worker = Worker::instance())
        worker->wait(5000);
}

}  // namespace

class ButtonMacroRoadTest : public QObject {
    Q_OBJECT

private slots:
    void macroMadeBoundRenamedEditedDeleted()
    {
        ProgramWorld world;
        ProgramWaits::setWaitScale(0.01);
        qint64 now = 0;
        setKeyClock([&now] { return now; });

        const SimScript::Device cable = SimScript::addCableMouse(1);
        QString typedName;
        ModalAnswerer answerer;
        answerer.on("QuestionDialog", [&typedName](QWidget* dialog) {
            QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("lineEdit")), typedName);
            QTest::mouseClick(dialog->findChild<QToolButton*>(QStringLiteral("NewHong")), Qt::LeftButton);
        });
        answerer.on("DeleteConfirm", ModalAnswerer::clickButton(QStringLiteral("NewHong")));
        DialogMain window;
        QVERIFY(loadFirstMouse(window));
        auto* buttons = window.findChild<Buttoninterface*>();
        auto* macros = window.findChild<Macro*>();
        QVERIFY(buttons && macros);
        const auto pageButton = [&](const char* name) { window.findChild<QAbstractButton*>(QLatin1String(name))->click(); };
        const auto click = [](QWidget* page, const char* name) {
            QTest::mouseClick(page->findChild<QToolButton*>(QLatin1String(name)), Qt::LeftButton);
        };
        const auto record = [&](const QVector<char>& letters) {
            macros->findChild<QPushButton*>(QStringLiteral("StartRecord"))->click();
            for (char letter : letters) {
                keys::press(macros, keys::letter(letter));
                now += 40;
                keys::release(macros, keys::letter(letter));
                now += 60;
            }
            macros->findChild<QPushButton*>(QStringLiteral("StopRecord"))->click();
            click(macros, "Save");
        };
        const auto choose = [&](const QString& name) {
            auto* list = macros->findChild<QListWidget*>(QStringLiteral("listWidgetHong"));
            QListWidgetItem* item = list->findItems(name, Qt::MatchExactly).value(0);
            QVERIFY(item);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        };
        // Keys reach the page once the window has the focus back from a dialog.
        const auto activeAgain = [&] {
            window.activateWindow();
            return QTest::qWaitForWindowActive(&window);
        };
        const auto selectorText = [&] { return buttons->findChild<QToolButton*>(QStringLiteral("RightKey"))->text(); };

        // Made: a new macro "Rec", two keys recorded and saved; a second macro "Other".
        pageButton("MacroButton");
        QVERIFY(activeAgain());
        typedName = QStringLiteral("Other");
        click(macros, "NewHong");
        QVERIFY(answerer.waitForNext());
        typedName = QStringLiteral("Rec");
        click(macros, "NewHong");
        QVERIFY(answerer.waitForNext());
        QVERIFY(activeAgain());
        record({'A', 'B'});
        QCOMPARE(readAll(MacroFolder() + QStringLiteral("/Rec.ini")),
                 QByteArray("1\n0x04 1 0\n40ms\n0x04 1 1\n60ms\n0x05 1 0\n40ms\n0x05 1 1\n"));

        // Bound: the button page lists it; the second key plays it.
        pageButton("ButtonMain");
        QCOMPARE(buttons->MacroButtons.value(1)->text(), QStringLiteral("Rec"));
        click(buttons, "RightKey");
        click(buttons, "DPI_10");
        QTest::mouseClick(buttons->MacroButtons.value(1), Qt::LeftButton);
        QByteArray image = storedImage(cable.mouse);
        QCOMPARE(image.mid(77, 3), QByteArray("\x06\x01\x01", 3));
        QCOMPARE(image.mid(1548, 592), recordOfFile(QStringLiteral("Rec")));
        QCOMPARE(selectorText(), buttons->MacroPrefixText + QStringLiteral("Rec"));

        // Renamed: the key keeps its macro under the new name.
        pageButton("MacroButton");
        choose(QStringLiteral("Rec"));
        typedName = QStringLiteral("Go");
        QVERIFY(QMetaObject::invokeMethod(macros, "RenameMacro"));
        QVERIFY(answerer.waitForNext());
        image = storedImage(cable.mouse);
        QCOMPARE(image.mid(1548, 31), QByteArray("\x02Go", 3) + QByteArray(28, '\0'));
        QCOMPARE(image.mid(1579, 592 - 31), recordOfFile(QStringLiteral("Go")).mid(31));
        QCOMPARE(selectorText(), buttons->MacroPrefixText + QStringLiteral("Go"));

        // Edited: new keys saved; another macro is chosen while the page waits to send them.
        choose(QStringLiteral("Go"));
        QVERIFY(activeAgain());
        record({'C'});
        choose(QStringLiteral("Other"));
        const QByteArray edited = recordOfFile(QStringLiteral("Go"));
        QCOMPARE(int(uchar(edited.at(31))), 2);  // C pressed and released
        QTRY_COMPARE(storedImage(cable.mouse).mid(1548, 592), edited);
        QCOMPARE(storedImage(cable.mouse).mid(77, 3), QByteArray("\x06\x01\x01", 3));

        // Deleted: the key is a right click again, its record slot empty.
        choose(QStringLiteral("Go"));
        click(macros, "DeleteHong");
        QVERIFY(answerer.waitForNext());
        image = storedImage(cable.mouse);
        QCOMPARE(image.mid(77, 3), QByteArray("\x01\x02\x00", 3));
        QCOMPARE(image.mid(124 + 52, 52), QByteArray(52, '\0'));
        pageButton("ButtonMain");
        QCOMPARE(selectorText(), buttons->findChild<QToolButton*>(QStringLiteral("RightKey_3"))->text());
        QCOMPARE(buttons->MacroButtons.value(0)->text(), QStringLiteral("Other"));

        endRoad();
    }

    // The seven-key demo mouse: a macro on its seventh key sits at device key 9, its binding
    // naming key code 6.
    void seventhKeyMacro()
    {
        ProgramWorld world;
        ProgramWaits::setWaitScale(0.01);
        QCOMPARE(HidSim_LoadScenario(KAVRO_SOURCE_DIR "/scripts/scenarios/seventh-key.txt"), 0);
        writeMacroFile(QStringLiteral("Seven"), "2\n0x04 1 0\n20ms\n0x04 1 1\n");
        DialogMain window;
        QVERIFY(loadFirstMouse(window));
        auto* buttons = window.findChild<Buttoninterface*>();
        window.findChild<QAbstractButton*>(QStringLiteral("ButtonMain"))->click();
        auto* seventh = buttons->findChild<QToolButton*>(QStringLiteral("Button7"));
        QVERIFY(seventh->isVisible());
        bindMacro(buttons, "Button7", QStringLiteral("Seven"));
        const QByteArray image = storedImage(0);
        QCOMPARE(image.mid(74 + 3 * 9, 3), QByteArray("\x06\x06\x02", 3));
        QCOMPARE(image.mid(956 + 592 * 9, 592), recordOfFile(QStringLiteral("Seven")));
        QCOMPARE(seventh->text(), buttons->MacroPrefixText + QStringLiteral("Seven"));

        endRoad();
    }

    // A macro saved while the mouse sleeps: the file keeps the edit through the wake's reload,
    // and the mouse gets it once it answers again.
    void macroSavedAsleepReachesTheMouseOnWake()
    {
        SleepRoad road;
        const SimScript::Device& wireless = road.wireless;
        const QString& file = road.file;
        QByteArray fileWhileAsleep;
        ModalAnswerer answerer;
        answerer.on("MouseOffLine", [&](QWidget*) {
            if (fileWhileAsleep.isEmpty())
                fileWhileAsleep = readAll(file);
            HidSim_SetAwake(wireless.mouse, 1);
        });
        DialogMain window;
        QVERIFY(loadFirstMouse(window));
        auto* buttons = window.findChild<Buttoninterface*>();
        bindSleepAndSave(window, wireless.mouse, road.now);
        if (QTest::currentTestFailed())
            return;

        // The offline notice showed over the saved file; the mouse woke, was read again, and
        // got the save.
        QVERIFY(answerer.waitForCount(1));
        QCOMPARE(fileWhileAsleep, RecEdited);
        QVERIFY(SimScript::deliverUntil([&] { return storedImage(wireless.mouse).mid(77, 3) == QByteArray("\x06\x01\xFD", 3); }));
        QCOMPARE(storedImage(wireless.mouse).mid(1548, 592), recordOfFile(QStringLiteral("Rec")));
        QCOMPARE(readAll(file), RecEdited);
        QCOMPARE(buttons->BindingCode2.at(1), 253);

        endRoad();
    }

    // The same save, but the user quits before the mouse answers: the next start still keeps
    // the file as saved through the mouse's older record, and sends the save once the mouse
    // answers, behind its receiver or on a cable of its own.
    void macroSavedAsleepSurvivesARestart_data()
    {
        QTest::addColumn<bool>("byCable");
        QTest::newRow("wakes") << false;
        QTest::newRow("plugged in by cable") << true;
    }
    void macroSavedAsleepSurvivesARestart()
    {
        QFETCH(bool, byCable);
        SleepRoad road;
        const SimScript::Device& wireless = road.wireless;
        const QString& file = road.file;
        {
            ModalAnswerer answerer;
            answerer.on("MouseOffLine", ModalAnswerer::clickButton(QStringLiteral("NewHong")));
            DialogMain window;
            QVERIFY(loadFirstMouse(window));
            bindSleepAndSave(window, wireless.mouse, road.now);
            if (QTest::currentTestFailed())
                return;
            QVERIFY(answerer.waitForCount(1));
            QCOMPARE(readAll(file), RecEdited);
            // Quit with the frame's close button while the mouse sleeps.
            quitWithCloseButton(window);
        }
        startAgain();

        if (byCable)
            QVERIFY(SimScript::addInterface(SimScript::CablePid, 2, wireless.mouse) >= 0);
        else
            QCOMPARE(HidSim_SetAwake(wireless.mouse, 1), 0);
        DialogMain window;
        QVERIFY(loadFirstMouse(window));
        QCOMPARE(readAll(file), RecEdited);
        QVERIFY(SimScript::deliverUntil([&] { return storedImage(wireless.mouse).mid(77, 3) == QByteArray("\x06\x01\xFD", 3); }));
        QCOMPARE(storedImage(wireless.mouse).mid(1548, 592), recordOfFile(QStringLiteral("Rec")));
        QCOMPARE(window.findChild<Buttoninterface*>()->BindingCode2.at(1), 253);
        // Nothing is owed any more.
        QVERIFY(!QFileInfo::exists(UnsentMacrosFilePath()));

        endRoad();
    }

    // The mouse's cache follows the mouse: after the load and after each change that reached
    // it (in a run of changes, a few times a second), so a kill leaves it little behind.
    void cacheFollowsTheMouse()
    {
        SleepRoad road;
        const int mouse = road.wireless.mouse;
        const QString cache = DeviceCacheFolder() + DeviceCacheFileName(SimScript::Cid, 1);
        DialogMain window;
        QVERIFY(loadFirstMouse(window));
        QTRY_COMPARE(readAll(cache).mid(4 + 74, 3 * 16), storedImage(mouse).mid(74, 3 * 16));
        bindRec(window, mouse);
        QTRY_COMPARE(readAll(cache).mid(4), SimScript::lastWrittenImage(mouse));
        QCOMPARE(readAll(cache).mid(4 + 77, 3), QByteArray("\x06\x01\x01", 3));
        endRoad();
    }

    // A logout while the program runs: the quit signal ends it as the close button does. The
    // next start, mouse asleep, learns from the cache which key plays "Rec", so a save of "Rec"
    // is owed to that key, and the wake sends it: the file and the mouse hold the edit.
    void macroSavedAsleepAfterALogoutReachesTheMouse()
    {
        SleepRoad road;
        const int mouse = road.wireless.mouse;
        {
            DialogMain window;
            QuitSignals quitSignals;
            quitSignals.closeOnRequest(&window);
            QVERIFY(loadFirstMouse(window));
            bindRec(window, mouse);
            if (QTest::currentTestFailed())
                return;
            QCOMPARE(::raise(SIGTERM), 0);
            QTRY_VERIFY(!window.isVisible());
            if (Worker* worker = Worker::instance())
                worker->wait(5000);
        }
        startAgain();

        QCOMPARE(HidSim_SetAwake(mouse, 0), 0);
        ModalAnswerer answerer;
        answerer.on("MouseOffLine", ModalAnswerer::clickButton(QStringLiteral("NewHong")));
        DialogMain window;
        QVERIFY(openAsleep(window, "RightKey", QStringLiteral("Rec")));
        editRecAndSave(window, road.now);
        QCOMPARE(readAll(road.file), RecEdited);

        QCOMPARE(HidSim_SetAwake(mouse, 1), 0);
        QVERIFY(SimScript::deliverUntil([&] { return storedImage(mouse).mid(77, 3) == QByteArray("\x06\x01\xFD", 3); }));
        QCOMPARE(storedImage(mouse).mid(1548, 592), recordOfFile(QStringLiteral("Rec")));
        QCOMPARE(readAll(road.file), RecEdited);
        endRoad();
    }

    // A fill from the cache is no answer of the mouse: the keys show the cache's macro, but no
    // file of the per-user folder is written, not even the macro file the cache names.
    void cacheFillWritesNoFile()
    {
        SleepRoad road;
        const int mouse = road.wireless.mouse;
        // The cache of an earlier run: "Rec" on the right key with an older record.
        QByteArray image = storedImage(mouse);
        const MacroRecord older = MacroRecordFromFileText(QStringLiteral("Rec"), "2\n0x05 1 0\n20ms\n0x05 1 1\n");
        image.replace(77, 3, QByteArray("\x06\x01\x02", 3));
        image.replace(1548, 592, QByteArray(reinterpret_cast<const char*>(&older), int(sizeof older)));
        FlashDataMap cached{};
        std::memcpy(&cached, image.constData(), sizeof cached);
        QVERIFY(WriteDeviceInfoFile(DeviceCacheFileName(SimScript::Cid, 1), cached));
        QCOMPARE(HidSim_SetAwake(mouse, 0), 0);
        const FolderState before = folderState(MacroFolder());

        ModalAnswerer answerer;
        answerer.on("MouseOffLine", ModalAnswerer::clickButton(QStringLiteral("NewHong")));
        DialogMain window;
        QVERIFY(openAsleep(window, "RightKey", QStringLiteral("Rec")));
        QVERIFY(SimScript::settle());
        QCOMPARE(folderState(MacroFolder()), before);
        endRoad();
    }

    // A kill between the writes of a save made while the mouse sleeps: the per-user folder as
    // the kill left it is all the next start has. The debt was written first, with the save's
    // text, so the next start finishes the save and the wake sends it to the mouse.
    void killBetweenTheWritesOfASleepingSave()
    {
        SleepRoad road;
        const int mouse = road.wireless.mouse;
        const QString userDir = AppPaths::userDataDir();
        FolderState atKill;
        struct HookScope {
            ~HookScope() { Macro::saveStepHook() = nullptr; }
        } hookScope;
        Macro::saveStepHook() = [&] { atKill = folderState(userDir); };
        {
            ModalAnswerer answerer;
            answerer.on("MouseOffLine", ModalAnswerer::clickButton(QStringLiteral("NewHong")));
            DialogMain window;
            QVERIFY(loadFirstMouse(window));
            bindSleepAndSave(window, mouse, road.now);
            if (QTest::currentTestFailed())
                return;
            QVERIFY(!atKill.isEmpty());
            quitWithCloseButton(window);
        }
        restoreFolder(userDir, atKill);
        startAgain();

        QCOMPARE(HidSim_SetAwake(mouse, 1), 0);
        DialogMain window;
        QVERIFY(loadFirstMouse(window));
        QVERIFY(SimScript::deliverUntil([&] { return storedImage(mouse).mid(77, 3) == QByteArray("\x06\x01\xFD", 3); }));
        QCOMPARE(readAll(road.file), RecEdited);
        QCOMPARE(storedImage(mouse).mid(1548, 592), recordOfFile(QStringLiteral("Rec")));
        QVERIFY(!QFileInfo::exists(UnsentMacrosFilePath()));
        endRoad();
    }
};

QTEST_MAIN(ButtonMacroRoadTest)
#include "tst_button_macro_road.moc"
