#pragma once
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

// The sensor definition header "<program folder>/driver_sensor.h": lines
// "#define" + blank + NAME + tab + VALUE, optionally followed by a blank and a "//" comment
// written without blanks. It gives per-sensor DPI code tables ("SENSOR_<sensor>_DPI_<dpi>")
// and six lists of the sensors that offer a feature ("SUPPORT_...").

// The feature lists, in the order the reader tries them.
enum class SensorSupport { SensorMode, LodCal, Ripple, FixLine, MotionSync, MousepadCal, Count };

// Name of a feature list's define, such as "SUPPORT_LOD_CAL".
QString SensorSupportName(SensorSupport support);

struct SensorHeader {
    QStringList names;   // defines in file order
    QList<int> values;   // their values, same order and length
    // Raw value text of each feature list, empty until a line sets it.
    QString support[int(SensorSupport::Count)];

    QString supportText(SensorSupport s) const { return support[int(s)]; }
    // A feature counts as supported only for a named sensor that its list mentions.
    bool supports(SensorSupport s, const QString& sensorName) const;
};

// How a define value without "0x" is read. The sensor page reads it as decimal; the button
// page's DPI lock reads every plain define value as hexadecimal.
enum class BareDefineValue { Decimal, Hexadecimal };

// Reads header lines from an open text device. A define on a last line without a line end
// is not taken; a line whose name has no tab-separated value is skipped; a value that is no
// number is stored as 0; a value after which a "//" comment follows is read as decimal.
SensorHeader ParseSensorHeader(QIODevice* device, BareDefineValue bare = BareDefineValue::Decimal);

// Reads "<program folder>/driver_sensor.h"; a missing file gives an empty header. A file that
// cannot be read, or that holds no definition at all, gives one warning line as well.
SensorHeader ReadSensorHeaderFile(BareDefineValue bare = BareDefineValue::Decimal);

// The sensor page's copy of the header, read when the page is built and used by the DPI codes
// (device/DpiCodes.h). GUI thread only.
extern QStringList SensorDefineNames;
extern QList<int> SensorDefineValues;
extern SensorHeader SensorHeaderDefines;

// Reads the header file into the three globals above, replacing what they held.
void LoadSensorHeader();
// The same, unless the globals already hold this very file: the pages that need the header
// share one read (and one warning for a damaged file).
void LoadSensorHeaderOnce();
