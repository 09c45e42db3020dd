#pragma once
#include <QList>
#include <QString>
#include <cstdint>

// One mouse or receiver found on the bus. A plain value: copied freely.
struct DeviceAllInfo {
    QString path;                      // as the library's finder returned it
    QString vendorId = QStringLiteral("0");   // vendor id entry it was found under
    QString productId = QStringLiteral("0");  // product id entry it was found under
    uint8_t cid = 0;                   // first byte of UsbFinderC_GetDeviceInfo
    uint8_t mid = 0;                   // second byte
    uint8_t kind = 0;                  // connection kind
    int modelIndex = 0;                // catalogue group "Drive" + (modelIndex + 1); "DeviceTotal" when unlisted
    uint8_t online = 0;                // answered at the last check
    uint8_t cableFlag = 0;             // 1 reached by cable, 0 through a receiver
    QString firmwareVersion;           // "v" + major + "." + minor in lower-case hexadecimal
    QString mouseVersion;              // set by the data callback
    QList<uint8_t> statusBytes;        // bytes 7..9 of UsbAddressStatus
};
