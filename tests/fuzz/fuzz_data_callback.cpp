// The data callback: the input is one answer of the device library, split into its header
// and its data by the first bytes, handed to the callback on a mouse behind a receiver in the
// simulated library, with a stand-in for the pages on the signal hub.
//
// Input: byte 0 flags (bit 0: a whole configuration, asked for on the open link, arrives
// before the answer; bit 1: the mouse's configuration is replaced between the ask and that
// configuration, so it must be dropped), byte 1 the header length (cut to what follows), then
// the header, then the data.
//
// Checked: a whole configuration is installed only for the link generation it was asked in
// (and only when asked after the program's latest write);
// nothing reaches the mouse unless the working image was loaded from one, and what reaches it
// is that image with at most the report rate or the current DPI level changed; every image the
// pages get is the working image of that moment.
#include "FuzzEnv.h"

#include "common/PostMsg.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DataCallback.h"
#include "device/DataLink.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"

#include "HIDUsbControl.h"

#include <QObject>

#include <cstring>
#include <memory>

namespace {

int mouseId = -1;
QByteArray devicePath;
DeviceAllInfo deviceRecord;
// A whole configuration as the simulated mouse sends it.
QByteArray fullAnswer;

bool sameImage(const FlashDataMap& a, const FlashDataMap& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Stands in for the pages: every image the hub delivers must be the working image itself.
class StandInPages : public QObject {
    Q_OBJECT
public:
    StandInPages()
    {
        for (const char* signal : {SIGNAL(SigUpDataLightUIButton(FlashDataMap)), SIGNAL(SigUpDataLightLight(FlashDataMap)),
                                   SIGNAL(SigUpDataLightSensor(FlashDataMap)), SIGNAL(SigUpDataDPILed(FlashDataMap))})
            PostMsg::connectBlocking(signal, this, SLOT(onImage(FlashDataMap)));
    }
private slots:
    void onImage(FlashDataMap image) { FUZZ_CHECK(sameImage(image, WorkingImageCopy())); }
};

void writeCatalogue()
{
    const QByteArray cid = QByteArray("10").toBase64();
    fuzzenv::writeFile(fuzzenv::programDir() + QStringLiteral("/usersetting/Config.ini"),
                       "[Option]\nCID=" + cid + "\nDeviceTotal=1\nShowBatteryValue=1\n"
                       "[Drive1]\nMID=1\nKeyParam1=0x01, 0x00\nKeyParam2=0x05, 0x01\nKeyParam3=\nAdveanced=1, 2\n");
    UserConfig::reload();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    writeCatalogue();
    devicePath = fuzzenv::addReceiverMouse(&mouseId);
    deviceRecord.path = QString::fromLatin1(devicePath);
    deviceRecord.cid = 0x0A;
    deviceRecord.mid = 0x01;
    deviceRecord.kind = 1;
    deviceRecord.online = 1;

    SetCurrentDeviceRecord(deviceRecord);
    SetCurrentDevicePath(devicePath);
    OpenDataLink(devicePath);
    // Then the library's own answers go elsewhere: the fuzzed answer is the only one the
    // program's callback sees.
    fullAnswer = fuzzenv::firstFullAnswer(devicePath);
    new StandInPages;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    if (size < 2)
        return 0;
    const bool preload = input[0] & 1;
    const bool replacedMeanwhile = input[0] & 2;
    const size_t headerLength = std::min<size_t>(input[1], size - 2);
    // Header and data in buffers of their own, so a read past either end is caught.
    std::unique_ptr<uint8_t[]> header(new uint8_t[headerLength]);
    std::memcpy(header.get(), input + 2, headerLength);
    const size_t dataLength = size - 2 - headerLength;
    std::unique_ptr<uint8_t[]> data(new uint8_t[dataLength]);
    std::memcpy(data.get(), input + 2 + headerLength, dataLength);

    SetCurrentDeviceRecord(deviceRecord);
    SetCurrentDevicePath(devicePath);
    ClearWorkingImage();
    ReconcilePending = 0;
    SkipReceiverRead = 0;
    // A whole configuration is asked for in this generation, after the last image an earlier
    // input sent to the mouse (the library's answer to the ask goes elsewhere; the simulated
    // mouse's first one stands in for it).
    const FullReadAsk ask = LastFullReadAsk();
    if (ask.generation != DataLinkGeneration() || ask.imagesSent != ImagesSent())
        RequestFullRead();
    FlashDataMap loaded{};
    if (preload) {
        if (replacedMeanwhile)
            ForgetWorkingImage();
        uint8_t fullHeader[5] = {0, 8, 0, 0, 0};
        QByteArray answer = fullAnswer;
        OnUsbData(fullHeader, int(sizeof fullHeader), reinterpret_cast<uint8_t*>(answer.data()), uint32_t(answer.size()));
        FUZZ_CHECK(WorkingImageLoaded() == !replacedMeanwhile);
        loaded = WorkingImageCopy();
    }
    const bool loadedBefore = WorkingImageLoaded();

    const int writesBefore = HidSim_WriteCount(mouseId);
    OnUsbData(header.get(), int(headerLength), data.get(), uint32_t(dataLength));
    const int writes = HidSim_WriteCount(mouseId) - writesBefore;

    if (!loadedBefore) {
        FUZZ_CHECK(writes == 0);
    } else if (writes > 0) {
        FlashDataMap written;
        FUZZ_CHECK(HidSim_LastWrittenImage(mouseId, reinterpret_cast<uint8_t*>(&written)) == 0);
        written.reportRate = loaded.reportRate;
        written.currentDpiLevel = loaded.currentDpiLevel;
        FUZZ_CHECK(sameImage(written, loaded));
    }
    return 0;
}

#include "fuzz_data_callback.moc"
