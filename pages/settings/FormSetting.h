#pragma once
#include <QString>
#include <QWidget>
#include <cstdint>

#include "HIDUsb.h"

// The settings page. For now only its firmware-file checks, which need no page object.
class FormSetting : public QWidget {
    Q_OBJECT
public:
    explicit FormSetting(QWidget* parent = nullptr);
    ~FormSetting() override;

    // Kind 210: the mouse; otherwise the receiver of receiverType (1, 2 or 4; any other type
    // answers false). Looks at the current device's catalogue model. Stores the catalogue
    // CID in UpdateCID. Safe from any thread.
    static bool CheckNewFirmware(int kind, QString deviceVersion, int receiverType);
    // Is there a newer image in "/bin"? An empty device version answers false.
    static bool ScanFirmwareFiles(uint8_t kind, QString deviceVersion, QString modelName, uint8_t cid, uint8_t mid);
    // Same, holding the chosen image in FirmwareImages (emptied first); an empty device
    // version accepts every matching image.
    static bool FindFirmwareFile(uint8_t kind, QString deviceVersion, QString modelName, uint8_t cid, uint8_t mid);

    // Receiving ends of the device side (blocking delivery; FormSettingDeviceSlots.cpp).
public slots:
    void SlotRGBValue(DongleRGB* Rgb);
    void SlotLongRangeMode(bool Select);
    void SlotForm();
    void SlotFormResetForm();

private:
    void ConnectDeviceSlots();
};
