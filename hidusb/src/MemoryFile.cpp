#include "MemoryFile.h"

#include <algorithm>
#include <cstring>

namespace hidsim {

namespace {

constexpr char Magic[8] = {'K', 'A', 'V', 'R', 'O', 'S', 'I', 'M'};
constexpr uint8_t Layout = 1;
constexpr size_t ImageBytes = HIDUSB_IMAGE_SIZE;
// Field offsets after the header.
constexpr size_t Fields = MemoryHeaderSize;
constexpr size_t NameField = Fields + 12;

void putU32(std::string& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
}

uint32_t getU32(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

uint8_t getU8(const std::string& bytes, size_t at)
{
    return static_cast<uint8_t>(bytes[at]);
}

std::string header(char kind)
{
    std::string bytes(Magic, sizeof Magic);
    bytes.push_back(kind);
    bytes.push_back(static_cast<char>(Layout));
    bytes.append(2, '\0');
    return bytes;
}

void sealWithChecksum(std::string& bytes)
{
    putU32(bytes, memoryFileChecksum(bytes, bytes.size()));
}

bool allZero(const std::string& bytes, size_t from, size_t to)
{
    for (size_t at = from; at < to; ++at) {
        if (bytes[at] != '\0')
            return false;
    }
    return true;
}

// Empty when the bytes are a whole file of that kind, else what is wrong.
std::string checkFrame(const std::string& bytes, char kind, size_t size)
{
    if (bytes.size() != size)
        return "wrong size";
    if (std::memcmp(bytes.data(), Magic, sizeof Magic) != 0 || bytes[8] != kind || getU8(bytes, 9) != Layout)
        return "not a device memory file";
    if (getU32(bytes, size - 4) != memoryFileChecksum(bytes, size - 4))
        return "checksum mismatch";
    // Bytes the writer leaves zero: a file taken is one it could have written.
    if (!allZero(bytes, 10, MemoryHeaderSize))
        return "a value out of range";
    return std::string();
}

// A file name in the folder: no "/", not "." or "..", nor hidden.
bool isMouseFileName(const std::string& name)
{
    if (name.empty() || name.size() >= PairedNameSize || name[0] == '.')
        return false;
    for (const char c : name) {
        if (!isFileNameCharacter(c))
            return false;
    }
    return true;
}

}  // namespace

bool isFileNameCharacter(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '.';
}

uint32_t memoryFileChecksum(const std::string& bytes, size_t length)
{
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < length; ++i) {
        hash ^= static_cast<uint8_t>(bytes[i]);
        hash *= 16777619u;
    }
    return hash;
}

std::string encodeMouseMemory(const MouseMemory& memory)
{
    std::string bytes = header('M');
    putU32(bytes, memory.version);
    bytes.push_back(static_cast<char>(memory.boot ? 1 : 0));
    bytes.push_back(static_cast<char>(memory.activeProfile & 3));
    bytes.append(2, '\0');
    for (const std::vector<uint8_t>& profile : memory.profiles) {
        std::string image(reinterpret_cast<const char*>(profile.data()), std::min(profile.size(), ImageBytes));
        image.resize(ImageBytes, '\0');
        bytes += image;
    }
    sealWithChecksum(bytes);
    return bytes;
}

std::string encodeReceiverMemory(const ReceiverMemory& memory)
{
    const ReceiverKept& kept = memory.kept;
    const std::string& name = memory.pairedMouseFile;
    std::string bytes = header('R');
    putU32(bytes, static_cast<uint32_t>(kept.version));
    for (const int value : {kept.boot ? 1 : 0, kept.lightMode & 0xFF, kept.longRange ? 1 : 0, int(kept.ownCid),
                            int(kept.ownMid), name.empty() ? 0 : 1, 0, 0})
        bytes.push_back(static_cast<char>(value));
    std::string field = name.substr(0, PairedNameSize - 1);
    field.resize(PairedNameSize, '\0');
    bytes += field;
    sealWithChecksum(bytes);
    return bytes;
}

std::string decodeMouseMemory(const std::string& bytes, MouseMemory* memory)
{
    const std::string why = checkFrame(bytes, 'M', MouseMemoryFileSize);
    if (!why.empty())
        return why;
    if (getU32(bytes, Fields) > 0x7FFFFFFF || getU8(bytes, Fields + 4) > 1 || getU8(bytes, Fields + 5) > 3
        || !allZero(bytes, Fields + 6, Fields + 8))
        return "a value out of range";
    memory->version = getU32(bytes, Fields);
    memory->boot = getU8(bytes, Fields + 4);
    memory->activeProfile = getU8(bytes, Fields + 5);
    for (size_t p = 0; p < memory->profiles.size(); ++p) {
        const auto* image = reinterpret_cast<const uint8_t*>(bytes.data()) + Fields + 8 + p * ImageBytes;
        memory->profiles[p].assign(image, image + ImageBytes);
    }
    return std::string();
}

std::string decodeReceiverMemory(const std::string& bytes, ReceiverMemory* memory)
{
    const std::string why = checkFrame(bytes, 'R', ReceiverMemoryFileSize);
    if (!why.empty())
        return why;
    const char* field = bytes.data() + NameField;
    const std::string name(field, strnlen(field, PairedNameSize));
    const uint8_t paired = getU8(bytes, Fields + 9);
    // The name is only ever compared with the mice's file names, but a name that is no file
    // of the folder was never written.
    const bool nameSound = name.empty() || isMouseFileName(name);
    if (getU32(bytes, Fields) > 0x7FFFFFFF || getU8(bytes, Fields + 4) > 1 || getU8(bytes, Fields + 6) > 1
        || paired > 1 || !allZero(bytes, Fields + 10, Fields + 12) || !nameSound || (paired == 1) == name.empty()
        || !allZero(bytes, NameField + name.size(), NameField + PairedNameSize))
        return "a value out of range";
    ReceiverKept& kept = memory->kept;
    kept.version = static_cast<int>(getU32(bytes, Fields));
    kept.boot = getU8(bytes, Fields + 4);
    kept.lightMode = getU8(bytes, Fields + 5);
    kept.longRange = getU8(bytes, Fields + 6);
    kept.ownCid = getU8(bytes, Fields + 7);
    kept.ownMid = getU8(bytes, Fields + 8);
    memory->pairedMouseFile = name;
    return std::string();
}

}  // namespace hidsim
