// Profile exchange files as the button page's import reads them: any bytes are accepted only as
// a whole image of this maker and sensor, and a refused file leaves a zeroed image. An accepted
// image, exported again by the program's writer, makes the writer's own bytes and reads back
// as the same image.
#include "FuzzEnv.h"

#include "device/ProfileFile.h"

#include <QFile>

#include <cstring>

namespace {
QString path;
QString writtenPath;
const QString Sensor = QStringLiteral("PAW3395");
constexpr int DpiMaxGrade = 8;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    path = fuzzenv::homeDir() + QStringLiteral("/profile.dat");
    writtenPath = fuzzenv::homeDir() + QStringLiteral("/written.dat");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzzenv::writeFile(path, data, size))
        return 0;
    FlashDataMap image;
    const int result = ProfileFile::read(path, Sensor, DpiMaxGrade, &image);
    FUZZ_CHECK(result == ProfileFile::Accepted || result == ProfileFile::Unreadable || result == ProfileFile::Mismatch);
    if (result == ProfileFile::Unreadable) {
        static const FlashDataMap zero{};
        FUZZ_CHECK(std::memcmp(&image, &zero, sizeof image) == 0);
    }
    if (result != ProfileFile::Accepted)
        return 0;
    FUZZ_CHECK(image.dpiLevelCount >= 1 && image.dpiLevelCount <= DpiMaxGrade && image.currentDpiLevel < image.dpiLevelCount);

    FUZZ_CHECK(ProfileFile::write(writtenPath, Sensor, image));
    QFile written(writtenPath);
    FUZZ_CHECK(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    FUZZ_CHECK(bytes.size() == ProfileFile::FileSize && bytes == ProfileFile::encode(Sensor, image));
    FlashDataMap again;
    FUZZ_CHECK(ProfileFile::read(writtenPath, Sensor, DpiMaxGrade, &again) == ProfileFile::Accepted);
    FUZZ_CHECK(std::memcmp(&again, &image, sizeof image) == 0);
    return 0;
}
