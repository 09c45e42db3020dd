#pragma once
#include <QMap>
#include <QString>

#include <optional>

#include "device/FlashDataMap.h"

// Macro saves that have not reached their mouse yet (it slept, or its settings had not
// arrived), by mouse and device key. The macro's file holds the edit; until the save has gone
// out, a refresh from the mouse must not write the mouse's older record over that file.
// The queue lives in a per-user file (device/UnsentMacrosFile.h), read at its first use and
// written on every change, so a program ended before the mouse woke still owes the saves.
// A save records what it owes before its macro file is written: beginSave hands the queue the
// file's new text, the keys are remembered (the queue file then holds both in one write), the
// macro file is written, and endSave drops the text. A program killed between those writes
// finds the text at its next start and writes the macro file from it.
// Used on the GUI thread only.
namespace UnsentMacros {

// The mouse of the frame, by its model's CID and MID ("CID0A_MID04"); empty with no mouse.
QString currentMouse();

// Reads the queue now, if not yet read, and finishes a save a kill interrupted.
void load();

void beginSave(const QString& name, const QByteArray& fileText);
void endSave(const QString& name);

void remember(const QString& mouse, int key, const QString& name);
void forget(const QString& mouse, int key);
// A write of `key` reached `mouse`: the save owed to it is done once the key holds the saved
// macro's record and repeat value, or another macro altogether.
void written(const QString& mouse, int key, const ButtonBinding& binding, const MacroRecord& record);
std::optional<QString> nameAt(const QString& mouse, int key);
// Device key to macro name, for one mouse.
QMap<int, QString> of(const QString& mouse);
// A macro renamed on the Macro page keeps its place in the queue under the new name.
void rename(const QString& from, const QString& to);
// Drops the queue held in memory, as the program's end does; the next use reads the file
// again (of the per-user folder of that moment).
void unload();

}  // namespace UnsentMacros
