#pragma once
// Fixtures shared by the application-shell tests: a small catalogue, a language file with the
// shell's sections, profile files and a recorder of the hub signals the shell emits.
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/Registry.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/FlashDataMap.h"
#include "device/SharedFlags.h"
#include "support/CatalogueText.h"
#include "support/TestEnv.h"

#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QWidget>

namespace shelltest {

using testcatalogue::encoded;

constexpr const char* SensorName = "PAW3395";
constexpr int DpiMaxGrade = 5;

// The child of `w` named `name`.
template <typename T>
T* child(QWidget* w, const char* name)
{
    return w->findChild<T*>(QLatin1String(name));
}

// One model (MID 1) with a sensor name and a DPI level limit; "ShowBatteryValue" as given.
inline void writeCatalogue(const TestEnv& env, int showBatteryValue = 1, const QString& sensor = QString::fromLatin1(SensorName))
{
    QByteArray ini = "[Option]\nLabelColor=1, 2, 3\nButtonColor=4, 5, 6\n"
                     "ComboxTextColor=7, 8, 9\nComboxSelectColor=10, 11, 12\nComboxBackGroundColor=13, 14, 15\n"
                     "DeviceTotal=1\n";
    ini += "ShowBatteryValue=" + QByteArray::number(showBatteryValue) + "\n";
    ini += "CID=" + encoded({QStringLiteral("10")}) + "\n";
    ini += "VID=" + encoded({QStringLiteral("0x3554"), QStringLiteral("0x3555")}) + "\n";
    ini += testcatalogue::productIdLines();
    ini += "[Drive1]\nMID=1\nDPIMaxGrade=" + QByteArray::number(DpiMaxGrade) + "\n";
    ini += "Sensor=" + encoded({sensor}) + "\n";
    testcatalogue::write(env, ini);
}

// English language file with the sections the shell reads.
inline void writeLanguage(const TestEnv& env)
{
    env.writeProgramFile(QStringLiteral("Language/0-English.xml"),
                         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Total>\n"
                         "<DialogMain><MainForm>Show window</MainForm><Exit>Quit now</Exit></DialogMain>\n"
                         "<UpDataParam><label>Waiting text</label><label_1>Importing text</label_1></UpDataParam>\n"
                         "<InportFail><label>Unreadable profile</label><label_1>Profile for another mouse</label_1>"
                         "<NewHong>OK</NewHong></InportFail>\n"
                         "<MouseOffLine><label>Mouse offline</label><Timeout>Mouse timed out</Timeout></MouseOffLine>\n"
                         "</Total>\n");
}

// Everything a shell test needs before it builds a window.
inline void prepare(const TestEnv& env, int showBatteryValue = 1)
{
    env.stageShippedData();
    writeCatalogue(env, showBatteryValue);
    writeLanguage(env);
    MacroSetting::reload();
    Registry::setBaseFolder(env.home() + QStringLiteral("/registry"));
}

// The shared flags a shell test may leave set, back to how a fresh program has them.
inline void clearShellFlags()
{
    NoBusyDialog = 0;
    MainPageActive = 0;
    WaitingForMouse = 0;
    RestartWanted = 0;
    MacroRecording = 0;
}

// Makes the device at `path` the current one, with the record's other fields as given.
inline void makeCurrent(const QByteArray& path, DeviceAllInfo record = {})
{
    record.path = QString::fromLatin1(path);
    SetCurrentDeviceRecord(record);
    SetCurrentDevicePath(path);
}

// A recognisable device image with `levels` DPI levels in use, the first one current.
inline FlashDataMap makeImage(uint8_t seed, uint8_t levels = 3)
{
    FlashDataMap image{};
    auto* bytes = reinterpret_cast<uint8_t*>(&image);
    for (size_t i = 0; i < sizeof image; ++i)
        bytes[i] = uint8_t(seed + i * 7);
    image.dpiLevelCount = levels;
    image.currentDpiLevel = 0;
    return image;
}

inline QByteArray imageBytes(const FlashDataMap& image)
{
    return QByteArray(reinterpret_cast<const char*>(&image), int(sizeof image));
}

// A profile exchange file as the button page writes it: three length-prefixed blocks.
inline QByteArray profileBytes(const QByteArray& tag, const QByteArray& sensor, const QByteArray& image)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.writeBytes(tag.constData(), uint(tag.size()));
    stream.writeBytes(sensor.constData(), uint(sensor.size()));
    stream.writeBytes(image.constData(), uint(image.size()));
    return out;
}

inline QByteArray padded(const char* text, int size = 12)
{
    QByteArray bytes(text);
    bytes.append(QByteArray(size - bytes.size(), '\0'));
    return bytes;
}

inline QByteArray goodProfile(const FlashDataMap& image)
{
    return profileBytes(padded("Trelm"), padded(SensorName), imageBytes(image));
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Records the shell-side hub signals, in order, as "Name(arg)".
class ShellSignals : public QObject {
public:
    ShellSignals()
    {
        PostMsg* hub = PostMsg::instance();
        connect(hub, &PostMsg::SigUpDataLightUIA, this, [this](FlashDataMap m) { add("LightUIA", m); });
        connect(hub, &PostMsg::SigUpDataSensorUIB, this, [this](FlashDataMap m) { add("SensorUIB", m); });
        connect(hub, &PostMsg::SigUpDataButtonUIC, this, [this](FlashDataMap m) { add("ButtonUIC", m); });
        connect(hub, &PostMsg::SigFormB, this, [this] { events << QStringLiteral("FormB"); });
        connect(hub, &PostMsg::SigMouseOffLineo, this,
                [this](int i) { events << QStringLiteral("MouseOffLineo(%1)").arg(i); });
        connect(hub, &PostMsg::SigSetver, this, [this](int i) { events << QStringLiteral("Setver(%1)").arg(i); });
        connect(hub, &PostMsg::SigChangeMainDialog, this,
                [this](int i) { events << QStringLiteral("ChangeMainDialog(%1)").arg(i); });
        connect(hub, &PostMsg::SigChangeSize, this, [this](int i) { events << QStringLiteral("ChangeSize(%1)").arg(i); });
        connect(hub, &PostMsg::SigSecondPageChange, this, [this] { events << QStringLiteral("SecondPageChange"); });
        connect(hub, &PostMsg::SigMainPageChange, this, [this] { events << QStringLiteral("MainPageChange"); });
        connect(hub, &PostMsg::SigSetMacroPage, this, [this] { events << QStringLiteral("SetMacroPage"); });
        connect(hub, &PostMsg::SigAddMacroButton, this, [this] { events << QStringLiteral("AddMacroButton"); });
        connect(hub, &PostMsg::SigEnterKey, this, [this] { events << QStringLiteral("EnterKey"); });
    }

    int count(const QString& event) const { return events.count(event); }

    QStringList events;
    QList<QByteArray> images;

private:
    void add(const char* name, const FlashDataMap& m)
    {
        events << QString::fromLatin1(name);
        images << imageBytes(m);
    }
};

}  // namespace shelltest
