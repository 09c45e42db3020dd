#include "common/Registry.h"

#include "common/CheckedFile.h"
#include "common/UserStoreFile.h"

#include <QMutex>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include <memory>

namespace Registry {

namespace {

QBasicMutex baseLock;
QString& baseOverride()
{
    static QString folder;
    return folder;
}

struct MappedPath {
    QString file;
    QString group;
};

MappedPath mapPath(const QString& registryPath)
{
    QStringList parts = registryPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.size() < 3 || parts.at(0).compare(QLatin1String("HKEY_CURRENT_USER"), Qt::CaseInsensitive) != 0
        || parts.at(1).compare(QLatin1String("Software"), Qt::CaseInsensitive) != 0)
        return {};
    const QString organisation = parts.at(2);
    const QString application = parts.size() > 3 ? parts.at(3) : organisation;
    MappedPath mapped;
    mapped.file = baseFolder() + QLatin1Char('/') + organisation + QLatin1Char('/') + application
        + QStringLiteral(".conf");
    mapped.group = parts.mid(4).join(QLatin1Char('/'));
    return mapped;
}

// Settings opened at the group of the path, or null for a path outside the user's software key
// or a damaged file that cannot be moved aside.
std::unique_ptr<QSettings> open(const QString& registryPath)
{
    const MappedPath mapped = mapPath(registryPath);
    if (mapped.file.isEmpty() || !prepareUserStoreFile(mapped.file, CheckedFile::SettingsLimit))
        return nullptr;
    auto settings = std::make_unique<QSettings>(mapped.file, QSettings::NativeFormat);
    if (!mapped.group.isEmpty())
        settings->beginGroup(mapped.group);
    return settings;
}

}  // namespace

QString baseFolder()
{
    {
        QMutexLocker lock(&baseLock);
        if (!baseOverride().isEmpty())
            return baseOverride();
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

void setBaseFolder(const QString& folder)
{
    QMutexLocker lock(&baseLock);
    baseOverride() = folder;
}

QString settingsFile(const QString& registryPath)
{
    return mapPath(registryPath).file;
}

QVariant value(const QString& registryPath, const QString& name, const QVariant& fallback)
{
    auto settings = open(registryPath);
    return settings ? settings->value(name, fallback) : fallback;
}

void setValue(const QString& registryPath, const QString& name, const QVariant& value)
{
    if (auto settings = open(registryPath)) {
        settings->setValue(name, value);
        settings->sync();
    }
}

void remove(const QString& registryPath, const QString& name)
{
    if (auto settings = open(registryPath)) {
        settings->remove(name);
        settings->sync();
    }
}

bool contains(const QString& registryPath, const QString& name)
{
    auto settings = open(registryPath);
    return settings && settings->contains(name);
}

}  // namespace Registry
