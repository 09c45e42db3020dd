// The Macro page's recording through its window, its macro records to and from the simulated
// mouse, and macro exchange files through the page. Offscreen, a temporary home, notices
// answered by the modal driver, a fake key clock.
#include "support/HidSimScript.h"
#include "support/KeySender.h"
#include "support/ModalAnswerer.h"
#include "support/Wait.h"
#include "support/TestEnv.h"

#include "HIDUsbControl.h"
#include "common/LanguageFile.h"
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/KeyNames.h"
#include "device/MacroFiles.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"
#include "pages/macro/KeyClock.h"
#include "pages/macro/KeyHook.h"
#include "pages/macro/Macro.h"
#include "pages/macro/MacroExchangeFile.h"
#include "pages/macro/MacroFileChoice.h"

#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <cstring>
#include <memory>

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', "").replace('|', ""));
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList textsOf(const MacroRows& rows)
{
    QStringList texts;
    for (const MacroRow& r : rows)
        texts << (r.release ? r.text + '^' : r.text);
    return texts;
}

QStringList folderContents()
{
    return QDir(MacroFolder()).entryList(QDir::Files, QDir::Name);
}

}  // namespace

class MacroRecordingTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_env;
    qint64 m_now = 0;
    int m_mouse = -1;

    template <typename T>
    static T* child(Macro& page, const char* name)
    {
        return page.findChild<T*>(QString::fromLatin1(name));
    }
    QString path(const QString& name) const { return MacroFolder() + "/" + name + ".ini"; }
    void writeMacro(const QString& name, const QByteArray& text) const
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    // A shown, active page with the macro `name` chosen.
    std::unique_ptr<Macro> pageWith(const QString& name, const QByteArray& text = "1\n")
    {
        writeMacro(name, text);
        auto page = std::make_unique<Macro>();
        auto* list = child<QListWidget>(*page, "listWidgetHong");
        const auto found = list->findItems(name, Qt::MatchExactly);
        if (!found.isEmpty())
            list->setCurrentItem(found.first());
        page->show();
        page->activateWindow();
        if (!QTest::qWaitForWindowActive(page.get()))
            qWarning("page not active");
        return page;
    }
    void key(QWidget* page, const keys::Key& k, bool down, qint64 after = 0)
    {
        m_now += after;
        keys::send(page, down ? QEvent::KeyPress : QEvent::KeyRelease, k);
    }
    QByteArray stored() const { return SimScript::lastWrittenImage(m_mouse); }
    // The file the import's file dialog will give: these bytes in the home folder.
    void offerExchangeFile(const QByteArray& bytes)
    {
        const QString file = m_env->home() + "/x.bin";
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(bytes), qint64(bytes.size()));
        out.close();
        setMacroExchangeFileChooser([file](bool) { return file; });
    }

