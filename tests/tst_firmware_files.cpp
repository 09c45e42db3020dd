#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/FirmwareFiles.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/UpDateRepair.h"
#include "support/CatalogueText.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <unistd.h>

using namespace FirmwareFiles;

namespace {

constexpr uint8_t Cid = 7;
constexpr uint8_t Mid = 13;
const QString Model = QStringLiteral("KM-1");

// The whole content of a small image file: the header, then the file's own name so that
// the held image tells which file was chosen.
QByteArray imageContent(const QString& name, uint32_t version, uint8_t kind = MouseKind, uint8_t cid = Cid,
                        uint8_t mid = Mid, const QString& model = Model)
{
    FirmwareHeader header;
    header.version = version;
    header.kind = kind;
    header.cid = cid;
    header.mid = mid;
    header.modelName = model;
    return MakeHeader(header) + name.toUtf8();
}

QString heldName(const QList<QByteArray>& images)
{
    if (images.size() != 1)
        return QStringLiteral("<%1 images>").arg(images.size());
    return QString::fromUtf8(images.first().mid(HeaderSize));
}

// A file that is listed as a file but cannot be read. Root reads any file whatever its
// permissions, so there a link to a file whose reading fails stands in.
bool makeUnreadable(const QString& path)
{
    if (geteuid() != 0) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write(imageContent(QFileInfo(path).fileName(), 0x109));
        file.close();
        return QFile::setPermissions(path, QFileDevice::Permissions());
    }
    return QFileInfo::exists(QStringLiteral("/proc/self/mem")) && QFile::link(QStringLiteral("/proc/self/mem"), path);
}

// Writes the files of one case into "<program>/bin". Each entry is "name:version" with the
// version as hexadecimal header value, optionally followed by ":" and a variation.
bool writeImages(const TestEnv& env, const QStringList& entries)
{
    const QString bin = env.programDir() + QStringLiteral("/bin");
    QDir().mkpath(bin);
    for (const QString& entry : entries) {
        const QStringList f = entry.split(QLatin1Char(':'));
        const QString name = f.value(0);
        const uint32_t version = f.value(1).toUInt(nullptr, 16);
        const QString variation = f.value(2);
        if (variation == QLatin1String("kind"))
            env.writeProgramFile("bin/" + name, imageContent(name, version, ReceiverKind));
        else if (variation == QLatin1String("cid"))
            env.writeProgramFile("bin/" + name, imageContent(name, version, MouseKind, Cid + 1));
        else if (variation == QLatin1String("mid"))
            env.writeProgramFile("bin/" + name, imageContent(name, version, MouseKind, Cid, Mid + 1));
        else if (variation == QLatin1String("model"))
            env.writeProgramFile("bin/" + name, imageContent(name, version, MouseKind, Cid, Mid, "KM-2"));
        else if (variation == QLatin1String("modelcase"))
            env.writeProgramFile("bin/" + name, imageContent(name, version, MouseKind, Cid, Mid, "km-1"));
        else if (variation == QLatin1String("short"))
            env.writeProgramFile("bin/" + name, imageContent(name, version).left(HeaderSize - 1));
        else if (variation == QLatin1String("huge") || variation == QLatin1String("hugeother")) {
            // One byte over the limit; sparse, so the test writes no 16 MiB.
            const QString model = variation == QLatin1String("huge") ? Model : QStringLiteral("KM-2");
            env.writeProgramFile("bin/" + name, imageContent(name, version, MouseKind, Cid, Mid, model));
            if (!QFile::resize(bin + "/" + name, MaxImageFileSize + 1))
                return false;
        } else if (variation == QLatin1String("folder"))
            QDir().mkpath(bin + "/" + name);
        else if (variation == QLatin1String("unreadable")) {
            if (!makeUnreadable(bin + "/" + name))
                return false;
        } else
            env.writeProgramFile("bin/" + name, imageContent(name, version));
    }
    return true;
}

}  // namespace

class TestFirmwareFiles : public QObject {
    Q_OBJECT
private slots:
    void versionTexts();
    void searches_data();
    void searches();
    void noBinFolder();
    void skippedFilesAreLogged();
    void fullLengthModelName();
    void checkNewFirmwareUsesCatalogue_data();
    void checkNewFirmwareUsesCatalogue();
};

