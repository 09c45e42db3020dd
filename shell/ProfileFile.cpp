#include "shell/ProfileFile.h"

#include "common/TraceLog.h"

#include <QByteArray>
#include <QDataStream>
#include <QDebug>
#include <QFile>

#include <cstring>

namespace ProfileFile {

const char* const MakerTag = "Trelm";

namespace {

// One length-prefixed block. A block that cannot be read in full is reported as broken.
struct Block {
    QByteArray bytes;
    bool complete = false;
};

Block readBlock(QDataStream& in, QIODevice& device)
{
    Block block;
    quint32 length = 0;
    in >> length;
    if (in.status() != QDataStream::Ok)
        return block;
    if (length == 0xFFFFFFFFu) {  // how the stream writes an empty (null) block
        block.complete = true;
        return block;
    }
    if (qint64(length) > device.bytesAvailable())
        return block;
    block.bytes.resize(int(length));
    if (in.readRawData(block.bytes.data(), int(length)) != int(length)) {
        block.bytes.clear();
        return block;
    }
    block.complete = true;
    return block;
}

// The text of a block: up to its first NUL byte or its end.
QString blockText(const Block& block)
{
    const int nul = block.bytes.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? block.bytes : block.bytes.left(nul));
}

}  // namespace

int read(const QString& path, const QString& sensorName, int dpiMaxGrade, FlashDataMap* out)
{
    std::memset(static_cast<void*>(out), 0, sizeof(FlashDataMap));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(kavroTrace) << "failed";
        return Unreadable;
    }
    if (file.size() > MaxFileSize)
        return Unreadable;

    QDataStream in(&file);
    in.setByteOrder(QDataStream::BigEndian);
    const Block tag = readBlock(in, file);
    const Block sensor = tag.complete ? readBlock(in, file) : Block();
    const Block image = sensor.complete ? readBlock(in, file) : Block();

    if (blockText(tag) != QLatin1String(MakerTag))
        return Unreadable;
    // A cut-short file never reaches the mouse: its image would be partly undefined.
    if (!image.complete || image.bytes.size() < int(sizeof(FlashDataMap)))
        return Unreadable;
    if (blockText(sensor) != sensorName)
        return Mismatch;
    std::memcpy(static_cast<void*>(out), image.bytes.constData(), sizeof(FlashDataMap));
    if (int(out->dpiLevelCount) > dpiMaxGrade)
        return Mismatch;
    return Accepted;
}

}  // namespace ProfileFile
