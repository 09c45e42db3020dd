// The settings page: what it shows after it is built, the receiver areas for each model and
// device, receiver light and long-range writes reaching the simulated receiver, the version
// display, start with the system, the desktop's mouse settings, languages and the company
// file, scrolling and the web link.
#include "ShellTestSupport.h"

#include "common/AppPaths.h"
#include "common/LanguageFile.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "dialogs/Progress.h"
#include "dialogs/UpDateWarning.h"
#include "pages/settings/AutoStart.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/MouseSettingsLauncher.h"
#include "support/HidSimScript.h"
#include "support/ModalAnswerer.h"
#include "support/UrlCatcher.h"

#include "HIDUsbControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace shelltest;

namespace {

// Shipped catalogue models: 1 (MID 2) long range and light, 2 (MID 4) neither, 3 (MID 5) long range only.
constexpr int BothFeatures = 1;
constexpr int NoFeatures = 2;

bool shown(QWidget* page, const char* name)
{
    return child<QWidget>(page, name)->isVisibleTo(page);
}

bool longRangeShown(QWidget* page)
{
    return shown(page, "checkBox_2") && shown(page, "label_11") && shown(page, "textEdit") && shown(page, "TitleButton_6");
}

bool lightShown(QWidget* page)
{
    return shown(page, "ReUntil") && shown(page, "ReUntil_2") && shown(page, "ReUntil_3") && shown(page, "label_14")
        && shown(page, "textEdit_2") && shown(page, "TitleButton_7");
}

// The company link and line lie inside the page's contents and clear of every separator.
bool companyTextsClear(QWidget* page, QSize contents)
{
    for (const char* name : {"pushButton_3", "pushButton_4"}) {
        const QRect text = child<QWidget>(page, name)->geometry();
        if (!QRect(QPoint(0, 0), contents).contains(text))
            return false;
        for (const char* line : {"line", "line_2", "line_3", "line_4", "line_5"})
            if (text.intersects(child<QWidget>(page, line)->geometry()))
                return false;
    }
    return true;
}

bool compact(QWidget* page)
{
    return child<QWidget>(page, "scrollAreaWidgetContents")->maximumSize() == QSize(854, 584)
        && child<QWidget>(page, "pushButton_3")->pos() == QPoint(600, 530)
        && child<QWidget>(page, "pushButton_4")->pos() == QPoint(480, 550) && companyTextsClear(page, QSize(854, 584));
}

bool full(QWidget* page)
{
    return child<QWidget>(page, "scrollAreaWidgetContents")->maximumSize() == QSize(854, 820)
        && child<QWidget>(page, "pushButton_3")->pos() == QPoint(600, 720)
        && child<QWidget>(page, "pushButton_4")->pos() == QPoint(480, 740) && companyTextsClear(page, QSize(854, 820));
}

DeviceAllInfo receiverRecord(int model, uint8_t kind, uint8_t cableFlag = 0)
{
    DeviceAllInfo r;
    r.modelIndex = model;
    r.kind = kind;
    r.cableFlag = cableFlag;
    r.online = 1;
    return r;
}

// The Exec line's program, read back as a desktop would: the string escapes first, then the
// quoted argument.
QString execProgram(const QByteArray& entry)
{
    QString line;
    for (const QString& l : QString::fromUtf8(entry).split(QLatin1Char('\n')))
        if (l.startsWith(QStringLiteral("Exec=")))
            line = l.mid(5);
    QString value;
    for (int i = 0; i < line.size(); ++i) {
        if (line.at(i) == QLatin1Char('\\') && i + 1 < line.size()) {
            const QChar n = line.at(++i);
            value += n == QLatin1Char('n') ? QChar('\n') : n == QLatin1Char('t') ? QChar('\t') : n;
        } else {
            value += line.at(i);
        }
    }
    if (!value.startsWith(QLatin1Char('"')) || !value.endsWith(QLatin1Char('"')))
        return QStringLiteral("<not quoted>");
    QString program;
    for (int i = 1; i < value.size() - 1; ++i) {
        QChar c = value.at(i);
        if (c == QLatin1Char('\\'))
            c = value.at(++i);
        else if (c == QLatin1Char('%'))
            ++i;  // "%%" is one percent sign
        program += c;
    }
    return program;
}

}  // namespace

class SettingsPageTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnv>();
        m_env->stageShippedData();
        UserConfig::reload();
        MacroSetting::reload();
        Registry::setBaseFolder(m_env->home() + QStringLiteral("/registry"));
        MouseSettingsLauncher::setCommandTable({});
        WriteEnabled = 1;
        ResetCurrentDevice();
        MainPageDeviceList.clear();
    }
    void cleanup()
    {
        MouseSettingsLauncher::setCommandTable(MouseSettingsLauncher::shippedTable());
        Registry::setBaseFolder(QString());
        m_env.reset();
    }

    // The page lies on the frame's own background: it draws no edge around itself.
    void pageDrawsNoEdgeOfItsOwn()
    {
        FormSetting page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        const QImage image = page.findChild<QFrame*>(QStringLiteral("FrameSetting"))->grab().toImage();
        // Left and bottom edges, away from every control, against the pixels just inside.
        const int bottom = image.height() - 1;
        QCOMPARE(image.pixelColor(0, image.height() / 2), image.pixelColor(3, image.height() / 2));
        QCOMPARE(image.pixelColor(image.width() / 2, bottom), image.pixelColor(image.width() / 2, bottom - 3));
    }

    void builtState()
    {
        MacroSetting::instance()->setValue(QStringLiteral("AutoStart"), QStringLiteral("Enable"), QStringLiteral("1"));
        MacroSetting::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("4"));
        FormSetting page;
        QCOMPARE(page.size(), QSize(883, 630));
        QVERIFY(!longRangeShown(&page) && !shown(&page, "checkBox_2"));
        QVERIFY(!shown(&page, "ReUntil") && !shown(&page, "label_14"));
        for (const char* hidden : {"Receive", "NewLabel", "toolButton_2", "label_12", "toolButton_3", "label_13"})
            QVERIFY2(!shown(&page, hidden), hidden);
        QVERIFY(shown(&page, "Mouse"));
        QVERIFY(compact(&page));
        QVERIFY(child<QCheckBox>(&page, "checkBox")->isChecked());
        QCOMPARE(child<QComboBox>(&page, "comboBox")->currentIndex(), 4);
        QCOMPARE(child<QComboBox>(&page, "comboBox")->count(), 6);
        // No mouse settings on this desktop: the link and its icon are gone.
        QVERIFY(!shown(&page, "pushButton") && !shown(&page, "toolButton"));
        QVERIFY(page.progressDialog() && !page.progressDialog()->parent());
        QVERIFY(page.warningDialog() && !page.warningDialog()->parent());
    }

    // What the device side's signals do to the receiver areas; each row is one sequence.
    void receiverAreas_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("cable");
        QTest::addColumn<QString>("steps");  // F SigForm, B SigFormB, R SigRGBValue(2), L SigLongRangeMode(true), X SigFormReset,
                                             // M SigMouseIndex (a tile chosen)
        QTest::addColumn<bool>("longRange");
        QTest::addColumn<bool>("light");
        QTest::addColumn<bool>("fullLayout");
        QTest::addColumn<bool>("mode2Checked");
        QTest::newRow("no features: nothing shows") << NoFeatures << 1 << 0 << "FRL" << false << false << false << false;
        QTest::newRow("cable: form hides both") << BothFeatures << 2 << 1 << "FR" << false << false << false << false;
        QTest::newRow("cable: long range comes back") << BothFeatures << 2 << 1 << "FRL" << true << false << false << false;
        QTest::newRow("light answer after the load") << BothFeatures << 1 << 0 << "FR" << true << true << true << true;
        // A load sends its light answer before its form: the area stays shown, until another
        // tile is chosen or the pages are reset.
        QTest::newRow("light answer before the load's form")
            << BothFeatures << 1 << 0 << "RLF" << true << true << true << true;
        QTest::newRow("light answer, then form B") << BothFeatures << 1 << 0 << "RFB" << true << true << true << true;
        QTest::newRow("another tile after a light answer")
            << BothFeatures << 1 << 0 << "RFMF" << true << false << false << true;
        QTest::newRow("reset after a light answer") << BothFeatures << 1 << 0 << "RXF" << true << false << false << true;
        QTest::newRow("light answer of a model without light")
            << NoFeatures << 1 << 0 << "RF" << false << false << false << false;
        QTest::newRow("form B leaves hidden long range hidden") << BothFeatures << 1 << 0 << "B" << false << false << false
                                                                << false;
        QTest::newRow("form shows long range") << BothFeatures << 1 << 0 << "F" << true << false << false << false;
        QTest::newRow("reset hides all") << BothFeatures << 1 << 0 << "FRLX" << false << false << false << true;
    }
    void receiverAreas()
    {
        QFETCH(int, model);
        QFETCH(int, kind);
        QFETCH(int, cable);
        QFETCH(QString, steps);
        QFETCH(bool, longRange);
        QFETCH(bool, light);
        QFETCH(bool, fullLayout);
        QFETCH(bool, mode2Checked);
        WriteEnabled = 0;  // the areas only; writes have their own test
        makeCurrent("sim:usb:0000", receiverRecord(model, uint8_t(kind), uint8_t(cable)));
        FormSetting page;
        DongleRGB rgb{};
        rgb.bytes[0] = 2;
        for (const QChar step : steps) {
            switch (step.toLatin1()) {
            case 'F': page.SlotForm(); break;
            case 'B': page.SlotFormB(); break;
            case 'R': page.SlotRGBValue(&rgb); break;
            case 'L': page.SlotLongRangeMode(true); break;
            case 'X': page.SlotFormResetForm(); break;
            case 'M': page.SlotMouseIndex(1); break;
            }
        }
        QCOMPARE(longRangeShown(&page), longRange);
        QCOMPARE(lightShown(&page), light);
        QCOMPARE(full(&page), fullLayout);
        QCOMPARE(compact(&page), !fullLayout);
        QCOMPARE(child<QCheckBox>(&page, "ReUntil_2")->isChecked(), mode2Checked);
        if (steps.endsWith(QLatin1Char('X')))
            QVERIFY(!child<QCheckBox>(&page, "checkBox_2")->isChecked());
    }

    // The receiver's light and long-range modes reach the simulated receiver; an asleep mouse
    // gets the offline notice; with writes disabled nothing is sent.
    void receiverWrites()
    {
        const SimScript::Device d = SimScript::addReceiverMouse(2, 1, true, true);
        DeviceAllInfo record = receiverRecord(BothFeatures, 1);
        makeCurrent(d.path, record);
        FormSetting page;
        page.SlotForm();
        DongleRGB rgb{};
        rgb.bytes[0] = 2;
        QCOMPARE(HidSim_LightMode(d.interface), 1);
        page.SlotRGBValue(&rgb);
        QCOMPARE(HidSim_LightMode(d.interface), 2);  // the reported mode goes back to the receiver

        child<QCheckBox>(&page, "ReUntil_3")->click();
        QCOMPARE(HidSim_LightMode(d.interface), 3);
        child<QCheckBox>(&page, "checkBox_2")->click();
        QCOMPARE(HidSim_LongRangeMode(d.interface), 1);
        child<QCheckBox>(&page, "checkBox_2")->click();
        QCOMPARE(HidSim_LongRangeMode(d.interface), 0);

        QSignalSpy offline(PostMsg::instance(), SIGNAL(SigMouseOffLineo(int)));
        HidSim_SetAwake(d.mouse, 0);
        child<QCheckBox>(&page, "ReUntil")->click();
        child<QCheckBox>(&page, "checkBox_2")->click();
        QCOMPARE(offline.count(), 3);  // ReUntil_3 unchecked, ReUntil checked, the long-range box
        QCOMPARE(offline.first().first().toInt(), 0);
        QCOMPARE(HidSim_LightMode(d.interface), 3);
        QCOMPARE(HidSim_LongRangeMode(d.interface), 0);
        // A refused choice shows the receiver's own state again.
        QVERIFY(child<QCheckBox>(&page, "ReUntil_3")->isChecked());
        QVERIFY(!child<QCheckBox>(&page, "ReUntil")->isChecked());
        QVERIFY(!child<QCheckBox>(&page, "checkBox_2")->isChecked());

        HidSim_SetAwake(d.mouse, 1);
        WriteEnabled = 0;
        HidSim_ClearCallLog();
        child<QCheckBox>(&page, "ReUntil_2")->click();
        child<QCheckBox>(&page, "checkBox_2")->click();
        QCOMPARE(SimScript::callLog(), QStringList());
    }

    void versionDisplay_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("online");
        QTest::addColumn<int>("cable");
        QTest::addColumn<int>("listed");
        QTest::addColumn<QString>("receiver");
        QTest::addColumn<QString>("mouse");
        QTest::newRow("offline receiver") << 0 << 0 << 0 << 0 << "v2.1" << "";
        QTest::newRow("receiver") << 0 << 1 << 0 << 0 << "v2.1" << "v1.5";
        QTest::newRow("cable, list of 2") << 0 << 1 << 1 << 2 << "v3.0" << "v1.5";
        QTest::newRow("cable, list of 3") << 0 << 1 << 1 << 3 << "" << "v1.5";
        QTest::newRow("cleared") << 6 << 1 << 0 << 0 << "" << "";
        QTest::newRow("7 changes nothing") << 7 << 1 << 0 << 0 << "old" << "old";
        QTest::newRow("-1 changes nothing") << -1 << 1 << 0 << 0 << "old" << "old";
    }
    void versionDisplay()
    {
        QFETCH(int, index);
        QFETCH(int, online);
        QFETCH(int, cable);
        QFETCH(int, listed);
        QFETCH(QString, receiver);
        QFETCH(QString, mouse);
        DeviceAllInfo r = receiverRecord(BothFeatures, cable ? 2 : 1, uint8_t(cable));
        r.online = uint8_t(online);
        r.firmwareVersion = QStringLiteral("v2.1");
        r.mouseVersion = QStringLiteral("v1.5");
        makeCurrent("sim:usb:0000", r);
        DeviceAllInfo beside;
        beside.statusBytes = {1, 2, 3};
        beside.kind = 0;
        beside.firmwareVersion = QStringLiteral("v3.0");
        for (int i = 1; i < listed; ++i)
            MainPageDeviceList << beside;
        if (listed)
            MainPageDeviceList.prepend(CurrentDeviceRecord());
        FormSetting page;
        child<QLabel>(&page, "label_5")->setText(QStringLiteral("old"));
        child<QLabel>(&page, "label_7")->setText(QStringLiteral("old"));
        page.SetVer(index);
        MainPageDeviceList.clear();
        QCOMPARE(child<QLabel>(&page, "label_5")->text(), receiver);
        QCOMPARE(child<QLabel>(&page, "label_7")->text(), mouse);
    }

    // With images in "/bin", the update buttons are marked; without the folder, styles stay.
    void updateMarks()
    {
        makeCurrent("sim:usb:0000", [] {
            DeviceAllInfo r = receiverRecord(0, 0);
            r.firmwareVersion = QStringLiteral("v1.0");
            r.mouseVersion = QStringLiteral("v1.0");
            return r;
        }());
        FormSetting page;
        const QString before = child<QWidget>(&page, "Mouse")->styleSheet();
        page.SetVer(0);
        QCOMPARE(child<QWidget>(&page, "Mouse")->styleSheet(), before);
        const QString cid = UserConfig::instance()->value(QStringLiteral("Option"), QStringLiteral("CID"));
        const QString mm = UserConfig::instance()->value(QStringLiteral("Drive1"), QStringLiteral("MM"));
        const QString dm = UserConfig::instance()->value(QStringLiteral("Drive1"), QStringLiteral("DM"));
        m_env->writeProgramFile(QStringLiteral("bin/m.bin"), SimScript::makeFirmware(0x0102, 210, uint8_t(cid.toInt()), 1, mm.toLatin1()));
        page.SetVer(0);
        QVERIFY(child<QWidget>(&page, "Mouse")->styleSheet().contains(QStringLiteral("WaitUpdate.png")));
        QVERIFY(child<QWidget>(&page, "Receive")->styleSheet().contains(QStringLiteral("Confirm.png")));
        QCOMPARE(int(MouseNewFirmware), 1);
        m_env->writeProgramFile(QStringLiteral("bin/r.bin"), SimScript::makeFirmware(0x0102, 211, uint8_t(cid.toInt()), 1, dm.toLatin1()));
        page.SetVer(0);
        QVERIFY(child<QWidget>(&page, "Receive")->styleSheet().contains(QStringLiteral("WaitUpdate.png")));
        QCOMPARE(int(ReceiverUpdateAvailable), 1);

        page.SlotLabelText(0, QStringLiteral("v9.1"));
        page.SlotLabelText(1, QStringLiteral("v8.2"));
        QCOMPARE(CurrentDeviceRecord().firmwareVersion, QStringLiteral("v9.1"));
        QCOMPARE(CurrentDeviceRecord().mouseVersion, QStringLiteral("v8.2"));
        QCOMPARE(child<QLabel>(&page, "label_7")->text(), QStringLiteral("v8.2"));
        page.SlotLabelTextB(QStringLiteral("v1.1"), QStringLiteral("false"));
        QCOMPARE(child<QLabel>(&page, "label_5")->text(), QStringLiteral("v1.1"));
        QVERIFY(child<QWidget>(&page, "Receive")->styleSheet().contains(QStringLiteral("Confirm.png")));
        page.SlotMouseIndex(4);
        QVERIFY(shown(&page, "Receive") && shown(&page, "Mouse"));
        page.SlotMouseIndex(3);
        QVERIFY(!shown(&page, "Receive") && !shown(&page, "Mouse"));
    }

    void startWithTheSystem()
    {
        FormSetting page;
        const QString folder = m_env->home() + QStringLiteral("/config");
        const QString program = m_env->home() + QStringLiteral("/My \"Kavro\" $dir\\x/KavroMouse");
        page.autoStart().setConfigFolder(folder);
        page.autoStart().setProgramPath(program);
        const QString entry = folder + QStringLiteral("/autostart/KavroMouse.desktop");
        auto* box = child<QCheckBox>(&page, "checkBox");

        box->click();
        QCOMPARE(MacroSetting::instance()->value(QStringLiteral("AutoStart"), QStringLiteral("Enable")), QStringLiteral("1"));
        QFile file(entry);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        file.close();
        QVERIFY(text.startsWith("[Desktop Entry]\nType=Application\nName=KavroMouse\n"));
        QVERIFY(text.contains("\nTerminal=false\n"));
        QCOMPARE(execProgram(text), program);

        box->click();
        QCOMPARE(MacroSetting::instance()->value(QStringLiteral("AutoStart"), QStringLiteral("Enable")), QStringLiteral("0"));
        QVERIFY(!QFileInfo::exists(entry));
        // Unchecked again with no entry: the setting is still written.
        MacroSetting::instance()->setValue(QStringLiteral("AutoStart"), QStringLiteral("Enable"), QStringLiteral("1"));
        page.on_checkBox_clicked(false);
        QCOMPARE(MacroSetting::instance()->value(QStringLiteral("AutoStart"), QStringLiteral("Enable")), QStringLiteral("0"));
    }

    // An entry that cannot be written or removed: the box goes back, the choice stored stays,
    // and a notice says so.
    void startWithTheSystemFailureIsTold()
    {
        const QString folder = m_env->home() + QStringLiteral("/blocked");
        const QString entry = folder + QStringLiteral("/autostart/KavroMouse.desktop");
        // A folder where the entry belongs: it can be neither written nor removed.
        QVERIFY(QDir().mkpath(entry + QStringLiteral("/inside")));
        ModalAnswerer answerer;
        answerer.on(QStringLiteral("AutoStartFail"), ModalAnswerer::clickButton(QStringLiteral("NewHong")));
        const QString stored[] = {QStringLiteral("0"), QStringLiteral("1")};
        for (const QString& before : stored) {
            MacroSetting::instance()->setValue(QStringLiteral("AutoStart"), QStringLiteral("Enable"), before);
            FormSetting page;
            page.autoStart().setConfigFolder(folder);
            page.autoStart().setProgramPath(m_env->home() + QStringLiteral("/KavroMouse"));
            page.show();
            auto* box = child<QCheckBox>(&page, "checkBox");
            QCOMPARE(box->isChecked(), before == QLatin1String("1"));
            const int notices = answerer.count();
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() / 2));
            QCOMPARE(box->isChecked(), before == QLatin1String("1"));
            QCOMPARE(MacroSetting::instance()->value(QStringLiteral("AutoStart"), QStringLiteral("Enable")), before);
            QVERIFY(answerer.waitForCount(notices + 1));
            QCOMPARE(answerer.handled().last(), QStringLiteral("AutoStartFail"));
            QVERIFY(QFileInfo(entry).isDir());
        }
    }

    void desktopMouseSettings()
    {
        QTemporaryDir bin;
        const QString marker = bin.path() + QStringLiteral("/started");
        const QString script = bin.path() + QStringLiteral("/fake-mouse-settings");
        QVERIFY(writeFile(script, "#!/bin/sh\ntouch \"" + marker.toUtf8() + "\"\n"));
        QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const QByteArray oldPath = qgetenv("PATH");
        const QByteArray oldDesktop = qgetenv("XDG_CURRENT_DESKTOP");
        qputenv("PATH", bin.path().toUtf8() + ":" + oldPath);
        qputenv("XDG_CURRENT_DESKTOP", "ubuntu:Test");
        MouseSettingsLauncher::setCommandTable({{QStringLiteral("test"), QStringLiteral("fake-mouse-settings"), {}}});
        {
            FormSetting page;
            QVERIFY(shown(&page, "pushButton") && shown(&page, "toolButton"));
            child<QPushButton>(&page, "pushButton")->click();
            QTRY_VERIFY(QFileInfo::exists(marker));
        }
        qputenv("PATH", oldPath);
        qputenv("XDG_CURRENT_DESKTOP", oldDesktop);
    }

    // The language box writes first, then announces; placements follow the language.
    void languages()
    {
        FormSetting page;
        QStringList heard;
        const auto a = connect(PostMsg::instance(), &PostMsg::SigChangeLanguage, this, [&](int i) {
            heard << MacroSetting::instance()->value(QStringLiteral("Language"), QStringLiteral("Language"))
                  << QStringLiteral("change %1").arg(i);
        });
        const auto b = connect(PostMsg::instance(), &PostMsg::SigLanguageSameA, this,
                               [&](int i) { heard << QStringLiteral("same %1").arg(i); });
        emit child<QComboBox>(&page, "comboBox")->activated(2);
        disconnect(a);
        disconnect(b);
        QVERIFY(heard.size() >= 3);
        QCOMPARE(heard.mid(0, 2), (QStringList{QStringLiteral("2"), QStringLiteral("change 2")}));
        QCOMPARE(heard.last(), QStringLiteral("same 2"));

        struct Place {
            int language;
            int value;
            int button;
            int pointSize;
        };
        for (const Place p : {Place{0, 200, 280, 10}, Place{2, 280, 330, 10}, Place{5, 280, 330, 7}, Place{9, 235, 285, 10}}) {
            page.SlotChangeLanguage(p.language);
            QCOMPARE(child<QWidget>(&page, "label_5")->pos(), QPoint(p.value, 155));
            QCOMPARE(child<QWidget>(&page, "Receive")->pos(), QPoint(p.button, 155));
            QCOMPARE(child<QWidget>(&page, "label_7")->pos(), QPoint(p.value, 185));
            QCOMPARE(child<QWidget>(&page, "Mouse")->pos(), QPoint(p.button, 185));
            QCOMPARE(child<QWidget>(&page, "Mouse")->font().pointSize(), p.pointSize);
        }
        // Index 9 reads the English file.
        QString english;
        loadLanguageSection(0, QStringLiteral("FormSetting"), {QStringLiteral("label_2")},
                            [&](const QString&, const QString& t) { english = t; });
        QCOMPARE(child<QLabel>(&page, "label_2")->text(), english);
        page.SlotLanguageSameB(5);
        QCOMPARE(child<QComboBox>(&page, "comboBox")->currentIndex(), 5);
        page.SlotLanguageSameB(9);
        QCOMPARE(child<QComboBox>(&page, "comboBox")->currentIndex(), 0);
    }

    // A section without "Receive" keeps the text; SetVer 3 puts back the last one read. A
    // missing language file gives the English texts.
    void languageFileGaps()
    {
        FormSetting page;
        page.SlotChangeLanguage(0);
        const QString englishReceive = child<QToolButton>(&page, "Receive")->text();
        m_env->writeProgramFile(QStringLiteral("Language/1-Ukrainian.xml"),
                                "<Total><FormSetting><label_2>Mova</label_2></FormSetting></Total>");
        page.SlotChangeLanguage(1);
        QCOMPARE(child<QLabel>(&page, "label_2")->text(), QStringLiteral("Mova"));
        child<QToolButton>(&page, "Receive")->setText(QStringLiteral("during an update"));
        page.SetVer(3);
        QCOMPARE(child<QToolButton>(&page, "Receive")->text(), englishReceive);
        QFile::remove(m_env->programDir() + QStringLiteral("/Language/2-POLSKI.xml"));
        page.SlotChangeLanguage(2);
        QCOMPARE(child<QLabel>(&page, "label_2")->text(), QStringLiteral("Language"));
    }

    void companyFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("link");
        const QByteArray both = "<Profile><English><CompanyName>A</CompanyName><CompanyWeben>https://en.example.com</CompanyWeben>"
                                "</English><Web><CompanyName>B</CompanyName><CompanyWebcn>https://cn.example.com</CompanyWebcn>"
                                "</Web></Profile>";
        QTest::newRow("English: last name wins") << both << 0 << "B" << "https://en.example.com";
        QTest::newRow("Polish takes the other address") << both << 2 << "B" << "https://cn.example.com";
        QTest::newRow("Japanese keeps the address") << both << 5 << "B" << "<form>";
        QTest::newRow("English without its address")
            << QByteArray("<Profile><Web><CompanyWebcn>https://cn.example.com</CompanyWebcn></Web></Profile>") << 0
            << "<form>" << "<form>";
        QTest::newRow("wrong root") << QByteArray("<Total><English><CompanyName>A</CompanyName></English></Total>") << 0
                                    << "<form>" << "<form>";
    }
    void companyFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, language);
        QFETCH(QString, line);
        QFETCH(QString, link);
        QFile::remove(m_env->programDir() + QStringLiteral("/Language/Net.xml"));
        FormSetting page;
        const QString formLine = child<QPushButton>(&page, "pushButton_4")->text();
        const QString formLink = child<QPushButton>(&page, "pushButton_3")->text();
        m_env->writeProgramFile(QStringLiteral("Language/Net.xml"), file);
        MacroSetting::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(language));
        page.SlotChangeLanguage(language);
        QCOMPARE(child<QPushButton>(&page, "pushButton_4")->text(), line == QLatin1String("<form>") ? formLine : line);
        QCOMPARE(child<QPushButton>(&page, "pushButton_3")->text(), link == QLatin1String("<form>") ? formLink : link);
    }

    void scrollingKeepsTheVersionLineInView()
    {
        FormSetting page;
        page.resize(883, 630);
        DongleRGB rgb{};
        makeCurrent("sim:usb:0000", receiverRecord(BothFeatures, 1));
        page.SlotRGBValue(&rgb);  // the full layout scrolls
        page.show();
        auto* label = child<QLabel>(&page, "label");
        const QPoint origin = label->pos();
        auto* bar = child<QScrollArea>(&page, "scrollArea")->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(40);
        QCOMPARE(label->pos(), origin + QPoint(0, 50));
        bar->setValue(0);
        QCOMPARE(label->pos(), origin + QPoint(0, 10));
    }

    void webLink()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        FormSetting page;
        child<QPushButton>(&page, "pushButton_3")->click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls.first().toString(), child<QPushButton>(&page, "pushButton_3")->text());
    }

private:
    std::unique_ptr<TestEnv> m_env;
};

QTEST_MAIN(SettingsPageTest)
#include "tst_settings_page.moc"
