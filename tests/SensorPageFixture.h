#pragma once
// The sensor page on its own, with a simulated mouse behind a receiver as the current device,
// the shipped catalogue, header and pictures, and the mouse's image loaded as after a full read.
#include "common/AppPaths.h"
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"
#include "pages/sensor/Sensor.h"
#include "pages/sensor/SensorDPI.h"
#include "support/HidSimScript.h"
#include "support/TestEnv.h"

#include "HIDUsbControl.h"

#include <QFile>
#include <QSignalSpy>

#include <cstring>
#include <memory>

namespace sensortest {

inline void ignoreAnswers(uint8_t*, int, uint8_t*, uint32_t) {}

inline QByteArray bytesOf(const FlashDataMap& image)
{
    return QByteArray(reinterpret_cast<const char*>(&image), int(sizeof image));
}

inline FlashDataMap imageOf(const QByteArray& bytes)
{
    FlashDataMap image{};
    std::memcpy(&image, bytes.constData(), qMin<size_t>(sizeof image, size_t(bytes.size())));
    return image;
}

// Rewrites one line of the staged catalogue (the size must change, so the store rereads it).
inline void editCatalogue(const TestEnv& env, const QByteArray& from, const QByteArray& to)
{
    QFile file(env.programDir() + QStringLiteral("/usersetting/Config.ini"));
    file.open(QIODevice::ReadOnly);
    QByteArray text = file.readAll();
    file.close();
    const int at = text.indexOf(from);
    if (at >= 0)
        text.replace(at, from.size(), to);
    env.writeProgramFile(QStringLiteral("usersetting/Config.ini"), text);
    UserConfig::reload();
}

// One program folder with the shipped data for the whole test program: staging it for every
// case would cost more than the cases themselves.
inline TestEnv& sharedEnv()
{
    static TestEnv env;
    static const bool staged = (env.stageShippedData(), true);
    Q_UNUSED(staged);
    return env;
}

struct World {
    TestEnv& env;
    SimScript::Device device;
    std::unique_ptr<Sensor> page;
    std::unique_ptr<QSignalSpy> offline;

    // A mouse of model `mid` behind a receiver of `kind`, its image loaded, writes enabled.
    explicit World(uint8_t mid = 1, int kind = 1)
        : env(sharedEnv())
    {
        // A test with a world of its own may have pointed these elsewhere.
        AppPaths::setProgramDir(env.programDir());
        qputenv("HOME", env.home().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (env.home() + QStringLiteral("/.config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", (env.home() + QStringLiteral("/.local/share")).toLocal8Bit());
        // No hot-plug call or data answer of an earlier case may reach this one.
        StopUsbChanged();
        HidSim_Reset();
        HidSim_SetZeroDelays(1);
        UserConfig::reload();
        MacroSetting::reload();
        for (auto* flag : {&SensorPageBusy, &SensorPageReady, &NoBusyDialog, &ButtonPageBusy, &LightPageBusy})
            *flag = 0;
        WriteEnabled = 1;
        device = SimScript::addReceiverMouse(mid, kind);
        DeviceAllInfo record;
        record.path = QString::fromLatin1(device.path);
        FillDeviceRecord(record, record.path);
        SetCurrentDeviceRecord(record);
        SetCurrentDevicePath(device.path);
        ChosenModelId = mid;
        UsbServerC_Start(device.path.constData(), device.path.constData(), ignoreAnswers);
        HidSim_DeliverPending(2000);
        LoadWorkingImage(imageOf(storedImage()));
        offline = std::make_unique<QSignalSpy>(PostMsg::instance(), SIGNAL(SigMouseOffLineo(int)));
    }
    ~World()
    {
        page.reset();
        UsbServer_Exit();
        ClearWorkingImage();
        ResetCurrentDevice();
        WriteEnabled = 0;
        NoBusyDialog = 0;
    }

    Sensor* buildPage()
    {
        page = std::make_unique<Sensor>();
        page->resize(883, 630);
        return page.get();
    }

    // The image the library holds for the mouse.
    QByteArray storedImage() const
    {
        QByteArray bytes(HIDUSB_IMAGE_SIZE, '\0');
        HidSim_GetImage(device.mouse, 0, reinterpret_cast<uint8_t*>(bytes.data()));
        return bytes;
    }
    void setStoredImage(const QByteArray& bytes)
    {
        HidSim_SetImage(device.mouse, 0, reinterpret_cast<const uint8_t*>(bytes.constData()));
        LoadWorkingImage(imageOf(bytes));
    }
    int writes() const { return HidSim_WriteCount(device.mouse); }
    void setOnline(bool online) { HidSim_SetAwake(device.mouse, online ? 1 : 0); }
    // Fills the page as a full read does.
    void fillFromMouse() { page->SlotUpDataSenSorUISensor(imageOf(storedImage())); }
};

}  // namespace sensortest
