#include "device/MacroTextFile.h"

#include "device/KeyNames.h"

#include <QStringList>

namespace {

QStringList fieldsOf(QString line)
{
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// A key or delay line; nothing for any other line.
std::optional<MacroRow> rowOfLine(const QStringList& fields)
{
    if (fields.size() == 1) {
        const auto pause = DelayTextValue(fields[0]);
        if (!pause)
            return std::nullopt;
        return MacroRow{DelayText(*pause), false};
    }
    if (fields.size() != 3)
        return std::nullopt;
    bool ok = false;
    const int type = fields[1].toInt(&ok, 10);
    if (!ok || (fields[2] != QLatin1String("0") && fields[2] != QLatin1String("1")))
        return std::nullopt;
    return MacroRow{HexToKeyName(fields[0], type), fields[2] == QLatin1String("1")};
}

}  // namespace

int RepeatValueFromText(const QString& field)
{
    bool ok = false;
    const int value = field.toInt(&ok, 10);
    if (!ok || value < 1 || (value > 250 && value < 253) || value > 255)
        return 1;
    return value;
}

QString MacroRepeatField(const QByteArray& text)
{
    const int end = text.indexOf('\n');
    return fieldsOf(QString::fromUtf8(end < 0 ? text : text.left(end))).value(0);
}

MacroFileContent ParseMacroText(const QByteArray& text)
{
    MacroFileContent content;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    content.repeat = RepeatValueFromText(fieldsOf(lines.value(0)).value(0));
    for (int i = 1; i < lines.size(); ++i)
        if (const auto row = rowOfLine(fieldsOf(lines[i])))
            content.rows.append(*row);
    return content;
}

QByteArray MacroRowLines(const MacroRows& rows)
{
    QByteArray out;
    for (const MacroRow& row : rows) {
        if (IsDelayRow(row)) {
            if (const auto pause = DelayTextValue(row.text))
                out += DelayText(*pause).toLatin1() + '\n';
            continue;
        }
        const QStringList pair = KeyNameToHexPair(row.text);
        if (pair.size() == 2)
            out += (pair[0] + QLatin1Char(' ') + pair[1] + QLatin1Char(' ') + (row.release ? '1' : '0')).toLatin1() + '\n';
    }
    return out;
}

QByteArray MacroFileText(int repeat, const MacroRows& rows)
{
    return QByteArray::number(RepeatValueFromText(QString::number(repeat))) + '\n' + MacroRowLines(rows);
}

MacroRecord MacroRecordFromFileText(const QString& name, const QByteArray& text)
{
    return MacroRecordFromRows(name, ParseMacroText(text).rows);
}
