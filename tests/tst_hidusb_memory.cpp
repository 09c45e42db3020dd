// The simulated devices' memory: what a mouse and a receiver keep through a restart of the
// program, their factory values back through simctl's "defaults", and damaged memory files.
#include "DeviceLinkFixture.h"
#include "helpers/SimDevicesDump.h"

#include "common/Registry.h"
#include "device/DataLink.h"
#include "device/DeviceSetters.h"
#include "support/FileReplacements.h"
#include "support/StandardError.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include <memory>

using namespace linktest;

namespace {

// A cable mouse of the catalogue's model, a mouse behind a 4 kHz receiver and a 1 kHz
// receiver without a mouse.
const QByteArray Desk = "mouse    desk   cid=0x0A mid=1 address=4B:10:01 version=0x0103\n"
                        "mouse    travel cid=0x0A mid=2 address=4B:20:02 version=0x0105\n"
                        "cable    desk   vid=0x3554 pid=0xF500 kind=2 version=0x0103\n"
                        "receiver travel vid=0x3554 pid=0xF503 kind=1 version=0x0201 longrange=1 light=2\n"
                        "receiver -      vid=0x3554 pid=0xF501 kind=0 version=0x0110\n";
constexpr int DeskMouse = 0;
constexpr int TravelMouse = 1;
constexpr int DeskCable = 0;
constexpr int FastReceiver = 1;
constexpr int SlowReceiver = 2;
// A device's file is written at most once in this time (the library's documented rate).
constexpr qint64 WriteGapMs = 500;

QByteArray command(const char* line)
{
    char reply[512] = {};
    HidSim_ControlCommand(line, reply, sizeof reply);
    return reply;
}

QByteArray dump()
{
    return QByteArray::fromStdString(simDevicesDump());
}

}  // namespace

class TestHidUsbMemory : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_env = std::make_unique<TestEnv>();
        resetFlags();
        Registry::setBaseFolder(m_env->home() + QStringLiteral("/registry"));
        writeCatalogue(*m_env);
        QCOMPARE(HidSim_SetMemory(1), 0);
    }
    void cleanup()
    {
        CloseDataLink();
        resetFlags();
        m_env.reset();
        Registry::setBaseFolder(QString());
    }

    void changesOutliveTheProgramUntilDefaults();
    void demoDevicesRemember();
    void damagedFileGivesFactoryValues_data();
    void damagedFileGivesFactoryValues();
    void burstOfChangesWritesAFewFilesAndTheLast();
    void leftoverTemporariesGoWhenTheFolderIsRead_data();
    void leftoverTemporariesGoWhenTheFolderIsRead();

private:
    QString scenario(const QByteArray& text, const QString& baseName = QStringLiteral("scenario.txt"))
    {
        const QString name = m_env->home() + QLatin1Char('/') + baseName;
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        file.write(text);
        return name;
    }
    QString memoryFolder() const { return m_env->home() + QStringLiteral("/.local/state/kavro-sim"); }
    // The devices as a second program finds them: a new process started on the scenario (none:
    // the demo devices), its state folder found through the home folder alone.
    QByteArray dumpOfNextStart(const QString& scenarioFile) { return runChild(scenarioFile, {QStringLiteral("sim-devices")}); }
    // kavro_testchild with these arguments in such a process: its standard output, or what went wrong.
    QByteArray runChild(const QString& scenarioFile, const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("KAVRO_SIM_EMPTY"));
        environment.remove(QStringLiteral("XDG_STATE_HOME"));
        environment.remove(QStringLiteral("KAVRO_SIM_SCENARIO"));
        if (!scenarioFile.isEmpty())
            environment.insert(QStringLiteral("KAVRO_SIM_SCENARIO"), scenarioFile);
        environment.insert(QStringLiteral("HOME"), m_env->home());
        environment.insert(QStringLiteral("KAVRO_SIM_CONTROL"), QStringLiteral("0"));
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kavro_testchild"), arguments);
        if (!child.waitForFinished(60000) || child.exitCode() != 0)
            return "child failed: " + child.readAllStandardError();
        const QByteArray errors = child.readAllStandardError();
        return errors.isEmpty() ? child.readAllStandardOutput() : "child said: " + errors;
    }
    // Loads the mouse's configuration as the program does when its tile is clicked.
    void loadThroughTheProgram(int interfaceId)
    {
        const QByteArray path = SimScript::path(interfaceId);
        SetCurrentDeviceRecord(recordFor(path));
        SetCurrentDevicePath(path);
        QVERIFY(OpenDataLink(path));
        RequestFullRead();
        QVERIFY(SimScript::deliverUntil([] { return WorkingImageLoaded(); }));
    }

    std::unique_ptr<TestEnv> m_env;
};

