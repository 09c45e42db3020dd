#include "device/SensorHeader.h"

#include "common/AppPaths.h"
#include "common/CheckedFile.h"

#include <QBuffer>
#include <QDateTime>
#include <QDebug>
#include <QFileInfo>

QStringList SensorDefineNames;
QList<int> SensorDefineValues;
SensorHeader SensorHeaderDefines;

namespace {

QString headerPath()
{
    return AppPaths::programDir() + QStringLiteral("/driver_sensor.h");
}

// What the file at the header's path looks like from outside: another file, or the same one
// changed, reads anew.
QString headerFileState()
{
    const QFileInfo info(headerPath());
    return info.absoluteFilePath() + QLatin1Char('|') + QString::number(info.size()) + QLatin1Char('|')
           + QString::number(info.lastModified().toMSecsSinceEpoch());
}

// The state of the file that the globals hold, empty before the first read.
QString LoadedHeaderState;

const char* const SupportNames[int(SensorSupport::Count)] = {
    "SUPPORT_SENSOR_MODE_SEL", "SUPPORT_LOD_CAL",     "SUPPORT_RIPPLE",
    "SUPPORT_FIXLINE",         "SUPPORT_MOTION_SYNC", "SUPPORT_MOUSEPAD_CAL",
};

// Number of a define value; not a number reads as 0.
int defineValue(const QString& text, int base)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, base);
    return ok ? value : 0;
}

// A line of two blank-separated fields: a feature list or a plain define.
void takeTwoFieldLine(const QString& field1, const QString& field2, BareDefineValue bare, SensorHeader& header)
{
    const QStringList parts = field2.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
    for (int s = 0; s < int(SensorSupport::Count); ++s) {
        if (!field2.contains(QLatin1String(SupportNames[s])))
            continue;
        if (parts.size() >= 2)
            header.support[s] = QString(parts.at(1)).remove(QLatin1Char('\n'));
        return;
    }
    if (field1 != QLatin1String("#define") || parts.size() < 2 || !parts.at(1).contains(QLatin1Char('\n')))
        return;
    const QString value = QString(parts.at(1)).remove(QLatin1Char('\n'));
    const bool hex = bare == BareDefineValue::Hexadecimal || value.contains(QLatin1String("0x"));
    header.names.append(parts.at(0));
    header.values.append(defineValue(value, hex ? 16 : 10));
}

}  // namespace

QString SensorSupportName(SensorSupport support)
{
    const int s = int(support);
    return s >= 0 && s < int(SensorSupport::Count) ? QLatin1String(SupportNames[s]) : QString();
}

bool SensorHeader::supports(SensorSupport s, const QString& sensorName) const
{
    return !sensorName.isEmpty() && supportText(s).contains(sensorName);
}

SensorHeader ParseSensorHeader(QIODevice* device, BareDefineValue bare)
{
    SensorHeader header;
    if (!device || !device->isReadable())
        return header;
    while (!device->atEnd()) {
        const QString line = QString::fromUtf8(device->readLine());
        if (line.isEmpty())
            break;
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() == 2) {
            takeTwoFieldLine(fields.at(0), fields.at(1), bare, header);
        } else if (fields.size() == 3 && fields.at(2).contains(QLatin1String("//"))) {
            const QStringList parts = fields.at(1).split(QLatin1Char('\t'), Qt::SkipEmptyParts);
            if (parts.size() == 2) {
                header.names.append(parts.at(0));
                header.values.append(defineValue(parts.at(1), 10));
            }
        }
    }
    return header;
}

SensorHeader ReadSensorHeaderFile(BareDefineValue bare)
{
    // The shipped header is a few kilobytes; anything far larger is not a header.
    CheckedFile::Result file = CheckedFile::read(headerPath(), CheckedFile::SensorHeaderLimit);
    if (!file.ok()) {
        if (file.damaged())
            qWarning().noquote() << file.error;
        return SensorHeader();
    }
    QBuffer buffer(&file.bytes);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);
    SensorHeader header = ParseSensorHeader(&buffer, bare);
    bool anySupport = false;
    for (const QString& text : header.support)
        anySupport = anySupport || !text.isEmpty();
    // An empty or foreign file leaves every sensor without DPI codes or features: as damaged
    // as one that cannot be read.
    if (header.names.isEmpty() && !anySupport)
        qWarning().noquote() << headerPath() + QStringLiteral(": no sensor definitions in the file");
    return header;
}

void LoadSensorHeader()
{
    LoadedHeaderState = headerFileState();
    SensorHeaderDefines = ReadSensorHeaderFile(BareDefineValue::Decimal);
    SensorDefineNames = SensorHeaderDefines.names;
    SensorDefineValues = SensorHeaderDefines.values;
}

void LoadSensorHeaderOnce()
{
    if (LoadedHeaderState != headerFileState())
        LoadSensorHeader();
}
