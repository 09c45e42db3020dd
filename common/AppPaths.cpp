#include "common/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>

#include <cstdio>

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

namespace {
QString xdgUserDataDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') + UserFolderName;
}
}  // namespace

QString oldUserDataDir()
{
    return QDir::homePath() + QStringLiteral("/AppData/Local/") + UserFolderName;
}

QString userDataDir()
{
    const QString current = xdgUserDataDir();
    if (!QFileInfo(current).isDir() && QFileInfo(oldUserDataDir()).isDir())
        return oldUserDataDir();
    return current;
}

bool moveOldUserDataDir()
{
    const QString current = xdgUserDataDir();
    const QString old = oldUserDataDir();
    if (QFileInfo::exists(current) || QFileInfo(current).isSymLink() || !QFileInfo(old).isDir())
        return false;
    QDir().mkpath(QFileInfo(current).absolutePath());
    // rename(2) itself: it moves the folder whole or not at all, and never copies.
    return std::rename(QFile::encodeName(old).constData(), QFile::encodeName(current).constData()) == 0;
}

}  // namespace AppPaths
