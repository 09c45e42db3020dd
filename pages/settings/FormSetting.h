#pragma once
#include <QString>
#include <QWidget>
#include <cstdint>

#include "HIDUsb.h"

// The settings page's "WiredMode" text: the update warning that the choice page's tile click
// and the frame's Space key show. Empty until the settings page has read a language file.
extern QString WiredModeText;

// The settings page. For now its language reading of the texts other windows show and its
// firmware-file checks, which need no page object.
class FormSetting : public QWidget {
    Q_OBJECT
public:
    // Reads the page's texts in the stored language and again on every language change.
    explicit FormSetting(QWidget* parent = nullptr);
    ~FormSetting() override;

    // Reads the page's section of the language file `index`. A file the reader refuses is
    // logged and the texts read before stay.
    static void ReadLanguageTexts(int index);

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
    void SlotChangeLanguage(int index);
    void SlotRGBValue(DongleRGB* Rgb);
    void SlotLongRangeMode(bool Select);
    void SlotForm();
    void SlotFormResetForm();

private:
    void ConnectDeviceSlots();
};
