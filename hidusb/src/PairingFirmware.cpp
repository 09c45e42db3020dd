// Receiver pairing and firmware updates, both played from scripts (see HidSim_ScriptPairing
// and HidSim_ScriptFirmware).
#include "HIDUsb.h"

#include "SimState.h"

using namespace hidsim;

namespace {

struct FirmwareHeader {
    uint32_t version = 0;
    uint8_t kind = 0;
    uint8_t cid = 0;
    uint8_t mid = 0;
};

bool readHeader(const uint8_t* image, uint32_t length, FirmwareHeader* header)
{
    if (!image || length < HIDUSB_FIRMWARE_HEADER_SIZE)
        return false;
    header->version = static_cast<uint32_t>(image[0x10]) | static_cast<uint32_t>(image[0x11]) << 8 |
                      static_cast<uint32_t>(image[0x12]) << 16 | static_cast<uint32_t>(image[0x13]) << 24;
    header->kind = image[0x14];
    header->cid = image[0x15];
    header->mid = image[0x16];
    return true;
}

constexpr uint8_t MouseFirmware = 210;
constexpr uint8_t ReceiverFirmware = 211;

// Where the receiver of the open link stands in its pairing; 0 when it sends nothing.
uint8_t pairingAnswerLocked(State& s, SimInterface& receiver)
{
    PairingSession& p = s.pairing;
    if (p.interfaceId < 0 || p.interfaceId != receiver.id)
        return 0;
    if (s.pairingScript.outcome == 0)  // a receiver that never answers
        return 0;
    if (p.lastAnswer != 1)  // finished: the outcome stays
        return p.lastAnswer;
    if (p.remaining > 0) {
        --p.remaining;
        return 1;
    }
    SimMouse* mouse = nullptr;
    if (s.pairingScript.mouseId >= 0) {
        mouse = mouseByIdLocked(s, s.pairingScript.mouseId);
    } else if (receiver.mouseId >= 0) {
        mouse = mouseByIdLocked(s, receiver.mouseId);
    } else {
        // A mouse of that CID that no receiver holds yet.
        for (auto& entry : s.mice) {
            bool paired = false;
            for (const auto& other : s.interfaces)
                paired = paired || (isReceiverKind(other.second.kind) && other.second.mouseId == entry.first);
            if (!paired && entry.second.cid == p.cid) {
                mouse = &entry.second;
                break;
            }
        }
    }
    const bool success = s.pairingScript.outcome == 3 && mouse && mouse->cid == p.cid;
    p.lastAnswer = success ? 3 : 2;
    if (success) {
        for (auto& other : s.interfaces) {
            if (isReceiverKind(other.second.kind) && other.second.mouseId == mouse->id && other.first != receiver.id) {
                other.second.mouseId = -1;
                rememberInterfaceLocked(s, other.second);
            }
        }
        receiver.mouseId = mouse->id;
        receiver.ownCid = mouse->cid;
        receiver.ownMid = mouse->mid;
        rememberInterfaceLocked(s, receiver);
        mouse->awake = 1;
        postHotplugLocked(s);
    }
    return p.lastAnswer;
}

int countBootDevicesLocked(State& s, const FirmwareHeader& h)
{
    int count = 0;
    if (h.kind == MouseFirmware) {
        for (const auto& entry : s.mice)
            count += entry.second.boot && entry.second.cid == h.cid && entry.second.mid == h.mid;
    } else if (h.kind == ReceiverFirmware) {
        for (const auto& entry : s.interfaces) {
            const SimInterface& i = entry.second;
            count += i.plugged && i.boot && i.ownCid == h.cid && i.ownMid == h.mid;
        }
    }
    return count;
}

// The device an update writes to: one waiting in boot mode first, else a working one.
void findTargetLocked(State& s, const FirmwareHeader& h, int* mouseId, int* interfaceId)
{
    *mouseId = -1;
    *interfaceId = -1;
    if (h.kind == MouseFirmware) {
        for (int pass = 0; pass < 2 && *mouseId < 0; ++pass) {
            for (const auto& entry : s.mice) {
                const SimMouse& m = entry.second;
                if (m.cid == h.cid && m.mid == h.mid && (pass == 1 || m.boot)) {
                    *mouseId = m.id;
                    break;
                }
            }
        }
    } else if (h.kind == ReceiverFirmware) {
        for (int pass = 0; pass < 2 && *interfaceId < 0; ++pass) {
            for (const auto& entry : s.interfaces) {
                const SimInterface& i = entry.second;
                if (i.plugged && isReceiverKind(i.kind) && i.ownCid == h.cid && i.ownMid == h.mid &&
                    (pass == 1 || i.boot)) {
                    *interfaceId = i.id;
                    break;
                }
            }
        }
    }
}

void finishUpdate(FirmwareHeader header, int mouseId, int interfaceId, bool success, UsbUpgradeCallback callback)
{
    State& s = state();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        const int version = static_cast<int>(header.version & 0x7FFFFFFF);
        if (SimMouse* m = mouseByIdLocked(s, mouseId)) {
            m->boot = success ? 0 : 1;
            if (success)
                m->version = version;
            rememberMouseLocked(s, *m);
        }
        if (SimInterface* i = interfaceByIdLocked(s, interfaceId)) {
            i->boot = success ? 0 : 1;
            if (success)
                i->version = version;
            rememberInterfaceLocked(s, *i);
        }
        if (mouseId >= 0 || interfaceId >= 0)
            postHotplugLocked(s);  // the device starts again (or stays in its boot loader)
    }
    uint8_t status[3] = {7, 2, static_cast<uint8_t>(success ? 1 : 0)};
    callback(status);
}

}  // namespace

