// Scenario files of the simulated device library: any bytes as a scenario, loaded through
// the library's control interface.
#include "FuzzEnv.h"

#include "HIDUsbControl.h"

namespace {
QString path;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    path = fuzzenv::homeDir() + QStringLiteral("/scenario.txt");
    HidSim_SetZeroDelays(1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzzenv::writeFile(path, data, size))
        return 0;
    const int result = HidSim_LoadScenario(path.toLocal8Bit().constData());
    FUZZ_CHECK(result == 0 || result == -1);
    if (result == 0) {
        // A loaded scenario is a device list the control commands can show.
        char reply[4096];
        FUZZ_CHECK(HidSim_ControlCommand("list", reply, int(sizeof reply)) == 0);
    }
    HidSim_Reset();
    return 0;
}
