// The shipped product catalogue: the generated file decodes to its readable source, holds
// every key the program reads, and agrees with the sensor definition header.
#include <QFile>
#include <QSet>
#include <QSettings>
#include <QtTest>

namespace {

const QSet<QString>& encodedKeys()
{
    static const QSet<QString> keys{"MM", "DM", "D2M", "D4M", "Sensor", "CID", "VID", "USB_PID",
        "Wireless_PID", "Wireless2_PID", "Wireless4_PID"};
    return keys;
}

QString decode(const QString& text)
{
    QString plain = QString::fromUtf8(QByteArray::fromBase64(text.toUtf8()));
    plain.remove(QLatin1Char('\n'));
    plain.remove(QLatin1Char(' '));
    return plain;
}

QStringList toList(const QVariant& value)
{
    return value.toStringList();
}

const QList<int>& pictureMids()
{
    static const QList<int> mids{1, 2, 4, 5, 6, 10, 13, 14, 15, 19, 20};
    return mids;
}

struct Range {
    int min, max, step;
};

QList<Range> ranges(const QStringList& list)
{
    QList<Range> out;
    for (int i = 0; i + 3 < list.size(); i += 3)
        out.append({list[i].toInt(), list[i + 1].toInt(), list[i + 2].toInt()});
    return out;
}

bool onStep(const QList<Range>& rs, int dpi)
{
    for (const Range& r : rs)
        if (dpi >= r.min && dpi <= r.max && (dpi - r.min) % r.step == 0)
            return true;
    return false;
}

// The header's "#define NAME<tab>VALUE" lines, as the sensor page reads them.
QMap<QString, QString> readHeader(const QString& path)
{
    QMap<QString, QString> defines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return defines;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine());
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() != 2 || fields[0] != QLatin1String("#define"))
            continue;
        const QStringList parts = fields[1].split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        if (parts.size() == 2 && parts[1].contains(QLatin1Char('\n')))
            defines.insert(parts[0], parts[1].trimmed());
    }
    return defines;
}

}  // namespace

class ProductCatalogueTest : public QObject {
    Q_OBJECT

private:
    QSettings* m_source = nullptr;
    QSettings* m_shipped = nullptr;
    QStringList m_models;

    QStringList list(const QString& group, const QString& key) const
    {
        QStringList values = toList(m_shipped->value(group + "/" + key));
        if (encodedKeys().contains(key))
            for (QString& v : values)
                v = decode(v);
        return values;
    }

private slots:
    void initTestCase()
    {
        const QString shipped = QStringLiteral(KAVRO_OUTPUT_DIR "/usersetting/Config.ini");
        QVERIFY(QFile::exists(shipped));
        m_source = new QSettings(QStringLiteral(KAVRO_SOURCE_DIR "/resources/catalogue/Config.ini"), QSettings::IniFormat, this);
        m_shipped = new QSettings(shipped, QSettings::IniFormat, this);
        m_source->setIniCodec("UTF-8");
        m_shipped->setIniCodec("UTF-8");
        QCOMPARE(m_shipped->status(), QSettings::NoError);
        const int total = m_shipped->value("Option/DeviceTotal").toInt();
        for (int i = 1; i <= total; ++i)
            m_models << QStringLiteral("Drive%1").arg(i);
    }

    // Eleven keys are Base64 element by element; everything else is copied as it stands.
    void shippedFileDecodesToTheReadableSource()
    {
        QCOMPARE(m_shipped->allKeys(), m_source->allKeys());
        for (const QString& key : m_source->allKeys()) {
            const QStringList plain = toList(m_source->value(key));
            const QString name = key.section(QLatin1Char('/'), 1);
            const QStringList stored = toList(m_shipped->value(key));
            QCOMPARE(stored.size(), plain.size());
            for (int i = 0; i < plain.size(); ++i) {
                if (encodedKeys().contains(name)) {
                    QVERIFY2(stored[i] != plain[i] || plain[i].isEmpty(), qPrintable(key + " is not encoded"));
                    QCOMPARE(decode(stored[i]), plain[i]);
                } else {
                    QCOMPARE(stored[i], plain[i]);
                }
            }
        }
    }

    void optionGroupMatchesTheDevices()
    {
        for (const char* colour : {"LabelColor", "ButtonColor", "ComboxTextColor", "ComboxSelectColor",
                 "ComboxBackGroundColor", "SliderColor", "LinEditColor", "LinEditColorSecond"}) {
            const QStringList rgb = list("Option", colour);
            QVERIFY2(rgb.size() == 3, colour);
            for (const QString& c : rgb) {
                bool ok = false;
                const int v = c.toInt(&ok);
                QVERIFY2(ok && v >= 0 && v <= 255, colour);
            }
        }
        QCOMPARE(list("Option", "ShowBatteryValue"), QStringList{"1"});
        QCOMPARE(list("Option", "CID"), QStringList{"10"});
        const QStringList vids = list("Option", "VID");
        QVERIFY(vids.size() >= 2);
        QCOMPARE(vids.first(), QStringLiteral("0x3554"));
        QCOMPARE(list("Option", "USB_PID").value(0), QStringLiteral("0xF500"));
        QCOMPARE(list("Option", "Wireless_PID").value(0), QStringLiteral("0xF501"));
        QCOMPARE(list("Option", "Wireless2_PID").value(0), QStringLiteral("0xF502"));
        QCOMPARE(list("Option", "Wireless4_PID").value(0), QStringLiteral("0xF503"));
        QCOMPARE(list("Option", "Wireless8_PID").value(0), QStringLiteral("0xF504"));
    }

