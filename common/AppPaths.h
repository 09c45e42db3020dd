#pragma once
#include <QString>

// Where the program finds its own data and keeps the user's.
namespace AppPaths {

// Name of the per-user data folder under "<home>/AppData/Local/".
extern const QString UserFolderName;

// The program's own folder (data files beside the executable). Tests may point it elsewhere.
QString programDir();
void setProgramDir(const QString& dir);

// "<home>/AppData/Local/TrelmC", read from the home folder at every call.
QString userDataDir();

}  // namespace AppPaths
