// Profile exchange files as the export writes them: the byte layout, the sensor name cut to
// its field, read back by the import's reader, and a file that cannot be written.
#include "device/ProfileFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

FlashDataMap makeImage(uint8_t seed, uint8_t levels)
{
    FlashDataMap image{};
    auto* bytes = reinterpret_cast<uint8_t*>(&image);
    for (size_t i = 0; i < sizeof image; ++i)
        bytes[i] = uint8_t(seed + i * 7);
    image.dpiLevelCount = levels;
    image.currentDpiLevel = 0;
    return image;
}

QByteArray bytesOf(const FlashDataMap& image)
{
    return QByteArray(reinterpret_cast<const char*>(&image), int(sizeof image));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ProfileFileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

private slots:
    void writtenFileHasTheLayout()
    {
        const FlashDataMap image = makeImage(9, 3);
        QVERIFY(ProfileFile::write(path("layout.bin"), QStringLiteral("PMW"), image));
        const QByteArray bytes = readFile(path("layout.bin"));
        QCOMPARE(bytes.size(), 10464);
        QCOMPARE(bytes.size(), ProfileFile::FileSize);
        QCOMPARE(bytes.left(20), QByteArray::fromHex("0000000C") + "Trelm" + QByteArray(7, '\0') + QByteArray::fromHex("0000000C"));
        QCOMPARE(bytes.mid(20, 16), "PMW" + QByteArray(9, '\0') + QByteArray::fromHex("000028BC"));
        QCOMPARE(bytes.mid(36), bytesOf(image));
        QCOMPARE(ProfileFile::encode(QStringLiteral("PMW"), image), bytes);
    }

    // A file is accepted for the sensor it was written for only; a name is cut to 12 bytes,
    // so a model with a long name reads its own files.
    void writtenFileIsReadBack_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<int>("result");
        QTest::newRow("same sensor") << "PAW3395" << "PAW3395" << QByteArray("PAW3395") << 0;
        QTest::newRow("twelve bytes") << "ABCDEFGHIJKL" << "ABCDEFGHIJKL" << QByteArray("ABCDEFGHIJKL") << 0;
        QTest::newRow("thirteen bytes cut") << "ABCDEFGHIJKLM" << "ABCDEFGHIJKLM" << QByteArray("ABCDEFGHIJKL") << 0;
        QTest::newRow("UTF-8 name cut") << QString::fromUtf8("センサー・パウ") << QString::fromUtf8("センサー・パウ")
                                        << QString::fromUtf8("センサー").toUtf8() << 0;
        QTest::newRow("another sensor") << "PAW3395" << "PMW3389" << QByteArray("PAW3395") << 2;
        QTest::newRow("a longer name") << "PAW3395" << "PAW3395X" << QByteArray("PAW3395") << 2;
        QTest::newRow("a shorter name") << "PAW3395" << "PAW339" << QByteArray("PAW3395") << 2;
    }

    void writtenFileIsReadBack()
    {
        QFETCH(QString, written);
        QFETCH(QString, current);
        QFETCH(QByteArray, field);
        QFETCH(int, result);
        const FlashDataMap image = makeImage(11, 4);
        QVERIFY(ProfileFile::write(path("sensor.bin"), written, image));
        const QByteArray bytes = readFile(path("sensor.bin"));
        QCOMPARE(bytes.size(), 10464);
        QCOMPARE(bytes.mid(20, 12), field + QByteArray(12 - field.size(), '\0'));
        FlashDataMap out = makeImage(1, 1);
        QCOMPARE(ProfileFile::read(path("sensor.bin"), current, 8, &out), result);
        QCOMPARE(bytesOf(out), result == 0 ? bytesOf(image) : bytesOf(FlashDataMap{}));
    }

    // Nothing is written where the file cannot be; a file already there stays as it was.
    void unwritableFileChangesNothing()
    {
        QFile blocker(path("not-a-folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write("kept");
        blocker.close();
        QVERIFY(!ProfileFile::write(path("not-a-folder") + QStringLiteral("/p.bin"), QStringLiteral("PAW3395"), makeImage(1, 3)));
        QVERIFY(!ProfileFile::write(path("missing") + QStringLiteral("/p.bin"), QStringLiteral("PAW3395"), makeImage(1, 3)));
        QVERIFY(!ProfileFile::write(m_dir.path(), QStringLiteral("PAW3395"), makeImage(1, 3)));
        QCOMPARE(readFile(path("not-a-folder")), QByteArray("kept"));
        QVERIFY(!QFile::exists(path("missing")));
    }

    // What is no file is refused at once: a folder, and a named pipe that would otherwise hold
    // the import until something writes to it.
    void onlyFilesAreRead()
    {
        FlashDataMap out{};
        QCOMPARE(ProfileFile::read(m_dir.path(), QStringLiteral("PAW3395"), 8, &out), int(ProfileFile::Unreadable));
        QCOMPARE(::mkfifo(QFile::encodeName(path("pipe.bin")).constData(), 0600), 0);
        QCOMPARE(ProfileFile::read(path("pipe.bin"), QStringLiteral("PAW3395"), 8, &out), int(ProfileFile::Unreadable));
    }
};

QTEST_GUILESS_MAIN(ProfileFileTest)
#include "tst_profile_file.moc"
