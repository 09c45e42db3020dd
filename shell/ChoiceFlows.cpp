#include "shell/ChoiceFlows.h"

#include "common/DialogFrame.h"
#include "common/Registry.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DataCallback.h"
#include "device/DataLink.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "dialogs/ContainReset.h"
#include "dialogs/RePair.h"
#include "dialogs/UpDateWarning.h"
#include "device/FirmwareFiles.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/Match.h"
#include "pages/settings/UpDateRepair.h"
#include "shell/ChoiceDevices.h"

#include "HIDUsb.h"

#include <QWidget>

#include <functional>

namespace {

// What the firmware checks need of a receiver record and its catalogue model.
struct FirmwareCheckInput {
    QString cidText;
    QString midText;
    QString mouseVersion;  // as last reported by the mouse; empty when never seen
};

FirmwareCheckInput readCheckInput(const DeviceAllInfo& r)
{
    FirmwareCheckInput in;
    in.cidText = UserConfig::instance()->value(QStringLiteral("Option"), QStringLiteral("CID"));
    in.midText = UserConfig::instance()->value(CatalogueModelGroup(r.modelIndex), QStringLiteral("MID"));
    in.mouseVersion = Registry::value(QString::fromLatin1(MouseVersionRegistryKey),
                                      MouseVersionValueName(in.cidText, in.midText))
                          .toString();
    return in;
}

// Is the image the repair dialog holds newer than the device's version text?
bool heldImageIsNewer(const UpDateRepair& repair, const QString& deviceVersion)
{
    FirmwareFiles::FirmwareHeader header;
    if (!FirmwareFiles::ReadHeader(repair.RepairImages().value(0), &header))
        return false;
    return FirmwareFiles::ParseVersionText(deviceVersion) < FirmwareFiles::VersionFromHeader(header.version);
}

// Mouse check and receiver check of a receiver whose mouse version is known. The receiver
// check runs on `repair`, which keeps the image it chose for a repair. A receiver without
// firmware of its own (an empty model name or a kind without one) takes the mouse check's result.
void runFirmwareChecks(const DeviceAllInfo& r, const FirmwareCheckInput& in, UpDateRepair* repair,
                       bool* mouseNewer, bool* receiverNewer)
{
    const uint8_t cid = uint8_t(in.cidText.toInt());
    const uint8_t mid = uint8_t(in.midText.toInt());
    const QString group = CatalogueModelGroup(r.modelIndex);
    *mouseNewer = FormSetting::FindFirmwareFile(FirmwareFiles::MouseKind, in.mouseVersion,
                                                UserConfig::instance()->value(group, QStringLiteral("MM")), cid, mid);
    const QString key = FirmwareFiles::ReceiverModelKey(ChoiceFlows::receiverType(r.kind));
    const QString receiverModel = key.isEmpty() ? QString() : UserConfig::instance()->value(group, key);
    if (key == QLatin1String("DM") || !receiverModel.isEmpty()) {
        // The repair's choice accepts an older image too; offered as an update, only a newer
        // one counts, or the confirmation would flash an older firmware.
        *receiverNewer = UpDateRepair::CheckFirmwareFile(repair, FirmwareFiles::ReceiverKind, r.firmwareVersion,
                                                         receiverModel, cid, mid)
                         && heldImageIsNewer(*repair, r.firmwareVersion);
    } else {
        *receiverNewer = *mouseNewer;
    }
}

void runPairing(QWidget* over)
{
    Match match;
    match.SetPairButtonImage();
    placeCentred(&match, over);
    match.exec();
}

void showUpdateWarning(QWidget* over)
{
    UpDateWarning warning;
    warning.SetText(WiredModeText);
    placeCentred(&warning, over, 20);
    warning.exec();
}

void confirmRepair(UpDateRepair* repair, QWidget* over)
{
    ContainReset confirm;
    confirm.setText(MouseIsNewText);
    placeCentred(&confirm, over, 20);
    confirm.exec();
    if (!confirm.Accepted)
        return;
    repair->StartRepair(0);
    repair->exec();
}

void reopenDataLink()
{
    // Before any device was chosen there is no link to reopen: an empty path names no device.
    const QByteArray path = CurrentDevicePath();
    if (path.isEmpty())
        return;
    OpenDataLink(path);
}

// What both flows share: `pair` when no mouse version is stored, else the firmware checks
// choose the update warning, the repair confirmation or the caller's `rePair`.
void runCheckedFlow(const DeviceAllInfo& r, QWidget* over, const std::function<void()>& pair,
                    const std::function<void()>& rePair)
{
    const FirmwareCheckInput in = readCheckInput(r);
    if (in.mouseVersion.isEmpty()) {
        pair();
        return;
    }

    UpDateRepair repair;
    placeCentred(&repair, over);
    bool mouseNewer = false;
    bool receiverNewer = false;
    runFirmwareChecks(r, in, &repair, &mouseNewer, &receiverNewer);
    switch (ChoiceFlows::decide(receiverNewer, mouseNewer)) {
    case ChoiceFlows::ReceiverAnswer::RePairQuestion:
        rePair();
        break;
    case ChoiceFlows::ReceiverAnswer::UpdateWarning:
        showUpdateWarning(over);
        break;
    case ChoiceFlows::ReceiverAnswer::RepairConfirm:
        confirmRepair(&repair, over);
        break;
    }
}

}  // namespace

ChoiceFlows::ReceiverAnswer ChoiceFlows::decide(bool receiverNewer, bool mouseNewer)
{
    if (receiverNewer == mouseNewer)
        return ReceiverAnswer::RePairQuestion;
    return mouseNewer ? ReceiverAnswer::UpdateWarning : ReceiverAnswer::RepairConfirm;
}

int ChoiceFlows::receiverType(int kind)
{
    return ReceiverTypeOfKind(kind);
}

void ChoiceFlows::RunReceiverFlow(DeviceAllInfo r, QWidget* over)
{
    const auto pair = [&r, over] {
        PairChosenDevice = 1;
        PairingDevice = r;
        runPairing(over);
    };
    const auto askRePair = [&pair, over] {
        bool accepted = false;
        {
            RePair question;
            placeCentred(&question, over);
            question.exec();
            accepted = question.Accepted;
        }
        if (accepted)
            pair();
    };
    runCheckedFlow(r, over, pair, askRePair);
}

void ChoiceFlows::RunSpaceKeyFlow(QWidget* over)
{
    if (ChoiceDeviceList.size() != 1 || ChoiceDeviceList.first().cableFlag != 0)
        return;
    const DeviceAllInfo r = ChoiceDeviceList.first();
    const auto pair = [over] {
        PairChosenDevice = 0;
        runPairing(over);
        reopenDataLink();
    };
    runCheckedFlow(r, over, pair, pair);
}