void TestFirmwareFiles::versionTexts()
{
    QCOMPARE(VersionText(0x000105), QStringLiteral("1.5"));
    QCOMPARE(VersionText(0x00010A), QStringLiteral("1.a"));
    QCOMPARE(VersionText(0x000210), QStringLiteral("2.10"));
    // Read back as the same numbers, with or without the "v".
    for (uint32_t value : {0x000105u, 0x00010Au, 0x000210u, 0x123400u}) {
        const FirmwareVersion header = VersionFromHeader(value);
        QCOMPARE(ParseVersionText(VersionText(value)), header);
        QCOMPARE(ParseVersionText("v" + VersionText(value)), header);
    }
    QVERIFY(ParseVersionText("1.9") < ParseVersionText("v1.a"));
    QVERIFY(ParseVersionText("2.9") < ParseVersionText("2.10"));
    QVERIFY(ParseVersionText("1.ff") < ParseVersionText("2.0"));
    QCOMPARE(ParseVersionText("junk"), FirmwareVersion{});
}

void TestFirmwareFiles::searches_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("scan");
    QTest::addColumn<QString>("find");    // the file held by the update search, empty: none
    QTest::addColumn<QString>("repair");  // the file held by the repair search, empty: none
    QTest::addColumn<bool>("refused");    // the update search skipped a file it would have taken

    const QString none;
    QTest::newRow("newer") << QStringList{"a.bin:106"} << "1.5" << true << "a.bin" << "a.bin" << false;
    QTest::newRow("newer, version with v") << QStringList{"a.bin:106"} << "v1.5" << true << "a.bin" << "a.bin" << false;
    QTest::newRow("same version") << QStringList{"a.bin:105"} << "v1.5" << false << none << none << false;
    QTest::newRow("older: only the repair takes it") << QStringList{"a.bin:104"} << "1.5" << false << none << "a.bin" << false;
    QTest::newRow("1.a is newer than 1.9") << QStringList{"a.bin:10a"} << "v1.9" << true << "a.bin" << "a.bin" << false;
    QTest::newRow("1.9 is older than 1.a") << QStringList{"a.bin:109"} << "v1.a" << false << none << "a.bin" << false;
    QTest::newRow("1.a is 1.a") << QStringList{"a.bin:10a"} << "v1.a" << false << none << none << false;
    QTest::newRow("2.10 is newer than 2.9") << QStringList{"a.bin:210"} << "2.9" << true << "a.bin" << "a.bin" << false;
    QTest::newRow("older first, newer later")
        << QStringList{"a.bin:104", "b.bin:106"} << "1.5" << true << "b.bin" << "b.bin" << false;
    QTest::newRow("highest held, first in name order")
        << QStringList{"a.bin:107", "B.bin:106"} << "1.5" << true << "a.bin" << "a.bin" << false;
    QTest::newRow("highest held, last in name order")
        << QStringList{"A.bin:106", "b.bin:107"} << "1.5" << true << "b.bin" << "b.bin" << false;
    QTest::newRow("equal versions: last in name order")
        << QStringList{"a.bin:106", "B.bin:106", "c.bin:104"} << "1.5" << true << "B.bin" << "B.bin" << false;
    QTest::newRow("wrong kind") << QStringList{"a.bin:106:kind"} << "1.5" << false << none << none << false;
    QTest::newRow("wrong CID") << QStringList{"a.bin:106:cid"} << "1.5" << false << none << none << false;
    QTest::newRow("wrong MID") << QStringList{"a.bin:106:mid"} << "1.5" << false << none << none << false;
    QTest::newRow("wrong model name") << QStringList{"a.bin:106:model"} << "1.5" << false << none << none << false;
    QTest::newRow("model name case") << QStringList{"a.bin:106:modelcase"} << "1.5" << false << none << none << false;
    QTest::newRow("short file ignored") << QStringList{"a.bin:106:short"} << "1.5" << false << none << none << false;
    QTest::newRow("short file skipped")
        << QStringList{"a.bin:107:short", "b.bin:106"} << "1.5" << true << "b.bin" << "b.bin" << false;
    QTest::newRow("unreadable file skipped")
        << QStringList{"a.bin:0:unreadable", "b.bin:106"} << "1.5" << true << "b.bin" << "b.bin" << false;
    QTest::newRow("folder named .bin skipped")
        << QStringList{"a.bin:0:folder", "b.bin:106"} << "1.5" << true << "b.bin" << "b.bin" << false;
    QTest::newRow("sub-folder not searched") << QStringList{"sub:0:folder", "sub/a.bin:106"} << "1.5" << false << none
                                             << none << false;
    QTest::newRow("hidden file not listed") << QStringList{".a.bin:106"} << "1.5" << false << none << none << false;
    QTest::newRow("extension in capitals") << QStringList{"A.BIN:106"} << "1.5" << true << "A.BIN" << "A.BIN" << false;
    QTest::newRow("other extension") << QStringList{"a.hex:106"} << "1.5" << false << none << none << false;
    QTest::newRow("empty version: any match, version 0 too")
        << QStringList{"a.bin:0"} << "" << false << "a.bin" << "a.bin" << false;
    QTest::newRow("empty version: highest held")
        << QStringList{"a.bin:0", "b.bin:203", "c.bin:106"} << "" << false << "b.bin" << "b.bin" << false;
    QTest::newRow("nothing newer among several")
        << QStringList{"a.bin:103", "b.bin:105", "c.bin:106:mid"} << "1.5" << false << none << "a.bin" << false;
    QTest::newRow("over the size limit: refused, smaller one held")
        << QStringList{"a.bin:107:huge", "b.bin:106"} << "1.5" << true << "b.bin" << "b.bin" << true;
    QTest::newRow("over the size limit alone") << QStringList{"a.bin:107:huge"} << "1.5" << false << none << none << true;
    QTest::newRow("over the size limit, older: not refused")
        << QStringList{"a.bin:104:huge"} << "1.5" << false << none << none << false;
    QTest::newRow("over the size limit, other model: not refused")
        << QStringList{"a.bin:107:hugeother"} << "1.5" << false << none << none << false;
}

