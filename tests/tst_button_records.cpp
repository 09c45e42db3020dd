// Combination and media records, catalogue defaults and the DPI-lock codes. No widget.
#include "device/ButtonRecords.h"

#include <QtTest>

#include <cstring>

namespace {

QByteArray bytesOf(const ButtonComboRecord& record)
{
    return QByteArray(reinterpret_cast<const char*>(&record), int(sizeof record));
}

QByteArray hex(const char* text) { return QByteArray::fromHex(QByteArray(text).replace(' ', "").replace('|', "")); }

}  // namespace

class ButtonRecordsTest : public QObject {
    Q_OBJECT

private slots:
    void comboRecordBytes_data();
    void comboRecordBytes();
    void comboTextOfStoredRecords_data();
    void comboTextOfStoredRecords();
    void mediaRecordAndTable();
    void keyParamDefaults_data();
    void keyParamDefaults();
    void slotTable();
    void dpiLock_data();
    void dpiLock();
};

void ButtonRecordsTest::comboRecordBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Ctrl+V") << "Ctrl+V"
                            << hex("04 00 00 00 | 00 00 01 00 0A 00 00 00 | 00 01 19 00 0A 00 00 00 |"
                                   "01 01 19 00 0A 00 00 00 | 01 00 01 00 0A 00 00 00") + QByteArray(16, 0);
    QTest::newRow("A") << "A" << hex("02 00 00 00 | 00 01 04 00 0A 00 00 00 | 01 01 04 00 0A 00 00 00") + QByteArray(32, 0);
    QTest::newRow("Num+ is one key") << "Num+"
                                     << hex("02 00 00 00 | 00 01 57 00 0A 00 00 00 | 01 01 57 00 0A 00 00 00") +
                                            QByteArray(32, 0);
    QTest::newRow("Ctrl+Num+") << "Ctrl+Num+"
                               << hex("04 00 00 00 | 00 00 01 00 0A 00 00 00 | 00 01 57 00 0A 00 00 00 |"
                                      "01 01 57 00 0A 00 00 00 | 01 00 01 00 0A 00 00 00") + QByteArray(16, 0);
    QTest::newRow("F7") << "F7" << hex("02 00 00 00 | 00 01 40 00 0A 00 00 00 | 01 01 40 00 0A 00 00 00") + QByteArray(32, 0);
    QTest::newRow("empty text is the empty key")
        << "" << hex("02 00 00 00 | 00 01 00 00 0A 00 00 00 | 01 01 00 00 0A 00 00 00") + QByteArray(32, 0);
    QTest::newRow("four names: the first three")
        << "Ctrl+Alt+Del+A"
        << hex("06 00 00 00 | 00 00 01 00 0A 00 00 00 | 00 00 04 00 0A 00 00 00 | 00 01 4C 00 0A 00 00 00 |"
               "01 01 4C 00 0A 00 00 00 | 01 00 04 00 0A 00 00 00 | 01 00 01 00 0A 00 00 00");
}

void ButtonRecordsTest::comboRecordBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(bytes.size(), 52);
    QCOMPARE(bytesOf(BuildComboRecord(text)), bytes);
}

void ButtonRecordsTest::comboTextOfStoredRecords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Ctrl+Shift+A") << "Ctrl+Shift+A" << "Ctrl+Shift+A";
    QTest::newRow("F7") << "F7" << "F7";
    QTest::newRow("Alt+F7") << "Alt+F7" << "Alt+F7";
    QTest::newRow("Num+") << "Ctrl+Num+" << "Ctrl+Num+";
    QTest::newRow("four names") << "Ctrl+Alt+Del+A" << "Ctrl+Alt+Del";
}

void ButtonRecordsTest::comboTextOfStoredRecords()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(ComboRecordText(BuildComboRecord(text)), shown);

    // A damaged count reads at most the six events.
    ButtonComboRecord damaged = BuildComboRecord("Ctrl+Shift+A");
    damaged.eventCount = 200;
    QCOMPARE(ComboRecordText(damaged), QString("Ctrl+Shift+A"));
    damaged.eventCount = 1;
    QCOMPARE(ComboRecordText(damaged), QString());
}

void ButtonRecordsTest::mediaRecordAndTable()
{
    QCOMPARE(bytesOf(MediaKeyRecord(0x00CD)),
             hex("02 00 00 00 | 00 02 CD 00 0A 00 00 00 | 01 02 CD 00 0A 00 00 00") + QByteArray(32, 0));
    QCOMPARE(bytesOf(MediaKeyRecord(0x0227)).mid(4, 4), hex("00 02 27 02"));

    const QList<QPair<QString, int>> table = {
        {"Player", 0x0183},        {"StartPause_2", 0x00CD},  {"BackMusic_2", 0x00B5},   {"TopMusic_2", 0x00B6},
        {"Mute", 0x00B7},          {"VolumeUp", 0x00E2},      {"VolumeDown", 0x00E9},    {"VolumeDown_4", 0x00EA},
        {"VolumeDown_5", 0x018A},  {"VolumeDown_6", 0x0192},  {"VolumeDown_3", 0x0194},  {"VolumeDown_8", 0x0223},
        {"VolumeDown_9", 0x0221},  {"VolumeDown_7", 0x0225},  {"VolumeDown_10", 0x0224}, {"VolumeDown_12", 0x0226},
        {"VolumeDown_13", 0x0227}, {"VolumeDown_11", 0x022A},
    };
    QCOMPARE(table.size(), MediaFunctionCount);
    for (const auto& [button, usage] : table) {
        const MediaFunction* f = MediaFunctionForUsage(uint16_t(usage));
        QVERIFY2(f && button == QLatin1String(f->button), qPrintable(button));
        QCOMPARE(MediaUsageForCatalogueByte(usage & 0xFF), std::optional<uint16_t>(uint16_t(usage)));
    }
    QCOMPARE(MediaUsageForCatalogueByte(0x27), std::optional<uint16_t>(0x0227));
    QCOMPARE(MediaUsageForCatalogueByte(0x2A), std::optional<uint16_t>(0x022A));
    QVERIFY(!MediaUsageForCatalogueByte(0x99));
    QVERIFY(!MediaFunctionForUsage(0x00CE));
}

