// Macro rows, device macro records and macro text file lines, each way. No widget.
#include "device/KeyNames.h"
#include "device/MacroNames.h"
#include "device/MacroRecordCodec.h"
#include "device/MacroTextFile.h"

#include <QtTest>

#include <cstring>

namespace {

MacroRow press(const QString& name) { return {name, false}; }
MacroRow release(const QString& name) { return {name, true}; }
MacroRow delay(const QString& text) { return {text, false}; }

QByteArray eventBytes(const MacroRecord& record, int e)
{
    return QByteArray(reinterpret_cast<const char*>(&record.events[e]), 8);
}

QByteArray bytesOf(const MacroRecord& record) { return QByteArray(reinterpret_cast<const char*>(&record), int(sizeof record)); }

// Events as (action, kind, code, pause) tuples.
using Events = QVector<std::array<uint32_t, 4>>;

Events eventsOf(const MacroRecord& record)
{
    Events events;
    for (int e = 0; e < record.eventCount && e < 70; ++e)
        events.append({record.events[e].action, record.events[e].kind, record.events[e].code, record.events[e].delayMs});
    return events;
}

}  // namespace

Q_DECLARE_METATYPE(MacroRows)
Q_DECLARE_METATYPE(Events)

class MacroCodecTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();
    void rowsToRecord_data();
    void rowsToRecord();
    void pressDelayReleaseBytes();
    void emptyListIsNameOnly();
    void eightyKeysKeepSeventy();
    void recordToRows();
    void damagedCountDecodesSeventy();
    void recordRowsRoundTrip();
    void fileLines_data();
    void fileLines();
    void fileTextBothWays();
    void repeatValue_data();
    void repeatValue();
    void writerLeavesOutRowsWithoutCode();
    void fileRecordEqualsRowsRecord();
};

void MacroCodecTest::init()
{
    const QStringList names = {"Left", "Right", "Middle", "Back", "Forward"};
    for (int i = 0; i < 5; ++i)
        MouseButtonNames[size_t(i)] = names[i];
}

void MacroCodecTest::cleanupTestCase()
{
    for (QString& name : MouseButtonNames)
        name.clear();
}

void MacroCodecTest::rowsToRecord_data()
{
    QTest::addColumn<MacroRows>("rows");
    QTest::addColumn<Events>("events");
    QTest::newRow("press delay release") << MacroRows{press("A"), delay("20ms"), release("A")}
                                         << Events{{0, 1, 4, 20}, {1, 1, 4, 0}};
    QTest::newRow("leading delay dropped") << MacroRows{delay("10ms"), press("B")} << Events{{0, 1, 5, 0}};
    QTest::newRow("trailing delay: no zero event") << MacroRows{press("A"), press("B"), delay("10ms")}
                                                   << Events{{0, 1, 4, 0}, {0, 1, 5, 0}};
    QTest::newRow("unknown row skipped, delays joined")
        << MacroRows{press("A"), delay("10ms"), press("Foo"), delay("5ms"), release("A")}
        << Events{{0, 1, 4, 15}, {1, 1, 4, 0}};
    QTest::newRow("delays saturate")
        << MacroRows{press("A"), delay("4294967295ms"), delay("7ms"), release("A")}
        << Events{{0, 1, 4, 0xFFFFFFFFu}, {1, 1, 4, 0}};
    QTest::newRow("modifier and mouse")
        << MacroRows{press("LShift"), delay("3ms"), press("Back"), delay("4ms"), release("Back")}
        << Events{{0, 0, 2, 3}, {0, 4, 8, 4}, {1, 4, 8, 0}};
    QTest::newRow("empty key stays") << MacroRows{press("")} << Events{{0, 1, 0, 0}};
    QTest::newRow("unreadable delay adds nothing") << MacroRows{press("A"), delay("x ms"), delay("2ms"), press("A")}
                                                   << Events{{0, 1, 4, 2}, {0, 1, 4, 0}};
}

