// The product catalogue: any bytes as "<program folder>/usersetting/Config.ini", read through
// the catalogue store as the program reads it (model count, skin colours, ids, model groups,
// DPI ranges), with the Base64 rule of the encoded keys.
#include "FuzzEnv.h"

#include "common/AppPaths.h"
#include "common/SkinStyles.h"
#include "common/UserConfig.h"
#include "device/DeviceRecords.h"
#include "device/DpiCodes.h"
#include "shell/ChoiceDevices.h"

#include <QStringList>

namespace {

const char* const OptionKeys[] = {"LabelColor", "ButtonColor", "ComboxTextColor", "ComboxSelectColor",
    "ComboxBackGroundColor", "SliderColor", "LinEditColor", "LinEditColorSecond", "ShowBatteryValue", "DeviceTotal",
    "CID", "VID", "USB_PID", "Wireless_PID", "Wireless2_PID", "Wireless4_PID", "Wireless8_PID"};
const char* const ModelKeys[] = {"MM", "DM", "D2M", "D4M", "Sensor", "MID", "DPIRange", "DPIGrade", "DPIColor",
    "DPIMaxGrade", "Adveanced", "KeyParam1", "KeyParam2", "KeyParam3", "KeyParam4", "KeyParam5", "KeyParam6"};
// Model groups read whatever "DeviceTotal" says.
constexpr int ModelGroupsRead = 4;

// A model's DPI ranges as the sensor page uses them: snapping and stepping at their bounds.
void useDpiRanges(const QString& group)
{
    LoadDpiRangesFrom(UserConfig::instance()->valueList(group, QStringLiteral("DPIRange")));
    for (const DpiRange& range : DpiRangeList()) {
        for (int value : {range.min, range.max, 0, 800}) {
            SnapDpi(value);
            StepDpiUp(value);
            StepDpiDown(value);
            DpiLevelCodeFor(value, 0);
        }
    }
}

void readKey(const QString& group, const QString& key)
{
    UserConfig* config = UserConfig::instance();
    const QString text = config->value(group, key);
    const QStringList list = config->valueList(group, key);
    if (UserConfig::isEncodedKey(key)) {
        // Decoded values never keep a line feed or a blank.
        FUZZ_CHECK(!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char(' ')));
        for (const QString& item : list)
            FUZZ_CHECK(!item.contains(QLatin1Char('\n')) && !item.contains(QLatin1Char(' ')));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString folder = fuzzenv::freshFolder(QStringLiteral("program"));
    if (!fuzzenv::writeFile(folder + QStringLiteral("/usersetting/Config.ini"), data, size))
        return 0;
    AppPaths::setProgramDir(folder);
    UserConfig::reload();

    // The model count holds the catalogue's limits: no more models than "Drive" groups.
    const int models = UserConfig::instance()->modelCount();
    FUZZ_CHECK(models >= 0 && models <= int(size / 8));
    CatalogueModelIndex(0x0A, 0x01, models);

    const QString option = QStringLiteral("Option");
    for (const char* key : OptionKeys)
        readKey(option, QString::fromLatin1(key));
    for (const char* key : {"LabelColor", "ButtonColor", "ComboxTextColor"}) {
        const QStringList parts = skinColor(QString::fromLatin1(key)).split(QLatin1Char(','));
        FUZZ_CHECK(parts.size() == 3);
        for (const QString& part : parts)
            FUZZ_CHECK(part.toInt() >= 0 && part.toInt() <= 255);
    }
    FUZZ_CHECK(choiceVendorIds().size() <= 2);
    choiceProductIds();
    for (int model = 1; model <= ModelGroupsRead; ++model) {
        const QString group = QStringLiteral("Drive") + QString::number(model);
        for (const char* key : ModelKeys)
            readKey(group, QString::fromLatin1(key));
        useDpiRanges(group);
    }
    return 0;
}
