#include "device/MacroNames.h"

#include <QTextCodec>

#include <cstring>

namespace {

QString withoutNuls(QString name)
{
    name.remove(QChar(0));
    return name;
}

// Length in UTF-16 units of the character starting at i (2 for a valid surrogate pair).
int characterLength(const QString& text, int i)
{
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return 2;
    return 1;
}

}  // namespace

QString FitMacroName(const QString& name)
{
    int used = 0;
    int end = 0;
    while (end < name.size()) {
        const int len = characterLength(name, end);
        const int bytes = name.mid(end, len).toUtf8().size();
        if (used + bytes > MacroNameMaxBytes)
            break;
        used += bytes;
        end += len;
    }
    return name.left(end);
}

QByteArray EncodeMacroRecordName(const QString& name) { return FitMacroName(withoutNuls(name)).toUtf8(); }

int MacroNameByteCount(const QString& name) { return name.toUtf8().size(); }

void WriteMacroRecordName(MacroRecord& record, const QString& name)
{
    const QByteArray bytes = EncodeMacroRecordName(name);
    std::memset(record.name, 0, sizeof record.name);
    std::memcpy(record.name, bytes.constData(), size_t(bytes.size()));
    record.nameLength = uint8_t(bytes.size());
}

QString DecodeMacroRecordName(const QByteArray& nameBytes)
{
    QByteArray bytes = nameBytes.left(MacroNameMaxBytes);
    bytes.replace('\0', QByteArray());
    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars == 0 && state.remainingChars == 0)
        return text;
    return QString::fromLatin1(bytes);
}

QString DecodeMacroRecordName(const MacroRecord& record)
{
    return DecodeMacroRecordName(QByteArray(reinterpret_cast<const char*>(record.name), int(sizeof record.name)));
}

bool IsValidMacroName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')) || MacroNameByteCount(name) > MacroNameMaxBytes)
        return false;
    for (const QChar c : name) {
        const ushort u = c.unicode();
        if (u < 0x20 || u == 0x7F || c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return false;
    }
    return true;
}
