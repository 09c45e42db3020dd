#pragma once
#include <QString>
#include <QStringList>

#include <optional>

#include "device/MacroTextFile.h"

// The user's macro text files: one "<name>.ini" per macro in the per-user macro folder.
// Every name passes IsValidMacroName before it becomes a path; the functions refuse others.

// "<home>/AppData/Local/TrelmC/usersetting/MacroPage", read from the home folder at every call.
QString MacroFolder();
// folder + "/" + name + ".ini"; empty for a name that fails the macro name check.
QString MacroFilePath(const QString& folder, const QString& name);

// The macros of a folder: regular files (no symbolic links, no hidden files) by name ignoring
// case. Every ".ini" file is listed without its final ".ini"; of the other files those whose
// name holds "xml" are skipped and the rest listed by their full names.
QStringList ListMacroNames(const QString& folder);

// A macro file larger than this is not read (macro files are a few KiB at most).
constexpr qint64 MaxMacroFileSize = 1024 * 1024;

// The text of a macro file; nothing when it cannot be read or is too large.
std::optional<QByteArray> ReadMacroFileText(const QString& path);
// The repeat value and rows of a macro file; nothing when it cannot be read or is too large.
std::optional<MacroFileContent> ReadMacroFile(const QString& path);
// The record the mouse gets for the saved macro `name` of the macro folder, NULs removed from
// the name first; nothing for a name that fails the name check or a file that cannot be read.
std::optional<MacroRecord> ReadSavedMacroRecord(QString name);
// Writes the repeat line and the rows in one step, creating the folder when missing. On
// failure the old file keeps its content.
bool WriteMacroFile(const QString& path, int repeat, const MacroRows& rows);
// Adds the rows' lines after the file's content; false, and nothing created, when the file
// does not exist.
bool AppendMacroFile(const QString& path, const MacroRows& rows);
// Creates the file empty (or empties it), creating the folder when missing.
bool CreateEmptyMacroFile(const QString& path);
// Renames the macro's file; never over an existing file. False when nothing moved.
bool RenameMacroFile(const QString& folder, const QString& oldName, const QString& newName);
// True once the file is gone, removed now or missing already.
bool RemoveMacroFile(const QString& path);
