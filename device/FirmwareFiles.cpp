#include "device/FirmwareFiles.h"

#include "common/AppPaths.h"
#include "common/CheckedFile.h"
#include "common/UserConfig.h"
#include "device/DeviceRecords.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QtEndian>

QList<QByteArray> FirmwareImages;
std::atomic<int> UpdateCID{0};

namespace FirmwareFiles {

bool ReadHeader(const QByteArray& content, FirmwareHeader* header)
{
    if (content.size() < HeaderSize || !header)
        return false;
    const auto* bytes = reinterpret_cast<const uchar*>(content.constData());
    header->version = qFromLittleEndian<quint32>(bytes + VersionOffset);
    header->kind = bytes[KindOffset];
    header->cid = bytes[CidOffset];
    header->mid = bytes[MidOffset];
    const char* name = content.constData() + ModelNameOffset;
    int length = 0;
    while (length < ModelNameSize && name[length] != '\0')
        ++length;
    header->modelName = QString::fromLocal8Bit(name, length);
    return true;
}

QByteArray MakeHeader(const FirmwareHeader& header)
{
    QByteArray content(HeaderSize, '\0');
    auto* bytes = reinterpret_cast<uchar*>(content.data());
    qToLittleEndian<quint32>(header.version, bytes + VersionOffset);
    bytes[KindOffset] = header.kind;
    bytes[CidOffset] = header.cid;
    bytes[MidOffset] = header.mid;
    const QByteArray name = header.modelName.toLocal8Bit().left(ModelNameSize);
    content.replace(ModelNameOffset, name.size(), name);
    return content;
}

FirmwareVersion VersionFromHeader(uint32_t version)
{
    return FirmwareVersion{version >> 8, version & 0xFFu};
}

QString VersionText(uint32_t version)
{
    return QString::number(version >> 8) + QLatin1Char('.') + QString::number(version & 0xFFu, 16);
}

FirmwareVersion ParseVersionText(QString text)
{
    text.remove(QLatin1Char('v'));
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    FirmwareVersion version;
    bool ok = false;
    version.major = parts.value(0).trimmed().toULongLong(&ok, 10);
    if (!ok)
        version.major = 0;
    version.minor = parts.value(1).trimmed().toULongLong(&ok, 16);
    if (!ok)
        version.minor = 0;
    return version;
}

QString BinFolder()
{
    return AppPaths::programDir() + QStringLiteral("/bin");
}

namespace {

enum class Rule { NewerOnly, AnyOtherVersion };

void logSkipped(const QFileInfo& info, const char* reason)
{
    qWarning().noquote() << "firmware image" << info.fileName() << "skipped:" << reason;
}

// Reads a file's header; false (the file is skipped, with its log line) when it cannot be
// opened or read, is too short to hold a header or names no firmware kind of ours. *tooLarge
// says that the header was read but the file is larger than any image.
bool readFileHeader(QFile& file, const QFileInfo& info, FirmwareHeader* header, bool* tooLarge)
{
    *tooLarge = false;
    // The size is judged below, once the header says whether the file matters at all.
    const CheckedFile::Result opened = CheckedFile::open(file, info.absoluteFilePath(), CheckedFile::NoLimit);
    if (!opened.ok()) {
        logSkipped(info, qPrintable(QStringLiteral("cannot be opened (%1)").arg(opened.error)));
        return false;
    }
    const QByteArray start = file.read(HeaderSize);
    if (file.error() != QFileDevice::NoError) {
        logSkipped(info, qPrintable(QStringLiteral("cannot be read (%1)").arg(file.errorString())));
        return false;
    }
    if (!ReadHeader(start, header)) {
        logSkipped(info, "shorter than the firmware header");
        return false;
    }
    if (header->kind != MouseKind && header->kind != ReceiverKind) {
        logSkipped(info, "names neither the mouse's nor the receiver's firmware");
        return false;
    }
    *tooLarge = file.size() > MaxImageFileSize;
    return true;
}

// The one search behind the three operations. image receives the whole content of the
// chosen file when it is not null. Of the accepted files the highest version is chosen,
// on equal versions the last in name order.
bool search(const QString& binDir, const FirmwareQuery& query, Rule rule, QByteArray* image, bool* refused)
{
    if (refused)
        *refused = false;
    const bool versionKnown = !query.deviceVersion.isEmpty();
    const FirmwareVersion device = ParseVersionText(query.deviceVersion);

    const QDir dir(binDir);
    if (binDir.isEmpty() || !dir.exists())
        return false;
    const QFileInfoList files = dir.entryInfoList({QStringLiteral("*.bin")}, QDir::Files,
                                                  QDir::Name | QDir::IgnoreCase);

    bool found = false;
    FirmwareVersion best;
    for (const QFileInfo& info : files) {
        QFile file;
        FirmwareHeader header;
        bool tooLarge = false;
        if (!readFileHeader(file, info, &header, &tooLarge))
            continue;
        if (header.kind != query.kind || header.cid != query.cid || header.mid != query.mid
            || header.modelName != query.modelName)
            continue;

        const FirmwareVersion candidate = VersionFromHeader(header.version);
        if (versionKnown) {
            const bool wanted = rule == Rule::NewerOnly ? device < candidate : candidate != device;
            if (!wanted)
                continue;
        }
        if (tooLarge) {
            logSkipped(info, "larger than any firmware image");
            if (refused)
                *refused = true;
            continue;
        }
        if (found && candidate < best)
            continue;

        if (image) {
            file.seek(0);
            QByteArray content = file.read(MaxImageFileSize + 1);
            if (file.error() != QFileDevice::NoError || content.size() != file.size()
                || content.size() < HeaderSize) {
                logSkipped(info, "could not be read whole");
                if (refused)
                    *refused = true;
                continue;
            }
            *image = std::move(content);
        }
        found = true;
        best = candidate;
    }
    return found;
}

}  // namespace

bool ScanFirmwareFiles(const QString& binDir, const FirmwareQuery& query)
{
    if (query.deviceVersion.isEmpty())
        return false;
    return search(binDir, query, Rule::NewerOnly, nullptr, nullptr);
}

bool FindFirmwareFile(const QString& binDir, QList<QByteArray>& images, const FirmwareQuery& query, bool* refused)
{
    images.clear();
    QByteArray image;
    if (!search(binDir, query, Rule::NewerOnly, &image, refused))
        return false;
    images.append(image);
    return true;
}

bool CheckRepairFirmwareFile(const QString& binDir, QList<QByteArray>& images, const FirmwareQuery& query,
                             bool* refused)
{
    QByteArray image;
    if (!search(binDir, query, Rule::AnyOtherVersion, &image, refused))
        return false;
    images.clear();
    images.append(image);
    return true;
}

QString ReceiverModelKey(int receiverType)
{
    switch (receiverType) {
    case 1:
        return QStringLiteral("DM");
    case 2:
        return QStringLiteral("D2M");
    case 4:
        return QStringLiteral("D4M");
    default:
        return QString();
    }
}

bool CheckNewFirmware(const QString& binDir, int kind, const QString& deviceVersion, int receiverType,
                      int modelIndex)
{
    UserConfig* config = UserConfig::instance();
    const int cid = config->value(QStringLiteral("Option"), QStringLiteral("CID")).toInt();
    UpdateCID = cid;

    const QString group = CatalogueModelGroup(modelIndex);
    QString nameKey = QStringLiteral("MM");
    if (kind != MouseKind) {
        nameKey = ReceiverModelKey(receiverType);
        if (nameKey.isEmpty())
            return false;
    }

    FirmwareQuery query;
    query.kind = static_cast<uint8_t>(kind);
    query.deviceVersion = deviceVersion;
    query.modelName = config->value(group, nameKey);
    query.cid = static_cast<uint8_t>(cid);
    query.mid = static_cast<uint8_t>(config->value(group, QStringLiteral("MID")).toInt());
    return ScanFirmwareFiles(binDir, query);
}

}  // namespace FirmwareFiles
