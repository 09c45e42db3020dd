#include "common/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QMutex>

namespace AppPaths {

const QString UserFolderName = QStringLiteral("TrelmC");

namespace {
QMutex overrideLock;
QString overrideDir;
}  // namespace

QString programDir()
{
    {
        QMutexLocker lock(&overrideLock);
        if (!overrideDir.isEmpty())
            return overrideDir;
    }
    return QCoreApplication::applicationDirPath();
}

void setProgramDir(const QString& dir)
{
    QMutexLocker lock(&overrideLock);
    overrideDir = dir;
}

QString userDataDir()
{
    return QDir::homePath() + QStringLiteral("/AppData/Local/") + UserFolderName;
}

}  // namespace AppPaths
