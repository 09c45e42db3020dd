// Build-time tool of the fuzz tree: writes the seed corpus of the binary formats with the
// program's own writers (and the simulated library's answers and memory files), and copies
// the shipped language files and sensor header, so every target starts from valid input.
//
// Usage: makeseeds <output folder> <source folder>
#include "FuzzEnv.h"

#include "device/DeviceCache.h"
#include "device/DataCallback.h"
#include "device/ButtonRecords.h"
#include "device/FirmwareFiles.h"
#include "device/MacroFiles.h"
#include "device/ProfileFile.h"
#include "device/UnsentMacrosFile.h"
#include "pages/macro/MacroExchangeFile.h"

#include "HIDUsbControl.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QSaveFile>

#include <cstdio>
#include <cstring>

namespace {

QString out;

bool save(const QString& target, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(out + QLatin1Char('/') + target);
    QSaveFile file(out + QLatin1Char('/') + target + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "makeseeds: cannot write %s/%s\n", qPrintable(target), qPrintable(name));
        return false;
    }
    return true;
}

// A device image with recognisable settings in every area.
FlashDataMap sampleImage()
{
    FlashDataMap image{};
    auto* bytes = reinterpret_cast<uint8_t*>(&image);
    for (size_t i = 0; i < sizeof image; ++i)
        bytes[i] = uint8_t(i * 7 + 3);
    image.reportRate = 0x01;
    image.dpiLevelCount = 4;
    image.currentDpiLevel = 1;
    return image;
}

bool cacheFileSeed()
{
    const QString name = DeviceCacheFileName(0x0A, 0x01);
    if (!WriteDeviceInfoFile(name, sampleImage()))
        return false;
    QFile file(DeviceCacheFolder() + name);
    return file.open(QIODevice::ReadOnly) && save(QStringLiteral("cache_file"), QStringLiteral("cache.bin"), file.readAll());
}

// Profiles as the button page's export writes them: the sample image for the target's sensor,
// one at the model's DPI level limit, and one whose sensor name the writer cuts to 12 bytes.
bool profileFileSeeds()
{
    const QString t = QStringLiteral("profile_file");
    FlashDataMap full = sampleImage();
    full.dpiLevelCount = 8;
    full.currentDpiLevel = 7;
    return save(t, QStringLiteral("profile.prf"), ProfileFile::encode(QStringLiteral("PAW3395"), sampleImage()))
        && save(t, QStringLiteral("eight-levels.prf"), ProfileFile::encode(QStringLiteral("PAW3395"), full))
        && save(t, QStringLiteral("long-sensor.prf"), ProfileFile::encode(QStringLiteral("PAW3395-LONG-NAME"), sampleImage()));
}

bool firmwareSeeds()
{
    FirmwareFiles::FirmwareHeader header;
    header.version = 0x0105;
    header.kind = FirmwareFiles::MouseKind;
    header.cid = 0x0A;
    header.mid = 0x01;
    header.modelName = QStringLiteral("KM-1");
    bool ok = save(QStringLiteral("firmware_image"), QStringLiteral("mouse.bin"),
                   FirmwareFiles::MakeHeader(header) + QByteArray("firmware body"));
    header.kind = FirmwareFiles::ReceiverKind;
    header.version = 0x0210;
    return ok && save(QStringLiteral("firmware_image"), QStringLiteral("receiver.bin"), FirmwareFiles::MakeHeader(header));
}

// One answer in the data callback target's input form: flags, header length, header, data.
QByteArray answer(uint8_t flags, uint8_t kind, uint8_t command, const QByteArray& data)
{
    const char header[5] = {0, char(kind), 0, 0, char(command)};
    return QByteArray(1, char(flags)) + char(sizeof header) + QByteArray(header, sizeof header) + data;
}

