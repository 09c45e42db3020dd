// Macro exchange files: any bytes as a file someone sent, read as the Macro page's import reads
// it. An accepted file holds a macro name the page can take and no more items than its bytes
// can carry; written back by the program's writer it reads as the same macro; its imported
// rows make a macro file that reads back as written and a record the mouse can hold.
#include "FuzzEnv.h"

#include "device/KeyNames.h"
#include "device/MacroFiles.h"
#include "device/MacroNames.h"
#include "device/MacroRecordCodec.h"
#include "pages/macro/MacroExchangeFile.h"

#include <QDir>

namespace {
QString path;
QString writtenPath;
QString macroPath;
std::function<QString(const QString&)> mouseButtonName;

bool sameItems(const QVector<MacroExchangeItem>& a, const QVector<MacroExchangeItem>& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (a[i].text != b[i].text || (!IsDelayText(a[i].text) && a[i].release != b[i].release))
            return false;
    }
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    path = fuzzenv::homeDir() + QStringLiteral("/exchange/Sent.ini");
    writtenPath = fuzzenv::homeDir() + QStringLiteral("/exchange/Written.ini");
    macroPath = MacroFilePath(MacroFolder(), QStringLiteral("Imported"));
    QDir().mkpath(MacroFolder());
    mouseButtonName = MouseButtonNameTranslator();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzzenv::writeFile(path, data, size))
        return 0;
    const std::optional<MacroExchange> macro = ReadMacroExchangeFile(path);
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    // The file reader is the bytes' reader.
    const std::optional<MacroExchange> parsed = ParseMacroExchange(bytes);
    FUZZ_CHECK(macro.has_value() == parsed.has_value());
    if (!macro)
        return 0;
    FUZZ_CHECK(IsValidMacroName(macro->name));
    FUZZ_CHECK(qint64(macro->items.size()) * 8 <= qint64(size));

    // The program's writer (icons are dropped on reading) gives a file that reads as the same
    // macro, with the repeat text as the writer's block holds it; a second trip changes nothing.
    FUZZ_CHECK(WriteMacroExchangeFile(writtenPath, *macro));
    const std::optional<MacroExchange> again = ReadMacroExchangeFile(writtenPath);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->name == macro->name);
    FUZZ_CHECK(sameItems(again->items, macro->items));
    FUZZ_CHECK(MacroExchangeBytes(*again) == MacroExchangeBytes(*macro) || again->repeat != macro->repeat);
    const std::optional<MacroExchange> third = ParseMacroExchange(MacroExchangeBytes(*again));
    FUZZ_CHECK(third.has_value() && MacroExchangeBytes(*third) == MacroExchangeBytes(*again));

    // The import: only delays and named keys become rows, and the macro file they make reads
    // back as written and gives the mouse a record within its bounds.
    const MacroRows rows = ImportedMacroRows(macro->items, mouseButtonName);
    FUZZ_CHECK(rows.size() <= macro->items.size());
    for (const MacroRow& row : rows)
        FUZZ_CHECK(IsDelayRow(row) ? DelayTextValue(row.text).has_value() : KeyNameToCode(row.text).has_value());
    const int repeat = RepeatValueFromText(macro->repeat);
    FUZZ_CHECK(WriteMacroFile(macroPath, repeat, rows));
    const std::optional<MacroFileContent> content = ReadMacroFile(macroPath);
    FUZZ_CHECK(content.has_value());
    FUZZ_CHECK(MacroFileText(content->repeat, content->rows) == MacroFileText(repeat, rows));
    const MacroRecord record = MacroRecordFromRows(macro->name, content->rows);
    FUZZ_CHECK(record.eventCount <= MacroMaxEvents);
    return 0;
}
