// The simulated devices' memory files: any bytes as a mouse's and as a receiver's file in the
// state folder, each as they are and once more with the kind's size, header and checksum made
// right, so the range checks behind them are reached. The loader's decoding takes a file that
// encodes back to the same bytes, or says why not; through the library, a refused file leaves
// the device its factory values, and a taken one is what the device keeps: its next write
// gives the same bytes.
#include "FuzzEnv.h"

#include "MemoryFile.h"

#include "HIDUsbControl.h"

#include <QDir>
#include <QFile>

#include <cstring>
#include <vector>

using namespace hidsim;

namespace {

const QString MouseFile = QStringLiteral("mouse-0A-01-4B1001.state");
const QString ReceiverFile = QStringLiteral("receiver-3554-F503.state");
QString folder;
std::string factory;
int mouseId = -1;
int receiverId = -1;

// A mouse and an unpaired 4 kHz receiver that remember in `folder`.
void addDevices()
{
    HidSim_Reset();
    FUZZ_CHECK(HidSim_SetMemory(1) == 0);
    HidSimMouseSetup mouse{0x0A, 0x01, {0x4B, 0x10, 0x01}, 0x0103, 80, 0, 1};
    mouseId = HidSim_AddMouse(&mouse);
    HidSimInterfaceSetup receiver{"0x3554", "0xF503", 1, 0x0201, -1, 1, 0};
    receiverId = HidSim_AddInterface(&receiver);
    FUZZ_CHECK(mouseId >= 0 && receiverId >= 0);
}

// What the two devices keep, as the library shows it.
std::string snapshot()
{
    std::vector<char> text(4096);
    HidSim_ControlCommand("list", text.data(), static_cast<int>(text.size()));
    std::string kept = text.data();
    kept += {char(HidSim_LightMode(receiverId)), char(HidSim_LongRangeMode(receiverId)),
             char(HidSim_ActiveProfile(mouseId))};
    std::vector<uint8_t> image(HIDUSB_IMAGE_SIZE);
    for (int p = 0; p < 4; ++p) {
        HidSim_GetImage(mouseId, p, image.data());
        kept.append(reinterpret_cast<const char*>(image.data()), image.size());
    }
    return kept;
}

std::string fileBytes(const QString& name)
{
    QFile file(folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll().toStdString();
}

// The bytes with the kind's size, frame and checksum.
std::string sealed(std::string bytes, char kind, size_t size)
{
    bytes.resize(size, '\0');
    std::memcpy(&bytes[0], "KAVROSIM", 8);
    bytes[8] = kind;
    bytes[9] = 1;
    const uint32_t sum = memoryFileChecksum(bytes, size - 4);
    for (size_t i = 0; i < 4; ++i)
        bytes[size - 4 + i] = static_cast<char>(sum >> (8 * i));
    return bytes;
}

// The bytes as the file of a device that appears: refused, its factory values; taken, they
// come back when the device writes its memory again.
void load(const std::string& bytes, const QString& name, bool taken, const std::string& written, int version)
{
    QDir(folder).removeRecursively();
    FUZZ_CHECK(fuzzenv::writeFile(folder + QLatin1Char('/') + name, QByteArray::fromStdString(bytes)));
    addDevices();
    if (!taken) {
        FUZZ_CHECK(snapshot() == factory);
        return;
    }
    const bool mouse = name == MouseFile;
    FUZZ_CHECK((mouse ? HidSim_SetMouseVersion(mouseId, version)
                      : HidSim_SetInterfaceVersion(receiverId, version)) == 0);
    HidSim_Reset();  // writes the memory out
    FUZZ_CHECK(fileBytes(name) == written);
}

void asMouseFile(const std::string& bytes)
{
    MouseMemory memory;
    const std::string why = decodeMouseMemory(bytes, &memory);
    if (why.empty())
        FUZZ_CHECK(encodeMouseMemory(memory) == bytes);
    load(bytes, MouseFile, why.empty(), bytes, static_cast<int>(memory.version));
}

void asReceiverFile(const std::string& bytes)
{
    ReceiverMemory memory;
    const std::string why = decodeReceiverMemory(bytes, &memory);
    if (why.empty())
        FUZZ_CHECK(encodeReceiverMemory(memory) == bytes);
    // Paired with a mouse that is not here: the receiver forgets it.
    ReceiverMemory remembered = memory;
    if (remembered.pairedMouseFile != MouseFile.toStdString())
        remembered.pairedMouseFile.clear();
    load(bytes, ReceiverFile, why.empty(), encodeReceiverMemory(remembered), memory.kept.version);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    HidSim_SetZeroDelays(1);
    folder = fuzzenv::homeDir() + QStringLiteral("/state/kavro-sim");
    qputenv("XDG_STATE_HOME", (fuzzenv::homeDir() + QStringLiteral("/state")).toLocal8Bit());
    addDevices();
    factory = snapshot();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // No reader takes more than a file of its kind: a larger input only costs time.
    if (size > MouseMemoryFileSize + 16)
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    asMouseFile(bytes);
    asReceiverFile(bytes);
    asMouseFile(sealed(bytes, 'M', MouseMemoryFileSize));
    asReceiverFile(sealed(bytes, 'R', ReceiverMemoryFileSize));
    return 0;
}
