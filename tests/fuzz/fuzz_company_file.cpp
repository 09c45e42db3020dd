// The company file: any bytes as "<program folder>/Language/Net.xml", read for every language the
// way the settings page reads it.
#include "FuzzEnv.h"

#include "pages/settings/CompanyFile.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzzenv::writeFile(CompanyFilePath(), data, size))
        return 0;
    for (int language = 0; language < 6; ++language) {
        qint64 applied = 0;
        const QString error =
            LoadCompanyFile(CompanyFilePath(), [language] { return language; }, [&](CompanyText which, const QString& text) {
                // A web address only for the languages that have one.
                FUZZ_CHECK(which == CompanyText::Line || (which == CompanyText::WebAddress && language <= 4));
                applied += text.size();
            });
        // Texts come from the file: together they cannot outgrow it by more than what
        // entities may expand to.
        FUZZ_CHECK(applied <= qint64(size) * 64 + 4096);
        FUZZ_CHECK(error.isEmpty() || error.contains(QLatin1String("Net.xml")));
    }
    return 0;
}