void MacroCodecTest::rowsToRecord()
{
    QFETCH(MacroRows, rows);
    QFETCH(Events, events);
    const MacroRecord record = MacroRecordFromRows("M", rows);
    QCOMPARE(eventsOf(record), events);
    for (int e = events.size(); e < 70; ++e)
        QCOMPARE(eventBytes(record, e), QByteArray(8, 0));
}

void MacroCodecTest::pressDelayReleaseBytes()
{
    const MacroRecord record = MacroRecordFromRows("Fire", {press("A"), delay("20ms"), release("A")});
    QCOMPARE(int(record.nameLength), 4);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(record.name), 30), QByteArray("Fire") + QByteArray(26, 0));
    QCOMPARE(int(record.eventCount), 2);
    QCOMPARE(eventBytes(record, 0), QByteArray::fromHex("0001040014000000"));
    QCOMPARE(eventBytes(record, 1), QByteArray::fromHex("0101040000000000"));
}

void MacroCodecTest::emptyListIsNameOnly()
{
    const MacroRecord record = MacroRecordFromRows("Fire", {});
    MacroRecord expected{};
    WriteMacroRecordName(expected, "Fire");
    QCOMPARE(bytesOf(record), bytesOf(expected));
    QCOMPARE(int(MacroRecordFromFileText("Fire", "").eventCount), 0);
    QCOMPARE(int(MacroRecordFromFileText("Fire", "5\n").eventCount), 0);
}

void MacroCodecTest::eightyKeysKeepSeventy()
{
    MacroRows rows;
    for (int i = 0; i < 80; ++i)
        rows << press(QString(QChar('A' + i % 26))) << delay("10ms");
    const MacroRecord record = MacroRecordFromRows("Long", rows);
    QCOMPARE(int(record.eventCount), 70);
    QCOMPARE(int(record.events[69].code), 0x04 + 69 % 26);
    QCOMPARE(record.events[68].delayMs, 10u);
    QCOMPARE(record.events[69].delayMs, 0u);
}

void MacroCodecTest::recordToRows()
{
    MacroRecord record{};
    WriteMacroRecordName(record, "Fire");
    record.eventCount = 4;
    record.events[0] = {0, 0, 0x40, 15};
    record.events[1] = {0, 4, 0x10, 0};
    record.events[2] = {1, 1, 0x58, 7};
    record.events[3] = {1, 1, 0x40, 99};  // the last pause is never shown
    const DecodedMacro macro = MacroRowsFromRecord(record);
    QCOMPARE(macro.name, QString("Fire"));
    const MacroRows expected = {press("RAlt"), delay("15ms"), press("Forward"), delay("0ms"),
                                release("Enter"), delay("7ms"), release("F7")};
    QCOMPARE(macro.rows, expected);

    record.eventCount = 0;
    QVERIFY(MacroRowsFromRecord(record).rows.isEmpty());
}

void MacroCodecTest::damagedCountDecodesSeventy()
{
    MacroRecord record{};
    for (auto& event : record.events)
        event = {0, 1, 0x04, 1};
    record.eventCount = 200;
    const MacroRows rows = MacroRowsFromRecord(record).rows;
    QCOMPARE(rows.size(), 70 + 69);
}

void MacroCodecTest::recordRowsRoundTrip()
{
    const MacroRows rows = {press("LCtrl"), delay("12ms"), press("C"), delay("30ms"), release("C"),
                            delay("5ms"),   release("LCtrl"), delay("100ms"), press("Left"), delay("1ms"), release("Left")};
    const MacroRecord record = MacroRecordFromRows(QString::fromUtf8("宏一"), rows);
    const DecodedMacro decoded = MacroRowsFromRecord(record);
    QCOMPARE(decoded.name, QString::fromUtf8("宏一"));
    QCOMPARE(decoded.rows, rows);
    QCOMPARE(bytesOf(MacroRecordFromRows(decoded.name, decoded.rows)), bytesOf(record));
}

