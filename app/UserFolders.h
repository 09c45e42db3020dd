#pragma once
#include <QDateTime>
#include <QString>

// Moves the per-user data folder of earlier versions to its place (AppPaths::moveOldUserDataDir),
// then creates the per-user data folder with its sub-folders and an empty "/Macro.ini" when they are
// missing. Existing folders and files are left as they are. Returns false when the per-user data
// folder or one of its sub-folders is missing afterwards, or a file cannot be made in it.
bool prepareUserFolders();

// Deletes every file (never a sub-folder, never a hidden file) of `folder` that is more than
// 7 whole days old, counted from its last modification to `now`. A file modified "in the future"
// is kept. Deletion errors are ignored.
void PurgeOldFiles(const QString& folder, const QDateTime& now = QDateTime::currentDateTime());
