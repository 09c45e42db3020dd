// The sensor header reader, the DPI ranges and the conversion between DPI values and the
// bytes of a DPI level record, in both directions.
#include "support/CatalogueText.h"
#include "support/HidSimScript.h"
#include "support/TestEnv.h"

#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/DpiCodes.h"
#include "device/SensorHeader.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"

#include "HIDUsbControl.h"

#include <QBuffer>
#include <QtTest>

#include <memory>

namespace {

SensorHeader parse(const QByteArray& text, BareDefineValue bare = BareDefineValue::Decimal)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);
    return ParseSensorHeader(&buffer, bare);
}

void useHeader(const QByteArray& text)
{
    const SensorHeader h = parse(text);
    SensorDefineNames = h.names;
    SensorDefineValues = h.values;
}

const QStringList TwoRanges = {"50", "10000", "50", "10100", "26000", "100", "0x22"};


}  // namespace

class DpiCodesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void headerLines_data();
    void headerLines();
    void headerFeatureLists();
    void buttonPageReadsPlainValuesAsHexadecimal();
    void missingHeaderFileGivesNothing();
    void rangesFromCatalogueList();
    void rangesWithBadLists();
    void codesBothWays_data();
    void codesBothWays();
    void tableCodeMissingShowsZero();
    void snappingAndSteps_data();
    void snappingAndSteps();
    void zeroStepSnapsNothing();
    void extremeNumbersStayInRange();
    void applyLevelDpiWritesTheRecord();
    void shippedRangesRoundTrip();

private:
    std::unique_ptr<TestEnv> m_env;
};

void DpiCodesTest::init()
{
    m_env = std::make_unique<TestEnv>();
    SensorDefineNames.clear();
    SensorDefineValues.clear();
    CurrentSensorName.clear();
    DpiRangeTable = DpiRangeSet();
}

void DpiCodesTest::cleanup()
{
    UsbServer_Exit();
    ClearWorkingImage();
    ResetCurrentDevice();
    m_env.reset();
}

void DpiCodesTest::headerLines_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<int>>("values");
    const QString name = QStringLiteral("SENSOR_3395_DPI_800");
    QTest::newRow("hexadecimal value") << QByteArray("#define SENSOR_3395_DPI_800\t0x1F\n") << QStringList{name}
                                       << QList<int>{31};
    QTest::newRow("decimal value") << QByteArray("#define SENSOR_3395_DPI_800\t31\n") << QStringList{name}
                                   << QList<int>{31};
    QTest::newRow("comment makes it decimal") << QByteArray("#define SENSOR_3395_DPI_800\t0x1F //x\n")
                                              << QStringList{name} << QList<int>{0};
    QTest::newRow("comment, decimal value") << QByteArray("#define SENSOR_3395_DPI_800\t12 //x\n")
                                            << QStringList{name} << QList<int>{12};
    QTest::newRow("last line without line end") << QByteArray("#define A\t1\n#define SENSOR_3395_DPI_800\t0x1F")
                                                 << QStringList{"A"} << QList<int>{1};
    QTest::newRow("no value skipped") << QByteArray("#define LONELY\n#define B\t2\n") << QStringList{"B"}
                                      << QList<int>{2};
    QTest::newRow("value not a number") << QByteArray("#define C\tabc\n") << QStringList{"C"} << QList<int>{0};
    QTest::newRow("blank instead of tab") << QByteArray("#define D 4\n") << QStringList{} << QList<int>{};
    QTest::newRow("comments and blank lines") << QByteArray("/* a comment with words */\n\n * more words here\n")
                                              << QStringList{} << QList<int>{};
    QTest::newRow("windows line ends") << QByteArray("#define E\t0x10\r\n") << QStringList{"E"} << QList<int>{16};
}

void DpiCodesTest::headerLines()
{
    QFETCH(QByteArray, text);
    const SensorHeader h = parse(text);
    QTEST(h.names, "names");
    QTEST(h.values, "values");
}