void MacroCodecTest::fileLines_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<MacroRows>("rows");
    QTest::newRow("release flag 2 skipped") << QByteArray("1\n0x04 1 2\n0x05 1 0\n") << MacroRows{press("B")};
    QTest::newRow("two fields skipped") << QByteArray("1\n0x04 1\n") << MacroRows{};
    QTest::newRow("text skipped") << QByteArray("1\nabc\n") << MacroRows{};
    QTest::newRow("four fields skipped") << QByteArray("1\n0x04 1 0 0\n") << MacroRows{};
    QTest::newRow("type not a number") << QByteArray("1\n0x04 x 0\n") << MacroRows{};
    QTest::newRow("last line without break") << QByteArray("1\n0x04 1 0\n15ms\n0x04 1 1") << MacroRows{press("A"), delay("15ms"), release("A")};
    QTest::newRow("delay forms") << QByteArray("1\n15ms\nms\n-5ms\n4294967296ms\n1.5ms\n 7ms \n")
                                 << MacroRows{delay("15ms"), delay("7ms")};
    QTest::newRow("Windows line breaks") << QByteArray("255\r\n0x04 1 0\r\n") << MacroRows{press("A")};
    QTest::newRow("blanks between fields") << QByteArray("1\n  0x20   0 1\n") << MacroRows{release("RShift")};
    QTest::newRow("mouse button") << QByteArray("1\n0x02 4 0\n") << MacroRows{press("Right")};
    QTest::newRow("lower-case hex is no key") << QByteArray("1\n0x2b 1 0\n") << MacroRows{press("")};
}

void MacroCodecTest::fileLines()
{
    QFETCH(QByteArray, text);
    QFETCH(MacroRows, rows);
    QCOMPARE(ParseMacroText(text).rows, rows);
}

void MacroCodecTest::fileTextBothWays()
{
    const QByteArray text("255\n0x04 1 0\n15ms\n0x04 1 1\n");
    const MacroRows rows = {press("A"), delay("15ms"), release("A")};
    const MacroFileContent content = ParseMacroText(text);
    QCOMPARE(content.repeat, 255);
    QCOMPARE(content.rows, rows);
    QCOMPARE(MacroFileText(255, rows), text);
    QCOMPARE(MacroRowLines(rows), QByteArray("0x04 1 0\n15ms\n0x04 1 1\n"));
    QCOMPARE(MacroFileText(5, {}), QByteArray("5\n"));
}

void MacroCodecTest::repeatValue_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("repeat");
    for (const auto& [line, repeat] : std::initializer_list<std::pair<const char*, int>>{
             {"0", 1}, {"300", 1}, {"abc", 1}, {"", 1}, {"250", 250}, {"251", 1}, {"253", 253}, {"254", 254},
             {"255", 255}, {"256", 1}, {"-3", 1}, {"5 x", 5}, {"1e2", 1}})
        QTest::newRow(*line ? line : "empty") << QByteArray(line) << repeat;
}

void MacroCodecTest::repeatValue()
{
    QFETCH(QByteArray, line);
    QFETCH(int, repeat);
    QCOMPARE(ParseMacroText(line + "\n0x04 1 0\n").repeat, repeat);
}

void MacroCodecTest::writerLeavesOutRowsWithoutCode()
{
    MouseButtonNames[0] = "Left";
    const MacroRows rows = {press("Foo"), delay("10ms"), press(""), delay("bad ms"), release("Left")};
    QCOMPARE(MacroRowLines(rows), QByteArray("10ms\n0x00 1 0\n0x01 4 1\n"));
}

void MacroCodecTest::fileRecordEqualsRowsRecord()
{
    const QByteArray text("3\n0x01 0 0\n12ms\n0x06 1 0\n8ms\n0x06 1 1\n0x01 0 1\n20ms\n0x04 4 0\n1ms\n0x04 4 1\n5ms\n");
    const MacroFileContent content = ParseMacroText(text);
    QCOMPARE(bytesOf(MacroRecordFromFileText("Copy", text)), bytesOf(MacroRecordFromRows("Copy", content.rows)));
    QCOMPARE(MacroFileText(content.repeat, content.rows), text);
    QCOMPARE(int(MacroRecordFromFileText("Copy", text).eventCount), 6);
}

QTEST_GUILESS_MAIN(MacroCodecTest)
#include "tst_macro_codec.moc"