void TestFirmwareFiles::searches()
{
    QFETCH(QStringList, files);
    QFETCH(QString, version);
    QFETCH(bool, scan);
    QFETCH(QString, find);
    QFETCH(QString, repair);
    QFETCH(bool, refused);

    TestEnv env;
    if (!writeImages(env, files))
        QSKIP("cannot make an unreadable file here");

    QCOMPARE(FormSetting::ScanFirmwareFiles(MouseKind, version, Model, Cid, Mid), scan);

    // A stale image never survives a search that finds nothing.
    FirmwareImages = {QByteArray("stale")};
    QCOMPARE(FormSetting::FindFirmwareFile(MouseKind, version, Model, Cid, Mid), !find.isEmpty());
    if (find.isEmpty())
        QVERIFY(FirmwareImages.isEmpty());
    else
        QCOMPARE(heldName(FirmwareImages), find);

    bool skippedMatch = !refused;
    QList<QByteArray> images;
    FindFirmwareFile(BinFolder(), images, {MouseKind, version, Model, Cid, Mid}, &skippedMatch);
    QCOMPARE(skippedMatch, refused);

    UpDateRepair dialog;
    QVERIFY(!UpDateRepair::CheckFirmwareFile(&dialog, MouseKind, "9.0", "other", Cid, Mid));  // no match
    QVERIFY(dialog.RepairImages().isEmpty());
    QCOMPARE(UpDateRepair::CheckFirmwareFile(&dialog, MouseKind, version, Model, Cid, Mid), !repair.isEmpty());
    if (!repair.isEmpty()) {
        QCOMPARE(heldName(dialog.RepairImages()), repair);
        // A later search that accepts nothing leaves the chosen image in place.
        QVERIFY(!UpDateRepair::CheckFirmwareFile(&dialog, MouseKind, version, "other", Cid, Mid));
        QCOMPARE(heldName(dialog.RepairImages()), repair);
        // The whole file is held, not only its header.
        QFile chosen(env.programDir() + "/bin/" + repair);
        QVERIFY(chosen.open(QIODevice::ReadOnly));
        QCOMPARE(dialog.RepairImages().first(), chosen.readAll());
    }
    FirmwareImages.clear();
}

void TestFirmwareFiles::noBinFolder()
{
    TestEnv env;
    QVERIFY(!FormSetting::ScanFirmwareFiles(MouseKind, "1.0", Model, Cid, Mid));
    QVERIFY(!FormSetting::FindFirmwareFile(MouseKind, "", Model, Cid, Mid));
    UpDateRepair dialog;
    QVERIFY(!UpDateRepair::CheckFirmwareFile(&dialog, MouseKind, "", Model, Cid, Mid));
    QVERIFY(!UpDateRepair::CheckFirmwareFile(nullptr, MouseKind, "", Model, Cid, Mid));
}

namespace {
QStringList* g_logged = nullptr;
void keepMessage(QtMsgType, const QMessageLogContext&, const QString& message)
{
    if (g_logged)
        g_logged->append(message);
}
}  // namespace

