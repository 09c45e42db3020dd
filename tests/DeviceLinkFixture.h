#pragma once
// Shared helpers of the device-link tests: a small catalogue, shared flags back to their start
// values, device images and records, the call-log lookup; brings in the hub recorder and the waits.
#include "common/PostMsg.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"
#include "support/HidSimScript.h"
#include "support/HubRecorder.h"
#include "support/CatalogueText.h"
#include "support/TestEnv.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QThread>

#include <cstring>
#include <functional>

namespace linktest {

using testcatalogue::encoded;

// One model (MID 1, CID 10) with its key and receiver settings; extra lines go into its group.
inline void writeCatalogue(const TestEnv& env, const QByteArray& modelLines = {}, const QByteArray& optionLines = {})
{
    QByteArray ini = "[Option]\nDeviceTotal=1\n";
    ini += "CID=" + encoded({QStringLiteral("10")}) + "\n";
    ini += "VID=" + encoded({QStringLiteral("0x3554")}) + "\n";
    ini += testcatalogue::productIdLines();
    ini += optionLines;
    ini += "[Drive1]\nMID=1\n";
    ini += "MM=" + encoded({QStringLiteral("KM")}) + "\n";
    ini += "DM=" + encoded({QStringLiteral("KR1")}) + "\n";
    ini += "D2M=" + encoded({QStringLiteral("KR2")}) + "\n";
    ini += "D4M=" + encoded({QStringLiteral("KR4")}) + "\n";
    ini += modelLines;
    testcatalogue::write(env, ini);
}

// Every shared flag back to its start value.
inline void resetFlags()
{
    for (auto* flag : {&WriteEnabled, &SensorPageBusy, &LightPageBusy, &ButtonPageBusy, &SensorPageReady, &LightPageReady,
                       &ButtonPageReady, &RunRequested, &MouseOnline, &LoadedOnline, &LoadFinished, &WaitingForMouse,
                       &RestartWanted, &ForceReload, &NoBusyDialog, &ReceiverUpdateAvailable, &ReconcilePending,
                       &SkipReceiverRead})
        *flag = 0;
    FirmwareIdle = 1;
    MainPageActive = 0;
    ResetCurrentDevice();
    ClearWorkingImage();
    MainPageDeviceList.clear();
    SetReceiverLight(DongleRGB{});
}

// Delivers every answer (the GUI thread keeps serving blocking deliveries meanwhile) and
// the queued signals that follow them.
using SimScript::settle;

inline FlashDataMap imageFrom(const QByteArray& bytes)
{
    FlashDataMap image{};
    std::memcpy(&image, bytes.constData(), qMin<size_t>(sizeof image, size_t(bytes.size())));
    return image;
}

inline QByteArray bytesOf(const FlashDataMap& image)
{
    return QByteArray(reinterpret_cast<const char*>(&image), int(sizeof image));
}

// A device record as the frame's scan fills it.
inline DeviceAllInfo recordFor(const QByteArray& path)
{
    DeviceAllInfo record;
    record.path = QString::fromUtf8(path);
    FillDeviceRecord(record, record.path);
    return record;
}

// Index of the first call-log entry at or after `from` that starts with prefix; -1 if none.
inline int logIndex(const QStringList& log, const QString& prefix, int from = 0)
{
    for (int i = qMax(0, from); i < log.size(); ++i) {
        if (log.at(i).startsWith(prefix))
            return i;
    }
    return -1;
}

}  // namespace linktest