// DPI, lighting, a binding and the profile through the program; a pairing, the receiver's
// modes and a firmware update through the library: a new process finds them all, unless its
// scenario does not ask to remember. simctl's "defaults" brings the factory values back, for
// this program and the next.
void TestHidUsbMemory::changesOutliveTheProgramUntilDefaults()
{
    const QString remembering = scenario("remember\n" + Desk);
    const QString forgetting = scenario(Desk, QStringLiteral("forgetting.txt"));
    QCOMPARE(HidSim_LoadScenario(remembering.toLocal8Bit().constData()), 0);
    const QByteArray factory = dump();

    loadThroughTheProgram(DeskCable);
    QVERIFY(SetDpiLevelValue(2, 0x3B, 0x3B, 0));
    QVERIFY(SetLightColor(12, 34, 56));
    QVERIFY(SetButtonKey(4, 0x01, 0x02, 0x00));
    const QByteArray written = SimScript::lastWrittenImage(DeskMouse);
    QCOMPARE(UsbServer_SetCurrentConfig(2), 1);
    CloseDataLink();

    HidSim_ScriptPairing(0, 3, DeskMouse);
    SimScript::DataRecorder pairing;
    UsbServerC_Start(SimScript::path(SlowReceiver).constData(), nullptr, SimScript::DataRecorder::callback());
    QCOMPARE(UsbServer_EnterDonglePairOnlyCid(SimScript::Cid), 1);
    QCOMPARE(UsbServer_ReadDonglePairStatus(), 1);
    UsbServer_Exit();
    DongleRGB light{};
    light.bytes[0] = 3;
    QCOMPARE(UsbFinderC_Set4KDongleRGB(SimScript::path(FastReceiver).constData(), &light), 1);
    QCOMPARE(UsbFinderC_SetLongRangeMode(SimScript::path(FastReceiver).constData(), 0), 1);
    HidSim_ScriptFirmware(2, 0, 1);
    {
        SimScript::FirmwareRecorder firmware;
        const QByteArray image = SimScript::makeFirmware(0x0107, 210, SimScript::Cid, 2);
        UsbUpgrade_Start(reinterpret_cast<const uint8_t*>(image.constData()), uint32_t(image.size()),
                         SimScript::FirmwareRecorder::callback(), 10000);
        QVERIFY(firmware.waitForFinal());
    }
    QVERIFY(SimScript::deliver());

    const QByteArray changed = dump();
    QVERIFY(changed.contains("mouse 0 active=2"));
    QVERIFY(changed.contains(written.toHex()));
    QVERIFY(changed.contains("mid=2 version=0x0107"));
    QVERIFY(changed.contains("sim:usb:0002 vid=0x3554 pid=0xF501 kind=0 mouse=0"));
    QVERIFY(changed.contains("interface 1 light=3 longrange=0"));
    QCOMPARE(dumpOfNextStart(remembering), changed);
    QCOMPARE(dumpOfNextStart(forgetting), factory);

    for (const char* line : {"defaults mouse 0", "defaults mouse 1", "defaults receiver 1", "defaults receiver 2"})
        QCOMPARE(command(line), QByteArray("ok"));
    QCOMPARE(command("defaults receiver 0"), QByteArray("error: no such receiver"));
    QVERIFY(command("defaults 0").startsWith("error: defaults"));
    QVERIFY(SimScript::deliver());
    QCOMPARE(dump(), factory);
    QCOMPARE(dumpOfNextStart(remembering), factory);
}

