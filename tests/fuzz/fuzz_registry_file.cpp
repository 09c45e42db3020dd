// The registry stand-in's file: any bytes as the settings file of the program's registry key,
// read, written and read back through the registry layer.
#include "FuzzEnv.h"

#include "common/Registry.h"

#include <QFileInfo>

namespace {
const QString Key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Trelm\\Trelm\\Mouse Drive Test");
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A folder never used before: the settings layer keeps files by name.
    Registry::setBaseFolder(fuzzenv::freshFolder(QStringLiteral("registry")));
    const QString file = Registry::settingsFile(Key);
    if (!fuzzenv::writeFile(file, data, size))
        return 0;
    Registry::value(Key, QStringLiteral("UpdateFailInfo"));
    Registry::value(Key, QStringLiteral("MouseVer1020"));
    Registry::contains(Key, QStringLiteral("UpdateFailInfo"));
    Registry::value(QStringLiteral("HKEY_CURRENT_USER\\Software\\Trelm\\Trelm"), QStringLiteral("Language"));

    // Whatever the file held, a value written reads back and a value removed is gone.
    Registry::setValue(Key, QStringLiteral("UpdateFailInfo"), QStringLiteral("1,2,3,4"));
    FUZZ_CHECK(Registry::value(Key, QStringLiteral("UpdateFailInfo")).toString() == QLatin1String("1,2,3,4"));
    Registry::remove(Key, QStringLiteral("UpdateFailInfo"));
    FUZZ_CHECK(!Registry::contains(Key, QStringLiteral("UpdateFailInfo")));
    FUZZ_CHECK(QFileInfo(file).isFile());
    return 0;
}
