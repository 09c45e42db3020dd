// The pixmap cache holds every picture of the program: its size follows the pictures' headers.
#include "common/PictureCache.h"

#include <QDir>
#include <QDirIterator>
#include <QtEndian>
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

    // The drawn pictures decode to what was drawn, every row is stored unfiltered (the first
    // tile click decodes dozens of them, and libpng's filters cost the reader dearly), and the
    // opaque ones carry no alpha channel (their pixmaps are copied, not blended).
    void drawnPicturesAreUnfilteredPngs()
    {
        const QString root = QStringLiteral(KAVRO_OUTPUT_DIR "/Picture");
        int pictures = 0;
        for (QDirIterator it(root, {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
            const QByteArray png = file.readAll();
            QVERIFY2(png.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8)), qPrintable(path));
            QByteArray idat;
            quint32 width = 0;
            quint32 height = 0;
            bool opaque = false;
            for (int at = 8; at + 12 <= png.size();) {
                const quint32 length = qFromBigEndian<quint32>(png.constData() + at);
                QVERIFY2(at + 12 + qint64(length) <= png.size(), qPrintable(path));
                const QByteArray type = png.mid(at + 4, 4);
                const QByteArray data = png.mid(at + 8, int(length));
                if (type == "IHDR") {
                    width = qFromBigEndian<quint32>(data.constData());
                    height = qFromBigEndian<quint32>(data.constData() + 4);
                    opaque = data.at(9) == 2;
                    // 8-bit RGB or RGBA, no interlace
                    QCOMPARE(data.mid(8), QByteArray(opaque ? "\x08\x02\x00\x00\x00" : "\x08\x06\x00\x00\x00", 5));
                } else if (type == "IDAT") {
                    idat += data;
                }
                at += 12 + int(length);
            }
            const quint32 pixelBytes = opaque ? 3 : 4;
            const quint32 rowBytes = width * pixelBytes + 1;
            char size[4];
            qToBigEndian(rowBytes * height, size);
            const QByteArray rows = qUncompress(QByteArray(size, 4) + idat);
            QCOMPARE(quint32(rows.size()), rowBytes * height);
            for (quint32 y = 0; y < height; ++y)
                QVERIFY2(rows.at(int(y * rowBytes)) == 0, qPrintable(path));

            QImage decoded(path);
            QVERIFY2(!decoded.isNull(), qPrintable(path));
            QCOMPARE(decoded.size(), QSize(int(width), int(height)));
            QCOMPARE(decoded.hasAlphaChannel(), !opaque);
            const QImage pixels = decoded.convertToFormat(opaque ? QImage::Format_RGB888 : QImage::Format_RGBA8888);
            bool seenTranslucent = false;
            for (quint32 y = 0; y < height; ++y) {
                const char* row = rows.constData() + y * rowBytes + 1;
                QVERIFY2(memcmp(pixels.constScanLine(int(y)), row, width * pixelBytes) == 0, qPrintable(path));
                for (quint32 x = 0; !opaque && x < width; ++x)
                    seenTranslucent = seenTranslucent || quint8(row[x * 4 + 3]) != 0xFF;
            }
            QVERIFY2(opaque || seenTranslucent, qPrintable(path));
            ++pictures;
        }
        QVERIFY(pictures > 100);
    }
};

QTEST_MAIN(TestPictureCache)
#include "tst_picture_cache.moc"