void DpiCodesTest::headerFeatureLists()
{
    const SensorHeader h = parse("#define SUPPORT_LOD_CAL\t3395,3950\n"
                                 "#define SUPPORT_RIPPLE\t3311\n"
                                 "#define SUPPORT_RIPPLE\t3395\n"   // a later line replaces
                                 "#define SUPPORT_FIXLINE\n"        // no value: skipped
                                 "#define SUPPORT_MOTION_SYNC\t3950");  // no line end: still read
    QCOMPARE(h.supportText(SensorSupport::LodCal), QStringLiteral("3395,3950"));
    QCOMPARE(h.supportText(SensorSupport::Ripple), QStringLiteral("3395"));
    QCOMPARE(h.supportText(SensorSupport::FixLine), QString());
    QCOMPARE(h.supportText(SensorSupport::MotionSync), QStringLiteral("3950"));
    QVERIFY(h.names.isEmpty());
    QVERIFY(h.supports(SensorSupport::LodCal, QStringLiteral("3950")));
    QVERIFY(!h.supports(SensorSupport::LodCal, QStringLiteral("3311")));
    // An empty sensor name is contained in every text but supports nothing.
    QVERIFY(!h.supports(SensorSupport::LodCal, QString()));
}

void DpiCodesTest::buttonPageReadsPlainValuesAsHexadecimal()
{
    const QByteArray text = "#define SENSOR_3311_DPI_800\t10\n#define X\t0x10\n";
    QCOMPARE(parse(text, BareDefineValue::Hexadecimal).values, (QList<int>{16, 16}));
    QCOMPARE(parse(text, BareDefineValue::Decimal).values, (QList<int>{10, 16}));
}

void DpiCodesTest::missingHeaderFileGivesNothing()
{
    SensorDefineNames = QStringList{QStringLiteral("OLD")};
    SensorDefineValues = QList<int>{1};
    LoadSensorHeader();
    QVERIFY(SensorDefineNames.isEmpty());
    QVERIFY(SensorDefineValues.isEmpty());

    m_env->writeProgramFile(QStringLiteral("driver_sensor.h"), "#define SENSOR_3311_DPI_800\t0x08\n");
    LoadSensorHeader();
    QCOMPARE(SensorDefineNames, QStringList{QStringLiteral("SENSOR_3311_DPI_800")});
    QCOMPARE(SensorDefineValues, QList<int>{8});
}

void DpiCodesTest::rangesFromCatalogueList()
{
    LoadDpiRangesFrom(TwoRanges);
    const DpiRangeSet& t = DpiRangeTable;
    QCOMPARE(t.count, 2);
    QCOMPARE(t.code, 0x22);
    QCOMPARE(t.mins, (QList<int>{50, 10100}));
    QCOMPARE(t.maxes, (QList<int>{10000, 26000}));
    QCOMPARE(t.lowest, QStringLiteral("50"));
    QCOMPARE(t.highest, QStringLiteral("26000"));
    QCOMPARE(t.stepText[1], QStringLiteral("100"));
}

void DpiCodesTest::rangesWithBadLists()
{
    LoadDpiRangesFrom(TwoRanges);
    LoadDpiRangesFrom({});
    QCOMPARE(DpiRangeTable.count, 0);
    QCOMPARE(DpiRangeTable.code, 0);
    QVERIFY(DpiRangeTable.mins.isEmpty());
    QCOMPARE(SnapDpi(777).value, 777);

    // Five ranges are more than the table holds: the bounds stay, no numeric ranges.
    LoadDpiRangesFrom(TwoRanges);
    QStringList five;
    for (int k = 0; k < 5; ++k)
        five << "100" << "200" << "100";
    five << "0x33";
    LoadDpiRangesFrom(five);
    QCOMPARE(DpiRangeTable.count, 5);
    QVERIFY(DpiRangeTable.mins.isEmpty());
    QCOMPARE(DpiRangeTable.highest, QStringLiteral("26000"));
    QVERIFY(DpiRangeList().isEmpty());
}

