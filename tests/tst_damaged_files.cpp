// Damaged input: a catalogue whose model count cannot be right, an empty or garbage catalogue,
// a damaged language file, a scenario path that names no regular file. Each is refused with a
// clear line or told on the choice page, and nothing crashes or hangs; the program goes on
// answering.
#include "ChoiceTestCatalogue.h"

#include "common/LanguageFile.h"
#include "common/UserConfig.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "dialogs/DamagedInstall.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/sensor/Sensor.h"
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "shell/ChoiceDevices.h"
#include "shell/DialogChange.h"
#include "support/HidSimScript.h"
#include "support/StandardError.h"
#include "support/TestEnv.h"

#include "HIDUsbControl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QToolButton>
#include <QtTest>

#include <functional>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// The damaged-installation notice that is shown, or null.
DamagedInstall* shownNotice()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* notice = qobject_cast<DamagedInstall*>(widget); notice && notice->isVisible())
            return notice;
    }
    return nullptr;
}

QString labelText(QWidget* root, const char* name)
{
    auto* label = root->findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("(no %1)").arg(QLatin1String(name));
}

const QString DamagedListText = QStringLiteral("The program's device list is damaged. Please reinstall the program.");

}  // namespace

class DamagedFilesTest : public QObject {
    Q_OBJECT

private slots:
    void damagedCatalogueListsNoModel_data()
    {
        QTest::addColumn<QByteArray>("catalogue");
        QTest::addColumn<QByteArray>("key");
        const QByteArray groups = "[Option]\nCID=" + choicetest::encoded({"10"}) + "\nVID=" + choicetest::encoded({"0x3554"})
            + "\n" + testcatalogue::productIdLines() + "[Drive1]\nMID=1\n[Drive2]\nMID=2\n";
        QTest::newRow("DeviceTotal 2e9") << groups + "[Option]\nDeviceTotal=2000000000\n" << QByteArray("DeviceTotal");
        QTest::newRow("DeviceTotal 1e8") << groups + "[Option]\nDeviceTotal=100000000\n" << QByteArray("DeviceTotal");
        QTest::newRow("DeviceTotal not a number") << groups + "[Option]\nDeviceTotal=2e9\n" << QByteArray("DeviceTotal");
        QTest::newRow("empty") << QByteArray() << QByteArray("DeviceTotal");
        QTest::newRow("garbage") << QByteArray("\x01\xff\xfe garbage \x7f\n=\n[[[") << QByteArray("DeviceTotal");
    }
    void damagedCatalogueListsNoModel()
    {
        QFETCH(QByteArray, catalogue);
        QFETCH(QByteArray, key);
        TestEnv env;
        env.stageShippedData();
        SimScript::addCableMouse(1);
        const QByteArray said = standardErrorOf([&] { testcatalogue::write(env, catalogue); });
        QCOMPARE(said.count('\n'), 1);
        QVERIFY2(said.contains("Config.ini") && said.contains(key), said.constData());
        QCOMPARE(UserConfig::instance()->modelCount(), 0);

        // The choice page builds and scans; whatever it finds is no listed model, and it says
        // that the device list is damaged instead of asking for a mouse.
        DialogChange page;
        page.show();
        SimScript::settle();
        QCOMPARE(ModelCount.load(), 0);
        for (const DeviceAllInfo& record : qAsConst(ChoiceDeviceList))
            QCOMPARE(record.modelIndex, ModelCount.load());
        ChoiceDeviceList.clear();
        QTRY_VERIFY(shownNotice());
        QCOMPARE(labelText(shownNotice(), "label"), DamagedListText);
        QCOMPARE(labelText(&page, "label_2"), DamagedListText);
        // In the user's language, and the notice closes with its button.
        page.ChangeDialogLanguage(5);
        QCOMPARE(labelText(&page, "label_2"), QString::fromUtf8("プログラムのデバイス一覧が破損しています。プログラムを再インストールしてください。"));
        QTest::mouseClick(shownNotice()->findChild<QToolButton*>(QStringLiteral("NewHong")), Qt::LeftButton);
        QTRY_VERIFY(!shownNotice());
    }

