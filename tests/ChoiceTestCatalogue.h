#pragma once
// Catalogue fixtures for the device-choice tests: a small "Config.ini" written into the test's
// program folder, with the encoded keys stored as Base64 like the shipped catalogue.
#include "support/CatalogueText.h"
#include "support/TestEnv.h"

#include "HIDUsbControl.h"

#include <QByteArray>
#include <QStringList>

namespace choicetest {

using testcatalogue::encoded;

// Catalogue with `models` models; model i has MID mids[i] (default i + 1) and the receiver
// firmware names "DM<i>", "D2M<i>" and "D4M<i>" (D2M left empty when emptyD2M, D4M when emptyD4M).
inline void writeCatalogue(const TestEnv& env, int models, const QList<int>& mids = {}, bool emptyD2M = false,
                           bool emptyD4M = false)
{
    QByteArray ini = "[Option]\n"
                     "LabelColor=1, 2, 3\nButtonColor=4, 5, 6\n"
                     "ComboxTextColor=7, 8, 9\nComboxSelectColor=10, 11, 12\nComboxBackGroundColor=13, 14, 15\n";
    ini += "DeviceTotal=" + QByteArray::number(models) + "\n";
    ini += "CID=" + encoded({QStringLiteral("10")}) + "\n";
    ini += "VID=" + encoded({QStringLiteral("0x3554"), QStringLiteral("0x3555")}) + "\n";
    ini += testcatalogue::productIdLines();
    for (int i = 0; i < models; ++i) {
        const int mid = i < mids.size() ? mids.at(i) : i + 1;
        ini += "[Drive" + QByteArray::number(i + 1) + "]\n";
        ini += "MID=" + QByteArray::number(mid) + "\n";
        ini += "MM=" + encoded({QStringLiteral("MM%1").arg(i)}) + "\n";
        ini += "DM=" + encoded({QStringLiteral("DM%1").arg(i)}) + "\n";
        if (!emptyD2M)
            ini += "D2M=" + encoded({QStringLiteral("D2M%1").arg(i)}) + "\n";
        if (!emptyD4M)
            ini += "D4M=" + encoded({QStringLiteral("D4M%1").arg(i)}) + "\n";
    }
    testcatalogue::write(env, ini);
}

// Product id of each interface kind: cable kinds under USB_PID, receivers under the wireless ids.
inline const char* pidForKind(int kind)
{
    switch (kind) {
    case 0: return "0xF501";
    case 4: return "0xF502";
    case 1: return "0xF503";
    case 5: return "0xF504";
    default: return "0xF500";
    }
}

// A mouse with CID/MID and one interface of `kind` to it (a cable or a receiver paired to it).
// Returns the interface id; *mouseOut receives the mouse id.
inline int plugDevice(uint8_t cid, uint8_t mid, int kind, int* mouseOut = nullptr, int awake = 1,
                      int interfaceVersion = 0x0102, int identifyAfter = 0)
{
    HidSimMouseSetup mouse{};
    mouse.cid = cid;
    mouse.mid = mid;
    mouse.address[0] = 1;
    mouse.address[1] = 2;
    mouse.address[2] = 3;
    mouse.version = 0x0105;
    mouse.battery = 80;
    mouse.awake = awake;
    const int mouseId = HidSim_AddMouse(&mouse);
    if (mouseOut)
        *mouseOut = mouseId;
    HidSimInterfaceSetup setup{};
    setup.vid = "0x3554";
    setup.pid = pidForKind(kind);
    setup.kind = kind;
    setup.version = interfaceVersion;
    setup.mouseId = mouseId;
    setup.identifyAfter = identifyAfter;
    return HidSim_AddInterface(&setup);
}

// A further interface to an existing mouse.
inline int plugInterface(int mouseId, int kind, int interfaceVersion = 0x0102)
{
    HidSimInterfaceSetup setup{};
    setup.vid = "0x3554";
    setup.pid = pidForKind(kind);
    setup.kind = kind;
    setup.version = interfaceVersion;
    setup.mouseId = mouseId;
    return HidSim_AddInterface(&setup);
}

// An interface with no mouse behind it: a receiver whose mouse is missing, or a foreign device.
inline int plugLoneInterface(const char* vid, const char* pid, int kind)
{
    HidSimInterfaceSetup setup{};
    setup.vid = vid;
    setup.pid = pid;
    setup.kind = kind;
    setup.mouseId = -1;
    return HidSim_AddInterface(&setup);
}

}  // namespace choicetest
