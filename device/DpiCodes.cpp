#include "device/DpiCodes.h"

#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/DeviceSetters.h"
#include "device/SensorHeader.h"
#include "device/WorkingImage.h"

#include <QtGlobal>

#include <limits>

QString CurrentSensorName;
DpiRangeSet DpiRangeTable;

namespace {

int decimal(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

int hexadecimal(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 16);
    return ok ? value : 0;
}

// value + delta, held at the ends of int: a catalogue range may reach them.
int addClamped(int value, int delta)
{
    const qint64 sum = qint64(value) + delta;
    return int(qBound<qint64>(std::numeric_limits<int>::min(), sum, std::numeric_limits<int>::max()));
}

bool hundredsUnit(uint8_t flags)
{
    return (flags & 0x22) != 0;
}

bool doubled(uint8_t flags)
{
    return (flags & 0x11) != 0;
}

// Sensors whose code is 10 bits wide, bits 8-9 kept in the flags.
bool wideCodeSensor(const QString& sensor)
{
    return sensor == QLatin1String("3395") || sensor == QLatin1String("3950");
}

QString tablePrefix()
{
    return QStringLiteral("SENSOR_") + CurrentSensorName + QStringLiteral("_DPI");
}

bool sensorHasCodeTable()
{
    const QString prefix = tablePrefix();
    for (const QString& name : SensorDefineNames) {
        if (name.contains(prefix))
            return true;
    }
    return false;
}

}  // namespace

void LoadDpiRangesFrom(const QStringList& list)
{
    DpiRangeSet& t = DpiRangeTable;
    t.mins.clear();
    t.maxes.clear();
    if (list.isEmpty()) {
        t.count = 0;
        t.code = 0;
        return;
    }
    t.code = hexadecimal(list.last());
    t.count = (list.size() - 1) / 3;
    if (t.count < 1 || t.count > 4)
        return;
    for (int k = 0; k < t.count; ++k) {
        t.minText[k] = list.at(3 * k).trimmed();
        t.maxText[k] = list.at(3 * k + 1).trimmed();
        t.stepText[k] = list.at(3 * k + 2).trimmed();
        t.mins.append(decimal(t.minText[k]));
        t.maxes.append(decimal(t.maxText[k]));
    }
    t.lowest = t.minText[0];
    t.highest = t.maxText[t.count - 1];
}

void LoadDpiRanges()
{
    const QString group = CatalogueModelGroup(CurrentDeviceRecord().modelIndex);
    LoadDpiRangesFrom(UserConfig::instance()->valueList(group, QStringLiteral("DPIRange")));
}

QVector<DpiRange> DpiRangeList(const DpiRangeSet& table)
{
    QVector<DpiRange> ranges;
    if (table.count < 1 || table.count > 4)
        return ranges;
    for (int k = 0; k < table.count; ++k) {
        DpiRange r;
        r.min = decimal(table.minText[k]);
        r.max = decimal(table.maxText[k]);
        r.step = qMax(0, decimal(table.stepText[k]));
        ranges.append(r);
    }
    return ranges;
}

DpiSnap SnapDpi(int value, const DpiRangeSet& table)
{
    const QVector<DpiRange> r = DpiRangeList(table);
    const int n = r.size();
    for (int k = 0; k < n; ++k) {
        if (r[k].min <= value && value <= r[k].max) {
            if (r[k].step <= 0)
                break;
            return {value - value % r[k].step, r[k].step};
        }
        if (k + 1 < n && r[k].max < value && value < r[k + 1].min) {
            if (r[k + 1].step <= 0)
                break;
            return {r[k + 1].min, r[k + 1].step};
        }
    }
    return {value, 0};
}

int StepDpiUp(int value, const DpiRangeSet& table)
{
    const QVector<DpiRange> r = DpiRangeList(table);
    const int n = r.size();
    if (n == 0)
        return value;
    for (int k = 0; k + 1 < n; ++k) {
        if (r[k].min <= value && value < r[k].max)
            return r[k].step > 0 ? addClamped(value, r[k].step) : value;
        if (r[k].max <= value && value < r[k + 1].min)
            return r[k + 1].min;
    }
    const DpiRange& last = r[n - 1];
    if (last.min <= value && value <= last.max && last.step > 0)
        return addClamped(value, last.step);
    return value;
}

