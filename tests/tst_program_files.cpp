// Odd or hostile files wherever the program reads: a named pipe, a device, a folder, a file over
// its limit. The checked opener refuses them before anything is read, so no reader waits for a
// writer that never comes; the user's own settings stores keep a damaged file aside and start
// from their defaults. And no program source prints with a bare qDebug.
#include "common/AppPaths.h"
#include "common/CheckedFile.h"
#include "common/LanguageFile.h"
#include "common/MacroSetting.h"
#include "common/PictureCache.h"
#include "common/Registry.h"
#include "common/StyleSheetUrl.h"
#include "common/UserConfig.h"
#include "common/UserStoreFile.h"
#include "device/DeviceCache.h"
#include "device/SensorHeader.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QRegularExpression>
#include <QtTest>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString RegistryPath = QStringLiteral("HKEY_CURRENT_USER\\Software\\Trelm\\Trelm\\Mouse Drive Test");

bool makePipe(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A reader that waits on a pipe never returns; the alarm ends the test program with a clear
// signal instead of the suite's time-out.
struct Watchdog {
    Watchdog() { ::alarm(30); }
    ~Watchdog() { ::alarm(0); }
};

}  // namespace

class ProgramFilesTest : public QObject {
    Q_OBJECT

private slots:
    void openerRefusesAllButRegularFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("status");
        QTest::newRow("regular") << "regular" << int(CheckedFile::Status::Ok);
        QTest::newRow("missing") << "missing" << int(CheckedFile::Status::Missing);
        QTest::newRow("pipe") << "pipe" << int(CheckedFile::Status::NotRegular);
        QTest::newRow("folder") << "folder" << int(CheckedFile::Status::NotRegular);
        QTest::newRow("device") << "/dev/zero" << int(CheckedFile::Status::NotRegular);
        QTest::newRow("over the limit") << "large" << int(CheckedFile::Status::TooLarge);
        // A file that claims no size and cannot be read.
        QTest::newRow("unreadable") << "/proc/self/mem" << int(CheckedFile::Status::ReadError);
    }
    void openerRefusesAllButRegularFiles()
    {
        QFETCH(QString, kind);
        QFETCH(int, status);
        Watchdog watchdog;
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("file"));
        if (kind == "regular")
            QVERIFY(writeBytes(path, "sixteen bytes!!!"));
        else if (kind == "pipe")
            QVERIFY(makePipe(path));
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "large")
            QVERIFY(writeBytes(path, QByteArray(17, 'x')));
        else if (kind.startsWith('/'))
            path = kind;

        const CheckedFile::Result read = CheckedFile::read(path, 16);
        QCOMPARE(int(read.status), status);
        QCOMPARE(read.bytes, status == int(CheckedFile::Status::Ok) ? QByteArray("sixteen bytes!!!") : QByteArray());
        QCOMPARE(read.error.isEmpty(), read.ok());
        if (!read.ok())
            QVERIFY2(read.error.startsWith(path + ": "), qPrintable(read.error));
        QCOMPARE(int(CheckedFile::check(path, 16).status), status == int(CheckedFile::Status::ReadError) ? int(CheckedFile::Status::Ok) : status);
        QFile file;
        QCOMPARE(CheckedFile::open(file, path, 16).ok(), CheckedFile::check(path, 16).ok());
        QCOMPARE(file.isOpen(), CheckedFile::check(path, 16).ok());
    }

    // Every reader of a file in the program's or the user's folder, each given a named pipe.
    void noReaderWaitsOnAPipe()
    {
        Watchdog watchdog;
        TestEnv env;
        env.stageShippedData({QStringLiteral("Language")});
        Registry::setBaseFolder(env.home() + QStringLiteral("/.config"));
        struct Reader {
            const char* name;
            QString path;
            std::function<bool()> readsAsMissing;
        };
        const QString program = env.programDir();
        const QString user = env.userDir();
        const Reader readers[] = {
            {"user settings", user + "/Macro.ini",
             [] {
                 MacroSetting::reload();
                 return MacroSetting::instance()->value("Language", "Language").isEmpty();
             }},
            {"registry stand-in", Registry::settingsFile(RegistryPath),
             [] { return !Registry::value(RegistryPath, "UpdateFailInfo").isValid(); }},
            {"device list", program + "/usersetting/Config.ini",
             [] {
                 UserConfig::reload();
                 return UserConfig::instance()->fault() == QLatin1String("not a regular file");
             }},
            {"cache file", DeviceCacheFolder() + "Device_CID0A_MID01.bin",
             [] {
                 FlashDataMap image;
                 return !ReadDeviceInfoFile(QStringLiteral("Device_CID0A_MID01.bin"), &image);
             }},
            {"sensor header", program + "/driver_sensor.h",
             [] { return ReadSensorHeaderFile(BareDefineValue::Decimal).names.isEmpty(); }},
            {"picture", program + "/Picture/Sensor/Pipe.png",
             [program] { return PictureCache::decodedKiB(program + "/Picture") == 0; }},
            {"style-sheet picture", program + "/Picture/Sensor/Sheet.png",
             [program] {
                 // Painting makes Qt load the picture itself.
                 QLabel label;
                 label.setStyleSheet("QLabel{border-image: " + styleSheetUrl(program + "/Picture/Sensor/Sheet.png") + ";}");
                 label.resize(20, 20);
                 return !label.grab().isNull();
             }},
            {"language file", languageFilePath(3),
             [] {
                 QString text;
                 loadLanguageSection(3, "DialogChange", {"label_2"}, [&](const QString&, const QString& t) { text = t; });
                 return text == QLatin1String("Please connect your gaming mouse");
             }},
        };
        for (const Reader& reader : readers) {
            QFile::remove(reader.path);
            QVERIFY2(makePipe(reader.path), reader.name);
            QElapsedTimer clock;
            clock.start();
            QVERIFY2(reader.readsAsMissing(), reader.name);
            QVERIFY2(clock.elapsed() < 2000, reader.name);
        }
        // The user's own stores kept their pipes aside; the program's files stay where they are.
        QVERIFY(QFileInfo(user + "/Macro.ini.damaged").exists());
        QVERIFY(QFileInfo(Registry::settingsFile(RegistryPath) + ".damaged").exists());
        QVERIFY(QFileInfo(program + "/usersetting/Config.ini").exists());
        Registry::setBaseFolder(QString());
        UserConfig::reload();
    }

    // A settings file replaced by a pipe while the program runs: the next write keeps the pipe
    // aside instead of reading it, and the values stay.
    void userSettingsReplacedByAPipeWhileRunning()
    {
        Watchdog watchdog;
        TestEnv env;
        const QString path = env.userDir() + QStringLiteral("/Macro.ini");
        QVERIFY(writeBytes(path, "[Language]\nLanguage=3\n"));
        MacroSetting::reload();
        QCOMPARE(MacroSetting::instance()->value("Language", "Language"), QStringLiteral("3"));
        QVERIFY(QFile::remove(path));
        QVERIFY(makePipe(path));
        MacroSetting::instance()->setValue("AutoStart", "Enable", "1");
        QCOMPARE(MacroSetting::instance()->value("AutoStart", "Enable"), QStringLiteral("1"));
        QVERIFY(QFileInfo(path + ".damaged").exists());
        QVERIFY(QFileInfo(path).isFile());
    }

    // A store over its limit is damaged: it is kept aside whole under a new name, the defaults
    // are read, and what is set then goes into a new file of the old name.
    void oversizedUserStoresAreKeptAside_data()
    {
        QTest::addColumn<bool>("registry");
        QTest::newRow("Macro.ini") << false;
        QTest::newRow("registry stand-in") << true;
    }
    void oversizedUserStoresAreKeptAside()
    {
        QFETCH(bool, registry);
        TestEnv env;
        Registry::setBaseFolder(env.home() + QStringLiteral("/.config"));
        const QString path =
            registry ? Registry::settingsFile(RegistryPath) : env.userDir() + QStringLiteral("/Macro.ini");
        QByteArray large = registry ? "[Mouse%20Drive%20Test]\nMouseVer=v1.0\n" : "[Language]\nLanguage=3\n";
        large += "[Padding]\n";
        while (large.size() <= CheckedFile::SettingsLimit)
            large += "key" + QByteArray::number(large.size()) + "=" + QByteArray(100, 'x') + "\n";
        QVERIFY(writeBytes(path, large));
        QVERIFY(writeBytes(path + ".damaged", "an earlier damaged store"));

        QElapsedTimer clock;
        clock.start();
        QString read;
        if (registry) {
            read = Registry::value(RegistryPath, "MouseVer").toString();
            Registry::setValue(RegistryPath, "MouseVer", "v2.0");
        } else {
            MacroSetting::reload();
            read = MacroSetting::instance()->value("Language", "Language");
            MacroSetting::instance()->setValue("Language", "Language", "2");
        }
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(read, QString());

        QFile kept(path + ".damaged-2");
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.size(), qint64(large.size()));
        QFile earlier(path + ".damaged");
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("an earlier damaged store"));
        QVERIFY(QFileInfo(path).size() < 100);
        if (registry) {
            QCOMPARE(Registry::value(RegistryPath, "MouseVer").toString(), QStringLiteral("v2.0"));
        } else {
            MacroSetting::reload();
            QCOMPARE(MacroSetting::instance()->value("Language", "Language"), QStringLiteral("2"));
        }
        Registry::setBaseFolder(QString());
    }

    // A damaged store that cannot be moved aside is never opened: it reads as empty, and nothing
    // is written over it. (Its name leaves no room for ".damaged": the rename must fail.)
    void unmovableDamagedStoreIsLeftAlone()
    {
        Watchdog watchdog;
        TestEnv env;
        Registry::setBaseFolder(env.home() + QStringLiteral("/.config"));
        const QString application(250, QLatin1Char('a'));
        const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Trelm\\") + application;
        const QString path = Registry::settingsFile(key);
        QCOMPARE(QFileInfo(path).fileName().size(), 255);
        QVERIFY(makePipe(path));
        QVERIFY(!Registry::value(key, "MouseVer").isValid());
        Registry::setValue(key, "MouseVer", "v2.0");
        QVERIFY(!Registry::contains(key, "MouseVer"));
        struct stat info = {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        QVERIFY(S_ISFIFO(info.st_mode));
        Registry::setBaseFolder(QString());
    }

    void noProgramSourcePrintsWithBareQDebug()
    {
        const QRegularExpression bare(QStringLiteral("\\bq(Debug|Info)\\s*\\("));
        QStringList found;
        for (const char* folder : {"app", "common", "device", "dialogs", "shell", "pages", "widgets", "hidusb"}) {
            QDirIterator it(QStringLiteral(KAVRO_SOURCE_DIR "/") + QLatin1String(folder), {"*.cpp", "*.h"}, QDir::Files,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                QFile source(it.next());
                QVERIFY(source.open(QIODevice::ReadOnly | QIODevice::Text));
                int number = 0;
                while (!source.atEnd()) {
                    const QString line = QString::fromUtf8(source.readLine());
                    ++number;
                    if (bare.match(line).hasMatch())
                        found << QStringLiteral("%1:%2").arg(source.fileName()).arg(number);
                }
            }
        }
        QVERIFY2(found.isEmpty(), qPrintable(found.join('\n')));
    }
};

QTEST_MAIN(ProgramFilesTest)
#include "tst_program_files.moc"
