// The macro exchange file: exact bytes written, the whole file checked before anything is
// taken, and the rows an import keeps.
#include "common/LanguageFile.h"
#include "device/KeyNames.h"
#include "pages/macro/MacroExchangeFile.h"
#include "support/TestEnv.h"

#include <QDataStream>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

QIcon colourIcon(Qt::GlobalColor colour)
{
    QPixmap pixmap(8, 8);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// What a version-17 stream writes for an icon.
QByteArray iconBytes(const QIcon& icon)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(17);
    out << icon;
    return bytes;
}

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

MacroExchange fire()
{
    MacroExchange macro;
    macro.name = QStringLiteral("Fire");
    macro.repeat = QStringLiteral("255");
    macro.items = {{QStringLiteral("A"), colourIcon(Qt::green), false},
                   {QStringLiteral("15ms"), colourIcon(Qt::blue), false},
                   {QStringLiteral("A"), colourIcon(Qt::red), true}};
    return macro;
}

QByteArray header(const QByteArray& nameBlock, qint32 count)
{
    QByteArray bytes = hex("0000000C") + QByteArray("Trelm") + QByteArray(7, '\0') + nameBlock +
                       hex("0000000C") + QByteArray("255") + QByteArray(9, '\0');
    QDataStream out(&bytes, QIODevice::Append);
    out << count;
    return bytes;
}

QByteArray nameBlock(const QByteArray& utf8)
{
    return hex("00000030") + utf8 + QByteArray(48 - utf8.size(), '\0');
}

}  // namespace

class MacroExchangeFileTest : public QObject {
    Q_OBJECT

private slots:
    void exportedBytes()
    {
        const MacroExchange macro = fire();
        const QByteArray expected = header(nameBlock("Fire"), 3) +
                                    hex("00000002 0041") + iconBytes(macro.items[0].icon) + hex("00000002 3000") +
                                    hex("00000008 0031 0035 006D 0073") + iconBytes(macro.items[1].icon) +
                                    hex("00000002 0041") + iconBytes(macro.items[2].icon) + hex("00000002 3100");
        QCOMPARE(MacroExchangeBytes(macro), expected);
    }

    void readsBackWhatItWrites()
    {
        const auto read = ParseMacroExchange(MacroExchangeBytes(fire()));
        QVERIFY(read);
        QCOMPARE(read->name, QStringLiteral("Fire"));
        QCOMPARE(read->repeat, QStringLiteral("255"));
        QCOMPARE(read->items.size(), 3);
        QCOMPARE(read->items[0].text, QStringLiteral("A"));
        QVERIFY(!read->items[0].release);
        QCOMPARE(read->items[1].text, QStringLiteral("15ms"));
        QVERIFY(read->items[2].release);

        MacroExchange empty = fire();
        empty.items.clear();
        empty.items.append({QStringLiteral("B"), QIcon(), false});  // a null icon too
        const auto readEmpty = ParseMacroExchange(MacroExchangeBytes(empty));
        QVERIFY(readEmpty);
        QCOMPARE(readEmpty->items.size(), 1);
    }

