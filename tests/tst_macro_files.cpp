// The macro folder's files: names that may not become paths, rename, append and remove.
#include "support/TestEnv.h"

#include "device/MacroFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <memory>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

class MacroFilesTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnv>();
        m_folder = MacroFolder();
    }
    void cleanup() { m_env.reset(); }

    void folderAndPaths()
    {
        QCOMPARE(m_folder, m_env->home() + "/.local/share/TrelmC/usersetting/MacroPage");
        QCOMPARE(MacroFilePath(m_folder, "Fire"), m_folder + "/Fire.ini");
        for (const char* bad : {"", "../x", "a/b", ".hidden", "a\\b"})
            QVERIFY2(MacroFilePath(m_folder, bad).isEmpty(), bad);
    }

    void writeCreatesTheFolderAndReadsBack()
    {
        const QString path = MacroFilePath(m_folder, "Fire");
        QVERIFY(!QFileInfo::exists(m_folder));
        QVERIFY(WriteMacroFile(path, 255, {{"A", false}, {"15ms", false}, {"A", true}}));
        QCOMPARE(readAll(path), QByteArray("255\n0x04 1 0\n15ms\n0x04 1 1\n"));
        const auto content = ReadMacroFile(path);
        QVERIFY(content);
        QCOMPARE(content->repeat, 255);
        QCOMPARE(content->rows.size(), 3);
        QVERIFY(!ReadMacroFile(MacroFilePath(m_folder, "Missing")));
        QVERIFY(!WriteMacroFile(QString(), 1, {}));
    }

    void createEmptiesAnExistingFile()
    {
        const QString path = MacroFilePath(m_folder, "Fire");
        QVERIFY(WriteMacroFile(path, 5, {{"A", false}}));
        QVERIFY(CreateEmptyMacroFile(path));
        QCOMPARE(readAll(path), QByteArray());
        QCOMPARE(ReadMacroFile(path)->repeat, 1);
    }

    void appendOnlyToAnExistingFile()
    {
        const QString path = MacroFilePath(m_folder, "Fire");
        QVERIFY(!AppendMacroFile(path, {{"A", false}}));
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(WriteMacroFile(path, 250, {}));
        QVERIFY(AppendMacroFile(path, {{"A", false}, {"20ms", false}, {"A", true}}));
        QCOMPARE(readAll(path), QByteArray("250\n0x04 1 0\n20ms\n0x04 1 1\n"));
    }

    void renameNeverOverwrites()
    {
        QVERIFY(WriteMacroFile(MacroFilePath(m_folder, "Old"), 1, {{"A", false}}));
        QVERIFY(WriteMacroFile(MacroFilePath(m_folder, "Taken"), 2, {}));
        QVERIFY(!RenameMacroFile(m_folder, "Old", "Taken"));
        QCOMPARE(readAll(MacroFilePath(m_folder, "Taken")), QByteArray("2\n"));
        QVERIFY(!RenameMacroFile(m_folder, "Old", "../Escaped"));
        QVERIFY(!RenameMacroFile(m_folder, "Missing", "New"));
        QVERIFY(RenameMacroFile(m_folder, "Old", "New"));
        QVERIFY(!QFileInfo::exists(MacroFilePath(m_folder, "Old")));
        QCOMPARE(readAll(MacroFilePath(m_folder, "New")), QByteArray("1\n0x04 1 0\n"));
    }

    void removeIsDoneOnceTheFileIsGone()
    {
        const QString path = MacroFilePath(m_folder, "Fire");
        QVERIFY(RemoveMacroFile(path));  // missing already
        QVERIFY(WriteMacroFile(path, 1, {}));
        QVERIFY(RemoveMacroFile(path));
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(QDir().mkpath(path + "/inside"));
        QVERIFY(!RemoveMacroFile(path));
        QVERIFY(!RemoveMacroFile(QString()));
    }

private:
    std::unique_ptr<TestEnv> m_env;
    QString m_folder;
};

QTEST_GUILESS_MAIN(MacroFilesTest)
#include "tst_macro_files.moc"
