// Build-time tool: turns the readable product catalogue into the file the program reads.
// The program expects the values of a few keys as Base64 of their UTF-8 text, each list
// element by itself; everything else is copied as it stands. Comment lines are dropped.
//
// Usage: encodecatalogue <readable source> <output file>
#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdio>

namespace {

const QSet<QString>& encodedKeys()
{
    static const QSet<QString> keys{QStringLiteral("MM"), QStringLiteral("DM"), QStringLiteral("D2M"),
        QStringLiteral("D4M"), QStringLiteral("Sensor"), QStringLiteral("CID"), QStringLiteral("VID"),
        QStringLiteral("USB_PID"), QStringLiteral("Wireless_PID"), QStringLiteral("Wireless2_PID"),
        QStringLiteral("Wireless4_PID")};
    return keys;
}

QString encodeList(const QString& value)
{
    if (value.trimmed().isEmpty())
        return QString();
    QStringList out;
    const QStringList items = value.split(QLatin1Char(','));
    for (const QString& item : items)
        out << QString::fromLatin1(item.trimmed().toUtf8().toBase64());
    return out.join(QStringLiteral(", "));
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: encodecatalogue <source> <output>\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "encodecatalogue: cannot read %s\n", argv[1]);
        return 1;
    }
    const QStringList lines = QString::fromUtf8(source.readAll()).split(QLatin1Char('\n'));

    QByteArray result;
    int lineNumber = 0;
    for (QString line : lines) {
        ++lineNumber;
        line.remove(QLatin1Char('\r'));
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#')))
            continue;
        if (trimmed.isEmpty()) {
            if (!result.isEmpty() && !result.endsWith("\n\n"))
                result += '\n';
            continue;
        }
        if (trimmed.startsWith(QLatin1Char('['))) {
            result += trimmed.toUtf8() + '\n';
            continue;
        }
        const int eq = trimmed.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            std::fprintf(stderr, "%s:%d: expected key=value\n", argv[1], lineNumber);
            return 1;
        }
        const QString key = trimmed.left(eq).trimmed();
        QString value = trimmed.mid(eq + 1).trimmed();
        if (encodedKeys().contains(key))
            value = encodeList(value);
        result += key.toUtf8() + '=' + value.toUtf8() + '\n';
    }

    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(result) != result.size() || !out.commit()) {
        std::fprintf(stderr, "encodecatalogue: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
