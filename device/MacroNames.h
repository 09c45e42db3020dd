#pragma once
#include <QByteArray>
#include <QString>

#include "device/FlashDataMap.h"

// Macro names: the name field of a macro record and the rule for names that become file names.
// The record holds at most 30 name bytes in UTF-8 here, fixed whatever the process locale, so
// every machine and test agrees. ASCII names read the same as on Windows, where the field holds
// the local code page.

constexpr int MacroNameMaxBytes = 30;

// The record bytes of a name: NULs removed, UTF-8, cut at 30 bytes between characters (never
// half a character; a surrogate pair is one character).
QByteArray EncodeMacroRecordName(const QString& name);
// The longest prefix of the name (by characters) that fits into 30 record bytes.
QString FitMacroName(const QString& name);
// Bytes the name takes in the record encoding (uncut).
int MacroNameByteCount(const QString& name);
// Writes the name field and its length byte (bytes written); the rest of the 30 bytes zero.
void WriteMacroRecordName(MacroRecord& record, const QString& name);
// The 30 name bytes with NULs removed; the length byte is not used. Valid UTF-8 gives the
// name; anything else (a name written on Windows in its code page) reads one character per
// byte, so distinct byte strings never become one name.
QString DecodeMacroRecordName(const MacroRecord& record);
QString DecodeMacroRecordName(const QByteArray& nameBytes);

// Whether a name may become a macro file name: not empty, at most 30 record bytes, no "/" or
// "\", no control character (U+0000..U+001F, U+007F), not starting with "." (hidden here, and
// covers "." and ".."). Inner blanks are allowed.
bool IsValidMacroName(const QString& name);
