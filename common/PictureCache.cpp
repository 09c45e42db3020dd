#include "common/PictureCache.h"

#include "common/CheckedFile.h"

#include <QDirIterator>
#include <QFile>
#include <QPixmapCache>

#include <limits>

namespace PictureCache {

namespace {

// A PNG file starts with its 8-byte signature and the IHDR chunk: length, type, width, height.
constexpr int PngHeaderSize = 24;
const char PngSignature[] = "\x89PNG\r\n\x1a\n";

qint64 decodedBytes(const QString& file)
{
    QFile png;
    if (!CheckedFile::open(png, file, CheckedFile::PictureLimit).ok())
        return 0;
    const QByteArray head = png.read(PngHeaderSize);
    if (head.size() < PngHeaderSize || !head.startsWith(QByteArray(PngSignature, 8)) || head.mid(12, 4) != "IHDR")
        return 0;
    const auto word = [&head](int at) {
        return (quint32(uchar(head[at])) << 24) | (quint32(uchar(head[at + 1])) << 16) | (quint32(uchar(head[at + 2])) << 8)
               | quint32(uchar(head[at + 3]));
    };
    // A picture whose pixels would not fit one image is never decoded, so never cached; its
    // header's claim is no size to reserve (and no product to overflow).
    const quint64 pixels = quint64(word(16)) * quint64(word(20));
    if (pixels > quint64(std::numeric_limits<int>::max() / 4))
        return 0;
    return qint64(pixels) * 4;
}

}  // namespace

int decodedKiB(const QString& folder)
{
    qint64 bytes = 0;
    QDirIterator it(folder, {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        bytes += decodedBytes(it.next());
    return int(qMin<qint64>((bytes + 1023) / 1024, std::numeric_limits<int>::max() / 2));
}

void holdPicturesOf(const QString& pictureRoot)
{
    // Set once at start, before any picture is shown.
    static const int qtDefaultKiB = QPixmapCache::cacheLimit();
    QPixmapCache::setCacheLimit(qtDefaultKiB + decodedKiB(pictureRoot));
}

}  // namespace PictureCache
