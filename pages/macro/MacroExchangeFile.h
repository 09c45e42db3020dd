#pragma once
#include <QByteArray>
#include <QIcon>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>

#include "device/MacroRecordCodec.h"

// The macro exchange file: one macro with its event list as the page shows it, for taking
// macros to another computer. A data stream (version 17, big-endian) of
//   block "Trelm" (12 bytes), block name (48 bytes, UTF-8), block repeat text (12 bytes),
//   i32 item count, then per item: its text, its icon, and for a key item (a text without
//   "ms") the flag block "0" (press) or "1" (release) with a zero byte.
// A block is a u32 length and that many bytes; the texts are zero-filled to the block size.

struct MacroExchangeItem {
    QString text;
    QIcon icon;
    bool release = false;  // key items only
};

struct MacroExchange {
    QString name;
    QString repeat;  // "253", "254", "255" or the play count
    QVector<MacroExchangeItem> items;
};

// The file's bytes.
QByteArray MacroExchangeBytes(const MacroExchange& macro);
// Writes the file in one step; false, and nothing left behind, when it cannot be written.
bool WriteMacroExchangeFile(const QString& path, const MacroExchange& macro);

// Reads a whole file before anything is taken from it. Nothing when it is not such a file:
// another maker tag, a name that cannot be a macro name, an impossible item count, or data
// that ends or breaks before the last item. The icons are read past and dropped.
std::optional<MacroExchange> ParseMacroExchange(const QByteArray& data);
// A file larger than this is not read.
constexpr qint64 MaxMacroExchangeFileSize = 16 * 1024 * 1024;
std::optional<MacroExchange> ReadMacroExchangeFile(const QString& path);

// The event rows of imported items: delays written as a number followed by "ms", and key
// items whose name is a key, a modifier or a mouse button; others are dropped. A mouse-button
// name is first handed to `mouseButtonName`, which gives the current language's name for a
// name of any language (or the name unchanged).
MacroRows ImportedMacroRows(const QVector<MacroExchangeItem>& items,
                            const std::function<QString(const QString&)>& mouseButtonName);

// Maps a mouse-button name of any shipped language to the current language's name of that
// button; any other text stays. Reads the language files once, when made.
std::function<QString(const QString&)> MouseButtonNameTranslator();