void DpiCodesTest::codesBothWays_data()
{
    QTest::addColumn<QString>("sensor");
    QTest::addColumn<QStringList>("ranges");
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("shownBack");
    const QByteArray none;
    const QByteArray table3311 = "#define SENSOR_3311_DPI_800\t0x08\n#define SENSOR_3311_DPI_1600\t0x10\n";
    const QStringList fourRanges = {"100", "1000", "100", "1100", "2000", "100", "2100", "4000", "100",
                                    "4200", "40000", "200", "0x33"};
    QTest::newRow("800, first range") << "3395" << TwoRanges << none << 800 << 15 << 0 << 800;
    QTest::newRow("12000, second range") << "3395" << TwoRanges << none << 12000 << 119 << 0x22 << 12000;
    QTest::newRow("26000, 10-bit code") << "3395" << TwoRanges << none << 26000 << 3 << 0x66 << 26000;
    QTest::newRow("3950 without ranges") << "3950" << QStringList() << none << 20000 << 0x8F << 0x44 << 20000;
    QTest::newRow("0x33, fourth range") << "3395" << fourRanges << none << 8000 << 39 << 0x33 << 8000;
    QTest::newRow("0x33, third range") << "3395" << fourRanges << none << 3000 << 29 << 0x11 << 3000;
    QTest::newRow("0x33, second range") << "3395" << fourRanges << none << 1500 << 14 << 0x22 << 1500;
    QTest::newRow("3311 table") << "3311" << QStringList{"800", "12000", "800", "0x00"} << table3311 << 1600 << 0x10
                                << 0 << 1600;
    QTest::newRow("3311 table, doubled") << "3311" << QStringList{"800", "1600", "800", "0x22"} << table3311 << 3200
                                         << 0x10 << 0x22 << 3200;
    QTest::newRow("wide sensor clamps at 1023") << "3950" << QStringList() << none << 60000 << 0xFF << 0xCC
                                                << 51200;
    QTest::newRow("narrow sensor clamps at 255") << "3311" << QStringList() << none << 26000 << 255 << 0 << 12800;
}

void DpiCodesTest::codesBothWays()
{
    QFETCH(QString, sensor);
    QFETCH(QStringList, ranges);
    QFETCH(QByteArray, header);
    QFETCH(int, dpi);
    CurrentSensorName = sensor;
    LoadDpiRangesFrom(ranges);
    useHeader(header);

    const DpiLevelCode c = DpiLevelCodeFor(dpi, 0);
    QTEST(int(c.codeX), "code");
    QCOMPARE(c.codeY, c.codeX);
    QTEST(int(c.flags), "flags");
    QTEST(DpiFromLevelRecord(c.codeX, c.flags), "shownBack");
}

void DpiCodesTest::tableCodeMissingShowsZero()
{
    CurrentSensorName = QStringLiteral("3311");
    useHeader("#define SENSOR_3311_DPI_800\t0x08\n");
    QCOMPARE(DpiFromLevelRecord(0x08, 0), 800);
    QCOMPARE(DpiFromLevelRecord(0x09, 0), 0);
    // A value the table lacks takes the plain code of its unit.
    QCOMPARE(int(DpiLevelCodeFor(2400, 0).codeX), 48);
    QCOMPARE(int(DpiLevelCodeFor(2400, 0x22).codeX), 24);
    // A sensor name holding the letters of "DPI" still reads the number after the prefix.
    CurrentSensorName = QStringLiteral("PIXI");
    useHeader("#define SENSOR_PIXI_DPI_400\t0x05\n");
    QCOMPARE(DpiFromLevelRecord(0x05, 0), 400);
}

void DpiCodesTest::snappingAndSteps_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("out");
    QTest::addColumn<int>("pageStep");
    QTest::newRow("snap inside first range") << "snap" << 777 << 750 << 50;
    QTest::newRow("snap in the gap") << "snap" << 10050 << 10100 << 100;
    QTest::newRow("snap inside second range") << "snap" << 10149 << 10100 << 100;
    QTest::newRow("snap above every range") << "snap" << 30000 << 30000 << 0;
    QTest::newRow("snap below every range") << "snap" << 10 << 10 << 0;
    QTest::newRow("up across the gap") << "up" << 10000 << 10100 << 0;
    QTest::newRow("up inside a range") << "up" << 800 << 850 << 0;
    QTest::newRow("up from the top") << "up" << 26000 << 26100 << 0;
    QTest::newRow("down across the gap") << "down" << 10100 << 10000 << 0;
    QTest::newRow("down inside a range") << "down" << 800 << 750 << 0;
    QTest::newRow("down from the gap") << "down" << 10050 << 10100 << 0;
    QTest::newRow("down outside") << "down" << 30000 << 30000 << 0;
}

void DpiCodesTest::snappingAndSteps()
{
    QFETCH(QString, operation);
    QFETCH(int, in);
    LoadDpiRangesFrom(TwoRanges);
    if (operation == QLatin1String("snap")) {
        const DpiSnap s = SnapDpi(in);
        QTEST(s.value, "out");
        QTEST(s.pageStep, "pageStep");
    } else if (operation == QLatin1String("up")) {
        QTEST(StepDpiUp(in), "out");
    } else {
        QTEST(StepDpiDown(in), "out");
    }
}