    void refusesWhatIsNotAWholeMacro_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QByteArray whole = MacroExchangeBytes(fire());
        const int afterName = 4 + 12 + 4 + 48;
        QByteArray otherTag = whole;
        otherTag.replace(4, 5, "Other");
        QTest::newRow("other maker") << otherTag;
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("cut after the name") << whole.left(afterName);
        QTest::newRow("cut inside an item") << whole.left(whole.size() - 3);
        QTest::newRow("count 2^31-1") << header(nameBlock("Fire"), 0x7FFFFFFF) + QByteArray(64, '\0');
        QTest::newRow("count -1") << header(nameBlock("Fire"), -1);
        QTest::newRow("name ../x") << header(nameBlock("../x"), 0);
        QTest::newRow("empty name") << header(nameBlock(""), 0);
        QTest::newRow("name of 31 bytes") << header(nameBlock(QByteArray(31, 'a')), 0);
        QTest::newRow("cut inside a text") << header(nameBlock("Fire"), 1) + hex("00000004 0041") + QByteArray(4, '\0');
        QTest::newRow("odd text length") << header(nameBlock("Fire"), 1) + hex("00000003 004100") + QByteArray(16, '\0');
        // An icon whose engine cannot be read past.
        QByteArray foreignIcon;
        QDataStream out(&foreignIcon, QIODevice::WriteOnly);
        out << QStringLiteral("A") << QStringLiteral("SomeIconEngine") << qint32(0) << QByteArray("01");
        QTest::newRow("foreign icon") << header(nameBlock("Fire"), 1) + foreignIcon;
    }

    void refusesWhatIsNotAWholeMacro()
    {
        QFETCH(QByteArray, data);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!ParseMacroExchange(data));
        QVERIFY(clock.elapsed() < 1000);
    }

    // The file reader takes a file up to its size limit, trailing bytes included, and nothing larger.
    void fileReaderBoundsTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Fire.ini"));
        QVERIFY(WriteMacroExchangeFile(path, fire()));
        QFile file(path);
        QVERIFY(file.resize(MaxMacroExchangeFileSize));
        const auto read = ReadMacroExchangeFile(path);
        QVERIFY(read);
        QCOMPARE(read->items.size(), 3);
        QVERIFY(file.resize(MaxMacroExchangeFileSize + 1));
        QVERIFY(!ReadMacroExchangeFile(path));
        QVERIFY(!ReadMacroExchangeFile(dir.filePath(QStringLiteral("missing.ini"))));
        QVERIFY(!ReadMacroExchangeFile(dir.path()));
        // A named pipe is no file: refused at once instead of waiting for a writer.
        const QString pipe = dir.filePath(QStringLiteral("pipe.ini"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(!ReadMacroExchangeFile(pipe));
    }

    void emptyMacroIsAMacro()
    {
        const auto read = ParseMacroExchange(header(nameBlock("Fire"), 0));
        QVERIFY(read);
        QVERIFY(read->items.isEmpty());
    }

    void importedRows()
    {
        MouseButtonNames = {QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Middle"),
                            QStringLiteral("Back"), QStringLiteral("Forward")};
        const QVector<MacroExchangeItem> items{
            {QStringLiteral("A"), {}, false},       {QStringLiteral("15ms"), {}, false},
            {QStringLiteral("Foo"), {}, false},     {QStringLiteral("1.5ms"), {}, false},
            {QStringLiteral("Links"), {}, true},    {QStringLiteral("ms"), {}, false},
            {QStringLiteral("LCtrl"), {}, true},    {QString(), {}, false},
        };
        const auto german = [](const QString& name) { return name == "Links" ? QStringLiteral("Left") : name; };
        const MacroRows rows = ImportedMacroRows(items, german);
        QCOMPARE(rows, (MacroRows{{"A", false}, {"15ms", false}, {"Left", true}, {"LCtrl", true}}));
        MouseButtonNames = {};
    }

    // A mouse-button name of any shipped language becomes the current language's name.
    void mouseButtonNamesOfEveryLanguage()
    {
        TestEnv env;
        env.stageShippedData();
        QString japanese;
        QString english;
        loadLanguageSection(5, QStringLiteral("Macro"), {QStringLiteral("ChooseEvent5")},
                            [&](const QString&, const QString& text) { japanese = text; });
        loadLanguageSection(0, QStringLiteral("Macro"), {QStringLiteral("ChooseEvent5")},
                            [&](const QString&, const QString& text) { english = text; });
        QVERIFY(!japanese.isEmpty() && japanese != english);
        const auto translate = MouseButtonNameTranslator();
        QCOMPARE(translate(japanese), english);
        QCOMPARE(translate(QStringLiteral("A")), QStringLiteral("A"));
    }

    void writesInOneStep()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Fire.ini"));
        QVERIFY(WriteMacroExchangeFile(path, fire()));
        const auto read = ReadMacroExchangeFile(path);
        QVERIFY(read);
        QCOMPARE(read->name, QStringLiteral("Fire"));

        const QString missing = dir.filePath(QStringLiteral("no/such/folder/Fire.ini"));
        QVERIFY(!WriteMacroExchangeFile(missing, fire()));
        QVERIFY(!QFile::exists(missing));
        QVERIFY(!ReadMacroExchangeFile(missing));
    }
};

QTEST_MAIN(MacroExchangeFileTest)
#include "tst_macro_exchange_file.moc"