void TestFirmwareFiles::skippedFilesAreLogged()
{
    TestEnv env;
    QVERIFY(writeImages(env, {"short.bin:106:short", "huge.bin:107:huge", "good.bin:106"}));
    FirmwareHeader odd;
    odd.version = 0x106;
    odd.kind = 99;
    odd.cid = Cid;
    odd.mid = Mid;
    odd.modelName = Model;
    env.writeProgramFile("bin/odd.bin", MakeHeader(odd));

    QStringList logged;
    g_logged = &logged;
    const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
    QList<QByteArray> images;
    bool refused = false;
    const bool found = FindFirmwareFile(BinFolder(), images, {MouseKind, "1.5", Model, Cid, Mid}, &refused);
    qInstallMessageHandler(previous);
    g_logged = nullptr;

    QVERIFY(found);
    QVERIFY(refused);
    QCOMPARE(heldName(images), QStringLiteral("good.bin"));
    QCOMPARE(logged.size(), 3);
    QCOMPARE(logged.filter(QStringLiteral("short.bin skipped: shorter than")).size(), 1);
    QCOMPARE(logged.filter(QStringLiteral("huge.bin skipped: larger than")).size(), 1);
    QCOMPARE(logged.filter(QStringLiteral("odd.bin skipped: names neither")).size(), 1);
}

void TestFirmwareFiles::fullLengthModelName()
{
    // A model name filling all 64 bytes has no terminating NUL and still matches.
    TestEnv env;
    const QString name(ModelNameSize, QLatin1Char('M'));
    env.writeProgramFile("bin/a.bin", imageContent("a.bin", 0x106, MouseKind, Cid, Mid, name));
    QVERIFY(FormSetting::ScanFirmwareFiles(MouseKind, "1.5", name, Cid, Mid));
    QVERIFY(!FormSetting::ScanFirmwareFiles(MouseKind, "1.5", name + "X", Cid, Mid));
}

void TestFirmwareFiles::checkNewFirmwareUsesCatalogue_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("receiverType");
    QTest::addColumn<bool>("expected");
    QTest::newRow("mouse newer") << 210 << "v1.5" << 0 << true;
    QTest::newRow("mouse same") << 210 << "v1.6" << 0 << false;
    QTest::newRow("mouse without version") << 210 << "" << 0 << false;
    QTest::newRow("receiver type 1") << 211 << "v2.0" << 1 << true;
    QTest::newRow("receiver type 2: no D2M image") << 211 << "v2.0" << 2 << false;
    QTest::newRow("receiver type 4") << 211 << "v2.0" << 4 << true;
    QTest::newRow("receiver type 4 up to date") << 211 << "v2.a" << 4 << false;
    QTest::newRow("no receiver type") << 211 << "v2.0" << 0 << false;
    QTest::newRow("unknown receiver type") << 211 << "v2.0" << 3 << false;
}

void TestFirmwareFiles::checkNewFirmwareUsesCatalogue()
{
    QFETCH(int, kind);
    QFETCH(QString, version);
    QFETCH(int, receiverType);
    QFETCH(bool, expected);

    TestEnv env;
    using testcatalogue::encoded;
    testcatalogue::write(env,
                         "[Option]\nCID=" + encoded({"7"}) + "\n"
                         "[Drive1]\nMID=1\nMM=" + encoded({"OTHER"}) + "\n"
                         "[Drive2]\nMID=13\nMM=" + encoded({"KM-1"}) + "\nDM=" + encoded({"RX-1\n"}) + "\nD2M=" + encoded({"RX-2"})
                             + "\nD4M=" + encoded({"RX 4"}) + "\n");
    DeviceAllInfo device;
    device.modelIndex = 1;  // group "Drive2"
    SetCurrentDeviceRecord(device);

    env.writeProgramFile("bin/mouse.bin", imageContent("mouse.bin", 0x106));
    env.writeProgramFile("bin/rx1.bin", imageContent("rx1.bin", 0x201, ReceiverKind, Cid, Mid, "RX-1"));
    env.writeProgramFile("bin/rx4.bin", imageContent("rx4.bin", 0x20a, ReceiverKind, Cid, Mid, "RX4"));

    UpdateCID = -1;
    QCOMPARE(FormSetting::CheckNewFirmware(kind, version, receiverType), expected);
    QCOMPARE(UpdateCID.load(), 7);

    ResetCurrentDevice();
    UserConfig::reload();
}

QTEST_MAIN(TestFirmwareFiles)
#include "tst_firmware_files.moc"
