#include "device/UnsentMacros.h"

#include "common/TraceLog.h"
#include "device/CurrentDevice.h"
#include "device/DeviceCache.h"
#include "device/MacroFiles.h"
#include "device/MacroNames.h"
#include "device/MacroTextFile.h"
#include "device/UnsentMacrosFile.h"

#include <cstring>

namespace UnsentMacros {

namespace {

struct Queue {
    UnsentMacroSaves saves;
    // The new texts of the saves being written, and whether the queue file holds them.
    UnsentMacroTexts texts;
    bool textsInFile = false;
    bool loaded = false;
    bool writable = true;
};

Queue& state()
{
    static Queue queue;
    return queue;
}

// Every change goes to the file at once: a program ended while the mouse sleeps still owes
// the saves at its next start.
void store()
{
    Queue& q = state();
    if (!q.writable)
        return;
    const QString path = UnsentMacrosFilePath();
    if (WriteUnsentMacrosFile(path, q.saves, q.texts))
        q.textsInFile = !q.texts.isEmpty();
    else
        qCWarning(kavroTrace) << "unsent macro saves not written to" << path;
}

bool owedAnywhere(const UnsentMacroSaves& saves, const QString& name)
{
    for (const QString& owed : saves) {
        if (owed == name)
            return true;
    }
    return false;
}

// A save whose text is still in the queue file may have ended before its macro file was
// written: the file gets the text now, so the save owed to the mouse is the one made.
void finishInterruptedSaves(const UnsentMacroTexts& texts)
{
    Queue& q = state();
    for (auto it = texts.constBegin(); it != texts.constEnd(); ++it) {
        if (!owedAnywhere(q.saves, it.key()))
            continue;
        const MacroFileContent content = ParseMacroText(it.value());
        if (!WriteMacroFile(MacroFilePath(MacroFolder(), it.key()), content.repeat, content.rows))
            qCWarning(kavroTrace) << "interrupted macro save not finished:" << it.key();
    }
    if (!texts.isEmpty())
        store();
}

// The saves, read from their file at the first use of a run.
UnsentMacroSaves& queue()
{
    Queue& q = state();
    if (!q.loaded) {
        UnsentMacrosRead read = ReadUnsentMacrosFile(UnsentMacrosFilePath());
        q.saves = std::move(read.saves);
        q.writable = read.writable;
        q.loaded = true;
        finishInterruptedSaves(read.texts);
    }
    return q.saves;
}

}  // namespace

QString currentMouse()
{
    const DeviceAllInfo device = CurrentDeviceRecord();
    if (device.path.isEmpty())
        return QString();
    // The model's ids, as the device cache names the mouse: they stay the same in the next
    // run, by cable or through the receiver, asleep or awake; the path names the port.
    return DeviceIdText(device.cid, device.mid);
}

void load()
{
    queue();
}

void beginSave(const QString& name, const QByteArray& fileText)
{
    queue();
    state().texts.insert(name, fileText);
}

void endSave(const QString& name)
{
    Queue& q = state();
    if (q.texts.remove(name) > 0 && q.textsInFile)
        store();
}

void remember(const QString& mouse, int key, const QString& name)
{
    // No mouse chosen, or a name no file can have: nothing can be sent.
    if (mouse.isEmpty() || key < 0 || key >= UnsentMacroKeyCount || !IsValidMacroName(name))
        return;
    const auto at = qMakePair(mouse, key);
    const auto it = queue().constFind(at);
    // Owed already: written again only to take a save's new text along.
    const bool textDue = state().texts.contains(name) && !state().textsInFile;
    if (it != queue().constEnd() && *it == name && !textDue)
        return;
    queue().insert(at, name);
    store();
}

void forget(const QString& mouse, int key)
{
    if (queue().remove(qMakePair(mouse, key)) > 0)
        store();
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
    bool changed = false;
    for (auto it = queue().begin(); it != queue().end(); ++it) {
        if (it.value() == from && from != to) {
            it.value() = to;
            changed = true;
        }
    }
    if (changed)
        store();
}

void unload()
{
    state() = Queue();
}

}  // namespace UnsentMacros
