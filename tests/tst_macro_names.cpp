// Macro names: the record's name field both ways and the check for names that become files.
#include "device/MacroNames.h"

#include <QtTest>

#include <cstring>

namespace {

QByteArray nameField(const MacroRecord& record)
{
    return QByteArray(reinterpret_cast<const char*>(record.name), int(sizeof record.name));
}

QString cjk(int count) { return QString(count, QChar(0x6E2C)); }  // three UTF-8 bytes each

}  // namespace

class MacroNamesTest : public QObject {
    Q_OBJECT

private slots:
    void encode_data();
    void encode();
    void thirtyByteNameLeavesTheCountIntact();
    void decodeIgnoresTheLengthByte();
    void decodeIsStableForForeignBytes();
    void roundTrip();
    void nameCheck_data();
    void nameCheck();
};

void MacroNamesTest::encode_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kept");
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");  // four bytes, a surrogate pair
    QTest::newRow("ascii") << "Fire" << "Fire";
    QTest::newRow("31 letters") << QString(31, 'a') << QString(30, 'a');
    QTest::newRow("11 CJK keep 10") << cjk(11) << cjk(10);
    QTest::newRow("emoji at the cut dropped whole") << QString(28, 'a') + emoji << QString(28, 'a');
    QTest::newRow("emoji that fits") << QString(26, 'a') + emoji << QString(26, 'a') + emoji;
    QTest::newRow("NULs removed") << QString("A") + QChar(0) + "B" << "AB";
}

void MacroNamesTest::encode()
{
    QFETCH(QString, name);
    QFETCH(QString, kept);
    QCOMPARE(EncodeMacroRecordName(name), kept.toUtf8());
    QVERIFY(EncodeMacroRecordName(name).size() <= 30);
    if (!name.contains(QChar(0)))
        QCOMPARE(FitMacroName(name), kept);
    MacroRecord record{};
    WriteMacroRecordName(record, name);
    QCOMPARE(int(record.nameLength), kept.toUtf8().size());
    QCOMPARE(DecodeMacroRecordName(record), kept);
}

void MacroNamesTest::thirtyByteNameLeavesTheCountIntact()
{
    MacroRecord record{};
    std::memset(record.name, 0x55, sizeof record.name);
    record.eventCount = 42;
    WriteMacroRecordName(record, QString(30, 'Z'));
    QCOMPARE(int(record.nameLength), 30);
    QCOMPARE(nameField(record), QByteArray(30, 'Z'));
    QCOMPARE(int(record.eventCount), 42);

    WriteMacroRecordName(record, "AB");
    QCOMPARE(nameField(record), QByteArray("AB") + QByteArray(28, '\0'));
}

void MacroNamesTest::decodeIgnoresTheLengthByte()
{
    MacroRecord record{};
    record.name[0] = 'A';
    record.name[1] = 'B';
    for (int length : {0, 2, 30, 255}) {
        record.nameLength = uint8_t(length);
        QCOMPARE(DecodeMacroRecordName(record), QString("AB"));
    }
    // Bytes after a NUL still belong to the name.
    record.name[5] = 'C';
    QCOMPARE(DecodeMacroRecordName(record), QString("ABC"));
}

void MacroNamesTest::decodeIsStableForForeignBytes()
{
    const QByteArray windowsName("\xB2\xE2\xCA\xD4", 4);
    const QString first = DecodeMacroRecordName(windowsName);
    QCOMPARE(first.size(), 4);
    QCOMPARE(DecodeMacroRecordName(windowsName), first);
    QCOMPARE(first, QString::fromLatin1(windowsName));
    // Two byte strings never become one name.
    QVERIFY(DecodeMacroRecordName(QByteArray("\xB2\xE2", 2)) != DecodeMacroRecordName(QByteArray("\xB2\xE3", 2)));
    // A UTF-8 name cut inside a character by another program does not decode half a character.
    const QByteArray cut = cjk(2).toUtf8().left(5);
    QCOMPARE(DecodeMacroRecordName(cut).size(), 5);
}

void MacroNamesTest::roundTrip()
{
    for (const QString& name : {QString("Fire"), cjk(10), QString::fromUtf8("Äpfel und Birnen"), QString("a b")}) {
        MacroRecord record{};
        WriteMacroRecordName(record, name);
        QCOMPARE(DecodeMacroRecordName(record), name);
    }
}

void MacroNamesTest::nameCheck_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("slash") << "a/b" << false;
    QTest::newRow("backslash") << "a\\b" << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("hidden") << ".x" << false;
    QTest::newRow("tab") << "a\tb" << false;
    QTest::newRow("DEL") << QString("a") + QChar(0x7F) << false;
    QTest::newRow("NUL") << QString("a") + QChar(0) << false;
    QTest::newRow("31 bytes") << QString(31, 'a') << false;
    QTest::newRow("11 CJK") << cjk(11) << false;
    QTest::newRow("30 bytes") << QString(30, 'a') << true;
    QTest::newRow("inner blank") << "a b" << true;
    QTest::newRow("10 CJK") << cjk(10) << true;
    QTest::newRow("dot inside") << "x.ini" << true;
}

void MacroNamesTest::nameCheck()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QCOMPARE(IsValidMacroName(name), valid);
}

QTEST_GUILESS_MAIN(MacroNamesTest)
#include "tst_macro_names.moc"
