// The user settings file: any bytes as "<per-user folder>/Macro.ini", read and written through
// the user settings store, and the language index the windows take from it.
#include "FuzzEnv.h"

#include "common/AppPaths.h"
#include "common/LanguageFile.h"
#include "common/MacroSetting.h"

#include <QFileInfo>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The per-user folder follows the home folder; a new one for each input.
    const QString home = fuzzenv::freshFolder(QStringLiteral("home"));
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/.local/share")).toLocal8Bit());
    if (!fuzzenv::writeFile(AppPaths::userDataDir() + QStringLiteral("/Macro.ini"), data, size))
        return 0;
    MacroSetting::reload();
    MacroSetting* settings = MacroSetting::instance();

    // Whatever the stored index, the language file is one of the six.
    const QString file = QFileInfo(languageFilePath(currentLanguageIndex())).fileName();
    FUZZ_CHECK(file.size() > 2 && file.at(0) >= QLatin1Char('0') && file.at(0) <= QLatin1Char('5')
               && file.at(1) == QLatin1Char('-'));
    settings->value(QStringLiteral("AutoRun"), QStringLiteral("AutoRun"));
    settings->value(QStringLiteral("Macro"), QStringLiteral("MacroName"));

    // A value written is read back at once, whatever the file held.
    settings->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("3"));
    FUZZ_CHECK(settings->value(QStringLiteral("Language"), QStringLiteral("Language")) == QLatin1String("3"));
    FUZZ_CHECK(currentLanguageIndex() == 3);
    return 0;
}
