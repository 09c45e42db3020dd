#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include "device/DeviceAllInfo.h"
#include "device/DeviceRecords.h"

// The device-choice page's list of found devices and the scan that fills it. Widget-free;
// GUI thread only (the hot-plug call that rescans arrives there).

// ChoiceDeviceList (device/DeviceRecords.h) holds the devices found by the last scan, in scan
// order; a record's position is its tile number.
// The choice page's "MouseIsNewTips" text, shown by the repair confirmation.
extern QString MouseIsNewText;

// The catalogue's vendor ids ("Option"/"VID"), at most the first two.
QStringList choiceVendorIds();
// "USB_PID", "Wireless_PID", "Wireless2_PID", "Wireless4_PID" and "Wireless8_PID" of "Option",
// joined in that order without empty entries.
QStringList choiceProductIds();

// Identifies the device at record.path and matches it against the catalogue. False when the
// catalogue lists no model at all (the device is not listed).
bool FillChoiceDeviceRecord(DeviceAllInfo& record);
// Finds every device under vendorId and each product id and appends the listed ones.
void ScanVendorDevices(const QString& vendorId, const QStringList& productIds);
// Re-reads the online state and status bytes of record `index`; with `reidentify` the device
// is identified and matched against the catalogue again in between.
void RefreshDeviceStatus(int index, bool reidentify = false);
// Empties the list and scans every vendor id with every product id.
void RescanChoiceDevices();

// Tile category of a record: 0 cable, 1 kind 0, 2 kind 4, 3 kind 1, 4 kind 5; -1 none.
int choiceCategory(const DeviceAllInfo& record);
// True when two records share a category and model (identical devices: no tiles are shown).
// Otherwise, for every listed model with exactly one cable record, drops that model's
// receiver records, so a mouse on its cable and on its receiver shows one tile.
bool findDuplicatesAndPreferCable(QList<DeviceAllInfo>& list, int modelCount);
