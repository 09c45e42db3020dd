// Firmware image files: any bytes as "<program folder>/bin/image.bin", looked at through the
// header reader and the searches the update and the repair use.
#include "FuzzEnv.h"

#include "device/FirmwareFiles.h"

#include <QDir>

using namespace FirmwareFiles;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString bin = BinFolder();
    if (!fuzzenv::writeFile(bin + QStringLiteral("/image.bin"), data, size))
        return 0;
    const QByteArray content(reinterpret_cast<const char*>(data), int(size));

    FirmwareHeader header;
    const bool hasHeader = ReadHeader(content, &header);
    FUZZ_CHECK(hasHeader == (size >= size_t(HeaderSize)));

    FirmwareQuery query;
    query.kind = header.kind;
    query.cid = header.cid;
    query.mid = header.mid;
    query.modelName = header.modelName;

    // An unknown device version takes every matching image: the file itself.
    QList<QByteArray> images;
    const bool found = FindFirmwareFile(bin, images, query);
    // Files that name neither the mouse's nor the receiver's firmware are never candidates.
    const bool ourKind = header.kind == MouseKind || header.kind == ReceiverKind;
    FUZZ_CHECK(found == (hasHeader && ourKind));
    if (found)
        FUZZ_CHECK(images.size() == 1 && images.first() == content);

    if (hasHeader && ourKind) {
        // The device runs the image's own version: nothing newer, nothing to repair with.
        query.deviceVersion = QStringLiteral("v") + VersionText(header.version);
        FUZZ_CHECK(ParseVersionText(query.deviceVersion) == VersionFromHeader(header.version));
        FUZZ_CHECK(!ScanFirmwareFiles(bin, query));
        QList<QByteArray> kept{QByteArray("kept")};
        FUZZ_CHECK(!CheckRepairFirmwareFile(bin, kept, query));
        FUZZ_CHECK(kept.size() == 1 && kept.first() == "kept");
    }
    // The model name of a header is also read as a version text the way the device's is.
    ParseVersionText(header.modelName);
    return 0;
}
