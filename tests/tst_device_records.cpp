// Device records filled from the library and the catalogue, the frame's scan, and the
// device cache files.
#include "support/CatalogueText.h"
#include "support/HidSimScript.h"
#include "shell/ChoiceDevices.h"
#include "support/TestEnv.h"

#include "HIDUsbControl.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceCache.h"
#include "device/DeviceRecords.h"
#include "device/WorkingImage.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QtTest>

#include <cstring>
#include <memory>

namespace {

using testcatalogue::encoded;

FlashDataMap patternImage(uint8_t seed)
{
    FlashDataMap image{};
    auto* bytes = reinterpret_cast<uint8_t*>(&image);
    for (size_t i = 0; i < sizeof image; ++i)
        bytes[i] = static_cast<uint8_t>((i * 13 + seed) & 0xFF);
    return image;
}

bool sameImage(const FlashDataMap& a, const FlashDataMap& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

class DeviceRecordsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void cacheFileNameUsesUpperCaseHex();
    void cacheFileRoundTrip();
    void badCacheFilesAreRefused_data();
    void badCacheFilesAreRefused();
    void bothFillsShareTheCableRule_data();
    void bothFillsShareTheCableRule();
    void versionText();
    void identifiedAtTheNinthAnswerFailsAtTheTenth_data();
    void identifiedAtTheNinthAnswerFailsAtTheTenth();
    void unlistedModels_data();
    void unlistedModels();
    void foundCurrentDeviceKeepsItsVersionTexts();
    void frameScanFindsTheCurrentDeviceAgain();
    void scanWithoutCurrentDeviceListsEverything();

private:
    void writeCatalogue(int deviceTotal);
    int addMouse(uint8_t cid, uint8_t mid);
    int addInterface(int mouseId, int kind, const char* pid = "0xF511");

    std::unique_ptr<TestEnv> m_env;
};

void DeviceRecordsTest::init()
{
    m_env = std::make_unique<TestEnv>();
    ResetCurrentDevice();
    MainPageDeviceList.clear();
    writeCatalogue(3);
}

void DeviceRecordsTest::cleanup()
{
    ResetCurrentDevice();
    MainPageDeviceList.clear();
    m_env.reset();
}

void DeviceRecordsTest::writeCatalogue(int deviceTotal)
{
    // Each fixture differs in size from the one before: the settings layer keeps a cached
    // file while its size and (coarse) modification time stay the same.
    static int revision = 0;
    ++revision;
    const QByteArray ini = "; " + QByteArray(revision % 50, 'x') + "\n[Option]\nDeviceTotal="
        + QByteArray::number(deviceTotal) + "\nCID=" + encoded({"10"})
        + "\n[Drive1]\nMID=20\n[Drive2]\nMID=31\n[Drive3]\nMID=40\n";
    testcatalogue::write(*m_env, ini);
}

int DeviceRecordsTest::addMouse(uint8_t cid, uint8_t mid)
{
    HidSimMouseSetup setup{};
    setup.cid = cid;
    setup.mid = mid;
    setup.address[0] = 0xA1;
    setup.address[1] = 0xB2;
    setup.address[2] = 0xC3;
    setup.version = 0x0105;
    setup.battery = 50;
    setup.awake = 1;
    return HidSim_AddMouse(&setup);
}

int DeviceRecordsTest::addInterface(int mouseId, int kind, const char* pid)
{
    HidSimInterfaceSetup setup{};
    setup.vid = "0x3554";
    setup.pid = pid;
    setup.kind = kind;
    setup.version = 0x021B;
    setup.mouseId = mouseId;
    return HidSim_AddInterface(&setup);
}

void DeviceRecordsTest::cacheFileNameUsesUpperCaseHex()
{
    QCOMPARE(DeviceCacheFileName(10, 31), QStringLiteral("Device_CID0A_MID1F.bin"));
    QCOMPARE(DeviceCacheFileName(0, 255), QStringLiteral("Device_CID00_MIDFF.bin"));
    QCOMPARE(DeviceCacheFolder(), m_env->home() + "/.local/share/TrelmC/Device_Info/");
}

void DeviceRecordsTest::cacheFileRoundTrip()
{
    const QString name = DeviceCacheFileName(10, 31);
    QVERIFY(WriteDeviceInfoFile(name, patternImage(1)));
    QCOMPARE(QFileInfo(DeviceCacheFolder() + name).size(), qint64(10432));

    // Overwriting replaces the whole image and leaves no temporary file behind.
    QVERIFY(WriteDeviceInfoFile(name, patternImage(2)));
    QCOMPARE(QDir(DeviceCacheFolder()).entryList(QDir::Files), QStringList{name});

    FlashDataMap read{};
    QVERIFY(ReadDeviceInfoFile(name, &read));
    QVERIFY(sameImage(read, patternImage(2)));

    // The stream form: big-endian length then the bytes.
    QFile file(DeviceCacheFolder() + name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(4), QByteArray::fromHex("000028bc"));

    FlashDataMap untouched = patternImage(9);
    QVERIFY(!ReadDeviceInfoFile(DeviceCacheFileName(1, 1), &untouched));
    QVERIFY(sameImage(untouched, patternImage(9)));
}

void DeviceRecordsTest::badCacheFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("content");
    auto block = [](quint32 declared, int actual) {
        QByteArray bytes;
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        stream << declared;
        bytes.append(QByteArray(actual, char(0x5A)));
        return bytes;
    };
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("length only") << block(10428, 0);
    QTest::newRow("truncated image") << block(10428, 10427);
    QTest::newRow("declared shorter") << block(100, 100);
    QTest::newRow("declared longer") << block(20000, 20000);
    QTest::newRow("declared longer than the file") << block(20000, 10428);
    QTest::newRow("trailing bytes") << block(10428, 10429);
    QTest::newRow("null block") << block(0xFFFFFFFF, 10428);
}