bool dataCallbackSeeds()
{
    int mouseId = -1;
    const QByteArray full = fuzzenv::firstFullAnswer(fuzzenv::addReceiverMouse(&mouseId));
    UsbServer_Exit();

    const QString t = QStringLiteral("data_callback");
    return save(t, QStringLiteral("full"), answer(0, 8, 0, full))
        && save(t, QStringLiteral("report_rate"), answer(1, 8, 0, QByteArray(1, '\x02')))
        && save(t, QStringLiteral("dpi_level"), answer(1, 8, 4, QByteArray(1, '\x03')))
        && save(t, QStringLiteral("dpi_level_replaced"), answer(3, 8, 4, QByteArray(1, '\x03')))
        && save(t, QStringLiteral("dpi_light"), answer(1, 8, 0x4C, QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08", 8)))
        && save(t, QStringLiteral("light_bar"), answer(1, 8, 0xA0, QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08\x09", 9)))
        && save(t, QStringLiteral("battery"), answer(0, 4, 0, QByteArray("\x50\x01\x00\x00", 4)))
        && save(t, QStringLiteral("status"), answer(1, 10, 0, QByteArray("\x01\x01\x01\x01\x00\x01\x01", 7)))
        && save(t, QStringLiteral("profile"), answer(0, 14, 0, QByteArray(1, '\x02')))
        && save(t, QStringLiteral("version"), answer(0, 18, 0, QByteArray()))
        && save(t, QStringLiteral("reapply"), answer(1, 9, 0, QByteArray()))
        && save(t, QStringLiteral("receiver_light"), answer(0, 21, 0, QByteArray(1, '\x01')))
        && save(t, QStringLiteral("long_range"), answer(0, 23, 0, QByteArray(10, '\0')));
}

// A macro with a modifier, a mouse button, delays and a release.
MacroRows sampleMacro()
{
    return {{QStringLiteral("LCtrl"), false}, {QStringLiteral("12ms"), false}, {QStringLiteral("C"), false},
            {QStringLiteral("30ms"), false},  {QStringLiteral("C"), true},      {QStringLiteral("5ms"), false},
            {QStringLiteral("Back"), false},  {QStringLiteral("LCtrl"), true}};
}

template <typename Record>
QByteArray bytesOf(const Record& record)
{
    return QByteArray(reinterpret_cast<const char*>(&record), int(sizeof record));
}

bool macroSeeds()
{
    const MacroRecord record = MacroRecordFromRows(QStringLiteral("Copy"), sampleMacro());
    const QString copy = MacroFilePath(MacroFolder(), QStringLiteral("Copy"));
    const QString count = MacroFilePath(MacroFolder(), QStringLiteral("Count"));
    QFile copyFile(copy);
    QFile countFile(count);
    return WriteMacroFile(copy, 254, sampleMacro()) && WriteMacroFile(count, 3, sampleMacro().mid(0, 3))
        && copyFile.open(QIODevice::ReadOnly) && countFile.open(QIODevice::ReadOnly)
        && save(QStringLiteral("macro_text_file"), QStringLiteral("Copy.ini"), copyFile.readAll())
        && save(QStringLiteral("macro_text_file"), QStringLiteral("Count.ini"), countFile.readAll())
        && save(QStringLiteral("macro_record"), QStringLiteral("macro"), bytesOf(record))
        && save(QStringLiteral("macro_record"), QStringLiteral("combination"),
                bytesOf(BuildComboRecord(QStringLiteral("Ctrl+Shift+A"))));
}

// Queue files as the program writes them: saves alone; a save being written, with its text;
// and a text whose macro no save owes.
bool unsentMacrosSeeds()
{
    const QString t = QStringLiteral("unsent_macros");
    const QString path = QDir(out).filePath(QStringLiteral("UnsentMacros.json"));
    const UnsentMacroSaves saves{{qMakePair(QStringLiteral("CID0A_MID04"), 1), QStringLiteral("Copy")},
                                 {qMakePair(QStringLiteral("CID0A_MID04"), 15), QString::fromUtf8("連射 2")},
                                 {qMakePair(QStringLiteral("CID0A_MID07"), 0), QStringLiteral("Copy")}};
    const QByteArray text = MacroFileText(254, sampleMacro());
    const auto seed = [&](const QString& name, const UnsentMacroTexts& texts) {
        QFile file(path);
        return WriteUnsentMacrosFile(path, saves, texts) && file.open(QIODevice::ReadOnly) && save(t, name, file.readAll())
            && file.remove();
    };
    return seed(QStringLiteral("saves.json"), {}) && seed(QStringLiteral("texts.json"), {{QStringLiteral("Copy"), text}})
        && seed(QStringLiteral("not-owed.json"), {{QStringLiteral("Other"), text}});
}

// Exchange files as the Macro page exports them: every item with the page's row icon (a
// picture), and one with no icons, as another program may write them.
bool macroExchangeSeeds()
{
    QPixmap picture(16, 16);
    picture.fill(QColor(225, 190, 34));
    const QIcon icon(picture);
    MacroExchange fire{QStringLiteral("Fire"), QStringLiteral("255"), {}};
    fire.items = {{QStringLiteral("A"), icon, false}, {QStringLiteral("15ms"), icon, false}, {QStringLiteral("A"), icon, true}};
    MacroExchange copy{QStringLiteral("Copy"), QStringLiteral("3"), {}};
    for (const MacroRow& row : sampleMacro())
        copy.items.append({row.text, QIcon(), row.release});
    const QString t = QStringLiteral("macro_exchange_file");
    return save(t, QStringLiteral("Fire.ini"), MacroExchangeBytes(fire)) && save(t, QStringLiteral("Copy.ini"), MacroExchangeBytes(copy));
}

// The simulated library's memory files as it writes them: a mouse with a changed profile, a
// receiver paired with it and one paired with none.
bool deviceMemorySeeds()
{
    const QString state = QDir(out).filePath(QStringLiteral("state"));
    qputenv("XDG_STATE_HOME", state.toLocal8Bit());
    HidSim_Reset();
    if (HidSim_SetMemory(1) != 0)
        return false;
    HidSimMouseSetup mouseSetup{0x0A, 0x01, {0x4B, 0x10, 0x01}, 0x0103, 80, 0, 1};
    const int mouse = HidSim_AddMouse(&mouseSetup);
    HidSimInterfaceSetup paired{"0x3554", "0xF503", 1, 0x0201, mouse, 1, 0};
    HidSimInterfaceSetup alone{"0x3554", "0xF501", 0, 0x0110, -1, 0, 0};
    const int fast = HidSim_AddInterface(&paired);
    const int slow = HidSim_AddInterface(&alone);
    QByteArray image(HIDUSB_IMAGE_SIZE, '\0');
    HidSim_GetImage(mouse, 0, reinterpret_cast<uint8_t*>(image.data()));
    image[0] = char(image.at(0) ^ 0x03);
    const bool changed = HidSim_SetImage(mouse, 2, reinterpret_cast<const uint8_t*>(image.constData())) == 0
        && HidSim_SetMouseVersion(mouse, 0x0107) == 0 && HidSim_SetInterfaceVersion(fast, 0x0203) == 0
        && HidSim_SetInterfaceBootMode(slow, 1, 0x0A, 0x02) == 0;
    HidSim_Reset();  // writes the memory out
    const QString t = QStringLiteral("device_memory");
    const auto copy = [&](const QString& file, const QString& name) {
        QFile memory(state + QStringLiteral("/kavro-sim/") + file);
        return memory.open(QIODevice::ReadOnly) && save(t, name, memory.readAll());
    };
    const bool ok = changed && copy(QStringLiteral("mouse-0A-01-4B1001.state"), QStringLiteral("mouse.state"))
        && copy(QStringLiteral("receiver-3554-F503.state"), QStringLiteral("receiver-paired.state"))
        && copy(QStringLiteral("receiver-3554-F501.state"), QStringLiteral("receiver.state"));
    QDir(state).removeRecursively();
    return ok;
}

// Copies shipped data files (a folder of the source tree and a name pattern) as seeds.
bool shippedSeeds(const QString& target, const QString& folder, const QString& pattern)
{
    const QDir dir(folder);
    bool ok = true;
    for (const QString& name : dir.entryList({pattern}, QDir::Files)) {
        QFile file(dir.filePath(name));
        ok = ok && file.open(QIODevice::ReadOnly) && save(target, name, file.readAll());
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: makeseeds <output folder> <source folder>\n");
        return 2;
    }
    // The exchange files' icons are pictures, which need a GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);
    fuzzenv::setUp(&argc, &argv);
    out = QString::fromLocal8Bit(argv[1]);
    const QString resources = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/resources");
    const bool ok = cacheFileSeed() && profileFileSeeds() && firmwareSeeds() && dataCallbackSeeds() && macroSeeds()
        && macroExchangeSeeds() && unsentMacrosSeeds() && deviceMemorySeeds()
        && shippedSeeds(QStringLiteral("language_file"), resources + QStringLiteral("/Language"), QStringLiteral("*.xml"))
        && shippedSeeds(QStringLiteral("sensor_header"), resources, QStringLiteral("driver_sensor.h"))
        && shippedSeeds(QStringLiteral("company_file"), resources + QStringLiteral("/Language"), QStringLiteral("Net.xml"));
    return ok ? 0 : 1;
}