void ButtonRecordsTest::keyParamDefaults_data()
{
    QTest::addColumn<QStringList>("keyParam");
    QTest::addColumn<int>("media");  // -1 none, 0 combination, else the usage
    QTest::addColumn<QString>("combo");
    QTest::newRow("media lower case") << QStringList{"0x05", "1", "cd"} << 0xCD << "";
    QTest::newRow("media 0x form") << QStringList{"0x05", "1", "0xCD"} << 0xCD << "";
    QTest::newRow("refresh") << QStringList{"0x05", "0", "27"} << 0x0227 << "";
    QTest::newRow("combination") << QStringList{"0x05", "0", "0", "Ctrl+Alt+Del"} << 0 << "Ctrl+Alt+Del";
    QTest::newRow("not hexadecimal") << QStringList{"0x05", "1", "zz"} << -1 << "";
    QTest::newRow("not in the table") << QStringList{"0x05", "1", "99"} << -1 << "";
    QTest::newRow("empty byte") << QStringList{"0x05", "1", ""} << -1 << "";
    QTest::newRow("other type") << QStringList{"0x01", "1", "cd"} << -1 << "";
    QTest::newRow("two elements") << QStringList{"0x05", "1"} << -1 << "";
    QTest::newRow("five elements") << QStringList{"0x05", "1", "2", "A", "B"} << -1 << "";
    QTest::newRow("empty") << QStringList{} << -1 << "";
}

void ButtonRecordsTest::keyParamDefaults()
{
    QFETCH(QStringList, keyParam);
    QFETCH(int, media);
    QFETCH(QString, combo);
    const auto parsed = ParseKeyParamDefault(keyParam);
    QCOMPARE(bool(parsed), media >= 0);
    if (!parsed)
        return;
    QCOMPARE(parsed->media, media > 0);
    QCOMPARE(int(parsed->usage), media);
    QCOMPARE(parsed->comboText, combo);
}

void ButtonRecordsTest::slotTable()
{
    const QList<QPair<int, int>> keys = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 9}, {11, 11}};
    for (int slot = -1; slot < 16; ++slot) {
        int key = -1, index = -1;
        for (int i = 0; i < keys.size(); ++i)
            if (keys[i].first == slot)
                key = keys[i].second, index = i;
        QCOMPARE(DeviceKeyForSlot(slot), key);
        QCOMPARE(BindingIndexForSlot(slot), index);
    }
}

void ButtonRecordsTest::dpiLock_data()
{
    QTest::addColumn<QString>("sensor");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("dpiOfCode");  // what the code reads back as

    const QStringList none = {"SENSOR_OTHER_DPI_400"};
    QTest::newRow("no defines") << "P3395" << none << QStringList{"9"} << 400 << 7 << 400;
    QTest::newRow("no defines 1200") << "P3395" << QStringList{} << QStringList{} << 1200 << 23 << 1200;

    const QStringList names = {"SENSOR_P3395_DPI_100", "SENSOR_P3395_DPI_800", "SENSOR_P3395_CPI_REG"};
    const QStringList values = {"0x01", "40", "7"};
    QTest::newRow("no define for 400") << "P3395" << names << values << 400 << 8 << 0;
    QTest::newRow("define for 800") << "P3395" << names << values << 800 << 40 << 800;
    QTest::newRow("hex define value") << "P3395" << names << values << 100 << 1 << 100;
    // An entry holding the name without the prefix never matches: its value 7 reads as no DPI.
    QTest::newRow("entry without prefix") << "P3395" << names << values << 350 << 7 << 0;

    const QStringList big = {"SENSOR_P3395_DPI_800"};
    QTest::newRow("value beyond a byte") << "P3395" << big << QStringList{"300"} << 800 << 16 << 0;

    // A sensor name holding "I" does not shift the number taken from the define's name.
    const QStringList pix = {"SENSOR_PIXI_DPI_400", "SENSOR_PIXI_DPI_800"};
    QTest::newRow("name with I") << "PIXI" << pix << QStringList{"20", "21"} << 800 << 21 << 800;
}

void ButtonRecordsTest::dpiLock()
{
    QFETCH(QString, sensor);
    QFETCH(QStringList, names);
    QFETCH(QStringList, values);
    QFETCH(int, dpi);
    QFETCH(int, code);
    QFETCH(int, dpiOfCode);
    QCOMPARE(DpiLockCode(dpi, sensor, names, values), code);
    QCOMPARE(DpiLockValue(code, sensor, names, values), dpiOfCode);
}

QTEST_GUILESS_MAIN(ButtonRecordsTest)
#include "tst_button_records.moc"
