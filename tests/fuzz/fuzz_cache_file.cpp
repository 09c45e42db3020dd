// The per-mouse cache file: any bytes in "<per-user folder>/Device_Info/<name>" are either
// one whole device image or refused without touching the caller's image.
#include "FuzzEnv.h"

#include "device/DeviceCache.h"

#include <cstring>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString name = DeviceCacheFileName(0x0A, 0x01);
    if (!fuzzenv::writeFile(DeviceCacheFolder() + name, data, size))
        return 0;
    FlashDataMap image;
    std::memset(static_cast<void*>(&image), 0xA5, sizeof image);
    const bool read = ReadDeviceInfoFile(name, &image);
    if (read) {
        // Only a 4-byte length and the image itself are accepted; the image is the file's.
        FUZZ_CHECK(size == 4 + sizeof(FlashDataMap));
        FUZZ_CHECK(std::memcmp(&image, data + 4, sizeof image) == 0);
    } else {
        for (size_t i = 0; i < sizeof image; ++i)
            FUZZ_CHECK(reinterpret_cast<const uint8_t*>(&image)[i] == 0xA5);
    }
    return 0;
}
