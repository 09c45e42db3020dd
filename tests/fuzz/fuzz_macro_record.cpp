// Macro and key combination records as the mouse hands them over inside its configuration:
// any bytes as one record, read back into the macro page's rows and the combination text,
// and the rows turned into a record again.
#include "FuzzEnv.h"

#include "device/ButtonRecords.h"
#include "device/MacroRecordCodec.h"

#include <algorithm>
#include <cstring>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MacroRecord record{};
    std::memcpy(&record, data, std::min(size, sizeof record));
    const DecodedMacro macro = MacroRowsFromRecord(record);
    FUZZ_CHECK(macro.rows.size() <= 2 * MacroMaxEvents);

    // Once through the rows, a record stays as it is.
    const MacroRecord rebuilt = MacroRecordFromRows(macro.name, macro.rows);
    const DecodedMacro again = MacroRowsFromRecord(rebuilt);
    const MacroRecord rebuiltAgain = MacroRecordFromRows(again.name, again.rows);
    FUZZ_CHECK(std::memcmp(&rebuilt, &rebuiltAgain, sizeof rebuilt) == 0);

    ButtonComboRecord combo{};
    std::memcpy(&combo, data, std::min(size, sizeof combo));
    const QString text = ComboRecordText(combo);
    // The text of a stored combination builds a record that reads as the same text.
    FUZZ_CHECK(ComboRecordText(BuildComboRecord(text)) == text || text.count(QLatin1Char('+')) >= 3);
    return 0;
}
