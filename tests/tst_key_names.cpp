// Key names and codes: the macro family, the combination family, the virtual-key table and the
// combination splitter. No widget.
#include "device/KeyNames.h"

#include <QtTest>

#include <cstring>

namespace {

const QStringList kButtons = {QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Middle"),
                              QStringLiteral("Back"), QStringLiteral("Forward")};

void setButtonNames(const QStringList& names)
{
    for (int i = 0; i < 5; ++i)
        MouseButtonNames[size_t(i)] = names.value(i);
}

}  // namespace

class KeyNamesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { setButtonNames(kButtons); }
    void cleanupTestCase() { setButtonNames({}); }

    void hexToKeyName_data();
    void hexToKeyName();
    void codeToKeyName_data();
    void codeToKeyName();
    void nameToCodeAndHexPair_data();
    void nameToCodeAndHexPair();
    void emptyButtonNamesNeverMakeMouseEvents();
    void keyNameToEventWritesKindAndCodeOnly();
    void everyKeyTableNameRoundTrips();
    void comboKeyNameToEvents_data();
    void comboKeyNameToEvents();
    void comboNamesOutsideTheVocabularyKeepTheUsage();
    void comboPositionsOutOfRangeChangeNothing();
    void codeToComboKeyName_data();
    void codeToComboKeyName();
    void splitComboText_data();
    void splitComboText();
    void virtualKeyTable();
};

void KeyNamesTest::hexToKeyName_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::newRow("0x40 key") << "0x40" << 1 << "F7";
    QTest::newRow("0x40 modifier") << "0x40" << 0 << "RAlt";
    QTest::newRow("0x04 key") << "0x04" << 1 << "A";
    QTest::newRow("0x2B Tab") << "0x2B" << 1 << "Tab";
    QTest::newRow("lower-case digit") << "0x2b" << 1 << "";
    QTest::newRow("upper-case X") << "0X2B" << 1 << "";
    QTest::newRow("trailing blank") << "0x2B " << 1 << "";
    QTest::newRow("0x05 modifier") << "0x05" << 0 << "";
    QTest::newRow("0x01 as key") << "0x01" << 1 << "";
    QTest::newRow("0x80 as key") << "0x80" << 1 << "";
    QTest::newRow("0x58 has no name in files") << "0x58" << 1 << "";
    QTest::newRow("0x00 empty key") << "0x00" << 1 << "";
    QTest::newRow("0x80 RWin") << "0x80" << 0 << "RWin";
    QTest::newRow("0x10 forward") << "0x10" << 4 << "Forward";
    QTest::newRow("0x08 back") << "0x08" << 4 << "Back";
    QTest::newRow("0x20 mouse") << "0x20" << 4 << "";
    QTest::newRow("type 2") << "0x04" << 2 << "";
    QTest::newRow("arrow") << "0x50" << 1 << QString(QChar(0x2190));
}

void KeyNamesTest::hexToKeyName()
{
    QFETCH(QString, hex);
    QFETCH(int, type);
    QFETCH(QString, name);
    QCOMPARE(HexToKeyName(hex, type), name);
}

void KeyNamesTest::codeToKeyName_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::newRow("0x40 key") << 0x40 << 1 << "F7";
    QTest::newRow("0x40 modifier") << 0x40 << 0 << "RAlt";
    QTest::newRow("0x40 other type") << 0x40 << 3 << "F7";
    QTest::newRow("0x05 type ignored") << 0x05 << 0 << "B";
    QTest::newRow("0x04 type 4") << 0x04 << 4 << "";
    QTest::newRow("0x04 modifier") << 0x04 << 0 << "LAlt";
    QTest::newRow("0x20 key") << 0x20 << 1 << "3";
    QTest::newRow("0x10 modifier") << 0x10 << 0 << "RCtrl";
    QTest::newRow("0x01 any type") << 0x01 << 1 << "LCtrl";
    QTest::newRow("0x80 any type") << 0x80 << 1 << "RWin";
    QTest::newRow("keypad Enter") << 0x58 << 1 << "Enter";
    QTest::newRow("0x3A") << 0x3A << 1 << "F1";
    QTest::newRow("unknown") << 0x99 << 1 << "";
    QTest::newRow("0x00") << 0x00 << 1 << "";
}

