// Language files: any bytes as "<program folder>/Language/0-English.xml", read for a few
// window sections the way every window reads its own.
#include "FuzzEnv.h"

#include "common/AppPaths.h"
#include "common/LanguageFile.h"

#include <QStringList>

namespace {

// Sections of the shipped files with the elements their windows know.
const char* const Sections[] = {"MouseOffLine", "EXEIsRun", "InportFail", "ContainReset", "UpDataParam"};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzzenv::writeFile(languageFilePath(0), data, size))
        return 0;
    static const QStringList known = {QStringLiteral("label"),   QStringLiteral("label_1"), QStringLiteral("label_2"),
                                      QStringLiteral("NewHong"), QStringLiteral("Timeout"), QStringLiteral("OK"),
                                      QStringLiteral("Cancel"),  QStringLiteral("PleaseStop")};
    for (const char* section : Sections) {
        qint64 applied = 0;
        loadLanguageSection(0, QString::fromLatin1(section), known, [&](const QString& element, const QString& text) {
            FUZZ_CHECK(known.contains(element));
            applied += text.size();
        });
        // Texts come from the file: together they cannot outgrow it by more than what
        // entities may expand to.
        FUZZ_CHECK(applied <= qint64(size) * 64 + 4096);
    }
    return 0;
}