extern "C" {

int UsbServer_EnterDonglePairOnlyCid(uint8_t cid)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbServer_EnterDonglePairOnlyCid(%d)", cid);
    SimInterface* receiver = linkInterfaceLocked(s);
    if (!receiver || !isReceiverKind(receiver->kind))
        return 0;
    s.pairing.interfaceId = receiver->id;
    s.pairing.cid = cid;
    s.pairing.remaining = s.pairingScript.pairingAnswers > 0 ? s.pairingScript.pairingAnswers : 0;
    s.pairing.lastAnswer = 1;
    return 1;
}

int UsbServer_ReadDonglePairStatus(void)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbServer_ReadDonglePairStatus()");
    SimInterface* receiver = linkInterfaceLocked(s);
    if (!receiver)
        return 0;
    const uint8_t answer = pairingAnswerLocked(s, *receiver);
    if (!answer)
        return 0;
    return queueAnswerLocked(s, 6, 0, 0, &answer, 1) ? 1 : 0;
}

int UsbUpgradeC_FindBootDevices(const uint8_t* image, uint32_t length, int* count)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbUpgradeC_FindBootDevices(%u)", length);
    FirmwareHeader header;
    if (!count || !readHeader(image, length, &header))
        return 0;
    *count = countBootDevicesLocked(s, header);
    return 1;
}

int UsbUpgrade_Start(const uint8_t* image, uint32_t length, UsbUpgradeCallback callback, int timeoutMs)
{
    State& s = ensureStarted();
    std::lock_guard<std::mutex> lock(s.mutex);
    logCallLocked(s, "UsbUpgrade_Start(%u, %d)", length, timeoutMs);
    if (!callback)
        return 0;
    FirmwareHeader header;
    const bool valid = readHeader(image, length, &header);
    int mouseId = -1;
    int interfaceId = -1;
    if (valid)
        findTargetLocked(s, header, &mouseId, &interfaceId);
    const bool found = mouseId >= 0 || interfaceId >= 0;
    // Even a refused update ends with its one final report (at once, as a failure), so a
    // caller never waits forever.
    const FirmwareScript script = s.firmwareScript;
    const int delay = found && !s.zeroDelays ? script.delayMs : 0;
    const int steps = found && script.steps > 0 ? script.steps : 0;
    // A failing (or silent) update may stop partway: no report beyond its stop percentage.
    const int stop = script.success == 1 ? 100 : script.stopPercent;
    for (int step = 1; step <= steps && step * 100 / steps <= stop; ++step) {
        const uint8_t percent = static_cast<uint8_t>(step * 100 / steps);
        s.firmware.post(delay, [callback, percent] {
            uint8_t status[3] = {7, 1, percent};
            callback(status);
        });
    }
    if (found && script.success == HIDSIM_FIRMWARE_SILENT)
        return valid ? 1 : 0;  // a library that never finishes: no final report at all
    const bool success = found && script.success == 1;
    s.firmware.post(delay, [header, mouseId, interfaceId, success, callback] {
        finishUpdate(header, mouseId, interfaceId, success, callback);
    });
    return valid ? 1 : 0;
}

}  // extern "C"
