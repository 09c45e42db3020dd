// Profile exchange files as the busy dialog imports them: any bytes are accepted only as a
// whole image of this maker and sensor, and a refused file leaves a zeroed image.
#include "FuzzEnv.h"

#include "device/ProfileFile.h"

#include <cstring>

namespace {
QString path;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    path = fuzzenv::homeDir() + QStringLiteral("/profile.dat");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzzenv::writeFile(path, data, size))
        return 0;
    FlashDataMap image;
    const int result = ProfileFile::read(path, QStringLiteral("PAW3395"), 8, &image);
    FUZZ_CHECK(result == ProfileFile::Accepted || result == ProfileFile::Unreadable || result == ProfileFile::Mismatch);
    if (result == ProfileFile::Accepted)
        FUZZ_CHECK(image.dpiLevelCount >= 1 && image.dpiLevelCount <= 8 && image.currentDpiLevel < image.dpiLevelCount);
    if (result == ProfileFile::Unreadable) {
        static const FlashDataMap zero{};
        FUZZ_CHECK(std::memcmp(&image, &zero, sizeof image) == 0);
    }
    return 0;
}
