#pragma once
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

#include "device/FlashDataMap.h"

// Records of the key-typing button functions (type 5) and the DPI-lock codes (type 10).

// The binding every combination and media key is written with.
constexpr ButtonBinding ComboBinding{5, 0, 0};

// A key combination text ("Ctrl+Shift+A") as the mouse plays it: keys pressed in text order,
// released in reverse, each event with 10 ms. At most the first three names are used.
ButtonComboRecord BuildComboRecord(const QString& text);
// A media key: press and release of one consumer usage, 10 ms each.
ButtonComboRecord MediaKeyRecord(uint16_t consumerUsage);
// The combination text of a stored record (the press events' names joined with "+"); a
// damaged count never reads past the six events.
QString ComboRecordText(const ButtonComboRecord& record);

// The eighteen media functions, by the object name of the button that chooses each.
struct MediaFunction {
    const char* button;
    uint16_t usage;
};
constexpr int MediaFunctionCount = 18;
extern const MediaFunction MediaFunctions[MediaFunctionCount];
// The catalogue names a media function by the low byte of its usage.
std::optional<uint16_t> MediaUsageForCatalogueByte(int catalogueByte);
// The function of a stored media record's usage, or null.
const MediaFunction* MediaFunctionForUsage(uint16_t usage);

// Restore slots of the factory defaults: 0..5 are device keys 0..5, 6 is device key 9,
// 11 is device key 11. -1 for any other slot.
int DeviceKeyForSlot(int slot);
// The button page's binding index of a slot (0..7), -1 for any other slot.
int BindingIndexForSlot(int slot);

// A factory default "KeyParam" list of the catalogue, when it is a type-5 default:
// ("0x05", any, "cd") a media key by its catalogue byte in hexadecimal ("cd" or "0xCD"),
// ("0x05", any, any, "Ctrl+C") a combination. Anything else holds no type-5 default.
struct KeyParamDefault {
    bool media = false;
    uint16_t usage = 0;  // media
    QString comboText;   // combination
};
std::optional<KeyParamDefault> ParseKeyParamDefault(const QStringList& keyParam);

// Writes (5, 0, 0) and the media record of the catalogue byte to the slot's device key with
// SetButtonCombo. False, and nothing written, for an unknown byte or slot or an offline mouse.
bool RestoreMediaBinding(int slot, int catalogueByte);
// The same with the combination record of the text.
bool RestoreComboBinding(int slot, const QString& text);

// DPI lock: a DPI value to the sensor code of a DPI-lock binding and back. The sensor's
// defines ("SENSOR_" + sensor + "_DPI_" + dpi, value) come from the sensor definition header;
// a sensor without defines uses dpi / 50 - 1. A define value outside 0..255 counts as missing.
int DpiLockCode(int dpi, const QString& sensorName, const QStringList& defineNames, const QStringList& defineValues);
// 0 when the sensor has defines but none with that value.
int DpiLockValue(int code, const QString& sensorName, const QStringList& defineNames, const QStringList& defineValues);