void DeviceRecordsTest::badCacheFilesAreRefused()
{
    QFETCH(QByteArray, content);
    QDir().mkpath(DeviceCacheFolder());
    QFile file(DeviceCacheFolder() + "Device_CID0A_MID1F.bin");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    FlashDataMap out = patternImage(7);
    QVERIFY(!ReadDeviceInfoFile("Device_CID0A_MID1F.bin", &out));
    QVERIFY(sameImage(out, patternImage(7)));
}

void DeviceRecordsTest::bothFillsShareTheCableRule_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("cable");
    QTest::newRow("1 kHz receiver") << 0 << 0;
    QTest::newRow("4 kHz receiver") << 1 << 0;
    QTest::newRow("cable") << 2 << 1;
    QTest::newRow("8 kHz cable") << 3 << 1;
    QTest::newRow("2 kHz receiver") << 4 << 0;
    QTest::newRow("8 kHz receiver") << 5 << 0;
}

// The choice page's record and the frame's record of one device agree on the cable flag.
void DeviceRecordsTest::bothFillsShareTheCableRule()
{
    QFETCH(int, kind);
    QFETCH(int, cable);
    const QString path = QString::fromUtf8(SimScript::path(addInterface(addMouse(10, 31), kind)));
    DeviceAllInfo frame;
    frame.path = path;
    FillDeviceRecord(frame, path);
    DeviceAllInfo choice;
    choice.path = path;
    QVERIFY(FillChoiceDeviceRecord(choice));
    QCOMPARE(int(frame.cableFlag), cable);
    QCOMPARE(int(choice.cableFlag), cable);
}

void DeviceRecordsTest::versionText()
{
    QCOMPARE(FormatVersionText(0x010A), QStringLiteral("v1.a"));
    QCOMPARE(FormatVersionText(0x0210), QStringLiteral("v2.10"));
    QCOMPARE(FormatVersionText(0), QStringLiteral("v0.0"));
    // A major part above 255 keeps all its bits.
    QCOMPARE(FormatVersionText(0x012305), QStringLiteral("v291.5"));
}

void DeviceRecordsTest::identifiedAtTheNinthAnswerFailsAtTheTenth_data()
{
    QTest::addColumn<int>("unknownAnswers");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("calls");
    QTest::newRow("first answer") << 0 << 1 << 1;
    QTest::newRow("ninth answer") << 8 << 1 << 9;
    QTest::newRow("tenth answer") << 9 << 0 << 10;
    QTest::newRow("never") << 100 << 0 << 10;
}

void DeviceRecordsTest::identifiedAtTheNinthAnswerFailsAtTheTenth()
{
    QFETCH(int, unknownAnswers);
    QFETCH(int, result);
    QFETCH(int, calls);
    const int receiver = addInterface(addMouse(10, 31), 5);
    QCOMPARE(HidSim_SetIdentifyAfter(receiver, unknownAnswers), 0);
    HidSim_ClearCallLog();

    DeviceAllInfo record;
    record.path = QString::fromUtf8(SimScript::path(receiver));
    QCOMPARE(FillDeviceRecord(record, record.path), result);
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbFinderC_GetDeviceInfo")), calls);
    QCOMPARE(int(record.cableFlag), 0);  // an 8 kHz receiver
    if (result == 1) {
        QCOMPARE(record.modelIndex, 1);
        QCOMPARE(int(record.cid), 10);
        QCOMPARE(int(record.mid), 31);
        QCOMPARE(int(record.kind), 5);
        QCOMPARE(int(record.online), 1);
    } else {
        QCOMPARE(record.modelIndex, 3);
        QCOMPARE(int(record.cid), 0);
        QCOMPARE(int(record.mid), 0);
        QCOMPARE(int(record.kind), 0);
        QCOMPARE(int(record.online), 0);
    }
}