// The demo devices of a plain start remember too; "defaults" alone brings all of them back.
void TestHidUsbMemory::demoDevicesRemember()
{
    HidSim_LoadDefaults();
    const QByteArray factory = dump();
    const QByteArray image = SimScript::makeImage(9);
    QCOMPARE(HidSim_SetImage(2, 1, reinterpret_cast<const uint8_t*>(image.constData())), 0);
    QVERIFY(SimScript::deliver());
    const QByteArray changed = dump();
    QVERIFY(changed != factory);
    QCOMPARE(dumpOfNextStart(QString()), changed);

    QCOMPARE(command("defaults"), QByteArray("ok"));
    QVERIFY(SimScript::deliver());
    QCOMPARE(dump(), factory);
    QCOMPARE(dumpOfNextStart(QString()), factory);
}

// The files' layout, for damage behind a right checksum: a 12-byte header (its last two bytes
// zero), the kind's fields, an FNV-1a checksum of all before it. A mouse: version, boot mode,
// active profile, two zero bytes, four profiles; a receiver: version, boot mode, light,
// long range, its own CID and MID, the paired flag, two zero bytes, the paired mouse's file
// name in 64 bytes.
constexpr int Fields = 12;
constexpr int PairedName = Fields + 12;

QByteArray withChecksum(QByteArray bytes)
{
    quint32 hash = 2166136261u;
    for (int i = 0; i < bytes.size() - 4; ++i) {
        hash ^= quint8(bytes.at(i));
        hash *= 16777619u;
    }
    for (int i = 0; i < 4; ++i)
        bytes[bytes.size() - 4 + i] = char(hash >> (8 * i));
    return bytes;
}

QByteArray nameField(const QByteArray& name)
{
    return name + QByteArray(64 - name.size(), '\0');
}

void TestHidUsbMemory::damagedFileGivesFactoryValues_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("damage");
    // "put": these bytes at this offset, the checksum made right again.
    QTest::addColumn<int>("at");
    QTest::addColumn<QByteArray>("put");
    const auto row = [](const char* name, const char* device, const char* damage, int at = 0, const QByteArray& put = {}) {
        QTest::newRow(name) << QString::fromLatin1(device) << QString::fromLatin1(damage) << at << put;
    };
    row("cut short", "mouse", "cut");
    row("one byte more", "mouse", "longer");
    row("empty", "mouse", "empty");
    row("garbage of the right size", "mouse", "garbage");
    row("one byte of a profile changed", "mouse", "flipped");
    row("a folder in its place", "mouse", "folder");
    row("receiver's file in the mouse's place", "mouse", "other kind");
    row("mouse's file in the receiver's place", "receiver", "other kind");
    row("receiver's byte changed", "receiver", "flipped");
    // Behind a right checksum: only what the library itself could have written is taken.
    row("header's zero bytes set", "mouse", "put", 10, QByteArray("\x00\x01", 2));
    row("version past the largest", "mouse", "put", Fields, QByteArray("\x00\x00\x00\x80", 4));
    row("active profile past the last", "mouse", "put", Fields + 5, "\x04");
    row("mouse's zero bytes set", "mouse", "put", Fields + 6, "\x01");
    row("receiver's zero bytes set", "receiver", "put", Fields + 10, "\x01");
    row("paired flag 0 with a name", "receiver", "put", Fields + 9, QByteArray(1, '\0'));
    row("paired to ..", "receiver", "put", PairedName, nameField(".."));
    row("paired to a name that leaves the folder", "receiver", "put", PairedName, nameField("../mouse-0A-02-4B2002.state"));
    row("paired name without its end", "receiver", "put", PairedName, QByteArray(64, 'm'));
    row("bytes after the paired name", "receiver", "put", PairedName + 60, "x");
}

