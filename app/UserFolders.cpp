#include "app/UserFolders.h"

#include "common/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {
const char* const SubFolders[] = {
    "/Log", "/Device_Info", "/Exception", "/usersetting",
    "/usersetting/MainPage", "/usersetting/MacroPage", "/usersetting/SensorPage",
};
constexpr qint64 SecondsPerDay = 86400;
constexpr qint64 KeepDays = 7;
}  // namespace

bool prepareUserFolders()
{
    AppPaths::moveOldUserDataDir();
    const QString base = AppPaths::userDataDir();
    bool ready = true;
    for (const char* sub : SubFolders) {
        const QString path = base + QLatin1String(sub);
        if (!QFileInfo::exists(path))
            QDir().mkpath(path);
        ready = ready && QFileInfo(path).isDir();
    }
    QFile settings(base + QStringLiteral("/Macro.ini"));
    if (!settings.exists() && settings.open(QIODevice::WriteOnly | QIODevice::Text))
        settings.close();
    // The folder's permission bits say nothing for root or on a read-only mount: a file made
    // and dropped again does.
    QTemporaryFile probe(base + QStringLiteral("/.write-check-XXXXXX"));
    return ready && probe.open();
}

void PurgeOldFiles(const QString& folder, const QDateTime& now)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        const qint64 age = entry.lastModified().secsTo(now);
        if (age >= 0 && age / SecondsPerDay > KeepDays)
            QFile::remove(entry.absoluteFilePath());
    }
}
