// Macro saves a sleeping mouse has not had yet, kept in a per-user file: what is written is read
// back, a damaged file is kept aside and owes nothing, and every change of the queue reaches
// the file at once, so the next start still owes the saves.
#include "common/CheckedFile.h"
#include "device/MacroFiles.h"
#include "device/UnsentMacros.h"
#include "device/UnsentMacrosFile.h"
#include "support/StandardError.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <sys/stat.h>

namespace {

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

const QByteArray OneSave = R"({"saves": [{"mouse": "CID0A_MID04", "key": 1, "macro": "Rec"}]})";

// OneSave padded with blanks to `size` bytes.
QByteArray oneSaveOfSize(qint64 size)
{
    return OneSave + QByteArray(int(size - OneSave.size()), ' ');
}

}  // namespace

class UnsentMacrosTest : public QObject {
    Q_OBJECT

private slots:
    void savesAreReadBackAsWritten()
    {
        TestEnv env;
        const QString path = UnsentMacrosFilePath();
        QCOMPARE(QFileInfo(path).dir(), QDir(env.userDir()));
        const UnsentMacroSaves saves{
            {qMakePair(QStringLiteral("CID0A_MID04"), 0), QStringLiteral("Rec")},
            {qMakePair(QStringLiteral("CID0A_MID04"), 15), QString::fromUtf8("連射 \"1\"")},
            {qMakePair(QStringLiteral("CID0A_MID07"), 0), QStringLiteral("Rec")},
        };
        QVERIFY(WriteUnsentMacrosFile(path, saves));
        const UnsentMacrosRead read = ReadUnsentMacrosFile(path);
        QCOMPARE(read.saves, saves);
        QCOMPARE(read.texts, UnsentMacroTexts());
        QVERIFY(read.writable);

        // A save's new text travels with the debt until its macro file is written.
        const UnsentMacroTexts texts{{QString::fromUtf8("連射 \"1\""), QByteArray("253\n0x06 1 0\n40ms\n0x06 1 1\n")}};
        QVERIFY(WriteUnsentMacrosFile(path, saves, texts));
        QCOMPARE(ReadUnsentMacrosFile(path).saves, saves);
        QCOMPARE(ReadUnsentMacrosFile(path).texts, texts);

        // Nothing owed: no file, and a missing file owes nothing.
        QVERIFY(WriteUnsentMacrosFile(path, {}));
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(ReadUnsentMacrosFile(path).saves, UnsentMacroSaves());
    }