int StepDpiDown(int value, const DpiRangeSet& table)
{
    const QVector<DpiRange> r = DpiRangeList(table);
    const int n = r.size();
    if (n == 0)
        return value;
    for (int k = 0; k + 1 < n; ++k) {
        if (r[k].min <= value && value <= r[k].max)
            return r[k].step > 0 ? addClamped(value, -r[k].step) : value;
        if (r[k].max < value && value < r[k + 1].min)
            return r[k + 1].min;
    }
    const DpiRange& last = r[n - 1];
    if (last.min <= value && value <= last.max && last.step > 0)
        return addClamped(value, -last.step);
    return value;
}

DpiLevelCode DpiLevelCodeFor(int dpi, uint8_t currentFlags)
{
    const DpiRangeSet& t = DpiRangeTable;
    const int preliminary = dpi / (hundredsUnit(currentFlags) ? 100 : 50);

    int flags = 0;
    int multiplier = 1;
    if (t.code == 0x33) {
        for (int k = t.mins.size(); k >= 1; --k) {
            if (dpi < t.mins.at(k - 1))
                continue;
            static const int rangeFlags[4] = {0, 0x22, 0x11, 0x33};
            static const int rangeMultipliers[4] = {1, 2, 2, 4};
            flags = rangeFlags[k - 1];
            multiplier = rangeMultipliers[k - 1];
            break;
        }
    } else if ((t.code == 0x22 || t.code == 0x11) && !t.maxes.isEmpty() && dpi > t.maxes.first()) {
        flags = t.code;
        multiplier = 2;
    }

    int code = 0;
    if (sensorHasCodeTable()) {
        const QString wanted = tablePrefix() + QLatin1Char('_') + QString::number(dpi / multiplier);
        const int at = SensorDefineNames.indexOf(wanted);
        code = at >= 0 && at < SensorDefineValues.size() ? SensorDefineValues.at(at) : preliminary;
    } else {
        code = dpi / (multiplier * 50) - 1;
        // The record holds 10 bits for the wide sensors and 8 for the others; a value beyond
        // that would wrap round to a small DPI, so it stops at the largest code.
        if (wideCodeSensor(CurrentSensorName)) {
            code = qBound(0, code, 1023);
            const int high = code >> 8;
            flags |= (high << 6) | (high << 2);
        } else {
            code = qBound(0, code, 255);
        }
    }
    const uint8_t low = static_cast<uint8_t>(code & 0xFF);
    return {low, low, static_cast<uint8_t>(flags)};
}

void ApplyLevelDpi(int level, int dpi)
{
    if (level < 0 || level > 7)
        return;
    const uint8_t flags = WorkingImageCopy().dpiLevels[level].flags;
    const DpiLevelCode c = DpiLevelCodeFor(dpi, flags);
    SetDpiLevelValue(level, c.codeX, c.codeY, c.flags);
}

int DpiFromLevelRecord(uint8_t codeX, uint8_t flags)
{
    const QString prefix = tablePrefix();
    bool listed = false;
    int value = 0;
    bool found = false;
    for (int i = 0; i < SensorDefineNames.size() && i < SensorDefineValues.size(); ++i) {
        const QString& name = SensorDefineNames.at(i);
        const int at = name.indexOf(prefix);
        if (at < 0)
            continue;
        listed = true;
        if (SensorDefineValues.at(i) != codeX)
            continue;
        // The DPI value is the number after "SENSOR_<sensor>_DPI_".
        bool ok = false;
        value = name.mid(at + prefix.size() + 1).toInt(&ok, 10);
        // A number too large to double is no DPI value either.
        if (!ok || value > std::numeric_limits<int>::max() / 2 || value < std::numeric_limits<int>::min() / 2)
            value = 0;
        if (hundredsUnit(flags))
            value *= 2;
        found = true;
        break;
    }
    if (!found) {
        if (listed)
            return 0;
        int c = codeX;
        if (wideCodeSensor(CurrentSensorName))
            c |= (flags & 0xC0) << 2;
        value = (c + 1) * (hundredsUnit(flags) ? 100 : 50);
    }
    if (doubled(flags))
        value *= 2;
    return value;
}
