#pragma once
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

#include "device/FlashDataMap.h"

// Key names and the codes the mouse stores. Above the device every key is a key name ("A",
// "F5", "LCtrl", "Num+", an arrow, or the translated name of a mouse button); the records hold
// a code with a type:
//   1 keyboard key: a HID keyboard usage (page 0x07)
//   0 modifier key: one bit of the HID modifier byte
//   4 mouse button (macros only): one mouse-button bit
// Macros use the side-specific modifier names "LCtrl" .. "RWin"; key combinations use the
// side-less "Ctrl", "Shift", "Alt", "Win" (always the left-hand bits when written).
// Names match exactly and case-sensitively. The empty name is the empty key (type 1, usage 0).
// GUI thread only (the mouse-button names are shared state).

enum KeyType : uint8_t { KeyTypeModifier = 0, KeyTypeKey = 1, KeyTypeMouse = 4 };

struct KeyCode {
    uint8_t type;
    uint16_t code;
};

// The five mouse-button names, the only translated key names, indexed by bit position:
// 0 left (0x01), 1 right (0x02), 2 middle (0x04), 3 back (0x08), 4 forward (0x10).
// Empty at start; the Macro page's language loading writes them.
extern std::array<QString, 5> MouseButtonNames;

// The code of a name: key table, empty key, "LCtrl" .. "RWin", then the current mouse-button
// names (an empty mouse-button name never matches: the empty name is tested first).
std::optional<KeyCode> KeyNameToCode(const QString& name);

// "0xHH" text and type digit of a file line to the name; "" for anything not in the tables
// (lower-case digits or an upper-case X match nothing).
QString HexToKeyName(const QString& hex, int type);
// A code read from a macro record (types 0 and 1; the type only decides 0x04, 0x08, 0x10,
// 0x20 and 0x40). 0x58 (keypad Enter) reads as "Enter". "" for unknown codes.
QString CodeToKeyName(int code, int type);
// A mouse-button bit to its current name, "" for anything else.
QString MouseBitToName(int bit);
// Sets kind and code of macro event `index` from a name; flag and pause stay. False, and
// nothing written, for a name without a code or an index outside 0..69.
bool KeyNameToEvent(const QString& name, int index, MacroRecord& record);
// ("0xHH", type digit) of a name, as macro text files hold it; empty list for a name
// without a code.
QStringList KeyNameToHexPair(const QString& name);

// Key combinations. The vocabulary: every key-table name (F1..F12 included) and "Ctrl",
// "Shift", "Alt", "Win". Fills the press at position i and the release at 2n-1-i with the
// name's kind and code and a delay of 10 ms; a name outside the vocabulary gets kind 1 and
// keeps the usage the record had. Changes nothing for n outside 1..3 or i outside 0..n-1.
ButtonComboRecord ComboKeyNameToEvents(const QString& name, int i, int n, ButtonComboRecord record);
// A stored combination event back to its name (right-hand modifier bits show side-less;
// 0x40 is "F7" for kind 1, "Alt" otherwise). "" for unknown codes.
QString CodeToComboKeyName(int code, int kind);
// Splits a combination text into whole names at "+". "Num+" stays one name where the next
// character is "+" or the end ("Num+", "Ctrl+Num+", "Num++A"); empty parts stay.
QStringList SplitComboText(const QString& text);

// Virtual-key codes (the keyboard layer's numbering) to key names. The recorder knows every
// row; the key-combination dialog lacks "Space" and the side-specific modifiers, the
// single-key dialog "Space" and "RAlt".
enum class KeyNameUser { Recorder, GroupKey, AddKey };
// The name of a code for that user; no value for a code without a name there. Code 12
// (keypad 5 without NumLock) has a name: the empty text.
std::optional<QString> VirtualKeyName(int virtualKey, KeyNameUser user = KeyNameUser::Recorder);
// Every code that has a name for that user, ascending.
QList<int> VirtualKeyCodes(KeyNameUser user);
// Every key-table usage with a name, ascending (the empty key 0x00 first).
QList<int> KeyTableUsages();
