#include "device/UnsentMacrosFile.h"

#include "common/AppPaths.h"
#include "common/CheckedFile.h"
#include "common/UserStoreFile.h"
#include "device/MacroNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <optional>

namespace {

const QString SavesKey = QStringLiteral("saves");
const QString MouseKey = QStringLiteral("mouse");
const QString KeyKey = QStringLiteral("key");
const QString MacroKey = QStringLiteral("macro");

std::optional<UnsentMacroSaves> parseSaves(const QByteArray& bytes)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonValue list = document.object().value(SavesKey);
    if (!list.isArray())
        return std::nullopt;
    UnsentMacroSaves saves;
    for (const QJsonValue& entry : list.toArray()) {
        const QJsonObject save = entry.toObject();
        const QString mouse = save.value(MouseKey).toString();
        const double key = save.value(KeyKey).toDouble(-1);
        const QString macro = save.value(MacroKey).toString();
        // The name becomes a file path when the save goes out: only a macro name is taken.
        if (!entry.isObject() || mouse.isEmpty() || key < 0 || key >= UnsentMacroKeyCount || key != int(key)
            || !IsValidMacroName(macro))
            return std::nullopt;
        saves.insert(qMakePair(mouse, int(key)), macro);
    }
    return saves;
}

}  // namespace

QString UnsentMacrosFilePath()
{
    return AppPaths::userDataDir() + QStringLiteral("/UnsentMacros.json");
}

UnsentMacrosRead ReadUnsentMacrosFile(const QString& path)
{
    UnsentMacrosRead read;
    const CheckedFile::Result file = CheckedFile::read(path, CheckedFile::SettingsLimit);
    if (file.status == CheckedFile::Status::Missing)
        return read;
    if (file.damaged()) {
        read.writable = keepDamagedStoreAside(path, file.error);
        return read;
    }
    if (const std::optional<UnsentMacroSaves> saves = parseSaves(file.bytes)) {
        read.saves = *saves;
        return read;
    }
    read.writable = keepDamagedStoreAside(
        path, QDir::toNativeSeparators(path) + QStringLiteral(": not a well-formed list of unsent macro saves"));
    return read;
}

bool WriteUnsentMacrosFile(const QString& path, const UnsentMacroSaves& saves)
{
    if (!prepareUserStoreFile(path, CheckedFile::SettingsLimit))
        return false;
    if (saves.isEmpty())
        return !QFileInfo::exists(path) || QFile::remove(path);
    QJsonArray list;
    for (auto it = saves.constBegin(); it != saves.constEnd(); ++it)
        list.append(QJsonObject{{MouseKey, it.key().first}, {KeyKey, it.key().second}, {MacroKey, it.value()}});
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(QJsonObject{{SavesKey, list}}).toJson());
    return file.commit();
}