    void damagedFileIsKeptAside_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("garbage") << QByteArray("\x01\xff\xfe not a list [[[");
        QTest::newRow("cut") << OneSave.left(OneSave.size() / 2);
        QTest::newRow("no list") << QByteArray(R"({"other": []})");
        QTest::newRow("not an object") << QByteArray(R"({"saves": [1]})");
        QTest::newRow("key past the last") << QByteArray(R"({"saves": [{"mouse": "CID0A_MID04", "key": 16, "macro": "Rec"}]})");
        QTest::newRow("key below 0") << QByteArray(R"({"saves": [{"mouse": "CID0A_MID04", "key": -1, "macro": "Rec"}]})");
        QTest::newRow("key not whole") << QByteArray(R"({"saves": [{"mouse": "CID0A_MID04", "key": 1.5, "macro": "Rec"}]})");
        QTest::newRow("key as text") << QByteArray(R"({"saves": [{"mouse": "CID0A_MID04", "key": "1", "macro": "Rec"}]})");
        QTest::newRow("no mouse") << QByteArray(R"({"saves": [{"key": 1, "macro": "Rec"}]})");
        const auto withName = [](const QByteArray& name) {
            return QByteArray(R"({"saves": [{"mouse": "CID0A_MID04", "key": 1, "macro": )") + '"' + name + "\"}]}";
        };
        QTest::newRow("name that is a path") << withName("../Rec");
        QTest::newRow("name with a slash") << withName("Rec/x");
        QTest::newRow("name ..") << withName("..");
        QTest::newRow("name holding NUL") << withName("Rec\\u0000");
        QTest::newRow("name of 300 characters") << withName(QByteArray(300, 'R'));
        QTest::newRow("texts not an object") << (OneSave.left(OneSave.size() - 1) + R"(, "texts": ["1\n"]})");
        QTest::newRow("text not a string") << (OneSave.left(OneSave.size() - 1) + R"(, "texts": {"Rec": 1}})");
        QTest::newRow("text under a path") << (OneSave.left(OneSave.size() - 1) + R"(, "texts": {"../Rec": "1\n"}})");
        // A text written back would end at the NUL.
        QTest::newRow("text holding NUL") << (OneSave.left(OneSave.size() - 1) + R"(, "texts": {"Rec": "1\n\u0000\n"}})");
        QTest::newRow("over the limit") << oneSaveOfSize(CheckedFile::SettingsLimit + 1);
        QTest::newRow("pipe") << QByteArray("<pipe>");
        QTest::newRow("folder") << QByteArray("<folder>");
    }
    // Kept aside whole as "<name>.damaged" with one line on standard error; nothing is owed,
    // and the next change writes a new file.
    void damagedFileIsKeptAside()
    {
        QFETCH(QByteArray, content);
        TestEnv env;
        const QString path = UnsentMacrosFilePath();
        QDir().mkpath(env.userDir());
        if (content == "<pipe>")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (content == "<folder>")
            QVERIFY(QDir().mkpath(path));
        else
            QVERIFY(writeBytes(path, content));

        UnsentMacrosRead read;
        const QByteArray said = standardErrorOf([&] { read = ReadUnsentMacrosFile(path); });
        QCOMPARE(read.saves, UnsentMacroSaves());
        QVERIFY(read.writable);
        QCOMPARE(said.count('\n'), 1);
        QVERIFY2(said.startsWith(QFile::encodeName(path) + ": "), said.constData());
        const QFileInfo aside(path + QStringLiteral(".damaged"));
        if (content == "<pipe>")
            QVERIFY(aside.exists());
        else if (content == "<folder>")
            QVERIFY(aside.isDir());
        else
            QCOMPARE(readAll(aside.filePath()), content);

        const UnsentMacroSaves saves{{qMakePair(QStringLiteral("CID0A_MID04"), 1), QStringLiteral("Rec")}};
        QVERIFY(WriteUnsentMacrosFile(path, saves));
        QCOMPARE(ReadUnsentMacrosFile(path).saves, saves);
    }

    // A file of exactly the limit is read; one byte more is damaged (above).
    void fileAtTheLimitIsRead()
    {
        TestEnv env;
        const QString path = UnsentMacrosFilePath();
        QVERIFY(writeBytes(path, oneSaveOfSize(CheckedFile::SettingsLimit)));
        const UnsentMacroSaves expected{{qMakePair(QStringLiteral("CID0A_MID04"), 1), QStringLiteral("Rec")}};
        QCOMPARE(ReadUnsentMacrosFile(path).saves, expected);
        QVERIFY(!QFileInfo::exists(path + QStringLiteral(".damaged")));
    }

    // A program killed inside a save: at the next start the owed macro's file gets the text the
    // queue file holds, a text no save owes writes nothing, and the queue file keeps the saves
    // without the texts. Nothing else is written in the home folder.
    void interruptedSaveIsFinishedAtStart()
    {
        TestEnv env;
        const QString path = UnsentMacrosFilePath();
        const QByteArray text("253\n0x06 1 0\n40ms\n0x06 1 1\n");
        const UnsentMacroSaves saves{{qMakePair(QStringLiteral("CID0A_MID04"), 1), QStringLiteral("Rec")}};
        QVERIFY(WriteUnsentMacrosFile(path, saves, {{QStringLiteral("Rec"), text}, {QStringLiteral("Other"), "1\n"}}));
        UnsentMacros::unload();
        UnsentMacros::load();
        const QString rec = MacroFilePath(MacroFolder(), QStringLiteral("Rec"));
        QCOMPARE(readAll(rec), text);
        QStringList files;
        for (QDirIterator it(env.home(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            files << it.next();
        files.sort();
        QCOMPARE(files, (QStringList{path, rec}));
        const UnsentMacrosRead after = ReadUnsentMacrosFile(path);
        QCOMPARE(after.saves, saves);
        QCOMPARE(after.texts, UnsentMacroTexts());
        UnsentMacros::unload();
    }

    // Each change of the queue is in the file before the call returns: dropped from memory
    // (the program's end), the queue reads back what it held.
    void everyChangeReachesTheFile()
    {
        TestEnv env;
        const QString mouse = QStringLiteral("CID0A_MID04");
        auto afterRestart = [&](int key) {
            UnsentMacros::unload();
            return UnsentMacros::nameAt(mouse, key);
        };

        UnsentMacros::remember(mouse, 1, QStringLiteral("Rec"));
        UnsentMacros::remember(QStringLiteral("CID0A_MID07"), 1, QStringLiteral("Rec"));
        QCOMPARE(afterRestart(1), std::optional<QString>(QStringLiteral("Rec")));
        UnsentMacros::rename(QStringLiteral("Rec"), QStringLiteral("Fire"));
        QCOMPARE(afterRestart(1), std::optional<QString>(QStringLiteral("Fire")));
        QCOMPARE(UnsentMacros::of(QStringLiteral("CID0A_MID07")), (QMap<int, QString>{{1, QStringLiteral("Fire")}}));
        UnsentMacros::forget(mouse, 1);
        QVERIFY(!afterRestart(1));
        UnsentMacros::forget(QStringLiteral("CID0A_MID07"), 1);
        QVERIFY(!QFileInfo::exists(UnsentMacrosFilePath()));

        // No mouse chosen, a key the mouse has not, a name no file can have: nothing is owed.
        UnsentMacros::remember(QString(), 1, QStringLiteral("Rec"));
        UnsentMacros::remember(mouse, 16, QStringLiteral("Rec"));
        UnsentMacros::remember(mouse, 2, QStringLiteral("../Rec"));
        QVERIFY(!QFileInfo::exists(UnsentMacrosFilePath()));
    }
};

QTEST_MAIN(UnsentMacrosTest)
#include "tst_unsent_macros.moc"