void KeyNamesTest::codeToKeyName()
{
    QFETCH(int, code);
    QFETCH(int, type);
    QFETCH(QString, name);
    QCOMPARE(CodeToKeyName(code, type), name);
}

void KeyNamesTest::nameToCodeAndHexPair_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("pair");
    QTest::newRow("A") << "A" << QStringList{"0x04", "1"};
    QTest::newRow("RShift") << "RShift" << QStringList{"0x20", "0"};
    QTest::newRow("back button") << "Back" << QStringList{"0x08", "4"};
    QTest::newRow("empty key") << "" << QStringList{"0x00", "1"};
    QTest::newRow("Enter is 0x28") << "Enter" << QStringList{"0x28", "1"};
    QTest::newRow("Tab upper-case digits") << "Tab" << QStringList{"0x2B", "1"};
    QTest::newRow("G") << "G" << QStringList{"0x0A", "1"};
    QTest::newRow("RWin") << "RWin" << QStringList{"0x80", "0"};
    QTest::newRow("Num+") << "Num+" << QStringList{"0x57", "1"};
    QTest::newRow("side-less Ctrl is no macro name") << "Ctrl" << QStringList{};
    QTest::newRow("case matters") << "a" << QStringList{};
    QTest::newRow("unknown") << "Foo" << QStringList{};
}

void KeyNamesTest::nameToCodeAndHexPair()
{
    QFETCH(QString, name);
    QFETCH(QStringList, pair);
    QCOMPARE(KeyNameToHexPair(name), pair);
    if (!pair.isEmpty())
        QCOMPARE(HexToKeyName(pair[0], pair[1].toInt()), name);
}

void KeyNamesTest::emptyButtonNamesNeverMakeMouseEvents()
{
    setButtonNames({});
    QCOMPARE(MouseBitToName(0x01), QString());
    const auto code = KeyNameToCode(MouseBitToName(0x01));
    QVERIFY(code);
    QCOMPARE(int(code->type), 1);
    QCOMPARE(int(code->code), 0);
    QVERIFY(!KeyNameToCode(kButtons[0]));
    // A button named like a key stays the key.
    setButtonNames({"A", "R", "M", "B4", "B5"});
    QCOMPARE(int(KeyNameToCode("A")->type), 1);
    QCOMPARE(int(KeyNameToCode("B4")->type), 4);
    QCOMPARE(int(KeyNameToCode("B4")->code), 0x08);
}

void KeyNamesTest::keyNameToEventWritesKindAndCodeOnly()
{
    MacroRecord record{};
    record.events[3] = {1, 7, 0x1234, 99};
    QVERIFY(KeyNameToEvent("LCtrl", 3, record));
    QCOMPARE(int(record.events[3].action), 1);
    QCOMPARE(int(record.events[3].kind), 0);
    QCOMPARE(int(record.events[3].code), 0x01);
    QCOMPARE(record.events[3].delayMs, 99u);
    QVERIFY(KeyNameToEvent("Forward", 69, record));
    QCOMPARE(int(record.events[69].kind), 4);
    QCOMPARE(int(record.events[69].code), 0x10);

    const MacroRecord before = record;
    QVERIFY(!KeyNameToEvent("Foo", 3, record));
    QVERIFY(!KeyNameToEvent("A", 70, record));
    QVERIFY(!KeyNameToEvent("A", -1, record));
    QVERIFY(std::memcmp(&before, &record, sizeof record) == 0);
}

