#pragma once
#include <QString>

// A picture file for a style sheet: url("<path>"). Quoted (quotes in the path escaped), so
// that a program folder with a bracket, an apostrophe or a blank in its path still finds its
// pictures.
inline QString styleSheetUrl(QString path)
{
    path.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    path.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QStringLiteral("url(\"") + path + QStringLiteral("\")");
}