void DeviceRecordsTest::unlistedModels_data()
{
    QTest::addColumn<int>("deviceTotal");
    QTest::addColumn<int>("cid");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("modelIndex");
    QTest::newRow("catalogue CID, unknown MID") << 3 << 10 << 2 << 3;
    QTest::newRow("other CID") << 3 << 11 << 3 << 3;
    QTest::newRow("no models") << 0 << 10 << 0 << 0;
}

void DeviceRecordsTest::unlistedModels()
{
    QFETCH(int, deviceTotal);
    QFETCH(int, cid);
    QFETCH(int, result);
    QFETCH(int, modelIndex);
    writeCatalogue(deviceTotal);
    const int cable = addInterface(addMouse(uint8_t(cid), 99), 2);

    DeviceAllInfo record;
    record.path = QString::fromUtf8(SimScript::path(cable));
    QCOMPARE(FillDeviceRecord(record, record.path), result);
    QCOMPARE(record.modelIndex, modelIndex);
    QCOMPARE(int(record.cid), 0);
    QCOMPARE(int(record.mid), 0);
}

void DeviceRecordsTest::foundCurrentDeviceKeepsItsVersionTexts()
{
    const int receiver = addInterface(addMouse(10, 20), 1);
    DeviceAllInfo current;
    current.path = QString::fromUtf8(SimScript::path(receiver));
    current.firmwareVersion = "v9.9";
    current.modelIndex = 0;
    SetCurrentDeviceRecord(current);
    SetWorkingImageLoaded(true);

    DeviceAllInfo record;
    record.path = current.path;
    record.firmwareVersion = "v2.1b";
    record.mouseVersion.clear();
    QCOMPARE(FillDeviceRecord(record, record.path), 1);
    QCOMPARE(record.statusBytes, (QList<uint8_t>{0xA1, 0xB2, 0xC3}));
    QCOMPARE(int(record.online), 1);
    QCOMPARE(int(record.cableFlag), 0);

    const DeviceAllInfo after = CurrentDeviceRecord();
    QCOMPARE(after.firmwareVersion, QStringLiteral("v9.9"));  // kept: it was not empty
    QCOMPARE(int(after.kind), 1);
    QCOMPARE(after.statusBytes, record.statusBytes);
    QVERIFY(WorkingImageLoaded());  // the same device: the loaded image still belongs to it
}

void DeviceRecordsTest::frameScanFindsTheCurrentDeviceAgain()
{
    const int mouse = addMouse(10, 31);
    const int cable = addInterface(mouse, 2, "0xF511");
    const int other = addInterface(addMouse(10, 40), 2, "0xF512");
    DeviceAllInfo current;
    current.path = QString::fromUtf8(SimScript::path(cable));
    current.modelIndex = 1;
    SetCurrentDeviceRecord(current);
    SetCurrentDevicePath("placeholder");

    ScanDevices("0x3554", {"0xF511", "0xF512"});

    // The other mouse is a different model and is left out of the frame's list.
    QCOMPARE(MainPageDeviceList.size(), 1);
    QCOMPARE(MainPageDeviceList.at(0).path, QString::fromUtf8(SimScript::path(cable)));
    QCOMPARE(MainPageDeviceList.at(0).productId, QStringLiteral("0xF511"));
    QCOMPARE(MainPageDeviceList.at(0).firmwareVersion, QStringLiteral("v2.1b"));
    QCOMPARE(CurrentDevicePath(), SimScript::path(cable));
    Q_UNUSED(other);
}

void DeviceRecordsTest::scanWithoutCurrentDeviceListsEverything()
{
    addInterface(addMouse(10, 31), 2, "0xF511");
    addInterface(addMouse(10, 40), 0, "0xF512");
    HidSim_ClearCallLog();

    ScanDevices("0x3554", {"0xF511", "0xF512", "0xF513"});

    QCOMPARE(MainPageDeviceList.size(), 2);
    for (const DeviceAllInfo& record : MainPageDeviceList) {
        QCOMPARE(record.vendorId, QStringLiteral("0x3554"));
        QCOMPARE(int(record.online), 0);
        QCOMPARE(record.modelIndex, 0);
    }
    QCOMPARE(SimScript::countCalls(QStringLiteral("UsbFinderC_GetDeviceInfo")), 0);
    QVERIFY(CurrentDevicePath().isEmpty());
}

QTEST_GUILESS_MAIN(DeviceRecordsTest)
#include "tst_device_records.moc"