void KeyNamesTest::everyKeyTableNameRoundTrips()
{
    const QList<int> usages = KeyTableUsages();
    QCOMPARE(usages.size(), 1 + (0x65 - 0x04 + 1) - 3);  // the empty key, 0x04..0x65 but 0x32, 0x58, 0x64
    QSet<QString> names;
    for (int usage : usages) {
        const QString name = HexToKeyName(QStringLiteral("0x%1").arg(usage, 2, 16, QLatin1Char('0')).toUpper().replace("0X", "0x"), 1);
        QVERIFY2(!names.contains(name), qPrintable(name));
        names.insert(name);
        const auto code = KeyNameToCode(name);
        QVERIFY2(code && code->type == 1 && code->code == usage, qPrintable(name));
        QCOMPARE(CodeToKeyName(usage, 1), name);
    }
    for (int usage : {0x01, 0x02, 0x03, 0x32, 0x58, 0x64, 0x66, 0xFF})
        QVERIFY(!usages.contains(usage));
}

void KeyNamesTest::comboKeyNameToEvents_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("events");  // (action, kind, code) per event, count = size / 3
    QTest::newRow("Ctrl+A") << "Ctrl+A" << QByteArray("\x00\x00\x01" "\x00\x01\x04" "\x01\x01\x04" "\x01\x00\x01", 12);
    QTest::newRow("Ctrl+Shift+A") << "Ctrl+Shift+A"
                                  << QByteArray("\x00\x00\x01" "\x00\x00\x02" "\x00\x01\x04"
                                                "\x01\x01\x04" "\x01\x00\x02" "\x01\x00\x01", 18);
    QTest::newRow("F") << "F" << QByteArray("\x00\x01\x09" "\x01\x01\x09", 6);
    QTest::newRow("F7 is a key") << "F7" << QByteArray("\x00\x01\x40" "\x01\x01\x40", 6);
    QTest::newRow("F12") << "Win+F12" << QByteArray("\x00\x00\x08" "\x00\x01\x45" "\x01\x01\x45" "\x01\x00\x08", 12);
    QTest::newRow("LCtrl outside") << "LCtrl" << QByteArray("\x00\x01\x00" "\x01\x01\x00", 6);
    QTest::newRow("empty key") << "" << QByteArray("\x00\x01\x00" "\x01\x01\x00", 6);
}

void KeyNamesTest::comboKeyNameToEvents()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, events);
    const QStringList parts = SplitComboText(text);
    ButtonComboRecord record{};
    for (int i = 0; i < parts.size(); ++i)
        record = ComboKeyNameToEvents(parts[i], i, parts.size(), record);
    QCOMPARE(parts.size() * 2, events.size() / 3);
    for (int e = 0; e < 6; ++e) {
        const KeyEvent& ev = record.events[e];
        if (e < events.size() / 3) {
            QCOMPARE(int(ev.action), int(events[3 * e]));
            QCOMPARE(int(ev.kind), int(events[3 * e + 1]));
            QCOMPARE(int(ev.code), int(uint8_t(events[3 * e + 2])));
            QCOMPARE(ev.delayMs, 10u);
        } else {
            QVERIFY(ev.action == 0 && ev.kind == 0 && ev.code == 0 && ev.delayMs == 0);
        }
    }
}

void KeyNamesTest::comboNamesOutsideTheVocabularyKeepTheUsage()
{
    ButtonComboRecord record{};
    record.events[0].code = 0x33;
    record.events[1].code = 0x44;
    record = ComboKeyNameToEvents("Foo", 0, 1, record);
    QCOMPARE(int(record.events[0].kind), 1);
    QCOMPARE(int(record.events[0].code), 0x33);
    QCOMPARE(int(record.events[1].code), 0x44);
}

void KeyNamesTest::comboPositionsOutOfRangeChangeNothing()
{
    ButtonComboRecord record{};
    for (auto [i, n] : {std::pair{0, 0}, {0, 4}, {3, 3}, {-1, 2}, {2, 2}}) {
        const ButtonComboRecord after = ComboKeyNameToEvents("A", i, n, record);
        QVERIFY(std::memcmp(&after, &record, sizeof record) == 0);
    }
}

