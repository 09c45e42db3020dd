#pragma once
// Everything the simulated devices keep through a restart, as text: the devices as simctl lists
// them, each receiver's light and long-range modes, each mouse's active profile and its four
// profiles in hexadecimal. The memory tests compare it across processes.
#include "HIDUsbControl.h"

#include <cstdio>
#include <string>
#include <vector>

inline std::string simDevicesDump()
{
    std::vector<char> reply(64 * 1024);
    HidSim_ControlCommand("list", reply.data(), static_cast<int>(reply.size()));
    std::string text = reply.data();
    text += "\n";
    char line[96];
    for (int i = 0; HidSim_InterfacePath(i, line, sizeof line) == 0; ++i) {
        std::snprintf(line, sizeof line, "interface %d light=%d longrange=%d\n", i, HidSim_LightMode(i),
                      HidSim_LongRangeMode(i));
        text += line;
    }
    std::vector<uint8_t> image(HIDUSB_IMAGE_SIZE);
    for (int m = 0; HidSim_ActiveProfile(m) >= 0; ++m) {
        std::snprintf(line, sizeof line, "mouse %d active=%d\n", m, HidSim_ActiveProfile(m));
        text += line;
        for (int p = 0; p < 4; ++p) {
            HidSim_GetImage(m, p, image.data());
            for (const uint8_t byte : image) {
                std::snprintf(line, sizeof line, "%02x", byte);
                text += line;
            }
            text += "\n";
        }
    }
    return text;
}
