#include "device/ProfileFile.h"

#include "common/CheckedFile.h"
#include "common/TraceLog.h"

#include <QByteArray>
#include <QDataStream>
#include <QDebug>
#include <QFile>
#include <QSaveFile>

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

// The text fields as written: the bytes up to the first NUL.
QByteArray fieldText(const QByteArray& bytes)
{
    const int nul = bytes.indexOf('\0');
    return nul < 0 ? bytes : bytes.left(nul);
}

QByteArray paddedField(const QByteArray& text)
{
    QByteArray field = text.left(TextFieldSize);
    field.append(QByteArray(TextFieldSize - field.size(), '\0'));
    return field;
}

}  // namespace

QByteArray sensorField(const QString& sensorName)
{
    return sensorName.toUtf8().left(TextFieldSize);
}

QByteArray encode(const QString& sensorName, const FlashDataMap& image)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::BigEndian);
    const QByteArray tag = paddedField(QByteArray(MakerTag));
    const QByteArray sensor = paddedField(sensorField(sensorName));
    out.writeBytes(tag.constData(), uint(tag.size()));
    out.writeBytes(sensor.constData(), uint(sensor.size()));
    out.writeBytes(reinterpret_cast<const char*>(&image), uint(sizeof image));
    return bytes;
}

bool write(const QString& path, const QString& sensorName, const FlashDataMap& image)
{
    const QByteArray bytes = encode(sensorName, image);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

int read(const QString& path, const QString& sensorName, int dpiMaxGrade, FlashDataMap* out)
{
    std::memset(static_cast<void*>(out), 0, sizeof(FlashDataMap));
    QFile file;
    if (!CheckedFile::open(file, path, MaxFileSize).ok()) {
        qCDebug(kavroTrace) << "failed";
        return Unreadable;
    }

    QDataStream in(&file);
    in.setByteOrder(QDataStream::BigEndian);
    const Block tag = readBlock(in, file);
    const Block sensor = tag.complete ? readBlock(in, file) : Block();
    const Block image = sensor.complete ? readBlock(in, file) : Block();

    if (fieldText(tag.bytes) != QByteArray(MakerTag))
        return Unreadable;
    // A cut-short file never reaches the mouse: its image would be partly undefined.
    if (!image.complete || image.bytes.size() < int(sizeof(FlashDataMap)))
        return Unreadable;
    // No DPI level in use, or a current level past the last one: a damaged image, which
    // the mouse would be left unable to use.
    const auto levels = uint8_t(image.bytes.at(1));
    const auto current = uint8_t(image.bytes.at(2));
    if (levels == 0 || current >= levels)
        return Unreadable;
    // Compared as the writer stores it, so a model with a long sensor name reads its own files.
    if (fieldText(sensor.bytes) != sensorField(sensorName))
        return Mismatch;
    std::memcpy(static_cast<void*>(out), image.bytes.constData(), sizeof(FlashDataMap));
    if (int(out->dpiLevelCount) > dpiMaxGrade)
        return Mismatch;
    return Accepted;
}

}  // namespace ProfileFile