void KeyNamesTest::codeToComboKeyName_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("0x10 modifier") << 0x10 << 0 << "Ctrl";
    QTest::newRow("0x10 key") << 0x10 << 1 << "M";
    QTest::newRow("0x10 consumer") << 0x10 << 2 << "";
    QTest::newRow("0x40 key is F7") << 0x40 << 1 << "F7";
    QTest::newRow("0x40 modifier") << 0x40 << 0 << "Alt";
    QTest::newRow("0x5B") << 0x5B << 1 << "Num3";
    QTest::newRow("0x3A") << 0x3A << 1 << "F1";
    QTest::newRow("0x45") << 0x45 << 1 << "F12";
    QTest::newRow("0x80") << 0x80 << 1 << "Win";
    QTest::newRow("0x02") << 0x02 << 0 << "Shift";
    QTest::newRow("0x20 modifier") << 0x20 << 0 << "Shift";
    QTest::newRow("keypad Enter") << 0x58 << 1 << "Enter";
    QTest::newRow("unknown") << 0x70 << 1 << "";
}

void KeyNamesTest::codeToComboKeyName()
{
    QFETCH(int, code);
    QFETCH(int, kind);
    QFETCH(QString, name);
    QCOMPARE(CodeToComboKeyName(code, kind), name);
}

void KeyNamesTest::splitComboText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("empty") << "" << QStringList{""};
    QTest::newRow("Ctrl+V") << "Ctrl+V" << QStringList{"Ctrl", "V"};
    QTest::newRow("Num+") << "Num+" << QStringList{"Num+"};
    QTest::newRow("Ctrl+Num+") << "Ctrl+Num+" << QStringList{"Ctrl", "Num+"};
    QTest::newRow("Num++A") << "Num++A" << QStringList{"Num+", "A"};
    QTest::newRow("Num+A") << "Num+A" << QStringList{"Num", "A"};
    QTest::newRow("trailing plus") << "A+" << QStringList{"A", ""};
    QTest::newRow("four parts") << "Ctrl+Alt+Del+A" << QStringList{"Ctrl", "Alt", "Del", "A"};
}

void KeyNamesTest::splitComboText()
{
    QFETCH(QString, text);
    QFETCH(QStringList, parts);
    QCOMPARE(SplitComboText(text), parts);
}

void KeyNamesTest::virtualKeyTable()
{
    QCOMPARE(VirtualKeyCodes(KeyNameUser::Recorder).size(), 104);
    QCOMPARE(VirtualKeyCodes(KeyNameUser::GroupKey).size(), 95);
    QCOMPARE(VirtualKeyCodes(KeyNameUser::AddKey).size(), 102);
    QCOMPARE(VirtualKeyName(12), QString(""));
    QCOMPARE(VirtualKeyName(37), QString(QChar(0x2190)));
    QCOMPARE(VirtualKeyName(192), QString("`"));
    QCOMPARE(VirtualKeyName(220), QString("\\"));
    QCOMPARE(VirtualKeyName(65), QString("A"));
    QCOMPARE(VirtualKeyName(105), QString("Num9"));
    QCOMPARE(VirtualKeyName(123), QString("F12"));
    QVERIFY(!VirtualKeyName(124));
    QVERIFY(!VirtualKeyName(255));
    QVERIFY(!VirtualKeyName(32, KeyNameUser::GroupKey));
    QVERIFY(!VirtualKeyName(160, KeyNameUser::GroupKey));
    QCOMPARE(VirtualKeyName(160, KeyNameUser::AddKey), QString("LShift"));
    QVERIFY(!VirtualKeyName(165, KeyNameUser::AddKey));
    QVERIFY(!VirtualKeyName(32, KeyNameUser::AddKey));

    setButtonNames({});
    for (int vk : VirtualKeyCodes(KeyNameUser::Recorder)) {
        const QString name = *VirtualKeyName(vk);
        const auto code = KeyNameToCode(name);
        QVERIFY2(code, qPrintable(name));
        if (!name.isEmpty())
            QVERIFY2(code->code != 0, qPrintable(name));
    }
}

QTEST_GUILESS_MAIN(KeyNamesTest)
#include "tst_key_names.moc"