private slots:
    void initTestCase() { setKeyClock([this] { return m_now; }); }
    void cleanupTestCase() { setKeyClock({}); }

    void init()
    {
        m_env = std::make_unique<TestEnv>();
        m_env->stageShippedData({"Language", "Picture/WarningDialog", "Picture/Macro"});
        UserConfig::reload();
        MacroSetting::reload();
        MacroRecording = 0;
        QDir().mkpath(MacroFolder());
    }

    void cleanup()
    {
        MacroRecording = 0;
        setMacroExchangeFileChooser({});
        if (m_mouse >= 0) {
            UsbServer_Exit();
            ClearWorkingImage();
            ResetCurrentDevice();
            m_mouse = -1;
        }
        m_env.reset();
    }

    // ---- recording -------------------------------------------------------------------------

    void recordsKeysWithTheirDelays()
    {
        auto page = pageWith("Rec");
        child<QPushButton>(*page, "StartRecord")->click();
        const keys::Key a = keys::letter('A');
        const keys::Key b = keys::letter('B');
        key(page.get(), a, true, 1000);
        key(page.get(), a, false, 50);
        key(page.get(), b, true, 70);
        key(page.get(), b, false, 50);
        QCOMPARE(textsOf(page->rows()), (QStringList{"A", "50ms", "A^", "70ms", "B", "50ms", "B^"}));
        child<QPushButton>(*page, "StopRecord")->click();
        key(page.get(), a, true, 10);
        QCOMPARE(page->rows().size(), 7);
        QVERIFY(!KeyHook().installed());
    }

    void fixedDelayWhenNotMeasured()
    {
        auto page = pageWith("Rec");
        QTest::mouseClick(child<QCheckBox>(*page, "DefaultDelay"), Qt::LeftButton);
        child<QSpinBox>(*page, "DelayTime")->setValue(10);
        child<QPushButton>(*page, "StartRecord")->click();
        keys::tap(page.get(), keys::letter('A'));
        m_now += 300;
        keys::tap(page.get(), keys::letter('B'));
        QCOMPARE(textsOf(page->rows()), (QStringList{"A", "10ms", "A^", "10ms", "B", "10ms", "B^"}));
        PostMsg::instance()->SendSetMacroPage();
        QVERIFY(!KeyHook().installed());
        keys::tap(page.get(), keys::letter('C'));
        QCOMPARE(page->rows().size(), 7);
    }

    void seventiethKeyEndsTheRecording()
    {
        auto page = pageWith("Rec");
        ModalAnswerer answerer;
        answerer.on("KeyNumberLimit", ModalAnswerer::clickButton("NewHong"));
        child<QPushButton>(*page, "StartRecord")->click();
        for (int i = 0; i < 35; ++i)
            keys::tap(page.get(), keys::letter('A'));
        QVERIFY(!MacroRecording);
        QVERIFY(answerer.waitForCount(1));
        QCOMPARE(answerer.handled(), QStringList{"KeyNumberLimit"});
        keys::tap(page.get(), keys::letter('B'));
        QCOMPARE(page->rows().size(), 139);
        // The page keeps its recording look until Stop.
        QVERIFY(child<QPushButton>(*page, "StopRecord")->isVisible());
        child<QPushButton>(*page, "StopRecord")->click();
        QVERIFY(child<QPushButton>(*page, "StartRecord")->isVisible());
        QVERIFY(child<QListWidget>(*page, "listWidgetHong")->isEnabled());
    }

    // ---- records to and from the mouse ------------------------------------------------------

    void startMouse()
    {
        ResetCurrentDevice();
        ButtonPageBusy = 0;
        const SimScript::Device device = SimScript::addReceiverMouse(1);
        m_mouse = device.mouse;
        SetCurrentDevicePath(device.path);
        SimScript::openQuietLink(device.path);
        FlashDataMap image{};
        image.buttons[11] = ButtonBinding{6, 11, 255};
        image.buttons[0] = ButtonBinding{1, 1, 0};
        SetWorkingImage(image);
        SetWorkingImageLoaded(true);
        WriteEnabled = 1;
    }

    void savedMacroGoesToTheMouse()
    {
        startMouse();
        auto page = pageWith("Fire", "1\n0x04 1 0\n20ms\n0x04 1 1\n");
        writeMacro("Other", "1\n");
        const FlashDataMap before = WorkingImageCopy();
        const int writes = HidSim_WriteCount(m_mouse);
        PostMsg::instance()->SendMacroDownLoadData(QStringLiteral("Fire"), 11);
        QCOMPARE(HidSim_WriteCount(m_mouse), writes + 1);
        const QByteArray image = stored();
        QCOMPARE(image.mid(7468, 592), hex("04 46 69 72 65") + QByteArray(26, 0) + hex("02") +
                                           hex("00 01 04 00 14 00 00 00 01 01 04 00 00 00 00 00") + QByteArray(544, 0));
        QByteArray rest = image;
        QByteArray expected(reinterpret_cast<const char*>(&before), int(sizeof before));
        rest.replace(7468, 592, QByteArray(592, 0));
        expected.replace(7468, 592, QByteArray(592, 0));
        QCOMPARE(rest, expected);  // the binding at 107..109 and everything else unchanged

        // NULs in the name, another entry current and unsaved edits: the saved file still goes.
        child<QListWidget>(*page, "listWidgetHong")->setCurrentRow(1);
        page->InsertKeyEvent("B", true);
        PostMsg::instance()->SendMacroDownLoadData(QStringLiteral("Fi") + QChar(0) + "re", 11);
        QCOMPARE(HidSim_WriteCount(m_mouse), writes + 2);
        QCOMPARE(stored().mid(7468, 592), image.mid(7468, 592));
    }

    void nothingGoesWithoutAMacro_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("writeEnabled");
        QTest::newRow("writes not enabled") << "Fire" << 11 << false;
        QTest::newRow("no file") << "Missing" << 11 << true;
        QTest::newRow("button 16") << "Fire" << 16 << true;
        QTest::newRow("../x") << "../x" << 11 << true;
    }

    void nothingGoesWithoutAMacro()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(bool, writeEnabled);
        startMouse();
        auto page = pageWith("Fire", "1\n0x04 1 0\n");
        WriteEnabled = writeEnabled;
        const int writes = HidSim_WriteCount(m_mouse);
        PostMsg::instance()->SendMacroDownLoadData(name, index);
        QCOMPARE(HidSim_WriteCount(m_mouse), writes);
    }

    void offlineMouseShowsOneNotice()
    {
        startMouse();
        auto page = pageWith("Fire", "1\n0x04 1 0\n");
        QSignalSpy offline(PostMsg::instance(), SIGNAL(SigMouseOffLineo(int)));
        QCOMPARE(HidSim_SetAwake(m_mouse, 0), 0);
        const int writes = HidSim_WriteCount(m_mouse);
        PostMsg::instance()->SendMacroDownLoadData(QStringLiteral("Fire"), 11);
        QCOMPARE(offline.count(), 1);
        QCOMPARE(HidSim_WriteCount(m_mouse), writes);
    }

    void macroFromTheMouse()
    {
        auto page = pageWith("Alpha", "253\n");
        QVERIFY(child<QAbstractButton>(*page, "ReUntil")->isChecked());
        writeMacro("Zeta", "1\n");
        writeMacro("Test", "2\n");
        FlashDataMap image{};
        image.macros[9] = MacroRecordFromRows("Test", {{"A", false}, {"20ms", false}, {"A", true}});
        QSignalSpy added(PostMsg::instance(), SIGNAL(SigAddMacroButton()));
        PostMsg::instance()->SendButtonToMacro(image, 9);
        QCOMPARE(readAll(path("Test")), QByteArray("2\n0x04 1 0\n20ms\n0x04 1 1\n"));
        QCOMPARE(added.count(), 1);
        auto* list = child<QListWidget>(*page, "listWidgetHong");
        QVERIFY(!list->findItems("Test", Qt::MatchExactly).isEmpty());
        // Nothing unsaved: the page ends with no macro chosen and no rows, and no repeat mode
        // of the macro chosen before.
        QCOMPARE(list->currentRow(), -1);
        QVERIFY(page->rows().isEmpty());
        for (const char* mode : {"ReUntil", "ReUntilLoose", "ReUntilClick", "ReNumber"})
            QVERIFY2(!child<QAbstractButton>(*page, mode)->isChecked(), mode);
    }

    void newMacroFromTheMouseIsListedAfterTheCurrentOne()
    {
        auto page = pageWith("Alpha");
        writeMacro("Beta", "1\n");
        page.reset();
        page = pageWith("Alpha");
        writeMacro("New", "1\n");
        FlashDataMap image{};
        image.macros[3] = MacroRecordFromRows("New", {});
        page->InsertKeyEvent("B", true);  // unsaved edits: list and selection stay
        PostMsg::instance()->SendButtonToMacro(image, 3);
        auto* list = child<QListWidget>(*page, "listWidgetHong");
        QCOMPARE(list->item(1)->text(), QStringLiteral("New"));
        QCOMPARE(list->currentItem()->text(), QStringLiteral("Alpha"));
        QCOMPARE(textsOf(page->rows()), (QStringList{"10ms", "B"}));
        QCOMPARE(readAll(path("New")), QByteArray("1\n"));  // count 0: the file unchanged
    }

    void recordsFromTheMouseThatListNothing()
    {
        auto page = pageWith("Alpha");
        QSignalSpy added(PostMsg::instance(), SIGNAL(SigAddMacroButton()));
        FlashDataMap image{};
        // A count byte of 200 reads as 70 events; no file: none created.
        image.macros[2] = MacroRecordFromRows("Long", {{"A", false}});
        image.macros[2].eventCount = 200;
        // A name that cannot be a file name lists nothing.
        std::memcpy(image.macros[4].name, "../x", 4);
        image.macros[4].nameLength = 4;
        PostMsg::instance()->SendButtonToMacro(image, 2);
        PostMsg::instance()->SendButtonToMacro(image, 4);
        PostMsg::instance()->SendButtonToMacro(image, 16);
        QCOMPARE(added.count(), 2);
        QCOMPARE(folderContents(), QStringList{"Alpha.ini"});
        writeMacro("Long", "1\n");
        PostMsg::instance()->SendButtonToMacro(image, 2);
        QCOMPARE(readAll(path("Long")).count("0x"), 70);
        QCOMPARE(child<QListWidget>(*page, "listWidgetHong")->count(), 2);
    }

    // ---- exchange files ----------------------------------------------------------------------

    void exportsTheShownMacro()
    {
        auto page = pageWith("Fire", "255\n0x04 1 0\n15ms\n0x04 1 1\n");
        const QString file = m_env->home() + "/Fire.ini";
        setMacroExchangeFileChooser([&](bool save) { return save ? file : QString(); });
        QMetaObject::invokeMethod(page.get(), "ExPortMacro");
        QVERIFY(runQueuedWork());
        const QByteArray bytes = readAll(file);
        QVERIFY(bytes.startsWith(hex("0000000C") + "Trelm" + QByteArray(7, 0) + hex("00000030") + "Fire" +
                                 QByteArray(44, 0) + hex("0000000C") + "255" + QByteArray(9, 0) + hex("00000003")));
        MacroExchange expected{"Fire", "255", {}};
        auto* rows = child<QListWidget>(*page, "listWidgetKey");
        for (int i = 0; i < rows->count(); ++i)
            expected.items.append({rows->item(i)->text(), rows->item(i)->icon(), rows->item(i)->type() == 1});
        QCOMPARE(bytes, MacroExchangeBytes(expected));

        QTest::mouseClick(child<QCheckBox>(*page, "ReNumber"), Qt::LeftButton);
        child<QSpinBox>(*page, "NumberEdit")->setValue(5);
        QMetaObject::invokeMethod(page.get(), "ExPortMacro");
        QVERIFY(runQueuedWork());
        QCOMPARE(ReadMacroExchangeFile(file)->repeat, QStringLiteral("5"));

        ModalAnswerer answerer;
        answerer.on("InportFail", ModalAnswerer::clickButton("NewHong"));
        const QString missing = m_env->home() + "/no/such/Fire.ini";
        setMacroExchangeFileChooser([&](bool) { return missing; });
        QMetaObject::invokeMethod(page.get(), "ExPortMacro");
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.handled(), QStringList{"InportFail"});
        QVERIFY(!QFile::exists(missing));
    }

    void importsAWholeFile()
    {
        auto page = pageWith("Alpha");
        offerExchangeFile(MacroExchangeBytes({"Fire", "255", {{"A", {}, false}, {"15ms", {}, false}, {"A", {}, true}}}));
        QMetaObject::invokeMethod(page.get(), "InPortMacro");
        QVERIFY(runQueuedWork());
        QCOMPARE(readAll(path("Fire")), QByteArray("255\n0x04 1 0\n15ms\n0x04 1 1\n"));
        QCOMPARE(page->currentMacroName(), QStringLiteral("Fire"));
        QVERIFY(child<QCheckBox>(*page, "ReUntilClick")->isChecked());
        QCOMPARE(textsOf(page->rows()), (QStringList{"A", "15ms", "A^"}));

        ModalAnswerer answerer;
        answerer.on("SameMacro", ModalAnswerer::clickButton("NewHong"));
        QMetaObject::invokeMethod(page.get(), "InPortMacro");
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.handled(), QStringList{"SameMacro"});

        // A macro without items is a macro: its file holds the repeat line only.
        offerExchangeFile(MacroExchangeBytes({"Empty", "255", {}}));
        QMetaObject::invokeMethod(page.get(), "InPortMacro");
        QVERIFY(runQueuedWork());
        QCOMPARE(readAll(path("Empty")), QByteArray("255\n"));
        QCOMPARE(page->currentMacroName(), QStringLiteral("Empty"));
        QVERIFY(page->rows().isEmpty());
    }

    void importKeepsKnownNamesOnly()
    {
        auto page = pageWith("Alpha");
        QString japaneseRight;
        loadLanguageSection(5, QStringLiteral("Macro"), {QStringLiteral("ChooseEvent5")},
                            [&](const QString&, const QString& text) { japaneseRight = text; });
        offerExchangeFile(MacroExchangeBytes({"Mix", "3", {{japaneseRight, {}, false}, {"5ms", {}, false}, {"Foo", {}, true},
                                                           {"5ms", {}, false}, {"A", {}, true}}}));
        QMetaObject::invokeMethod(page.get(), "InPortMacro");
        QVERIFY(runQueuedWork());
        QCOMPARE(textsOf(page->rows()), (QStringList{MouseButtonNames[1], "5ms", "5ms", "A^"}));
    }

    void damagedFilesImportNothing_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QByteArray whole = MacroExchangeBytes({"Fire", "255", {{"A", {}, false}}});
        QByteArray otherTag = whole;
        otherTag.replace(4, 5, "Other");
        QTest::newRow("other maker") << otherTag;
        QTest::newRow("cut inside an item") << whole.left(whole.size() - 2);
        QTest::newRow("name ../x") << MacroExchangeBytes({"../x", "255", {}});
    }

    void damagedFilesImportNothing()
    {
        QFETCH(QByteArray, data);
        auto page = pageWith("Alpha");
        offerExchangeFile(data);
        ModalAnswerer answerer;
        answerer.on("InportFail", ModalAnswerer::clickButton("NewHong"));
        QMetaObject::invokeMethod(page.get(), "InPortMacro");
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.handled(), QStringList{"InportFail"});
        QCOMPARE(folderContents(), QStringList{"Alpha.ini"});
        QCOMPARE(child<QListWidget>(*page, "listWidgetHong")->count(), 1);
    }
};

QTEST_MAIN(MacroRecordingTest)
#include "tst_macro_recording.moc"
