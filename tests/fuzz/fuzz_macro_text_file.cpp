// Macro text files: any bytes as a macro file in the per-user macro folder, read as the
// macro page and the button page read it, turned into the record the mouse gets, written
// back by the program and read again.
#include "FuzzEnv.h"

#include "device/MacroFiles.h"
#include "device/MacroRecordCodec.h"

#include <cstring>

namespace {
QString path;
QString writtenPath;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    path = MacroFilePath(MacroFolder(), QStringLiteral("Macro"));
    writtenPath = MacroFilePath(MacroFolder(), QStringLiteral("Written"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzzenv::writeFile(path, data, size))
        return 0;
    const std::optional<MacroFileContent> content = ReadMacroFile(path);
    FUZZ_CHECK(content.has_value());
    const int repeat = content->repeat;
    FUZZ_CHECK(repeat >= 1 && repeat <= 255 && (repeat <= 250 || repeat >= 253));
    const QByteArray text(reinterpret_cast<const char*>(data), int(size));
    const MacroRecord record = MacroRecordFromFileText(QStringLiteral("Macro"), text);
    FUZZ_CHECK(record.eventCount <= MacroMaxEvents);

    // What the program writes it reads back as written, and it gives the mouse the same record.
    FUZZ_CHECK(WriteMacroFile(writtenPath, repeat, content->rows));
    const std::optional<MacroFileContent> again = ReadMacroFile(writtenPath);
    FUZZ_CHECK(again.has_value() && again->repeat == repeat);
    FUZZ_CHECK(MacroFileText(again->repeat, again->rows) == MacroFileText(repeat, content->rows));
    const MacroRecord fromWritten = MacroRecordFromRows(QStringLiteral("Macro"), again->rows);
    FUZZ_CHECK(std::memcmp(&fromWritten, &record, sizeof record) == 0);
    return 0;
}
