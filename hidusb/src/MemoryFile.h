#pragma once
// The bytes of a simulated device's memory file, apart from the devices: what the loader takes
// from a file and what the writer puts into one. The fuzz tree builds this file on its own.
#include "HIDUsb.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hidsim {

// What a mouse keeps: its firmware version, boot mode, active profile and four profiles.
struct MouseMemory {
    uint32_t version = 0;
    uint8_t boot = 0;
    uint8_t activeProfile = 0;
    std::array<std::vector<uint8_t>, 4> profiles;  // HIDUSB_IMAGE_SIZE bytes each
};

// What a receiver keeps through a restart.
struct ReceiverKept {
    int mouseId = -1;
    int version = 0;
    int boot = 0;
    int lightMode = 0;
    int longRange = 0;
    uint8_t ownCid = 0;
    uint8_t ownMid = 0;
};

// A receiver's file: what it keeps, its paired mouse by that mouse's file name (empty for none)
// in place of the mouse's id.
struct ReceiverMemory {
    ReceiverKept kept;
    std::string pairedMouseFile;
};

// File layout: "KAVROSIM", the kind ('M' mouse, 'R' receiver), the layout version, two zero
// bytes, the kind's fields (little-endian), and an FNV-1a checksum of everything before it.
constexpr size_t MemoryHeaderSize = 12;
constexpr size_t PairedNameSize = 64;  // the paired mouse's file name, NUL-padded
constexpr size_t MouseMemoryFileSize = MemoryHeaderSize + 8 + 4 * size_t(HIDUSB_IMAGE_SIZE) + 4;
constexpr size_t ReceiverMemoryFileSize = MemoryHeaderSize + 12 + PairedNameSize + 4;

std::string encodeMouseMemory(const MouseMemory& memory);
std::string encodeReceiverMemory(const ReceiverMemory& memory);

// Empty when the bytes are a sound file of that kind, which is then in *memory; else why it is
// refused ("wrong size", "checksum mismatch" ...) and *memory is left as it was. Every file
// taken encodes back to the same bytes.
std::string decodeMouseMemory(const std::string& bytes, MouseMemory* memory);
std::string decodeReceiverMemory(const std::string& bytes, ReceiverMemory* memory);

// A character the library's own file names are made of: letters, digits, '-' and '.'.
bool isFileNameCharacter(char c);

// The checksum a file of that many bytes ends with (the fuzz tree makes files that pass it).
uint32_t memoryFileChecksum(const std::string& bytes, size_t length);

}  // namespace hidsim
