#pragma once
#include "common/CheckedFile.h"

#include <QString>

// A picture file for a style sheet: url("<path>"). Quoted (quotes in the path escaped), so
// that a program folder with a bracket, an apostrophe or a blank in its path still finds its
// pictures. A file that is no picture to open (a pipe, a huge file) gives an empty url.
inline QString styleSheetUrl(QString path)
{
    path = CheckedFile::pictureForQt(path);
    path.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    path.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QStringLiteral("url(\"") + path + QStringLiteral("\")");
}
