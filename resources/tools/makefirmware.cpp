// Build-time tool: writes the demonstration firmware images that the program offers for the
// model "KVM-PICO" (MID 6) of the scenario "firmware-update.txt": one for the mouse and one
// for its 1 kHz receiver, each newer than the scenario's devices. Each is the 728-byte
// firmware header followed by a little payload; no image file is kept in the sources.
//
// Usage: makefirmware <output folder>
#include <QByteArray>
#include <QDir>
#include <QSaveFile>
#include <QString>
#include <cstdio>

namespace {

constexpr int HeaderSize = 728;
constexpr int PayloadSize = 4096;

struct Image {
    const char* file;
    quint32 version;  // major << 8 | minor
    quint8 kind;      // 210 mouse, 211 receiver
    quint8 cid;
    quint8 mid;
    const char* model;
};

QByteArray build(const Image& image)
{
    QByteArray bytes(HeaderSize + PayloadSize, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[0x10 + i] = char((image.version >> (8 * i)) & 0xFF);
    bytes[0x14] = char(image.kind);
    bytes[0x15] = char(image.cid);
    bytes[0x16] = char(image.mid);
    const QByteArray model(image.model);
    bytes.replace(0x57, model.size(), model);
    for (int i = HeaderSize; i < bytes.size(); ++i)
        bytes[i] = char((i * 31 + 7) & 0xFF);  // stands for the firmware itself
    return bytes;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: makefirmware <output folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "makefirmware: cannot create %s\n", argv[1]);
        return 1;
    }
    const Image images[] = {
        {"KVM-PICO-v1.7.bin", 0x0107, 210, 10, 6, "KVM-PICO"},
        {"KVR-1K-v1.2.bin", 0x0102, 211, 10, 6, "KVR-1K"},
    };
    for (const Image& image : images) {
        QSaveFile file(folder + QLatin1Char('/') + QLatin1String(image.file));
        if (!file.open(QIODevice::WriteOnly) || file.write(build(image)) < 0 || !file.commit()) {
            std::fprintf(stderr, "makefirmware: cannot write %s: %s\n", image.file, qPrintable(file.errorString()));
            return 1;
        }
    }
    return 0;
}
