#pragma once
#include <QString>

// Called before a settings store of the user's own (Macro.ini, the registry stand-in's files)
// opens its file. A file that the checked opener refuses (a pipe, device or folder, over
// `limit` bytes, unreadable) is damaged: it is kept aside under a new name beside it
// ("<name>.damaged", "<name>.damaged-2" ...) with one line on standard error, and the store
// starts from its defaults; nothing else is lost. Returns false when the store must not open
// the path at all: the damaged file is still there because it could not be moved.
bool prepareUserStoreFile(const QString& path, qint64 limit);

// Keeps the store file at `path` aside as damaged, the same way, with `error` ("<path>: what
// is wrong") in the line on standard error. For a store that finds the damage only in the
// content it read. False when the file could not be moved.
bool keepDamagedStoreAside(const QString& path, const QString& error);

// The name a damaged store file at `path` is kept under: the first of "<path>.damaged",
// "<path>.damaged-2" ... that names nothing yet.
QString damagedStoreName(const QString& path);
