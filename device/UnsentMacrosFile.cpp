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
const QString TextsKey = QStringLiteral("texts");

std::optional<UnsentMacroTexts> parseTexts(const QJsonValue& value)
{
    UnsentMacroTexts texts;
    if (value.isUndefined())
        return texts;
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        // The name becomes a file path when the save is finished. A macro text never holds a
        // NUL, and the writer's conversion of the text would end it there.
        if (!it.value().isString() || !IsValidMacroName(it.key()) || it.value().toString().contains(QChar(0)))
            return std::nullopt;
        texts.insert(it.key(), it.value().toString().toUtf8());
    }
    return texts;
}

std::optional<UnsentMacrosRead> parseQueue(const QByteArray& bytes)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const std::optional<UnsentMacroTexts> texts = parseTexts(document.object().value(TextsKey));
    if (!texts)
        return std::nullopt;
    UnsentMacrosRead read;
    read.texts = *texts;
    const QJsonValue list = document.object().value(SavesKey);
    if (!list.isArray())
        return std::nullopt;
    for (const QJsonValue& entry : list.toArray()) {
        const QJsonObject save = entry.toObject();
        const QString mouse = save.value(MouseKey).toString();
        const double key = save.value(KeyKey).toDouble(-1);
        const QString macro = save.value(MacroKey).toString();
        // The name becomes a file path when the save goes out: only a macro name is taken.
        if (!entry.isObject() || mouse.isEmpty() || key < 0 || key >= UnsentMacroKeyCount || key != int(key)
            || !IsValidMacroName(macro))
            return std::nullopt;
        read.saves.insert(qMakePair(mouse, int(key)), macro);
    }
    return read;
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
    if (const std::optional<UnsentMacrosRead> queue = parseQueue(file.bytes))
        return *queue;
    read.writable = keepDamagedStoreAside(
        path, QDir::toNativeSeparators(path) + QStringLiteral(": not a well-formed list of unsent macro saves"));
    return read;
}

bool WriteUnsentMacrosFile(const QString& path, const UnsentMacroSaves& saves, const UnsentMacroTexts& texts)
{
    if (!prepareUserStoreFile(path, CheckedFile::SettingsLimit))
        return false;
    if (saves.isEmpty() && texts.isEmpty())
        return !QFileInfo::exists(path) || QFile::remove(path);
    QJsonArray list;
    for (auto it = saves.constBegin(); it != saves.constEnd(); ++it)
        list.append(QJsonObject{{MouseKey, it.key().first}, {KeyKey, it.key().second}, {MacroKey, it.value()}});
    QJsonObject queue{{SavesKey, list}};
    if (!texts.isEmpty()) {
        QJsonObject textObject;
        for (auto it = texts.constBegin(); it != texts.constEnd(); ++it)
            textObject.insert(it.key(), QString::fromUtf8(it.value()));
        queue.insert(TextsKey, textObject);
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(queue).toJson());
    return file.commit();
}
