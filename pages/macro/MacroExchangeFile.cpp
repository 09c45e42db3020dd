#include "pages/macro/MacroExchangeFile.h"

#include "common/CheckedFile.h"
#include "common/LanguageFile.h"
#include "device/KeyNames.h"
#include "device/MacroNames.h"

#include <QDataStream>
#include <QFile>
#include <QHash>
#include <QSaveFile>

namespace {

constexpr int StreamVersion = 17;  // the form every exchange file has, whatever Qt writes today
const QByteArray MakerTag = QByteArrayLiteral("Trelm");
constexpr int TagBlockSize = 12;
constexpr int NameBlockSize = 48;
constexpr int RepeatBlockSize = 12;
// The smallest item: an empty text and a null icon (two lengths).
constexpr qint64 SmallestItem = 8;

QByteArray zeroFilled(QByteArray bytes, int size)
{
    bytes.truncate(size);
    bytes.append(QByteArray(size - bytes.size(), '\0'));
    return bytes;
}

// A bounded reader over the file's bytes: every length is checked against what is left.
class Reader {
public:
    explicit Reader(const QByteArray& data)
        : m_data(data)
    {
    }

    qint64 left() const { return m_data.size() - m_pos; }
    bool ok() const { return m_ok; }

    quint32 u32()
    {
        if (!need(4))
            return 0;
        const auto* p = reinterpret_cast<const uchar*>(m_data.constData() + m_pos);
        m_pos += 4;
        return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
    }

    QByteArray bytes(qint64 count)
    {
        if (!need(count))
            return QByteArray();
        const QByteArray part = m_data.mid(int(m_pos), int(count));
        m_pos += count;
        return part;
    }

    // A block: a u32 length and that many bytes.
    QByteArray block() { return bytes(u32()); }

    // A text as the data stream writes it: u32 byte length (all ones for a null text), UTF-16BE.
    QString text()
    {
        const quint32 length = u32();
        if (!m_ok || length == 0xFFFFFFFFu)
            return QString();
        if (length % 2) {
            m_ok = false;
            return QString();
        }
        const QByteArray raw = bytes(length);
        if (!m_ok)
            return QString();
        QString result(int(length / 2), Qt::Uninitialized);
        for (int i = 0; i < result.size(); ++i)
            result[i] = QChar(ushort((uchar(raw[2 * i]) << 8) | uchar(raw[2 * i + 1])));
        return result;
    }

    void skip(qint64 count) { bytes(count); }

    bool fail() { return m_ok = false; }

private:
    bool need(qint64 count)
    {
        if (!m_ok || count < 0 || count > left())
            m_ok = false;
        return m_ok;
    }

    const QByteArray& m_data;
    qint64 m_pos = 0;
    bool m_ok = true;
};

// A PNG image as the image writer put it into the stream: signature, then chunks up to IEND.
bool skipPng(Reader& in)
{
    static const QByteArray signature = QByteArrayLiteral("\x89PNG\r\n\x1a\n");
    if (in.bytes(8) != signature)
        return in.fail();
    while (in.ok()) {
        const quint32 length = in.u32();
        const QByteArray type = in.bytes(4);
        in.skip(qint64(length) + 4);  // data and CRC
        if (type == "IEND")
            break;
    }
    return in.ok();
}

// An icon as a version-17 stream holds it: the engine's key, then for the pixmap engine its
// entries (image, file name, size, mode, state). Other engines cannot be read past safely.
bool skipIcon(Reader& in)
{
    const QString key = in.text();
    if (!in.ok() || key.isEmpty())
        return in.ok();
    if (key != QLatin1String("QPixmapIconEngine"))
        return in.fail();
    const auto entries = qint32(in.u32());
    constexpr qint64 SmallestEntry = 4 + 4 + 8 + 8;  // null image, null file name, size, mode and state
    if (entries < 0 || entries > in.left() / SmallestEntry)
        return in.fail();
    for (qint32 i = 0; i < entries && in.ok(); ++i) {
        if (in.u32() != 0 && !skipPng(in))
            return false;
        in.text();
        in.skip(8 + 8);
    }
    return in.ok();
}

QString textBeforeZero(const QByteArray& block)
{
    const int zero = block.indexOf('\0');
    return QString::fromUtf8(zero < 0 ? block : block.left(zero));
}

}  // namespace