    // A damaged language file: the chosen one gives way to English; a damaged English file, the
    // one every language falls back to, is told on the choice page like a damaged device list.
    void damagedLanguageFile_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("Japanese cut") << 5 << "5-Japanese.xml" << QByteArray("<?xml version=\"1.0\"?>\n<Total><DialogChange><label_2>x");
        QTest::newRow("Japanese empty") << 5 << "5-Japanese.xml" << QByteArray();
        QTest::newRow("Japanese a folder") << 5 << "5-Japanese.xml" << QByteArray("folder");
        QTest::newRow("English garbage") << 0 << "0-English.xml" << QByteArray("\x01\xff garbage <<<");
        QTest::newRow("English a pipe") << 0 << "0-English.xml" << QByteArray("pipe");
        QTest::newRow("English over its limit") << 0 << "0-English.xml" << QByteArray("large");
    }
    void damagedLanguageFile()
    {
        QFETCH(int, language);
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        TestEnv env;
        env.stageShippedData();
        UserConfig::reload();
        MacroSetting::reload();
        QString english;
        loadLanguageSection(0, QStringLiteral("DialogChange"), {QStringLiteral("label_2")},
                            [&](const QString&, const QString& text) { english = text; });
        const QString path = env.programDir() + QStringLiteral("/Language/") + file;
        QFile::remove(path);
        if (content == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (content == "pipe") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (content == "large") {
            QByteArray large = "<?xml version=\"1.0\"?>\n<Total><DialogChange><label_2>big</label_2></DialogChange><!--";
            large += QByteArray(int(MaxLanguageFileSize), ' ') + "--></Total>\n";
            env.writeProgramFile(QStringLiteral("Language/") + file, large);
        } else {
            env.writeProgramFile(QStringLiteral("Language/") + file, content);
        }
        MacroSetting::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(language));

        DialogChange page;
        page.show();
        SimScript::settle();
        if (language == 0) {
            QTRY_VERIFY(shownNotice());
            QCOMPARE(labelText(shownNotice(), "label"),
                     QStringLiteral("The program's language files are damaged. Please reinstall the program."));
            // Another language still reads its own texts, the notice's too.
            PostMsg::instance()->SendChangeLanguage(2);
            QCOMPARE(labelText(shownNotice(), "label"),
                     QString::fromUtf8("Pliki językowe programu są uszkodzone. Zainstaluj program ponownie."));
            QCOMPARE(labelText(&page, "label_2"), QString::fromUtf8("Podłącz swoją mysz do gier"));
        } else {
            QCOMPARE(labelText(&page, "label_2"), english);
            QTest::qWait(50);
            QVERIFY(!shownNotice());
        }
    }

    // A sensor header that cannot be read, or holds no definition, is told in one line although
    // both pages that need it are built; a sound one says nothing.
    void damagedSensorHeaderToldOnce_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("told");  // empty: nothing
        QTest::newRow("a folder") << QByteArray("folder") << QByteArray("not a regular file");
        QTest::newRow("empty") << QByteArray() << QByteArray("no sensor definitions");
        QTest::newRow("random") << QByteArray("\x13\x88 z\xff\n\tq 1 2 3\n#define\n") << QByteArray("no sensor definitions");
        QTest::newRow("sound") << QByteArray("#define SENSOR_TST_DPI_400\t0x04\n") << QByteArray();
    }
    void damagedSensorHeaderToldOnce()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, told);
        TestEnv env;
        env.stageShippedData();
        UserConfig::reload();
        MacroSetting::reload();
        const QString path = env.programDir() + QStringLiteral("/driver_sensor.h");
        QFile::remove(path);
        if (content == "folder")
            QVERIFY(QDir().mkpath(path));
        else
            env.writeProgramFile(QStringLiteral("driver_sensor.h"), content);
        static QStringList said;
        said.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& text) { said << text; });
        {
            Buttoninterface buttons;
            Sensor sensor;
        }
        qInstallMessageHandler(previous);
        const QStringList lines = said.filter(QStringLiteral("driver_sensor.h"));
        QCOMPARE(lines.size(), told.isEmpty() ? 0 : 1);
        QVERIFY2(lines.join(QLatin1Char('\n')).contains(QString::fromLatin1(told)), qPrintable(lines.join(QLatin1Char('\n'))));
    }

    // A scenario path that names a FIFO or a device is refused before anything is read, and
    // the library goes on answering.
    void scenarioMustBeARegularFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("FIFO") << QString();
        QTest::newRow("/dev/zero") << QStringLiteral("/dev/zero");
    }
    void scenarioMustBeARegularFile()
    {
        QFETCH(QString, path);
        TestEnv env;
        const SimScript::Device mouse = SimScript::addCableMouse(1);
        if (path.isEmpty()) {
            path = env.home() + QStringLiteral("/scenario.fifo");
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        }
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(HidSim_LoadScenario(QFile::encodeName(path).constData()), -1);
        char reply[128] = {};
        QCOMPARE(HidSim_ControlCommand(qPrintable(QStringLiteral("scenario ") + path), reply, sizeof reply), -1);
        QVERIFY2(QByteArray(reply).contains("not a regular file"), reply);
        QVERIFY(clock.elapsed() < 2000);
        // The devices stay and answer.
        QVERIFY(UsbFinderC_GetDeviceOnLine(mouse.path.constData()));
        QCOMPARE(HidSim_ControlCommand("list", reply, sizeof reply), 0);
    }
};

QTEST_MAIN(DamagedFilesTest)
#include "tst_damaged_files.moc"
