#include "device/UnsentMacros.h"

#include "device/CurrentDevice.h"
#include "device/MacroFiles.h"
#include "device/MacroNames.h"
#include "device/MacroTextFile.h"

#include <QPair>

#include <cstring>

namespace UnsentMacros {

namespace {

QMap<QPair<QString, int>, QString>& queue()
{
    static QMap<QPair<QString, int>, QString> saves;
    return saves;
}

}  // namespace

QString currentMouse()
{
    // The path alone: a mouse chosen while asleep is listed before it could name its ids, and
    // must still be the same mouse when it wakes.
    return CurrentDeviceRecord().path;
}

void remember(const QString& mouse, int key, const QString& name)
{
    queue().insert(qMakePair(mouse, key), name);
}

void forget(const QString& mouse, int key)
{
    queue().remove(qMakePair(mouse, key));
}

void written(const QString& mouse, int key, const ButtonBinding& binding, const MacroRecord& record)
{
    const std::optional<QString> owed = nameAt(mouse, key);
    if (!owed)
        return;
    if (DecodeMacroRecordName(record) != *owed) {
        forget(mouse, key);
        return;
    }
    const std::optional<MacroRecord> saved = ReadSavedMacroRecord(*owed);
    const std::optional<QByteArray> text = ReadMacroFileText(MacroFilePath(MacroFolder(), *owed));
    // A file gone or unreadable has nothing left to send.
    if (!saved || !text) {
        forget(mouse, key);
        return;
    }
    const bool sameRecord = std::memcmp(&*saved, &record, sizeof record) == 0;
    if (sameRecord && binding.code2 == uint8_t(RepeatValueFromText(MacroRepeatField(*text))))
        forget(mouse, key);
}

std::optional<QString> nameAt(const QString& mouse, int key)
{
    const auto it = queue().constFind(qMakePair(mouse, key));
    if (it == queue().constEnd())
        return std::nullopt;
    return *it;
}

QMap<int, QString> of(const QString& mouse)
{
    QMap<int, QString> saves;
    for (auto it = queue().constBegin(); it != queue().constEnd(); ++it) {
        if (it.key().first == mouse)
            saves.insert(it.key().second, it.value());
    }
    return saves;
}

void rename(const QString& from, const QString& to)
{
    for (auto it = queue().begin(); it != queue().end(); ++it) {
        if (it.value() == from)
            it.value() = to;
    }
}

void clear()
{
    queue().clear();
}

}  // namespace UnsentMacros
