#pragma once
#include <QMap>
#include <QPair>
#include <QString>

#include "device/FlashDataMap.h"

// The per-user file that keeps macro saves a sleeping mouse has not had yet across a restart:
// "<per-user folder>/UnsentMacros.json", a JSON object whose list "saves" holds one object
// {"mouse": text, "key": 0..15, "macro": macro name} per save, and while a save is being
// written, the object "texts" with the macro file's new text under the macro's name (the file
// may not hold it yet). There is no file while nothing is owed.

// Device keys run from 0 to one below this.
constexpr int UnsentMacroKeyCount = int(sizeof(FlashDataMap::buttons) / sizeof(ButtonBinding));

// (mouse, device key) -> name of the macro saved for that key.
using UnsentMacroSaves = QMap<QPair<QString, int>, QString>;

// Macro name -> the text its file is being saved with.
using UnsentMacroTexts = QMap<QString, QByteArray>;

QString UnsentMacrosFilePath();

struct UnsentMacrosRead {
    UnsentMacroSaves saves;
    UnsentMacroTexts texts;
    // False when a damaged file could not be moved aside: it is left as it is, never written.
    bool writable = true;
};

// Reads the file at `path` through the checked opener. Missing: nothing is owed. Damaged (not a
// regular file, over its limit, unreadable, or not a well-formed list of saves): kept aside as
// a damaged user store is, with one line on standard error, and nothing is owed.
UnsentMacrosRead ReadUnsentMacrosFile(const QString& path);

// Writes `saves` and `texts` to `path` in one step (a crash leaves the old file); removes the
// file when nothing is owed. A file at `path` that was replaced by a pipe or a folder meanwhile
// is kept aside first. True when the file holds them (or is gone for none).
bool WriteUnsentMacrosFile(const QString& path, const UnsentMacroSaves& saves, const UnsentMacroTexts& texts = {});
