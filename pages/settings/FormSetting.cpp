#include "pages/settings/FormSetting.h"

#include "common/LanguageFile.h"
#include "common/PostMsg.h"
#include "device/CurrentDevice.h"
#include "device/FirmwareFiles.h"

#include <QDebug>

QString WiredModeText;

FormSetting::FormSetting(QWidget* parent)
    : QWidget(parent)
{
    ConnectDeviceSlots();
    connect(PostMsg::instance(), SIGNAL(SigChangeLanguage(int)), this, SLOT(SlotChangeLanguage(int)));
    SlotChangeLanguage(currentLanguageIndex());
}

FormSetting::~FormSetting() = default;

void FormSetting::SlotChangeLanguage(int index)
{
    ReadLanguageTexts(index);
}

void FormSetting::ReadLanguageTexts(int index)
{
    const QString error = loadLanguageSection(index, QStringLiteral("FormSetting"), {QStringLiteral("WiredMode")},
                                              [](const QString& element, const QString& text) {
                                                  if (element == QLatin1String("WiredMode"))
                                                      WiredModeText = text;
                                              });
    if (!error.isEmpty())
        qWarning().noquote() << "language file" << languageFilePath(index) << ":" << error;
}

bool FormSetting::CheckNewFirmware(int kind, QString deviceVersion, int receiverType)
{
    return FirmwareFiles::CheckNewFirmware(FirmwareFiles::BinFolder(), kind, deviceVersion, receiverType,
                                           CurrentDeviceRecord().modelIndex);
}

bool FormSetting::ScanFirmwareFiles(uint8_t kind, QString deviceVersion, QString modelName, uint8_t cid, uint8_t mid)
{
    return FirmwareFiles::ScanFirmwareFiles(FirmwareFiles::BinFolder(), {kind, deviceVersion, modelName, cid, mid});
}

bool FormSetting::FindFirmwareFile(uint8_t kind, QString deviceVersion, QString modelName, uint8_t cid, uint8_t mid)
{
    return FirmwareFiles::FindFirmwareFile(FirmwareFiles::BinFolder(), FirmwareImages,
                                           {kind, deviceVersion, modelName, cid, mid});
}
