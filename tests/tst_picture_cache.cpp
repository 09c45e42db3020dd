// The pixmap cache holds every picture of the program: its size follows the pictures' headers.
#include "common/PictureCache.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <QtTest>

class TestPictureCache : public QObject {
    Q_OBJECT
private slots:
    void sizeComesFromThePictureHeaders()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("Page")));
        // 300 x 200 and, one folder down, 64 x 32: 240,000 + 8,192 bytes decoded.
        QVERIFY(QImage(300, 200, QImage::Format_RGB32).save(folder.filePath(QStringLiteral("Back.png"))));
        QVERIFY(QImage(64, 32, QImage::Format_ARGB32).save(folder.filePath(QStringLiteral("Page/Mark.png"))));
        // Count nothing: a text named like a picture, a PNG cut inside its header, another format.
        const auto write = [&](const QString& name, const QByteArray& content) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        };
        write(QStringLiteral("Page/Text.png"), "not a picture at all, but long enough");
        QFile back(folder.filePath(QStringLiteral("Back.png")));
        QVERIFY(back.open(QIODevice::ReadOnly));
        write(QStringLiteral("Cut.png"), back.read(20));
        QVERIFY(QImage(100, 100, QImage::Format_RGB32).save(folder.filePath(QStringLiteral("Other.bmp"))));
        // A header that claims more than any picture Qt can decode (4294967295 x 4294967295).
        write(QStringLiteral("Page/Huge.png"), QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR", 16)
                                                   + QByteArray(8, '\xff') + QByteArray("\x08\x06\x00\x00\x00", 5));

        const int expected = (240000 + 8192 + 1023) / 1024;
        QCOMPARE(PictureCache::decodedKiB(folder.path()), expected);
        QCOMPARE(PictureCache::decodedKiB(folder.filePath(QStringLiteral("missing"))), 0);

        const int before = QPixmapCache::cacheLimit();
        PictureCache::holdPicturesOf(folder.path());
        QCOMPARE(QPixmapCache::cacheLimit(), before + expected);
        // Qt's own share is not counted twice when it is set again.
        PictureCache::holdPicturesOf(folder.path());
        QCOMPARE(QPixmapCache::cacheLimit(), before + expected);
    }
};

QTEST_MAIN(TestPictureCache)
#include "tst_picture_cache.moc"
