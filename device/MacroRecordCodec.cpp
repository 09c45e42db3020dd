#include "device/MacroRecordCodec.h"

#include "device/KeyNames.h"
#include "device/MacroNames.h"

#include <algorithm>
#include <limits>

bool IsDelayText(const QString& text) { return text.contains(QLatin1String("ms")); }

std::optional<uint32_t> DelayTextValue(const QString& text)
{
    if (!text.endsWith(QLatin1String("ms")) || text.size() < 3)
        return std::nullopt;
    const QString digits = text.left(text.size() - 2);
    if (!std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }))
        return std::nullopt;
    bool ok = false;
    const qulonglong value = digits.toULongLong(&ok, 10);
    if (!ok || value > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    return uint32_t(value);
}

QString DelayText(uint32_t milliseconds) { return QString::number(milliseconds) + QStringLiteral("ms"); }

MacroRecord MacroRecordFromRows(const QString& name, const MacroRows& rows)
{
    MacroRecord record{};
    WriteMacroRecordName(record, name);
    int count = 0;
    for (const MacroRow& row : rows) {
        if (IsDelayRow(row)) {
            if (count == 0)
                continue;
            uint32_t& pause = record.events[count - 1].delayMs;
            const uint64_t sum = uint64_t(pause) + DelayTextValue(row.text).value_or(0);
            pause = uint32_t(std::min<uint64_t>(sum, std::numeric_limits<uint32_t>::max()));
            continue;
        }
        if (count == MacroMaxEvents)
            break;
        if (!KeyNameToEvent(row.text, count, record))
            continue;
        record.events[count].action = row.release ? 1 : 0;
        ++count;
    }
    record.eventCount = uint8_t(count);
    if (count > 0)
        record.events[count - 1].delayMs = 0;
    return record;
}

DecodedMacro MacroRowsFromRecord(const MacroRecord& record)
{
    DecodedMacro macro;
    macro.name = DecodeMacroRecordName(record);
    const int count = std::min<int>(record.eventCount, MacroMaxEvents);
    for (int e = 0; e < count; ++e) {
        const KeyEvent& event = record.events[e];
        const QString name = event.kind == KeyTypeMouse ? MouseBitToName(event.code) : CodeToKeyName(event.code, event.kind);
        macro.rows.append({name, event.action != 0});
        if (e + 1 < count)
            macro.rows.append({DelayText(event.delayMs), false});
    }
    return macro;
}