// A damaged file: the factory values and one line on standard error; the next change writes a
// sound file again.
void TestHidUsbMemory::damagedFileGivesFactoryValues()
{
    QFETCH(QString, device);
    QFETCH(QString, damage);
    QFETCH(int, at);
    QFETCH(QByteArray, put);
    const bool mouse = device == "mouse";
    const QByteArray scenarioName = scenario("remember\n" + Desk).toLocal8Bit();
    QCOMPARE(HidSim_LoadScenario(scenarioName.constData()), 0);
    const QByteArray factory = dump();
    const QByteArray image = SimScript::makeImage(5);
    const auto change = [&] {
        DongleRGB light{};
        light.bytes[0] = 3;
        if (mouse)
            QCOMPARE(HidSim_SetImage(TravelMouse, 0, reinterpret_cast<const uint8_t*>(image.constData())), 0);
        else
            QCOMPARE(UsbFinderC_Set4KDongleRGB(SimScript::path(FastReceiver).constData(), &light), 1);
        QVERIFY(SimScript::deliver());
    };
    change();
    const QByteArray changed = dump();
    QVERIFY(changed != factory);
    // The travel mouse's file, and its receiver's; only the changed one is written.
    const QString mouseFile = memoryFolder() + QStringLiteral("/mouse-0A-02-4B2002.state");
    const QString receiverFile = memoryFolder() + QStringLiteral("/receiver-3554-F503.state");
    const QString fileName = mouse ? mouseFile : receiverFile;
    QCOMPARE(QDir(memoryFolder()).entryList(QDir::Files), QStringList{QFileInfo(fileName).fileName()});

    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    if (damage == "cut") {
        bytes.chop(bytes.size() / 2);
    } else if (damage == "longer") {
        bytes.append('\0');
    } else if (damage == "empty") {
        bytes.clear();
    } else if (damage == "garbage") {
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = char((i * 131 + 7) & 0xFF);
    } else if (damage == "flipped") {
        bytes[bytes.size() / 2] = char(bytes.at(bytes.size() / 2) ^ 0x01);
    } else if (damage == "other kind") {
        // A file the other device's kind wrote, whole and sound.
        HidSim_SetInterfaceVersion(FastReceiver, 0x0202);
        HidSim_SetMouseVersion(TravelMouse, 0x0106);
        HidSim_Reset();
        QFile other(mouse ? receiverFile : mouseFile);
        QVERIFY(other.open(QIODevice::ReadOnly));
        bytes = other.readAll();
        other.close();
        QVERIFY(other.remove());
    } else if (damage == "put") {
        bytes = withChecksum(bytes.replace(at, put.size(), put));
    }
    QVERIFY(!QFileInfo::exists(fileName) || QFile::remove(fileName));
    if (damage == "folder") {
        QVERIFY(QDir().mkpath(fileName));
    } else {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
    }

    HidSim_Reset();
    QCOMPARE(HidSim_SetMemory(1), 0);
    const QByteArray errors =
        standardErrorOf([&] { QCOMPARE(HidSim_LoadScenario(scenarioName.constData()), 0); });
    QCOMPARE(errors.count('\n'), 1);
    QVERIFY2(errors.startsWith("HIDUsb: " + fileName.toLocal8Bit()) && errors.contains("factory values"),
             errors.constData());
    QCOMPARE(dump(), factory);
    QCOMPARE(dumpOfNextStart(QString::fromLocal8Bit(scenarioName)).startsWith("child said: HIDUsb: "), true);

    if (damage == "folder")
        QVERIFY(QDir(fileName).removeRecursively());
    change();
    QCOMPARE(dumpOfNextStart(QString::fromLocal8Bit(scenarioName)), changed);
}