QByteArray MacroExchangeBytes(const MacroExchange& macro)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(StreamVersion);
    out.setByteOrder(QDataStream::BigEndian);
    const auto writeBlock = [&out](const QByteArray& bytes) { out.writeBytes(bytes.constData(), uint(bytes.size())); };
    writeBlock(zeroFilled(MakerTag, TagBlockSize));
    writeBlock(zeroFilled(macro.name.toUtf8(), NameBlockSize));
    writeBlock(zeroFilled(macro.repeat.toUtf8(), RepeatBlockSize));
    out << qint32(macro.items.size());
    for (const MacroExchangeItem& item : macro.items) {
        out << item.text << item.icon;
        if (!IsDelayText(item.text))
            writeBlock(QByteArray(item.release ? "1" : "0", 2));  // the digit and its zero byte
    }
    return data;
}

bool WriteMacroExchangeFile(const QString& path, const MacroExchange& macro)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray data = MacroExchangeBytes(macro);
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::optional<MacroExchange> ParseMacroExchange(const QByteArray& data)
{
    Reader in(data);
    if (textBeforeZero(in.block()) != QLatin1String(MakerTag) || !in.ok())
        return std::nullopt;
    MacroExchange macro;
    macro.name = textBeforeZero(in.block());
    macro.repeat = textBeforeZero(in.block());
    const auto count = qint32(in.u32());
    if (!in.ok() || !IsValidMacroName(macro.name) || count < 0 || count > in.left() / SmallestItem)
        return std::nullopt;
    macro.items.reserve(count);
    for (qint32 i = 0; i < count; ++i) {
        MacroExchangeItem item;
        item.text = in.text();
        if (!skipIcon(in))
            return std::nullopt;
        if (!IsDelayText(item.text))
            item.release = in.text() != QString(QChar(0x3000));  // "0" and its zero byte, read as UTF-16
        if (!in.ok())
            return std::nullopt;
        macro.items.append(item);
    }
    return macro;
}

std::optional<MacroExchange> ReadMacroExchangeFile(const QString& path)
{
    QFile file;
    if (!CheckedFile::open(file, path, MaxMacroExchangeFileSize).ok())
        return std::nullopt;
    // Only the bytes the file had when it was measured: a read of the whole limit would
    // reserve 16 MiB for every import.
    return ParseMacroExchange(file.read(file.size()));
}

MacroRows ImportedMacroRows(const QVector<MacroExchangeItem>& items,
                            const std::function<QString(const QString&)>& mouseButtonName)
{
    MacroRows rows;
    for (const MacroExchangeItem& item : items) {
        if (IsDelayText(item.text)) {
            if (const auto pause = DelayTextValue(item.text))
                rows.append({DelayText(*pause), false});
            continue;
        }
        const QString name = mouseButtonName ? mouseButtonName(item.text) : item.text;
        if (!name.isEmpty() && KeyNameToCode(name))
            rows.append({name, item.release});
    }
    return rows;
}

std::function<QString(const QString&)> MouseButtonNameTranslator()
{
    static const QStringList elements{QStringLiteral("ChooseEvent4"), QStringLiteral("ChooseEvent5"),
                                      QStringLiteral("ChooseEvent6"), QStringLiteral("ChooseEvent7"),
                                      QStringLiteral("ChooseEvent8")};
    // The current language's name of each button, then every language's name to it.
    QHash<QString, QString> current;
    loadLanguageSection(currentLanguageIndex(), QStringLiteral("Macro"), elements,
                        [&current](const QString& element, const QString& text) { current.insert(element, text); });
    QHash<QString, QString> toCurrent;
    for (int language = 0; language < 6; ++language) {
        loadLanguageSection(language, QStringLiteral("Macro"), elements, [&](const QString& element, const QString& text) {
            const QString name = current.value(element);
            if (!text.isEmpty() && !name.isEmpty() && !toCurrent.contains(text))
                toCurrent.insert(text, name);
        });
    }
    return [toCurrent](const QString& name) { return toCurrent.value(name, name); };
}
