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

bool isOpaque(const QImage& rgba)
{
    for (int y = 0; y < rgba.height(); ++y) {
        const uchar* pixel = rgba.constScanLine(y);
        for (int x = 0; x < rgba.width(); ++x) {
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
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    const bool opaque = isOpaque(rgba);
    const QImage pixels = opaque ? rgba.convertToFormat(QImage::Format_RGB888) : rgba;
    const int width = pixels.width();
    const int height = pixels.height();
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
        rows.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), rowBytes);
    }
    // qCompress puts the uncompressed size before a complete zlib stream.
    const QByteArray zlibStream = qCompress(rows, 9).mid(4);

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", zlibStream);
    appendChunk(png, "IEND", QByteArray());
    return png;
}
