#pragma once
#include <QByteArray>
#include <QString>

#include "device/MacroRecordCodec.h"

// The macro text file: one small file per macro, lines ended by "\n".
//   line 1     the repeat value: 253, 254, 255 (the three repeat modes) or a play count 1..250
//   "0xHH T F" a key event: code in the 0xHH form, type digit, F "0" press or "1" release
//   "15ms"     a delay: the pause after the key event before it
// The readers of the Macro page and of the button page read lines the same way: any other
// line is skipped; a last line without its line break counts.

// The repeat value of a line-1 field: 253, 254, 255 or 1..250 as written; anything else
// (empty, 0, 300, text) is 1.
int RepeatValueFromText(const QString& field);

// The first field of line 1 as written ("" for an empty line 1).
QString MacroRepeatField(const QByteArray& text);

struct MacroFileContent {
    int repeat = 1;
    MacroRows rows;
};
MacroFileContent ParseMacroText(const QByteArray& text);

// The lines of the rows (for appending after an existing line 1). Rows without a code and
// delays that are no "<number>ms" are left out.
QByteArray MacroRowLines(const MacroRows& rows);
// A whole file: the repeat line, then the rows' lines.
QByteArray MacroFileText(int repeat, const MacroRows& rows);

// The record the mouse gets for a file: its rows by the rows' rule.
MacroRecord MacroRecordFromFileText(const QString& name, const QByteArray& text);
