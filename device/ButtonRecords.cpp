#include "device/ButtonRecords.h"

#include "device/DeviceSetters.h"
#include "device/KeyNames.h"

#include <algorithm>

// The table, not the order of the usages, names each function: the object names of the
// buttons do not describe them.
const MediaFunction MediaFunctions[MediaFunctionCount] = {
    {"Player", 0x0183},        {"StartPause_2", 0x00CD},  {"BackMusic_2", 0x00B5},   {"TopMusic_2", 0x00B6},
    {"Mute", 0x00B7},          {"VolumeUp", 0x00E2},      {"VolumeDown", 0x00E9},    {"VolumeDown_4", 0x00EA},
    {"VolumeDown_5", 0x018A},  {"VolumeDown_6", 0x0192},  {"VolumeDown_3", 0x0194},  {"VolumeDown_8", 0x0223},
    {"VolumeDown_9", 0x0221},  {"VolumeDown_7", 0x0225},  {"VolumeDown_10", 0x0224}, {"VolumeDown_12", 0x0226},
    {"VolumeDown_13", 0x0227}, {"VolumeDown_11", 0x022A},
};

namespace {

const int kComboMaxKeys = 3;

KeyEvent comboEvent(uint8_t action, uint8_t kind, uint16_t code) { return KeyEvent{action, kind, code, 10}; }

// A decimal define value that fits the one-byte code.
std::optional<int> defineValue(const QStringList& values, int index)
{
    bool ok = false;
    const int value = values.value(index).trimmed().toInt(&ok, 0);
    if (!ok || value < 0 || value > 255)
        return std::nullopt;
    return value;
}

QString dpiDefinePrefix(const QString& sensorName) { return QStringLiteral("SENSOR_") + sensorName + QStringLiteral("_DPI_"); }

bool sensorHasDefines(const QString& sensorName, const QStringList& defineNames)
{
    return std::any_of(defineNames.begin(), defineNames.end(),
                       [&](const QString& name) { return name.contains(sensorName); });
}

}  // namespace

ButtonComboRecord BuildComboRecord(const QString& text)
{
    const QStringList parts = SplitComboText(text).mid(0, kComboMaxKeys);
    ButtonComboRecord record{};
    for (int i = 0; i < parts.size(); ++i)
        record = ComboKeyNameToEvents(parts[i], i, parts.size(), record);
    record.eventCount = uint8_t(2 * parts.size());
    return record;
}

ButtonComboRecord MediaKeyRecord(uint16_t consumerUsage)
{
    ButtonComboRecord record{};
    record.eventCount = 2;
    record.events[0] = comboEvent(0, 2, consumerUsage);
    record.events[1] = comboEvent(1, 2, consumerUsage);
    return record;
}

QString ComboRecordText(const ButtonComboRecord& record)
{
    const int presses = std::min<int>(record.eventCount, 6) / 2;
    QStringList names;
    for (int e = 0; e < presses; ++e)
        names << CodeToComboKeyName(record.events[e].code & 0xFF, record.events[e].kind);
    return names.join(QLatin1Char('+'));
}

std::optional<uint16_t> MediaUsageForCatalogueByte(int catalogueByte)
{
    for (const MediaFunction& f : MediaFunctions)
        if ((f.usage & 0xFF) == catalogueByte)
            return f.usage;
    return std::nullopt;
}

const MediaFunction* MediaFunctionForUsage(uint16_t usage)
{
    for (const MediaFunction& f : MediaFunctions)
        if (f.usage == usage)
            return &f;
    return nullptr;
}

int DeviceKeyForSlot(int slot)
{
    if (slot >= 0 && slot <= 5)
        return slot;
    if (slot == 6)
        return 9;
    if (slot == 11)
        return 11;
    return -1;
}

int BindingIndexForSlot(int slot)
{
    if (slot >= 0 && slot <= 6)
        return slot;
    if (slot == 11)
        return 7;
    return -1;
}

std::optional<KeyParamDefault> ParseKeyParamDefault(const QStringList& keyParam)
{
    if (keyParam.value(0) != QLatin1String("0x05"))
        return std::nullopt;
    KeyParamDefault result;
    if (keyParam.size() == 3) {
        QString hex = keyParam[2].trimmed();
        if (hex.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
            hex = hex.mid(2);
        bool ok = false;
        const int byte = hex.toInt(&ok, 16);
        const auto usage = ok && !hex.isEmpty() ? MediaUsageForCatalogueByte(byte) : std::nullopt;
        if (!usage)
            return std::nullopt;
        result.media = true;
        result.usage = *usage;
        return result;
    }
    if (keyParam.size() == 4) {
        result.comboText = keyParam[3];
        return result;
    }
    return std::nullopt;
}

bool RestoreMediaBinding(int slot, int catalogueByte)
{
    const auto usage = MediaUsageForCatalogueByte(catalogueByte);
    const int key = DeviceKeyForSlot(slot);
    if (!usage || key < 0)
        return false;
    const ButtonComboRecord record = MediaKeyRecord(*usage);
    return SetButtonCombo(key, &ComboBinding, &record);
}

bool RestoreComboBinding(int slot, const QString& text)
{
    const int key = DeviceKeyForSlot(slot);
    if (key < 0)
        return false;
    const ButtonComboRecord record = BuildComboRecord(text);
    return SetButtonCombo(key, &ComboBinding, &record);
}

int DpiLockCode(int dpi, const QString& sensorName, const QStringList& defineNames, const QStringList& defineValues)
{
    const int q = dpi / 50;
    if (!sensorHasDefines(sensorName, defineNames))
        return q - 1;
    const int index = defineNames.indexOf(dpiDefinePrefix(sensorName) + QString::number(dpi));
    if (index >= 0)
        if (const auto value = defineValue(defineValues, index))
            return *value;
    return q;
}

int DpiLockValue(int code, const QString& sensorName, const QStringList& defineNames, const QStringList& defineValues)
{
    if (!sensorHasDefines(sensorName, defineNames))
        return (code + 1) * 50;
    const QString prefix = dpiDefinePrefix(sensorName);
    for (int i = 0; i < defineNames.size(); ++i) {
        const QString& name = defineNames[i];
        if (!name.startsWith(prefix) || defineValue(defineValues, i) != code)
            continue;
        bool ok = false;
        const int dpi = name.mid(prefix.size()).toInt(&ok, 10);
        if (ok && dpi >= 0)
            return dpi;
    }
    return 0;
}
