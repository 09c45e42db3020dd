#include "PngFile.h"

#include <QtEndian>
#include <array>

namespace {

quint32 crc32(const QByteArray& bytes)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ quint8(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void appendUint32(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

void appendChunk(QByteArray& out, const char type[4], const QByteArray& data)
{
    const QByteArray typed = QByteArray(type, 4) + data;
    appendUint32(out, quint32(data.size()));
    out.append(typed);
    appendUint32(out, crc32(typed));
}

// One row of `image` in `format`. Converted a row at a time: Qt converts a large image on
// threads of its pool, which the build's ThreadSanitizer tree reports (Qt is not built for it).
QImage rowIn(const QImage& image, int y, QImage::Format format)
{
    return image.copy(0, y, image.width(), 1).convertToFormat(format);
}

bool isOpaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const QImage row = rowIn(image, y, QImage::Format_RGBA8888);
        const uchar* pixel = row.constScanLine(0);
        for (int x = 0; x < row.width(); ++x) {
            if (pixel[x * 4 + 3] != 0xFF)
                return false;
        }
    }
    return true;
}

}  // namespace

QByteArray encodeUnfilteredPng(const QImage& image)
{
    // 8-bit RGBA, or RGB where every pixel is opaque: Qt then makes an opaque pixmap, which
    // is copied onto the window where one with an alpha channel would be blended.
    const bool opaque = isOpaque(image);
    const QImage::Format format = opaque ? QImage::Format_RGB888 : QImage::Format_RGBA8888;
    const int width = image.width();
    const int height = image.height();
    const int rowBytes = width * (opaque ? 3 : 4);

    QByteArray header;
    appendUint32(header, quint32(width));
    appendUint32(header, quint32(height));
    header.append(char(8));  // bit depth
    header.append(char(opaque ? 2 : 6));  // colour type: RGB or RGBA
    header.append(char(0));  // deflate
    header.append(char(0));  // adaptive filtering, method 0
    header.append(char(0));  // no interlace

    QByteArray rows;
    rows.reserve(height * (rowBytes + 1));
    for (int y = 0; y < height; ++y) {
        rows.append(char(0));  // filter type None
        rows.append(reinterpret_cast<const char*>(rowIn(image, y, format).constScanLine(0)), rowBytes);
    }
    // qCompress puts the uncompressed size before a complete zlib stream.
    const QByteArray zlibStream = qCompress(rows, 9).mid(4);

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", zlibStream);
    appendChunk(png, "IEND", QByteArray());
    return png;
}
