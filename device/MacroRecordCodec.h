#pragma once
#include <QString>
#include <QVector>

#include <cstdint>
#include <optional>

#include "device/FlashDataMap.h"

// A macro as the Macro page lists it: rows of key events and delays. A row is a delay exactly
// when its text contains "ms" ("15ms": 15 ms after the key event before it); any other row is
// a key event named by its text, a press or a release.
struct MacroRow {
    QString text;
    bool release = false;

    bool operator==(const MacroRow& other) const { return text == other.text && release == other.release; }
};
using MacroRows = QVector<MacroRow>;

constexpr int MacroMaxEvents = 70;

bool IsDelayText(const QString& text);
inline bool IsDelayRow(const MacroRow& row) { return IsDelayText(row.text); }
// The pause of a delay text: a decimal number followed by "ms" that fits in 32 bits.
std::optional<uint32_t> DelayTextValue(const QString& text);
// The text of a pause as a row shows it: "15ms".
QString DelayText(uint32_t milliseconds);

// Rows to a macro record with the name: each key row with a code becomes the next event, its
// pause the sum of the delay rows up to the next key row (saturating at 2^32-1). A leading
// delay is dropped, the last pause is 0, key rows whose name has no code are skipped (their
// delays join the neighbouring pause); at most 70 events.
MacroRecord MacroRecordFromRows(const QString& name, const MacroRows& rows);

// A record found on the mouse back to its name and rows: each event a key row (mouse-button
// names for kind 4), a delay row with its pause between two events. A count above 70 reads 70.
struct DecodedMacro {
    QString name;
    MacroRows rows;
};
DecodedMacro MacroRowsFromRecord(const MacroRecord& record);