void DpiCodesTest::zeroStepSnapsNothing()
{
    for (const QString& step : {QStringLiteral("0"), QStringLiteral("-50"), QStringLiteral("x")}) {
        LoadDpiRangesFrom({"50", "10000", step, "10100", "26000", "100", "0x22"});
        QCOMPARE(SnapDpi(777).value, 777);
        QCOMPARE(SnapDpi(777).pageStep, 0);
        QCOMPARE(StepDpiUp(777), 777);
        QCOMPARE(StepDpiDown(777), 777);
        // The other range still works.
        QCOMPARE(SnapDpi(10149).value, 10100);
        LoadDpiRangesFrom({"50", "10000", "50", "10100", "26000", step, "0x22"});
        QCOMPARE(SnapDpi(10050).value, 10050);
        QCOMPARE(StepDpiUp(10100), 10100);
    }
}

// Found by fuzzing the sensor header and the catalogue: numbers at the ends of int.
void DpiCodesTest::extremeNumbersStayInRange()
{
    CurrentSensorName = QStringLiteral("3311");
    useHeader("#define SENSOR_3311_DPI_2000000000\t0x08\n#define SENSOR_3311_DPI_800\t0x09\n");
    QCOMPARE(DpiFromLevelRecord(0x08, 0x22), 0);
    QCOMPARE(DpiFromLevelRecord(0x08, 0), 0);
    QCOMPARE(DpiFromLevelRecord(0x09, 0x22), 1600);

    LoadDpiRangesFrom({"50", "2147483647", "100", "0x11"});
    QCOMPARE(StepDpiUp(2147483647), 2147483647);
    QCOMPARE(StepDpiUp(2147483600), 2147483647);
    LoadDpiRangesFrom({"-2147483648", "100", "100", "200", "300", "50", "0x22"});
    QCOMPARE(StepDpiDown(-2147483648), -2147483648);
    QCOMPARE(StepDpiDown(0), -100);
}

void DpiCodesTest::applyLevelDpiWritesTheRecord()
{
    const SimScript::Device d = SimScript::addCableMouse(1);
    SetCurrentDevicePath(d.path);
    SimScript::openQuietLink(d.path);
    FlashDataMap image{};
    image.dpiLevels[3] = {7, 7, 0x22, 1, 2, 3};
    LoadWorkingImage(image);
    CurrentSensorName = QStringLiteral("3395");
    LoadDpiRangesFrom(TwoRanges);

    const int before = HidSim_WriteCount(d.mouse);
    ApplyLevelDpi(-1, 800);
    ApplyLevelDpi(8, 800);
    QCOMPARE(HidSim_WriteCount(d.mouse), before);

    ApplyLevelDpi(3, 12000);
    QCOMPARE(HidSim_WriteCount(d.mouse), before + 1);
    const QByteArray stored = SimScript::lastWrittenImage(d.mouse);
    QCOMPARE(stored.mid(15 + 18, 6), QByteArray::fromHex("777722010203"));
}

void DpiCodesTest::shippedRangesRoundTrip()
{
    m_env->stageShippedData();
    UserConfig::reload();
    LoadSensorHeader();
    QVERIFY(!SensorDefineNames.isEmpty());
    UserConfig* config = UserConfig::instance();
    const int models = config->value(QStringLiteral("Option"), QStringLiteral("DeviceTotal")).toInt();
    QVERIFY(models > 0);
    for (int m = 0; m < models; ++m) {
        const QString group = CatalogueModelGroup(m);
        CurrentSensorName = config->value(group, QStringLiteral("Sensor"));
        LoadDpiRangesFrom(config->valueList(group, QStringLiteral("DPIRange")));
        const QVector<DpiRange> ranges = DpiRangeList();
        QVERIFY2(!ranges.isEmpty(), qPrintable(group));
        for (const DpiRange& r : ranges) {
            QVERIFY(r.step > 0);
            for (int dpi = r.min; dpi <= r.max; dpi += r.step) {
                const DpiLevelCode c = DpiLevelCodeFor(dpi, 0);
                QVERIFY2(DpiFromLevelRecord(c.codeX, c.flags) == dpi,
                         qPrintable(group + QStringLiteral(" ") + QString::number(dpi)));
            }
        }
    }
}

QTEST_GUILESS_MAIN(DpiCodesTest)
#include "tst_dpi_codes.moc"
