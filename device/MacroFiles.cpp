#include "device/MacroFiles.h"

#include "common/AppPaths.h"
#include "common/CheckedFile.h"
#include "device/MacroNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString kExtension = QStringLiteral(".ini");

bool makeFolderOf(const QString& path) { return QDir().mkpath(QFileInfo(path).absolutePath()); }

}  // namespace

QString MacroFolder() { return AppPaths::userDataDir() + QStringLiteral("/usersetting/MacroPage"); }

QString MacroFilePath(const QString& folder, const QString& name)
{
    if (!IsValidMacroName(name))
        return QString();
    return folder + QLatin1Char('/') + name + kExtension;
}

QStringList ListMacroNames(const QString& folder)
{
    const QFileInfoList files =
        QDir(folder).entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name | QDir::IgnoreCase);
    QStringList names;
    for (const QFileInfo& file : files) {
        const QString fileName = file.fileName();
        if (fileName.endsWith(kExtension))
            names << fileName.left(fileName.size() - kExtension.size());
        else if (!fileName.contains(QLatin1String("xml")))
            names << fileName;
    }
    return names;
}

std::optional<QByteArray> ReadMacroFileText(const QString& path)
{
    CheckedFile::Result file = CheckedFile::read(path, MaxMacroFileSize);
    if (!file.ok())
        return std::nullopt;
    return std::move(file.bytes);
}

std::optional<MacroFileContent> ReadMacroFile(const QString& path)
{
    const auto text = ReadMacroFileText(path);
    if (!text)
        return std::nullopt;
    return ParseMacroText(*text);
}

std::optional<MacroRecord> ReadSavedMacroRecord(QString name)
{
    name.remove(QChar(0));
    const auto text = ReadMacroFileText(MacroFilePath(MacroFolder(), name));
    if (!text)
        return std::nullopt;
    return MacroRecordFromFileText(name, *text);
}

bool WriteMacroFile(const QString& path, int repeat, const MacroRows& rows)
{
    if (path.isEmpty() || !makeFolderOf(path))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(MacroFileText(repeat, rows));
    return file.commit();
}

bool AppendMacroFile(const QString& path, const MacroRows& rows)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::Append))
        return false;
    const QByteArray lines = MacroRowLines(rows);
    return file.write(lines) == lines.size() && file.flush();
}

bool CreateEmptyMacroFile(const QString& path)
{
    if (path.isEmpty() || !makeFolderOf(path))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.commit();
}

bool RenameMacroFile(const QString& folder, const QString& oldName, const QString& newName)
{
    const QString from = MacroFilePath(folder, oldName);
    const QString to = MacroFilePath(folder, newName);
    if (from.isEmpty() || to.isEmpty() || QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return false;
    return QFile::rename(from, to);
}

bool RemoveMacroFile(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.isDir())
        return false;
    return QFile::remove(path);
}
