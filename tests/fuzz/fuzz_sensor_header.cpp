// The sensor definition header: any bytes as "<program folder>/driver_sensor.h", read as the
// sensor page and the button page read it, and used for the DPI code conversion both ways.
#include "FuzzEnv.h"

#include "common/AppPaths.h"
#include "device/DpiCodes.h"
#include "device/SensorHeader.h"

#include <QStringList>

namespace {

// The sensors the header names in its code tables ("SENSOR_<sensor>_DPI_<dpi>"), at most a few.
QStringList tableSensors(const QStringList& names)
{
    QStringList sensors{QStringLiteral("3395"), QStringLiteral("3311")};
    for (const QString& name : names) {
        if (sensors.size() >= 5)
            break;
        const int end = name.indexOf(QLatin1String("_DPI"));
        if (name.startsWith(QLatin1String("SENSOR_")) && end > 7 && !sensors.contains(name.mid(7, end - 7)))
            sensors << name.mid(7, end - 7);
    }
    return sensors;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzzenv::writeFile(AppPaths::programDir() + QStringLiteral("/driver_sensor.h"), data, size))
        return 0;
    const SensorHeader hex = ReadSensorHeaderFile(BareDefineValue::Hexadecimal);
    FUZZ_CHECK(hex.names.size() == hex.values.size());
    LoadSensorHeader();
    FUZZ_CHECK(SensorDefineNames.size() == SensorDefineValues.size());
    FUZZ_CHECK(SensorDefineNames.size() <= int(size));

    for (const QStringList& ranges : {QStringList{"100", "26000", "50", "0x11"},
                                      QStringList{"50", "10000", "50", "10100", "20000", "100", "20200", "26000",
                                                  "200", "26400", "42000", "400", "0x33"}}) {
        LoadDpiRangesFrom(ranges);
        for (const QString& sensor : tableSensors(SensorDefineNames)) {
            CurrentSensorName = sensor;
            for (int s = 0; s < int(SensorSupport::Count); ++s)
                SensorHeaderDefines.supports(SensorSupport(s), sensor);
            for (uint8_t flags : {uint8_t(0), uint8_t(0x22), uint8_t(0x11), uint8_t(0xE2)}) {
                for (int code : {0, 1, 0x3F, 0xFF}) {
                    const int dpi = DpiFromLevelRecord(uint8_t(code), flags);
                    DpiLevelCodeFor(dpi, flags);
                }
            }
            // Each table entry both ways: its code read back as a value, its value as a code.
            for (int i = 0; i < SensorDefineNames.size() && i < 32; ++i) {
                const QString& name = SensorDefineNames.at(i);
                const int at = name.lastIndexOf(QLatin1Char('_'));
                for (uint8_t flags : {uint8_t(0), uint8_t(0x22)}) {
                    DpiFromLevelRecord(uint8_t(SensorDefineValues.at(i)), flags);
                    if (at >= 0)
                        DpiLevelCodeFor(name.mid(at + 1).toInt(), flags);
                }
            }
        }
    }
    return 0;
}