    void modelGroupsAreComplete()
    {
        QVERIFY(m_models.size() >= 6);
        QVERIFY(m_models.size() <= 14);  // the choice page counts at most 15 model slots
        QVERIFY(!m_shipped->childGroups().contains(QStringLiteral("Drive%1").arg(m_models.size() + 1)));
        QSet<int> mids;
        QSet<QString> sensors;
        for (const QString& g : m_models) {
            for (const char* key : {"MID", "Sensor", "MM", "DM", "D2M", "D4M", "DPIMaxGrade", "DPIRange",
                     "DPIGrade", "DPIColor", "XIn1", "Adveanced", "KeyParam1", "KeyParam2", "KeyParam3",
                     "KeyParam4", "KeyParam5", "KeyParam6"})
                QVERIFY2(m_shipped->contains(g + "/" + key), qPrintable(g + "/" + key));
            const int mid = list(g, "MID").value(0).toInt();
            QVERIFY2(pictureMids().contains(mid), qPrintable(g));
            QVERIFY2(!mids.contains(mid), qPrintable(g + " repeats a MID"));
            mids.insert(mid);
            sensors.insert(list(g, "Sensor").value(0));
            QVERIFY(!list(g, "MM").value(0).isEmpty());

            const int maxGrade = list(g, "DPIMaxGrade").value(0).toInt();
            QVERIFY2(maxGrade >= 1 && maxGrade <= 8, qPrintable(g));

            const QStringList range = list(g, "DPIRange");
            QVERIFY2(range.size() >= 4 && (range.size() - 1) % 3 == 0, qPrintable(g));
            QVERIFY(range.last().startsWith(QLatin1String("0x")));
            const QList<Range> rs = ranges(range);
            QVERIFY(rs.size() >= 1 && rs.size() <= 4);
            const QStringList grades = list(g, "DPIGrade");
            QCOMPARE(grades.size(), 8);
            for (const QString& dpi : grades)
                QVERIFY2(onStep(rs, dpi.toInt()), qPrintable(g + " DPIGrade " + dpi));

            const QStringList colours = list(g, "DPIColor");
            QCOMPARE(colours.size(), 24);
            QCOMPARE(list(g, "Adveanced").size(), 2);
            for (int k = 1; k <= 6; ++k)
                QVERIFY(list(g, QStringLiteral("KeyParam%1").arg(k)).size() >= 3);
        }
        // The three demo mice of the simulated library.
        for (int mid : {1, 2, 4})
            QVERIFY(mids.contains(mid));
        QVERIFY(sensors.contains(QStringLiteral("3395")));
        QVERIFY(sensors.contains(QStringLiteral("3950")));
    }

    // A sensor with a code table must list every DPI value its models can be set to, and
    // its codes must fit the one byte the level record keeps.
    void sensorHeaderCoversTheModels()
    {
        const QMap<QString, QString> defines = readHeader(QStringLiteral(KAVRO_OUTPUT_DIR "/driver_sensor.h"));
        for (const char* name : {"SUPPORT_SENSOR_MODE_SEL", "SUPPORT_LOD_CAL", "SUPPORT_RIPPLE", "SUPPORT_FIXLINE",
                 "SUPPORT_MOTION_SYNC", "SUPPORT_MOUSEPAD_CAL"})
            QVERIFY2(defines.contains(name), name);
        QVERIFY(defines.value("SUPPORT_LOD_CAL").contains(QLatin1String("3950")));

        int tables = 0;
        for (const QString& g : m_models) {
            const QString sensor = list(g, "Sensor").value(0);
            const QString prefix = "SENSOR_" + sensor + "_DPI_";
            bool hasTable = false;
            for (const QString& name : defines.keys())
                hasTable = hasTable || name.startsWith(prefix);
            if (!hasTable)
                continue;
            ++tables;
            QVERIFY2(sensor != QLatin1String("3395") && sensor != QLatin1String("3950"), qPrintable(g));
            const QStringList range = list(g, "DPIRange");
            QCOMPARE(range.last(), QStringLiteral("0x00"));  // no doubling: the table is looked up as is
            for (const Range& r : ranges(range))
                for (int dpi = r.min; dpi <= r.max; dpi += r.step) {
                    const QString name = prefix + QString::number(dpi);
                    QVERIFY2(defines.contains(name), qPrintable(name));
                    bool ok = false;
                    const int code = defines.value(name).toInt(&ok, 16);
                    QVERIFY2(ok && code >= 0 && code <= 255, qPrintable(name));
                }
        }
        QVERIFY(tables > 0);
    }
};

QTEST_GUILESS_MAIN(ProductCatalogueTest)
#include "tst_product_catalogue.moc"