// A burst of changes, as a drag that sends the mouse an image at every move: the mouse's file is
// written a few times a second, not at every change, and holds the last change once the library
// is idle. A change still waiting for its turn when the library is unloaded is written then.
void TestHidUsbMemory::burstOfChangesWritesAFewFilesAndTheLast()
{
    const QString remembering = scenario("remember\n" + Desk);
    QCOMPARE(HidSim_LoadScenario(remembering.toLocal8Bit().constData()), 0);
    QVERIFY(QDir().mkpath(memoryFolder()));
    FileReplacements files(memoryFolder());
    QVERIFY(files.watching());

    QElapsedTimer clock;
    clock.start();
    int changes = 0;
    while (clock.elapsed() < 3 * WriteGapMs) {
        const QByteArray image = SimScript::makeImage(uint8_t(changes++));
        QCOMPARE(HidSim_SetImage(TravelMouse, 0, reinterpret_cast<const uint8_t*>(image.constData())), 0);
    }
    const qint64 burstMs = clock.elapsed();
    QVERIFY(SimScript::deliver());
    // The first change at once, one for each gap the burst lasted, and the last.
    const int written = files.count(QStringLiteral("mouse-"));
    QVERIFY2(written >= 1 && written <= 2 + burstMs / WriteGapMs,
             qPrintable(QStringLiteral("%1 writes for %2 changes in %3 ms").arg(written).arg(changes).arg(burstMs)));
    QCOMPARE(files.count(QStringLiteral("receiver-")), 0);
    const QByteArray last = dump();
    QVERIFY(last.contains(SimScript::makeImage(uint8_t(changes - 1)).toHex()));
    QCOMPARE(dumpOfNextStart(remembering), last);

    // A second process changes the mouse twice at once and ends.
    QCOMPARE(runChild(remembering, {QStringLiteral("sim-burst"), QString::number(TravelMouse)}), QByteArray());
    QVERIFY(dumpOfNextStart(remembering).contains(QByteArray(64, char(0xA5)).toHex()));
}

void TestHidUsbMemory::leftoverTemporariesGoWhenTheFolderIsRead_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("removed");
    QTest::newRow("a mouse's, from a crash an hour ago") << "mouse-0A-02-4B2002.state.a1B2c3" << 3600 << true;
    QTest::newRow("a receiver's, from a crash an hour ago") << "receiver-3554-F503.state.Zz9Yy8" << 3600 << true;
    QTest::newRow("of another device never seen here") << "mouse-0A-07-010203-2.state.000000" << 3600 << true;
    QTest::newRow("a write of another program under way") << "mouse-0A-02-4B2002.state.a1B2c3" << 0 << false;
    QTest::newRow("five characters after the name") << "mouse-0A-02-4B2002.state.a1B2c" << 3600 << false;
    QTest::newRow("seven characters after the name") << "mouse-0A-02-4B2002.state.a1B2c3d" << 3600 << false;
    QTest::newRow("not a device's name") << "notes.state.a1B2c3" << 3600 << false;
    QTest::newRow("another kind of file") << "mouse-0A-02-4B2002.txt" << 3600 << false;
}

// The library's own temporaries left by a write that never ended (a kill) go when it reads its
// folder; a file of any other name stays, and so does a temporary a write may still be filling.
void TestHidUsbMemory::leftoverTemporariesGoWhenTheFolderIsRead()
{
    QFETCH(QString, name);
    QFETCH(int, ageSeconds);
    QFETCH(bool, removed);
    QVERIFY(QDir().mkpath(memoryFolder()));
    const QString fileName = memoryFolder() + QLatin1Char('/') + name;
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("half a file");
    QVERIFY(file.flush());
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    file.close();

    const QByteArray scenarioName = scenario("remember\n" + Desk).toLocal8Bit();
    const QByteArray errors = standardErrorOf([&] { QCOMPARE(HidSim_LoadScenario(scenarioName.constData()), 0); });
    QCOMPARE(errors, QByteArray());
    QCOMPARE(QFileInfo::exists(fileName), !removed);
}

QTEST_MAIN(TestHidUsbMemory)
#include "tst_hidusb_memory.moc"
