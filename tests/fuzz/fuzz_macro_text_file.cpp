// Macro text files: any bytes read as the macro page and the button page read a macro file,
// turned into the record the mouse gets, and written back.
#include "FuzzEnv.h"

#include "device/MacroTextFile.h"

#include <cstring>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), int(size));
    const MacroFileContent content = ParseMacroText(text);
    FUZZ_CHECK(content.repeat >= 1 && content.repeat <= 255 && (content.repeat <= 250 || content.repeat >= 253));
    const MacroRecord record = MacroRecordFromFileText(QStringLiteral("macro"), text);
    FUZZ_CHECK(record.eventCount <= MacroMaxEvents);

    // What the program writes it reads back as written.
    const QByteArray written = MacroFileText(content.repeat, content.rows);
    const MacroFileContent again = ParseMacroText(written);
    FUZZ_CHECK(again.repeat == content.repeat);
    FUZZ_CHECK(MacroFileText(again.repeat, again.rows) == written);
    const MacroRecord fromWritten = MacroRecordFromFileText(QStringLiteral("macro"), written);
    FUZZ_CHECK(std::memcmp(&fromWritten, &record, sizeof record) == 0);
    return 0;
}
