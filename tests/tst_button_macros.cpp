// The button page's macro panel: one button per saved macro, a click binds the chosen key to
// it, and the keys bound to a macro follow its rename, edit and delete on the Macro page.
#include "DeviceLinkFixture.h"
#include "common/Fonts.h"
#include "common/MacroSetting.h"
#include "common/ProgramWaits.h"
#include "common/UserConfig.h"
#include "device/ButtonRecords.h"
#include "device/DeviceRecords.h"
#include "device/MacroFiles.h"
#include "device/MacroNames.h"
#include "device/SensorHeader.h"
#include "pages/buttons/Buttoninterface.h"
#include "support/ModalAnswerer.h"

#include "HIDUsbControl.h"

#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace linktest;

namespace {

void ignoreAnswers(unsigned char*, int, unsigned char*, unsigned int) {}

QByteArray imageBytes(const FlashDataMap& image)
{
    return QByteArray(reinterpret_cast<const char*>(&image), int(sizeof image));
}

QByteArray recordBytes(const MacroRecord& record)
{
    return QByteArray(reinterpret_cast<const char*>(&record), int(sizeof record));
}

const QByteArray FireText = "255\n0x04 1 0\n20ms\n0x04 1 1\n";

// Where a device key's binding and macro record sit in the image.
int bindingAt(int key) { return 74 + 3 * key; }
int recordAt(int key) { return 956 + 592 * key; }

}  // namespace

class ButtonMacrosTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_env;
    SimScript::Device m_mouse;
    FlashDataMap m_factory{};

    static QToolButton* button(QWidget& page, const QString& name)
    {
        auto* widget = page.findChild<QToolButton*>(name);
        if (!widget)
            qFatal("no widget %s", qPrintable(name));
        return widget;
    }
    static QString current(QWidget& page, const char* stack)
    {
        return page.findChild<QStackedWidget*>(QLatin1String(stack))->currentWidget()->objectName();
    }
    static QStringList macroTexts(const Buttoninterface& page)
    {
        QStringList texts;
        for (QToolButton* b : page.MacroButtons) {
            if (b->isEnabled())
                texts << b->text();
        }
        return texts;
    }
    static int placeholders(const Buttoninterface& page)
    {
        int count = 0;
        for (QToolButton* b : page.MacroButtons) {
            if (!b->isEnabled() && b->isHidden() && b->text().isEmpty())
                ++count;
        }
        return count;
    }
    static QToolButton* macroButton(const Buttoninterface& page, const QString& name)
    {
        for (QToolButton* b : page.MacroButtons) {
            if (b->isEnabled() && b->text() == name)
                return b;
        }
        qFatal("no macro button %s", qPrintable(name));
        return nullptr;
    }

    static void writeMacro(const QString& name, const QByteArray& text)
    {
        QDir().mkpath(MacroFolder());
        QFile file(MacroFilePath(MacroFolder(), name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    // Chooses the key, opens the macro list and clicks the macro.
    static void bind(Buttoninterface& page, const char* selector, const QString& macro)
    {
        button(page, QLatin1String(selector))->click();
        button(page, QStringLiteral("DPI_10"))->click();
        QCOMPARE(current(page, "stackedWidget_2"), QStringLiteral("page_5"));  // the macro list
        QToolButton* target = macroButton(page, macro);
        target->setChecked(false);
        target->click();
    }

    // The mouse holds `image`; the page is filled from it as after a load. (The page's
    // Worker names no device when it is made: the mouse is chosen after the page.)
    void load(const FlashDataMap& image, int modelIndex = 0)
    {
        DeviceAllInfo record;
        record.path = QString::fromLatin1(m_mouse.path);
        record.modelIndex = modelIndex;
        SetCurrentDeviceRecord(record);
        SetCurrentDevicePath(m_mouse.path);
        QCOMPARE(HidSim_SetImage(m_mouse.mouse, 0, reinterpret_cast<const uint8_t*>(&image)), 0);
        LoadWorkingImage(image);
        PostMsg::instance()->SendUpDataLightUIButton(image);
    }

    QByteArray stored() const
    {
        FlashDataMap image{};
        HidSim_GetImage(m_mouse.mouse, 0, reinterpret_cast<uint8_t*>(&image));
        return imageBytes(image);
    }
    int writes() const { return HidSim_WriteCount(m_mouse.mouse); }

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnv>();
        m_env->stageShippedData();
        MacroSetting::reload();
        installFontSubstitutions();  // the families the program draws with
        ProgramWaits::setWaitScale(0.01);
    }

    void cleanupTestCase()
    {
        ProgramWaits::setWaitScale(1);
        m_env.reset();
    }

    void init()
    {
        writeCatalogue(*m_env, "KeyNumber=8\nSensor=" + testcatalogue::encoded({QStringLiteral("3395")}) + "\n");
        UserConfig::reload();
        resetFlags();
        WriteEnabled = 1;
        HidSim_Reset();
        HidSim_SetZeroDelays(1);
        m_mouse = SimScript::addReceiverMouse(1);
        FlashDataMap image{};
        HidSim_GetImage(m_mouse.mouse, 0, reinterpret_cast<uint8_t*>(&image));
        m_factory = image;
        UsbServerC_Start(m_mouse.path.constData(), m_mouse.path.constData(), ignoreAnswers);
        HidSim_DeliverPending(2000);
        ChosenModelId = 6;  // shows the seventh key
        QDir(MacroFolder()).removeRecursively();
    }

    void cleanup()
    {
        UsbServer_Exit();
        ClearWorkingImage();
        ResetCurrentDevice();
    }

    // The panel lists the folder as the Macro page does, topped up to seven rows.
    void panelListsTheMacroFolder_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("placeholders");
        QTest::newRow("empty") << QStringList{} << QStringList{} << 0;
        QTest::newRow("two") << QStringList{"B.ini", "A.ini"} << QStringList{"A", "B"} << 5;
        QTest::newRow("seven") << QStringList{"1.ini", "2.ini", "3.ini", "4.ini", "5.ini", "6.ini", "7.ini"}
                               << QStringList{"1", "2", "3", "4", "5", "6", "7"} << 0;
        QTest::newRow("xml files") << QStringList{"A.ini", "x.xml", "y.xml"} << QStringList{"A"} << 6;
        QTest::newRow("double extension") << QStringList{"x.ini.ini"} << QStringList{"x.ini"} << 6;
    }

    void panelListsTheMacroFolder()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, buttons);
        QFETCH(int, placeholders);
        QDir().mkpath(MacroFolder());
        for (const QString& file : files) {
            QFile f(MacroFolder() + QLatin1Char('/') + file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("1\n");
        }
        Buttoninterface page;
        QCOMPARE(macroTexts(page), buttons);
        QCOMPARE(this->placeholders(page), placeholders);
        QCOMPARE(page.MacroButtons.size(), buttons.size() + placeholders);
    }

    // A name of 30 bytes fits its button, Latin letters or Japanese; a rename fits it again.
    void longNamesFitTheirButtons()
    {
        const QString latin = QStringLiteral("AbcdefghijklmnopqrstuvwxyzABCD");
        const QString japanese = QString::fromUtf8("コピー貼り付けコピー");
        QCOMPARE(MacroNameByteCount(latin), 30);
        QCOMPARE(MacroNameByteCount(japanese), 30);
        writeMacro(latin, "1\n");
        writeMacro(japanese, "1\n");
        writeMacro(QStringLiteral("A"), "1\n");
        Buttoninterface page;
        const auto fits = [](QToolButton* b) {
            return b->minimumWidth() == 174 && b->maximumWidth() == 174 && QFontMetrics(b->font()).horizontalAdvance(b->text()) <= 166;
        };
        page.show();
        QVERIFY(fits(macroButton(page, latin)));
        QVERIFY(fits(macroButton(page, japanese)));
        QCOMPARE(macroButton(page, QStringLiteral("A"))->font().pointSize(), 9);
        PostMsg::instance()->SendMacroRename(QStringLiteral("A"), QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWW"));
        QVERIFY(macroButton(page, QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWW"))->font().pointSizeF() < 9);
    }

    // A new list makes only the new name's button and drops a placeholder; the buttons of the
    // names that stay are kept in their places.
    void rebuildFollowsTheList()
    {
        writeMacro(QStringLiteral("A"), "1\n");
        writeMacro(QStringLiteral("B"), "1\n");
        Buttoninterface page;
        page.show();
        QList<QPointer<QToolButton>> old;
        for (QToolButton* b : page.MacroButtons)
            old << b;
        auto* contents = page.findChild<QWidget*>(QStringLiteral("scrollAreaWidgetContents_7"));
        const auto place = [contents](QToolButton* b) { return QRect(b->mapTo(contents, QPoint()), b->size()); };
        button(page, QStringLiteral("RightKey"))->click();
        button(page, QStringLiteral("DPI_10"))->click();
        QTRY_VERIFY(macroButton(page, QStringLiteral("B"))->isVisible());
        const QRect placeA = place(macroButton(page, QStringLiteral("A")));
        const QRect placeB = place(macroButton(page, QStringLiteral("B")));
        writeMacro(QStringLiteral("C"), "1\n");
        PostMsg::instance()->SendAddMacroButton();
        QCOMPARE(macroTexts(page), (QStringList{"A", "B", "C"}));
        QCOMPARE(placeholders(page), 4);
        // A and B keep their buttons; of the five placeholders the last one goes.
        QCOMPARE(page.MacroButtons.mid(0, 2), (QList<QToolButton*>{old.at(0), old.at(1)}));
        QTRY_VERIFY(old.at(6).isNull());
        QVERIFY(std::none_of(old.begin(), old.begin() + 6, [](const QPointer<QToolButton>& b) { return b.isNull(); }));
        // The buttons stand where they stood, the new one under them.
        QTRY_VERIFY(macroButton(page, QStringLiteral("C"))->isVisible());
        QCOMPARE(place(macroButton(page, QStringLiteral("A"))), placeA);
        QCOMPARE(place(macroButton(page, QStringLiteral("B"))), placeB);
        QCOMPARE(place(macroButton(page, QStringLiteral("C"))), placeB.translated(0, placeB.y() - placeA.y()));
        // One choice among the function buttons and the new macro buttons: a macro checked
        // unchecks a function, and the other way round.
        QToolButton* function = nullptr;
        for (QToolButton* candidate : page.findChild<QWidget*>(QStringLiteral("page_3"))->findChildren<QToolButton*>()) {
            if (candidate->isCheckable()) {
                function = candidate;
                break;
            }
        }
        QVERIFY(function);
        function->setChecked(true);
        macroButton(page, QStringLiteral("C"))->setChecked(true);
        QVERIFY(!function->isChecked());
        function->setChecked(true);
        QVERIFY(!macroButton(page, QStringLiteral("C"))->isChecked());
        // The same list once more: the same buttons, and no macro stays chosen.
        macroButton(page, QStringLiteral("C"))->setChecked(true);
        PostMsg::instance()->SendAddMacroButton();
        QCOMPARE(macroTexts(page), (QStringList{"A", "B", "C"}));
        QVERIFY(!macroButton(page, QStringLiteral("C"))->isChecked());
        QVERIFY(!function->isChecked());
        // The new buttons bind.
        load(m_factory);
        bind(page, "RightKey", QStringLiteral("C"));
        QCOMPARE(stored().mid(bindingAt(1), 1), QByteArray("\x06", 1));
    }

    // A rename that moves a name in the folder's order moves its button there; a delete drops
    // only the deleted macro's button. The other buttons stay, one under the other.
    void renameAndDeleteKeepTheOtherButtons()
    {
        for (const char* name : {"A", "B", "C"})
            writeMacro(QLatin1String(name), "1\n");
        Buttoninterface page;
        page.show();
        QToolButton* a = macroButton(page, QStringLiteral("A"));
        QToolButton* b = macroButton(page, QStringLiteral("B"));
        QToolButton* c = macroButton(page, QStringLiteral("C"));
        button(page, QStringLiteral("RightKey"))->click();
        button(page, QStringLiteral("DPI_10"))->click();
        QTRY_VERIFY(c->isVisible());
        const int rowStep = c->y() - b->y();
        QVERIFY(QFile::rename(MacroFilePath(MacroFolder(), QStringLiteral("A")), MacroFilePath(MacroFolder(), QStringLiteral("D"))));
        PostMsg::instance()->SendMacroRename(QStringLiteral("A"), QStringLiteral("D"));
        PostMsg::instance()->SendAddMacroButton();
        QCOMPARE(macroTexts(page), (QStringList{"B", "C", "D"}));
        QCOMPARE(page.MacroButtons.mid(0, 3), (QList<QToolButton*>{b, c, a}));
        QTRY_COMPARE(a->y() - c->y(), rowStep);
        QCOMPARE(c->y() - b->y(), rowStep);
        const QPointer<QToolButton> gone = b;
        QVERIFY(QFile::remove(MacroFilePath(MacroFolder(), QStringLiteral("B"))));
        PostMsg::instance()->SendDeleteMacroButton(page.MacroPrefixText + QStringLiteral("B"));
        QCOMPARE(macroTexts(page), (QStringList{"C", "D"}));
        QCOMPARE(placeholders(page), 5);
        QCOMPARE(page.MacroButtons.mid(0, 2), (QList<QToolButton*>{c, a}));
        QTRY_VERIFY(gone.isNull());
        QTRY_COMPARE(a->y() - c->y(), rowStep);
    }

    // A click sends the binding and the record to the chosen key; the selector names the macro.
    void clickBindsTheChosenKey_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QByteArray>("firstLine");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<int>("code");  // the key code the binding carries
        QTest::newRow("second key") << "RightKey" << QByteArray("255") << 1 << 1 << 255 << 1;
        QTest::newRow("seventh key") << "Button7" << QByteArray("255") << 6 << 9 << 255 << 6;
        QTest::newRow("eighth key") << "Button8" << QByteArray("255") << 7 << 11 << 255 << 11;
        QTest::newRow("count 3") << "BackKey" << QByteArray("3") << 2 << 2 << 3 << 2;
        QTest::newRow("300 plays once") << "RightKey" << QByteArray("300") << 1 << 1 << 1 << 1;
    }

    void clickBindsTheChosenKey()
    {
        QFETCH(QString, selector);
        QFETCH(QByteArray, firstLine);
        QFETCH(int, index);
        QFETCH(int, key);
        QFETCH(int, repeat);
        QFETCH(int, code);
        writeMacro(QStringLiteral("Fire"), firstLine + FireText.mid(3));
        Buttoninterface page;
        page.show();
        load(m_factory);
        const int before = writes();
        bind(page, qPrintable(selector), QStringLiteral("Fire"));
        QCOMPARE(writes(), before + 1);
        const QByteArray image = stored();
        QCOMPARE(image.mid(bindingAt(key), 3), QByteArray("\x06", 1) + char(code) + char(repeat));
        const QByteArray record = image.mid(recordAt(key), 592);
        QCOMPARE(record.left(5), QByteArray("\x04" "Fire", 5));
        QCOMPARE(record.mid(5, 26), QByteArray(26, '\0'));
        QCOMPARE(int(record.at(31)), 2);
        QCOMPARE(record.mid(32, 16), QByteArray("\x00\x01\x04\x00\x14\x00\x00\x00\x01\x01\x04\x00\x00\x00\x00\x00", 16));
        QCOMPARE(record.mid(48), QByteArray(592 - 48, '\0'));
        QCOMPARE(button(page, selector)->text(), page.MacroPrefixText + QStringLiteral("Fire"));
        QCOMPARE(page.MacroPrefixText, QStringLiteral("Macro_"));
        QCOMPARE(page.BindingType.at(index), 6);
        QCOMPARE(page.BindingCode1.at(index), code);
        QCOMPARE(page.BindingCode2.at(index), repeat);
        QCOMPARE(current(page, "stackedWidget"), QStringLiteral("page"));
        QCOMPARE(current(page, "stackedWidget_2"), QStringLiteral("page_9"));

        // Opening the key again shows the macro list with the macro checked (the eighth key is
        // never shown, so never opened).
        if (selector == QLatin1String("Button8"))
            return;
        macroButton(page, QStringLiteral("Fire"))->setChecked(false);
        button(page, selector)->click();
        QCOMPARE(current(page, "stackedWidget_2"), QStringLiteral("page_5"));
        QVERIFY(button(page, QStringLiteral("DPI_10"))->isChecked());
        QVERIFY(macroButton(page, QStringLiteral("Fire"))->isChecked());
    }

    // No key chosen, writes disabled, a file gone: nothing is sent and the views close.
    void clickSendsNothingWithoutKeyOrFile()
    {
        writeMacro(QStringLiteral("Fire"), FireText);
        Buttoninterface page;
        page.show();
        load(m_factory);
        const int before = writes();
        const QString right = button(page, QStringLiteral("RightKey"))->text();
        button(page, QStringLiteral("DPI_10"))->click();
        macroButton(page, QStringLiteral("Fire"))->click();
        QCOMPARE(current(page, "stackedWidget_2"), QStringLiteral("page_9"));

        WriteEnabled = 0;
        bind(page, "RightKey", QStringLiteral("Fire"));
        WriteEnabled = 1;
        QFile::remove(MacroFilePath(MacroFolder(), QStringLiteral("Fire")));
        bind(page, "RightKey", QStringLiteral("Fire"));
        QCOMPARE(writes(), before);
        QCOMPARE(button(page, QStringLiteral("RightKey"))->text(), right);
        QCOMPARE(page.BindingType.at(1), 1);
        QCOMPARE(current(page, "stackedWidget"), QStringLiteral("page"));
    }

    // A name that is no file name opens no file, even when one lies where it points.
    void namesThatAreNoFileNamesReadNothing()
    {
        QDir().mkpath(MacroFolder());
        QFile outside(MacroFolder() + QStringLiteral("/../x.ini"));
        QVERIFY(outside.open(QIODevice::WriteOnly));
        outside.write(FireText);
        outside.close();
        MacroRecord record{};
        QVERIFY(!Buttoninterface::ReadMacroFileRecord(QStringLiteral("../x"), &record));
        QCOMPARE(recordBytes(record), QByteArray(592, '\0'));
        QCOMPARE(Buttoninterface::ReadMacroRepeatValue(QStringLiteral("../x")), QStringLiteral("0"));

        // The repeat field as written; "0" for a missing or empty file.
        writeMacro(QStringLiteral("R"), "  300 x\n0x04 1 0\n");
        QCOMPARE(Buttoninterface::ReadMacroRepeatValue(QStringLiteral("R")), QStringLiteral("300"));
        writeMacro(QStringLiteral("R"), "\n");
        QCOMPARE(Buttoninterface::ReadMacroRepeatValue(QStringLiteral("R")), QString());
        writeMacro(QStringLiteral("R"), "");
        QCOMPARE(Buttoninterface::ReadMacroRepeatValue(QStringLiteral("R")), QStringLiteral("0"));
        QCOMPARE(Buttoninterface::ReadMacroRepeatValue(QStringLiteral("missing")), QStringLiteral("0"));
        // Only the repeat line: a record without events.
        writeMacro(QStringLiteral("R"), "5\n");
        QVERIFY(Buttoninterface::ReadMacroFileRecord(QStringLiteral("R"), &record));
        QCOMPARE(int(record.eventCount), 0);
    }

    // The only key with the left click keeps it; offline nothing changes but the notice.
    void clickRefusedOnLastLeftClickOrOffline()
    {
        writeMacro(QStringLiteral("Fire"), FireText);
        ModalAnswerer answerer;
        Buttoninterface page;
        page.show();
        load(m_factory);
        const int before = writes();
        button(page, QStringLiteral("Number1"))->click();
        button(page, QStringLiteral("DPI_10"))->click();
        macroButton(page, QStringLiteral("Fire"))->click();
        QVERIFY(answerer.waitForNext());
        QCOMPARE(answerer.handled(), QStringList{"LeftButtonOnly"});
        QCOMPARE(writes(), before);
        QCOMPARE(page.BindingType.at(0), 1);

        QSignalSpy offline(PostMsg::instance(), SIGNAL(SigMouseOffLineo(int)));
        const QString right = button(page, QStringLiteral("RightKey"))->text();
        button(page, QStringLiteral("RightKey"))->click();
        button(page, QStringLiteral("DPI_10"))->click();
        HidSim_SetAwake(m_mouse.mouse, 0);
        macroButton(page, QStringLiteral("Fire"))->setChecked(false);
        macroButton(page, QStringLiteral("Fire"))->click();
        QCOMPARE(offline.count(), 1);
        QCOMPARE(writes(), before);
        QCOMPARE(button(page, QStringLiteral("RightKey"))->text(), right);
        QCOMPARE(page.BindingType.at(1), 1);
    }

    // A rename follows to every key bound to the macro: text and record name, nothing else.
    void renameFollowsToEveryBoundKey()
    {
        writeMacro(QStringLiteral("LongMacroName"), FireText);
        Buttoninterface page;
        page.show();
        load(m_factory);
        bind(page, "RightKey", QStringLiteral("LongMacroName"));
        bind(page, "Button8", QStringLiteral("LongMacroName"));
        const QByteArray before = stored();
        PostMsg::instance()->SendMacroRename(QStringLiteral("LongMacroName"), QStringLiteral("Go"));
        const QByteArray after = stored();
        for (const char* selector : {"RightKey", "Button8"})
            QCOMPARE(button(page, QLatin1String(selector))->text(), QStringLiteral("Macro_Go"));
        for (int key : {1, 11}) {
            QCOMPARE(after.mid(recordAt(key), 31), QByteArray("\x02Go", 3) + QByteArray(28, '\0'));
            QCOMPARE(after.mid(recordAt(key) + 31, 592 - 31), before.mid(recordAt(key) + 31, 592 - 31));
            QCOMPARE(after.mid(bindingAt(key), 3), before.mid(bindingAt(key), 3));
        }
        // Nothing else changed.
        QByteArray expected = before;
        for (int key : {1, 11})
            expected.replace(recordAt(key), 31, after.mid(recordAt(key), 31));
        QCOMPARE(after, expected);
        QVERIFY(macroTexts(page).contains(QStringLiteral("Go")));
    }

    // A macro bound to two keys, renamed or given another repeat mode while the mouse sleeps:
    // the first refused write ends the change, with one offline report and nothing written.
    void offlineChangeOfATwiceBoundMacroStopsAtTheFirstRefusal()
    {
        writeMacro(QStringLiteral("Twice"), FireText);
        Buttoninterface page;
        page.show();
        load(m_factory);
        bind(page, "RightKey", QStringLiteral("Twice"));
        bind(page, "Button8", QStringLiteral("Twice"));
        const QByteArray before = stored();
        const int sent = writes();
        QSignalSpy offline(PostMsg::instance(), SIGNAL(SigMouseOffLineo(int)));
        HidSim_SetAwake(m_mouse.mouse, 0);

        PostMsg::instance()->SendMacroRename(QStringLiteral("Twice"), QStringLiteral("Once"));
        QCOMPARE(offline.count(), 1);
        writeMacro(QStringLiteral("Once"), FireText);
        PostMsg::instance()->SendUpDataMacro(QStringLiteral("Once"), 1);
        QCOMPARE(offline.count(), 2);
        QCOMPARE(writes(), sent);
        QCOMPARE(stored(), before);
        HidSim_SetAwake(m_mouse.mouse, 1);
    }

    // A "&" in a macro name is shown as written: it marks no shortcut letter on the panel or
    // the key, and the binding, rename and delete go by the name as the file has it.
    void ampersandNamesShowAndFollow()
    {
        const QString name = QStringLiteral("Copy&Paste");
        writeMacro(name, FireText);
        Buttoninterface page;
        page.show();
        load(m_factory);
        QToolButton* macro = page.MacroButtons.value(0);
        QVERIFY(macro && macro->isEnabled());
        QVERIFY(QKeySequence::mnemonic(macro->text()).isEmpty());
        QVERIFY(macro->shortcut().isEmpty());

        button(page, QStringLiteral("RightKey"))->click();
        button(page, QStringLiteral("DPI_10"))->click();
        macro->click();
        QCOMPARE(stored().mid(bindingAt(1), 1), QByteArray("\x06", 1));
        QCOMPARE(stored().mid(recordAt(1), 11), QByteArray("\x0A") + name.toUtf8());
        QToolButton* right = button(page, QStringLiteral("RightKey"));
        QVERIFY(QKeySequence::mnemonic(right->text()).isEmpty());
        QVERIFY(right->shortcut().isEmpty());
        // Opened again, the key shows its macro checked.
        macro->setChecked(false);
        right->click();
        QVERIFY(macro->isChecked());
        right->click();

        QVERIFY(QFile::rename(MacroFilePath(MacroFolder(), name), MacroFilePath(MacroFolder(), QStringLiteral("A&B"))));
        PostMsg::instance()->SendMacroRename(name, QStringLiteral("A&B"));
        QCOMPARE(stored().mid(recordAt(1), 4), QByteArray("\x03" "A&B"));
        QVERIFY(QKeySequence::mnemonic(right->text()).isEmpty());
        QVERIFY(QKeySequence::mnemonic(macro->text()).isEmpty());

        QFile::remove(MacroFilePath(MacroFolder(), QStringLiteral("A&B")));
        PostMsg::instance()->SendDeleteMacroButton(page.MacroPrefixText + QStringLiteral("A&B"));
        QCOMPARE(stored().mid(bindingAt(1), 3), imageBytes(m_factory).mid(bindingAt(1), 3));
    }

    // A new repeat mode goes to the keys of that macro only; an unreadable file sends nothing.
    void repeatChangeSendsOnlyTheRepeatByte()
    {
        writeMacro(QStringLiteral("Fire"), FireText);
        writeMacro(QStringLiteral("Other"), "254\n0x05 1 0\n0x05 1 1\n");
        Buttoninterface page;
        page.show();
        load(m_factory);
        bind(page, "Button7", QStringLiteral("Other"));
        bind(page, "Button8", QStringLiteral("Fire"));
        const QByteArray before = stored();
        const int sent = writes();
        writeMacro(QStringLiteral("Fire"), "7\n0x04 1 0\n20ms\n0x04 1 1\n");
        PostMsg::instance()->SendUpDataMacro(QStringLiteral("Fire"), 1);
        QByteArray expected = before;
        expected[109] = 7;
        QCOMPARE(stored(), expected);
        QCOMPARE(writes(), sent + 1);

        QFile::remove(MacroFilePath(MacroFolder(), QStringLiteral("Fire")));
        PostMsg::instance()->SendUpDataMacro(QStringLiteral("Fire"), 1);
        PostMsg::instance()->SendUpDataMacro(QStringLiteral("Other"), 2);
        QCOMPARE(writes(), sent + 1);
    }

    // Edited events reach every key bound to the macro after the wait, from the saved file.
    void editedEventsFollowAfterTheWait()
    {
        writeMacro(QStringLiteral("Fire"), FireText);
        Buttoninterface page;
        page.show();
        load(m_factory);
        bind(page, "RightKey", QStringLiteral("Fire"));
        bind(page, "BackKey", QStringLiteral("Fire"));
        // The Macro page answers the page's request with the saved file.
        QSignalSpy requests(PostMsg::instance(), SIGNAL(SigMacroDownLoadData(QString, int)));
        const int sent = writes();
        PostMsg::instance()->SendUpDataMacro(QStringLiteral("Fire"), 0);
        QCOMPARE(requests.count(), 0);  // not before the wait
        QTRY_COMPARE(requests.count(), 2);
        QCOMPARE(requests.at(0), (QVariantList{QStringLiteral("Fire"), 1}));
        QCOMPARE(requests.at(1), (QVariantList{QStringLiteral("Fire"), 2}));
        QCOMPARE(writes(), sent);
    }

    // A deleted macro's keys get their factory functions back; the image goes once more.
    void deleteRestoresFactoryFunctions_data()
    {
        QTest::addColumn<int>("model");      // MID
        QTest::addColumn<int>("modelIndex");  // its group in the shipped catalogue
        QTest::addColumn<QByteArray>("binding");
        QTest::addColumn<QByteArray>("combo");
        QTest::newRow("copy default") << 10 << 5 << QByteArray("\x05\x00\x00", 3)
                                      << QByteArray("\x04\x00\x00\x00"
                                                    "\x00\x00\x01\x00\x0A\x00\x00\x00"
                                                    "\x00\x01\x06\x00\x0A\x00\x00\x00"
                                                    "\x01\x01\x06\x00\x0A\x00\x00\x00"
                                                    "\x01\x00\x01\x00\x0A\x00\x00\x00",
                                                    36)
                                             + QByteArray(16, '\0');
        QTest::newRow("mouse back") << 1 << 0 << QByteArray("\x01\x08\x00", 3) << QByteArray(52, '\0');
    }

    void deleteRestoresFactoryFunctions()
    {
        QFETCH(int, model);
        QFETCH(int, modelIndex);
        QFETCH(QByteArray, binding);
        QFETCH(QByteArray, combo);
        QFile::remove(m_env->programDir() + QStringLiteral("/usersetting/Config.ini"));
        QVERIFY(QFile::copy(QStringLiteral(KAVRO_OUTPUT_DIR "/usersetting/Config.ini"),
                            m_env->programDir() + QStringLiteral("/usersetting/Config.ini")));
        UserConfig::reload();
        ChosenModelId = model;
        writeMacro(QStringLiteral("Fire"), FireText);
        Buttoninterface page;
        page.show();
        // A combination record left in the key's slot from before.
        FlashDataMap image = m_factory;
        image.combos[3] = BuildComboRecord(QStringLiteral("Alt+Tab"));
        load(image, modelIndex);
        bind(page, "TopMusic", QStringLiteral("Fire"));
        bind(page, "Button8", QStringLiteral("Fire"));
        const QByteArray eighth = stored().mid(bindingAt(11), 3);
        const int sent = writes();
        QFile::remove(MacroFilePath(MacroFolder(), QStringLiteral("Fire")));
        PostMsg::instance()->SendDeleteMacroButton(page.MacroPrefixText + QStringLiteral("Fire"));
        const QByteArray after = stored();
        QCOMPARE(after.mid(83, 3), binding);
        QCOMPARE(after.mid(124 + 52 * 3, 52), combo);
        QCOMPARE(writes(), sent + 2);  // the key's function, then the whole image
        // The eighth key has no factory function: it keeps the macro.
        QCOMPARE(after.mid(bindingAt(11), 3), eighth);
        QCOMPARE(button(page, QStringLiteral("Button8"))->text(), QStringLiteral("Macro_Fire"));
        QVERIFY(button(page, QStringLiteral("TopMusic"))->text() != QStringLiteral("Macro_Fire"));
        QCOMPARE(page.BindingType.at(3), int(binding.at(0)));
        QVERIFY(!button(page, QStringLiteral("TopMusic"))->isChecked());
        QCOMPARE(macroTexts(page), QStringList{});
    }

    void deleteOfAnUnboundMacroHandsTheImageOver()
    {
        writeMacro(QStringLiteral("Fire"), FireText);
        Buttoninterface page;
        page.show();
        load(m_factory);
        button(page, QStringLiteral("RightKey"))->click();
        const QByteArray before = stored();
        const int sent = writes();
        PostMsg::instance()->SendDeleteMacroButton(page.MacroPrefixText + QStringLiteral("Other"));
        QCOMPARE(writes(), sent + 1);
        QCOMPARE(stored(), before);
        QVERIFY(!button(page, QStringLiteral("RightKey"))->isChecked());
        QCOMPARE(current(page, "stackedWidget"), QStringLiteral("page"));
        // Without this mouse's configuration nothing is handed over.
        ClearWorkingImage();
        PostMsg::instance()->SendDeleteMacroButton(page.MacroPrefixText + QStringLiteral("Other"));
        QCOMPARE(writes(), sent + 1);
    }
};

QTEST_MAIN(ButtonMacrosTest)
#include "tst_button_macros.moc"
