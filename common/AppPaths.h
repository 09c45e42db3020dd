#pragma once
#include <QString>

// Where the program finds its own data and keeps the user's.
namespace AppPaths {

// Name of the per-user data folder under the user's data folder.
extern const QString UserFolderName;

// The program's own folder (data files beside the executable). Tests may point it elsewhere.
QString programDir();
void setProgramDir(const QString& dir);

// The per-user data folder: "$XDG_DATA_HOME/TrelmC" ("<home>/.local/share/TrelmC" by default),
// read from the environment at every call. While that folder does not exist but the one of
// earlier versions does (it could not be moved), the earlier one is used as it is.
QString userDataDir();

// Where earlier versions kept the user's data, as on Windows: "<home>/AppData/Local/TrelmC".
QString oldUserDataDir();

// Once, at start: moves the earlier versions' folder to userDataDir()'s place with one rename
// when only the old one exists. Nothing is copied: when the rename fails (another file system,
// no permission) the old folder stays and is used. True when the folder was moved.
bool moveOldUserDataDir();

}  // namespace AppPaths
