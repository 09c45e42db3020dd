#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "HIDUsb.h"
#include "device/DeviceAllInfo.h"

// Device records: how found devices are described from the library and the catalogue.
// The current device lives in device/CurrentDevice.h.

// "v" + (word >> 8) in decimal + "." + (word & 0xFF) in lower-case hexadecimal, e.g. "v1.a".
QString FormatVersionText(int versionWord);

// The cable flag of a device kind, one rule for the choice page and the frame: kinds 2 and 3,
// and 6 and above, are the mouse on its cable (1); 0, 1, 4 and 5 are receivers (0).
uint8_t CableFlagForKind(uint8_t kind);

// The receiver light record handed to the library and in SigRGBValue; byte 0 is the
// light mode 1, 2 or 3 (0 none). All zero at start. Written by the data thread and the GUI
// thread, so it is copied in and out under one lock.
DongleRGB ReceiverLightCopy();
void SetReceiverLight(const DongleRGB& light);

// Devices found by the configuration frame's hot-plug scan. GUI thread only (the library
// runs hot-plug callbacks there).
extern QList<DeviceAllInfo> MainPageDeviceList;
// Devices found by the device-choice page, and the one the pairing dialog pairs. GUI thread only.
extern QList<DeviceAllInfo> ChoiceDeviceList;
extern DeviceAllInfo PairingDevice;

// The catalogue group of a model: "Drive" + (modelIndex + 1).
QString CatalogueModelGroup(int modelIndex);

// Asks the device at path to identify itself, up to ten calls. True once an answer carries a
// CID or MID; the tenth answer ends the attempt unexamined. `answer` is the last answer either way.
bool IdentifyDevice(const QByteArray& path, UsbDeviceInfo* answer);

// The catalogue index of the model with this CID and MID among the first `total` models,
// -1 when none matches.
int CatalogueModelIndex(uint8_t cid, uint8_t mid, int total);

// Identifies the device at path and matches it against the catalogue's models.
// Result: 1 a catalogue model (record filled, online state read); 2 an unlisted model of
// the catalogue's CID; 3 an unlisted model of another CID; 0 no models in the catalogue or
// the device never identified itself (ten tries).
int FillDeviceRecord(DeviceAllInfo& record, const QString& path);

// The frame's scan: appends the devices found under vendorId and each product id to
// MainPageDeviceList, and makes CurrentDevicePath designate the current device's path
// when it is found again.
void ScanDevices(QString vendorId, QStringList productIds);
