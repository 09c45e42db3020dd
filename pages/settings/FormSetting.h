#pragma once
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <atomic>
#include <cstdint>

#include "HIDUsb.h"
#include "pages/settings/AutoStart.h"
#include "pages/settings/MouseSettingsLauncher.h"

class Progress;
class QButtonGroup;
class QMouseEvent;
class QTimer;
class UpDateWarning;
namespace Ui {
class FormSetting;
}

// The settings page's "WiredMode" text: the update warning that the choice page's tile click
// and the frame's Space key show. Empty until the settings page has read a language file.
extern QString WiredModeText;
// The catalogue's "Option"/"Transition", read when the page is built (missing: 0).
extern std::atomic<int> TransitionOption;

// The settings page: language, the receiver's and the mouse's firmware versions with their
// update buttons, pairing, start with the system, the desktop's mouse settings, the
// receiver's long-range and light modes where model and receiver have them, the version
// line and the company line and link. Receiver settings go to the receiver at once.
class FormSetting : public QWidget {
    Q_OBJECT
public:
    explicit FormSetting(QWidget* parent = nullptr);
    ~FormSetting() override;

    // Reads the texts other windows take from the page's language section (the update
    // warning's) from the language file `index`, with no page built. A file the reader
    // refuses is logged and the texts read before stay.
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

    // Where start with the system is written (tests point it at their own folders).
    AutoStartEntry& autoStart() { return m_autoStart; }

    Progress* progressDialog() const { return m_progress; }
    UpDateWarning* warningDialog() const { return m_warning; }

    static constexpr int CheckTimerMs = 1000;

    // One step of a running update check (0 choose the image, 1 count the devices and start,
    // 2 started, 3 running, 4 end). kind 210 the mouse, 211 the receiver.
    void CheckVersion(int step, int kind, QString deviceVersion);
    // The end display of the receiver's or the mouse's update.
    void ShowDongleUpdateState();
    void ShowMouseUpdateState();

public slots:
    void SetVer(int index);
    void SlotLabelText(int index, QString Text);
    void SlotLabelTextB(QString TextA, QString Text);
    void SlotMouseIndex(int index);
    void SlotChangeLanguage(int index);
    void SlotLanguageSameB(int index);
    void SlotScroolChange(int index);

    // Receiving ends of the device side (FormSettingDeviceSlots.cpp).
    void SlotForm();
    void SlotFormB();
    void SlotFormResetForm();
    void SlotRGBValue(DongleRGB* Rgb);
    void SlotLongRangeMode(bool Select);

    // Continue with the other device's update after the progress dialog's confirm.
    void SlotContinue(int index);
    void onDongleCheckTimer();
    void onMouseCheckTimer();

    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void on_Receive_clicked();
    void on_Mouse_clicked();
    void on_pushButton_3_clicked();
    void on_comboBox_activated(int index);
    void on_checkBox_clicked(bool checked);
    void on_checkBox_2_toggled(bool checked);
    void on_checkBox_2_clicked(bool checked);
    void on_ReUntil_toggled(bool checked);
    void on_ReUntil_2_toggled(bool checked);
    void on_ReUntil_3_toggled(bool checked);

protected:
    // Taken by the page: the frame is not dragged from here.
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ConnectDeviceSlots();
    void applyStyles();
    // Reads the page's section of the language file `index` into the page (when given) and
    // WiredModeText; false when neither that file nor the English one can be opened.
    static bool readSection(int index, FormSetting* page);
    void applyText(const QString& element, const QString& text);
    void readCompanyFile();
    void placeVersionRow(int index);

    void setUpdateStyle(QWidget* button, bool update);
    void showLongRangeArea(bool shown);
    void showLightArea(bool shown);
    void setFullLayout(bool full);
    // The areas after a load (showLongRange) or an import, from the model and the device.
    void layoutForModel(bool showLongRange);
    // The current model's "Adveanced" element i is "-1" (or missing): the feature is absent.
    bool modelLacks(int element) const;
    // Checks the light choice of a mode 1..3 (like a click: its slot runs unless blocked).
    void checkLightModeChoice(int mode);
    void writeLightMode(int mode, bool checked);

    // Firmware update (FormSettingUpdate.cpp).
    void startUpdateCheck(bool mouse);
    // Searches "/bin" for the update's image into FirmwareImages; *refused tells whether a
    // matching file was skipped because it could not be read or is too large.
    bool findUpdateImage(int kind, const QString& version, const QString& modelName, bool* refused);
    // The update ends without a start: state 0, end display and the note (or warning) with
    // the text of noteCode: 1 no device (the mouse: by cable only), 2 several, 3 broken file.
    void refuseUpdate(bool mouse, int noteCode);
    // No newer image: state 4, end display, the device is up to date.
    void endUpToDate(bool mouse);
    void startUpgrade(bool mouse);
    void showUpdateState(bool mouse);
    void showNote(bool mouse, int noteCode);
    QString noteText(bool mouse, int noteCode) const;
    // A check whose upgrade has ended but whose timer has not yet run its last steps ends now.
    void finishEndedCheck();

    Ui::FormSetting* ui;
    QString PicturePath;
    QString ButtonColorText;
    QString NoDeviceText;
    QString SameDeviceText;
    QString VerNewText;
    QString MouseText;
    QString ReceiveText;
    QString BadFileText;
    int UpdateStep = 4;
    QStringList ReceiverPaths;
    int ReceiverNoteCode = 0;
    int MouseNoteCode = 0;
    uint8_t ContinueRequested = 0;
    uint8_t DongleLatestVersion = 0;
    uint8_t MouseLatestVersion = 0;
    uint8_t MouseCheckTimerEnable = 0;
    uint8_t DongleCheckTimerEnable = 0;
    QPoint LabelOrigin;
    Progress* m_progress = nullptr;
    UpDateWarning* m_warning = nullptr;
    QButtonGroup* ReceiverLightGroup = nullptr;
    // The device whose receiver answered with its light mode during the current load; the
    // load's layout (which comes after the answer) keeps the light area shown for it.
    QByteArray LightAnswerPath;
    QTimer* ReceiverCheckTimer = nullptr;
    QTimer* MouseCheckTimer = nullptr;
    AutoStartEntry m_autoStart;
    MouseSettingsLauncher m_mouseSettings;
};
