// Damaged input: a catalogue whose model count cannot be right, an empty or garbage catalogue,
// a scenario path that names no regular file. Each is refused with a clear line and nothing
// crashes or hangs; the program goes on answering.
#include "ChoiceTestCatalogue.h"

#include "common/UserConfig.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "shell/ChoiceDevices.h"
#include "shell/DialogChange.h"
#include "support/HidSimScript.h"
#include "support/TestEnv.h"

#include "HIDUsbControl.h"

#include <QElapsedTimer>
#include <QTemporaryFile>
#include <QToolButton>
#include <QtTest>

#include <cstdio>
#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What `run` writes to standard error.
QByteArray standardErrorOf(const std::function<void()>& run)
{
    QTemporaryFile capture;
    if (!capture.open())
        return "cannot capture";
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(capture.handle(), STDERR_FILENO);
    run();
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    capture.seek(0);
    return capture.readAll();
}

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

        // The choice page builds and scans; whatever it finds is no listed model.
        DialogChange page;
        page.show();
        SimScript::settle();
        QCOMPARE(ModelCount.load(), 0);
        for (const DeviceAllInfo& record : qAsConst(ChoiceDeviceList))
            QCOMPARE(record.modelIndex, ModelCount.load());
        ChoiceDeviceList.clear();
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
