// Program start: per-user folders, purge of old files, single instance and crash reports.
#include "app/CrashHandler.h"
#include "app/SingleInstance.h"
#include "app/UserFolders.h"
#include "device/DeviceCache.h"
#include "support/TestEnv.h"

#include "HIDUsbControl.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <csignal>

namespace {
const char* const SubFolders[] = {"Log", "Device_Info", "Exception", "usersetting", "usersetting/MainPage",
                                  "usersetting/MacroPage", "usersetting/SensorPage"};

void writeFile(const QString& path, const QByteArray& content, const QDateTime& modified = QDateTime())
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.flush();  // a buffered write would land at close and reset the time
    if (modified.isValid())
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

QString childPath()
{
    return QCoreApplication::applicationDirPath() + "/kavro_testchild";
}

QProcessEnvironment childEnvironment(const QString& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.insert("XDG_DATA_HOME", home + "/.local/share");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // The crash handler, not the sanitizer, must see the fatal signals.
    env.insert("ASAN_OPTIONS",
               "handle_segv=0:handle_abort=0:handle_sigbus=0:handle_sigill=0:handle_sigfpe=0:detect_leaks=0");
    return env;
}

// Waits until the child printed `line`; what it printed until then is added to `seen`.
bool waitForLine(QProcess& process, const QByteArray& line, QByteArray* seenOut = nullptr, int timeoutMs = 30000)
{
    QElapsedTimer timer;
    timer.start();
    QByteArray local;
    QByteArray& seen = seenOut ? *seenOut : local;
    while (timer.elapsed() < timeoutMs) {
        seen += process.readAllStandardOutput();
        if (seen.contains(line))
            return true;
        if (process.state() == QProcess::NotRunning)
            return false;
        process.waitForReadyRead(200);
    }
    return false;
}
}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartCreatesFolders()
    {
        TestEnv env;
        QVERIFY(!QFileInfo::exists(env.userDir()));
        prepareUserFolders();
        for (const char* sub : SubFolders)
            QVERIFY2(QFileInfo(env.userDir() + "/" + sub).isDir(), sub);
        QFileInfo settings(env.userDir() + "/Macro.ini");
        QVERIFY(settings.isFile());
        QCOMPARE(settings.size(), 0);

        writeFile(env.userDir() + "/Macro.ini", "[Language]\nLanguage=3\n");
        writeFile(env.userDir() + "/Log/kept.txt", "x");
        prepareUserFolders();
        QFile again(env.userDir() + "/Macro.ini");
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), QByteArray("[Language]\nLanguage=3\n"));
        QVERIFY(QFileInfo::exists(env.userDir() + "/Log/kept.txt"));
    }

    // The folder of earlier versions, "~/AppData/Local/TrelmC", moves to the data folder once,
    // whole; where it cannot, it stays and is used as it is. A data folder that exists already
    // wins, and the old one is left alone.
    void oldUserFolderMovesOnce_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("moved") << "moved";
        QTest::newRow("cannot be moved") << "blocked";
        QTest::newRow("both exist") << "both";
    }
    void oldUserFolderMovesOnce()
    {
        QFETCH(QString, kind);
        TestEnv env;
        const QString old = env.home() + "/AppData/Local/TrelmC";
        const QString data = env.home() + "/.local/share/TrelmC";
        QCOMPARE(env.userDir(), data);
        writeFile(old + "/Macro.ini", "[Language]\nLanguage=3\n");
        writeFile(old + "/usersetting/MacroPage/Fire.ini", "macro");
        if (kind == "blocked") {
            // The data folder's parent is a file: no rename can succeed.
            writeFile(env.home() + "/blocked", "x");
            qputenv("XDG_DATA_HOME", (env.home() + "/blocked/share").toLocal8Bit());
        }
        if (kind == "both")
            writeFile(data + "/Macro.ini", "[Language]\nLanguage=5\n");

        prepareUserFolders();
        prepareUserFolders();
        const QString used = kind == "blocked" ? old : data;
        QCOMPARE(env.userDir(), used);
        QFile settings(used + "/Macro.ini");
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), kind == "both" ? QByteArray("[Language]\nLanguage=5\n") : QByteArray("[Language]\nLanguage=3\n"));
        for (const char* sub : SubFolders)
            QVERIFY2(QFileInfo(used + "/" + sub).isDir(), sub);
        QCOMPARE(QFileInfo::exists(old), kind != "moved");
        QVERIFY(QFileInfo::exists((kind == "both" ? old : used) + "/usersetting/MacroPage/Fire.ini"));
    }

    void purgeDeletesFilesOlderThanSevenDays()
    {
        TestEnv env;
        const QString log = env.userDir() + "/Log";
        const QDateTime now = QDateTime::currentDateTime();
        writeFile(log + "/a_eight_days.log", "x", now.addDays(-8));
        writeFile(log + "/b_eight_days_too.log", "x", now.addDays(-9));
        writeFile(log + "/c_seven_days_23_hours.log", "x", now.addSecs(-(7 * 86400 + 23 * 3600)));
        writeFile(log + "/d_new.log", "x", now);
        writeFile(log + "/e_future.log", "x", now.addDays(30));
        writeFile(log + "/.hidden_old", "x", now.addDays(-30));
        writeFile(log + "/old_folder/inside.log", "x", now.addDays(-30));
        QVERIFY(QFile::setPermissions(log + "/old_folder", QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                                QFileDevice::ExeOwner));

        PurgeOldFiles(log, now);

        QDir dir(log);
        QStringList left = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        QCOMPARE(left, (QStringList{".hidden_old", "c_seven_days_23_hours.log", "d_new.log", "e_future.log", "old_folder"}));
        QVERIFY(QFileInfo::exists(log + "/old_folder/inside.log"));
    }

    void purgeOfMissingFolderIsHarmless()
    {
        TestEnv env;
        PurgeOldFiles(env.userDir() + "/Exception");
        QVERIFY(!QFileInfo::exists(env.userDir() + "/Exception"));
    }

    void crashReportName_data()
    {
        QTest::addColumn<QDateTime>("local");
        QTest::addColumn<QString>("name");
        QTest::newRow("example") << QDateTime(QDate(2024, 3, 1), QTime(14, 5, 9), Qt::OffsetFromUTC, 0)
                                 << "2024_03_01_14_05_09.dmp";
        QTest::newRow("east of utc") << QDateTime(QDate(2024, 3, 1), QTime(14, 5, 9), Qt::OffsetFromUTC, 9 * 3600)
                                     << "2024_03_01_14_05_09.dmp";
        QTest::newRow("west of utc, leap day") << QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59), Qt::OffsetFromUTC, -5 * 3600)
                                               << "2024_02_29_23_59_59.dmp";
        QTest::newRow("new year") << QDateTime(QDate(2000, 1, 1), QTime(0, 0, 0), Qt::OffsetFromUTC, 3600)
                                  << "2000_01_01_00_00_00.dmp";
        QTest::newRow("end of century") << QDateTime(QDate(2099, 12, 31), QTime(7, 8, 9), Qt::OffsetFromUTC, 0)
                                        << "2099_12_31_07_08_09.dmp";
    }
    void crashReportName()
    {
        QFETCH(QDateTime, local);
        QFETCH(QString, name);
        char out[24];
        crashReportFileName(local.toSecsSinceEpoch(), local.offsetFromUtc(), out);
        QCOMPARE(QString::fromLatin1(out), name);
    }

    void crashWritesReport_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("contains");
        QTest::newRow("segmentation fault") << "segv" << QStringList{"signal: 11 SIGSEGV", "address: 0x10"};
        QTest::newRow("abort") << "abort" << QStringList{"signal: 6 SIGABRT"};
        QTest::newRow("uncaught exception") << "throw" << QStringList{"uncaught C++ exception", "boom from the test"};
        QTest::newRow("fault on another thread") << "thread-segv" << QStringList{"signal: 11 SIGSEGV"};
        // The program's start installs the handler before the top window is built.
        QTest::newRow("fault while the top window is built") << "start-segv" << QStringList{"signal: 11 SIGSEGV"};
    }
    void crashWritesReport()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, contains);
        TestEnv env;
        // The per-user folder exists; the report folder is made by the handler.
        QVERIFY(QDir().mkpath(env.userDir()));
        QProcess child;
        child.setProcessEnvironment(childEnvironment(env.home()));
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        child.start(childPath(), {mode});
        QVERIFY2(child.waitForFinished(60000), qPrintable(child.errorString()));
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        // A crashed start leaves its single-instance segment behind; one look drops it.
        if (mode.startsWith("start"))
            QVERIFY(!SingleInstance(env.userDir()).otherInstanceRunning());

        const QDir reports(env.userDir() + "/Exception");
        const QStringList files = reports.entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        const QRegularExpression pattern("^\\d{4}_\\d\\d_\\d\\d_\\d\\d_\\d\\d_\\d\\d\\.dmp$");
        QVERIFY2(pattern.match(files.first()).hasMatch(), qPrintable(files.first()));
        const QDateTime stamp = QDateTime::fromString(files.first().left(19), "yyyy_MM_dd_hh_mm_ss");
        QVERIFY2(stamp >= before.addMSecs(-before.time().msec()) && stamp <= after, qPrintable(files.first()));

        QFile report(reports.filePath(files.first()));
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QString text = QString::fromLocal8Bit(report.readAll());
        for (const QString& part : contains)
            QVERIFY2(text.contains(part), qPrintable(text));
        QVERIFY(text.contains("thread: "));
        QVERIFY(text.contains("backtrace:\n"));
    }

    // Two reports in the same second are both kept, each under its own name.
    void twoReportsInOneSecondAreBothKept()
    {
        TestEnv env;
        QVERIFY(QDir().mkpath(env.userDir()));
        QProcess child;
        child.setProcessEnvironment(childEnvironment(env.home()));
        child.start(childPath(), {QStringLiteral("two-reports")});
        QVERIFY2(child.waitForFinished(60000), qPrintable(child.errorString()));
        QCOMPARE(child.exitCode(), 0);
        const QDir reports(env.userDir() + "/Exception");
        const QStringList files = reports.entryList(QDir::Files, QDir::Name);
        QCOMPARE(files.size(), 2);
        QStringList details;
        for (const QString& name : files) {
            QFile report(reports.filePath(name));
            QVERIFY(report.open(QIODevice::ReadOnly));
            const QString text = QString::fromLocal8Bit(report.readAll());
            details << (text.contains("\nfirst\n") ? "first" : text.contains("\nsecond\n") ? "second" : "?");
        }
        details.sort();
        QCOMPARE(details, (QStringList{"first", "second"}));
    }

    // A logout (SIGTERM), Ctrl+C (SIGINT) or a closed terminal (SIGHUP) closes the top window,
    // as its close button would, and the program ends normally: status 0, no crash report.
    void quitSignalClosesTheWindow_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("otherWindow");
        QTest::newRow("SIGTERM") << int(SIGTERM) << false;
        QTest::newRow("SIGINT") << int(SIGINT) << false;
        QTest::newRow("SIGHUP") << int(SIGHUP) << false;
        // A window still open beside the top one (a dialog left over) does not keep it running.
        QTest::newRow("SIGTERM, another window open") << int(SIGTERM) << true;
    }
    void quitSignalClosesTheWindow()
    {
        QFETCH(int, signalNumber);
        QFETCH(bool, otherWindow);
        TestEnv env;
        QProcess child;
        child.setProcessEnvironment(childEnvironment(env.home()));
        child.start(childPath(), otherWindow ? QStringList{"start", "other-window"} : QStringList{"start"});
        QByteArray out;
        QVERIFY(waitForLine(child, "TOPWINDOW", &out));
        QCOMPARE(::kill(pid_t(child.processId()), signalNumber), 0);
        QVERIFY(child.waitForFinished(60000));
        out += child.readAllStandardOutput();
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QVERIFY2(out.contains("CLOSED\nENDED 0\n"), out.constData());
        // A usable data folder is no news.
        QVERIFY2(!out.contains("NOTICE"), out.constData());
        QCOMPARE(QDir(env.userDir() + "/Exception").entryList(QDir::Files), QStringList());
    }

    // A logout right after a tile click, while the click is still handled or once the load's
    // busy dialog shows, on the real program and a simulated mouse: the program ends as its
    // close button ends it, status 0, with the mouse's configuration in its cache; the close
    // opens no dialog (a busy dialog would hold the quit for seconds) and ends one that runs.
    void quitSignalRightAfterATileClick_data()
    {
        QTest::addColumn<QString>("when");
        QTest::newRow("during the click") << "during-click";
        QTest::newRow("after the click") << "after-click";
    }
    void quitSignalRightAfterATileClick()
    {
        QFETCH(QString, when);
        TestEnv env;
        const QString scenario = QStringLiteral(KAVRO_SOURCE_DIR "/scripts/scenarios/compact-mouse.txt");
        QProcessEnvironment environment = childEnvironment(env.home());
        environment.remove("KAVRO_SIM_EMPTY");
        environment.insert("KAVRO_SIM_SCENARIO", scenario);
        environment.insert("KAVRO_SIM_CONTROL", "0");
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(childPath(), {"tile-quit", QStringLiteral(KAVRO_OUTPUT_DIR), when});
        QVERIFY(child.waitForFinished(60000));
        const QByteArray out = child.readAllStandardOutput();
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QVERIFY2(out.contains("CLICKED\n") && out.endsWith("ENDED 0\n"), out.constData());
        const int closing = out.indexOf("CLOSING\n");
        QVERIFY2(closing >= 0 && !out.mid(closing).contains("SHOWN"), out.constData());

        // The scenario's mouse starts from its factory values: its active profile is what the
        // load read.
        QCOMPARE(HidSim_LoadScenario(scenario.toLocal8Bit().constData()), 0);
        QByteArray image(HIDUSB_IMAGE_SIZE, 0);
        QCOMPARE(HidSim_GetImage(0, HidSim_ActiveProfile(0), reinterpret_cast<uint8_t*>(image.data())), 0);
        QFile cache(DeviceCacheFolder() + DeviceCacheFileName(0x0A, 6));
        QVERIFY(cache.open(QIODevice::ReadOnly));
        QCOMPARE(cache.readAll().mid(4), image);
    }

    // A per-user data folder that cannot be made (a file stands in its place) is told before the
    // window shows, and the program runs on.
    void unusableUserFolderIsToldAtStart()
    {
        TestEnv env;
        writeFile(env.userDir(), "not a folder");
        QProcess child;
        child.setProcessEnvironment(childEnvironment(env.home()));
        child.start(childPath(), {"start"});
        QByteArray out;
        QVERIFY(waitForLine(child, "TOPWINDOW", &out));
        QVERIFY2(out.startsWith("NOTICE UserFolderFail\n"), out.constData());
        QCOMPARE(::kill(pid_t(child.processId()), SIGTERM), 0);
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QVERIFY(QFileInfo(env.userDir()).isFile());
    }

    void instanceKeyIsPerUser()
    {
        const QString a = SingleInstance::keyFor("/home/a/AppData/Local/TrelmC");
        const QString b = SingleInstance::keyFor("/home/b/AppData/Local/TrelmC");
        QVERIFY(a.startsWith("Single_myexe"));
        QVERIFY(a != b);
        QCOMPARE(a, SingleInstance::keyFor("/home/a/AppData/Local/TrelmC"));
    }

    void secondStartShowsNoticeAndEnds()
    {
        TestEnv env;
        QProcess first;
        first.setProcessEnvironment(childEnvironment(env.home()));
        first.start(childPath(), {"start"});
        QVERIFY(waitForLine(first, "TOPWINDOW"));

        // A second start of the same user sees the running instance.
        QProcess second;
        second.setProcessEnvironment(childEnvironment(env.home()));
        second.start(childPath(), {"start"});
        QVERIFY(second.waitForFinished(60000));
        const QByteArray out = second.readAllStandardOutput();
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY2(out.contains("NOTICE ExeIsRun"), out.constData());
        QVERIFY(!out.contains("TOPWINDOW"));

        // Another user (another home) is not affected.
        TestEnv other;
        QProcess neighbour;
        neighbour.setProcessEnvironment(childEnvironment(other.home()));
        neighbour.start(childPath(), {"start"});
        QVERIFY(waitForLine(neighbour, "TOPWINDOW"));
        neighbour.kill();
        neighbour.waitForFinished();

        // A killed instance leaves its segment behind; the next start must still run.
        first.kill();
        QVERIFY(first.waitForFinished());
        QProcess third;
        third.setProcessEnvironment(childEnvironment(env.home()));
        third.start(childPath(), {"start"});
        QVERIFY(waitForLine(third, "TOPWINDOW"));
        third.kill();
        third.waitForFinished();
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
