// The unsent-macro file: any bytes as "<per-user folder>/UnsentMacros.json", read as the queue
// reads it at its first use, written back and read again, and through the start-up step that
// writes the macro files of interrupted saves from its texts. Every save and text kept has a
// valid name and key, what is kept survives a write and a read unchanged, and no file appears
// but the queue's own and the macro files of the owed saves, in the macro folder.
#include "FuzzEnv.h"

#include "common/AppPaths.h"
#include "device/MacroFiles.h"
#include "device/MacroNames.h"
#include "device/UnsentMacros.h"
#include "device/UnsentMacrosFile.h"

#include <QDir>
#include <QDirIterator>
#include <QSet>

#include <sanitizer/lsan_interface.h>

namespace {

// Every file below the folder, by path.
QSet<QString> filesBelow(const QString& folder)
{
    QSet<QString> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!it.fileInfo().isDir())
            files.insert(path);
    }
    return files;
}

bool owed(const UnsentMacroSaves& saves, const QString& name)
{
    for (const QString& macro : saves) {
        if (macro == name)
            return true;
    }
    return false;
}

QSet<QString> outside;  // the files of the temporary home before any input

// Qt 5.15's JSON parser loses the earlier value of a key given twice (a text, a list or an
// object) for good; the reads are left out of the leak check at the end of a run.
UnsentMacrosRead readFile(const QString& path)
{
    __lsan::ScopedDisabler qtParserLeaks;
    return ReadUnsentMacrosFile(path);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzenv::setUp(argc, argv);
    outside = filesBelow(fuzzenv::homeDir());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The per-user folder follows the home folder; a new one for each input.
    const QString home = fuzzenv::freshFolder(QStringLiteral("home"));
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/.local/share")).toLocal8Bit());
    const QString path = UnsentMacrosFilePath();
    if (!fuzzenv::writeFile(path, data, size))
        return 0;

    const UnsentMacrosRead read = readFile(path);
    for (auto it = read.saves.constBegin(); it != read.saves.constEnd(); ++it) {
        FUZZ_CHECK(!it.key().first.isEmpty());
        FUZZ_CHECK(it.key().second >= 0 && it.key().second < UnsentMacroKeyCount);
        FUZZ_CHECK(IsValidMacroName(it.value()));
    }
    for (auto it = read.texts.constBegin(); it != read.texts.constEnd(); ++it)
        FUZZ_CHECK(IsValidMacroName(it.key()) && !it.value().contains('\0'));

    // What was kept is written as it was and read back the same.
    const QString again = AppPaths::userDataDir() + QStringLiteral("/Again.json");
    FUZZ_CHECK(WriteUnsentMacrosFile(again, read.saves, read.texts));
    const UnsentMacrosRead back = readFile(again);
    FUZZ_CHECK(back.saves == read.saves);
    FUZZ_CHECK(back.texts == read.texts);
    FUZZ_CHECK(back.writable && !QFileInfo::exists(again + QStringLiteral(".damaged")));
    QFile::remove(again);

    // The next start: the queue's first use finishes the saves its texts belong to.
    QFile::remove(path + QStringLiteral(".damaged"));
    FUZZ_CHECK(fuzzenv::writeFile(path, data, size));
    UnsentMacros::unload();
    {
        __lsan::ScopedDisabler qtParserLeaks;
        UnsentMacros::load();
    }
    QSet<QString> expected{path, path + QStringLiteral(".damaged")};
    for (auto it = read.texts.constBegin(); it != read.texts.constEnd(); ++it) {
        if (!owed(read.saves, it.key()))
            continue;
        const QString file = MacroFilePath(MacroFolder(), it.key());
        expected.insert(file);
        const std::optional<MacroFileContent> content = ReadMacroFile(file);
        const MacroFileContent wanted = ParseMacroText(it.value());
        FUZZ_CHECK(content && MacroFileText(content->repeat, content->rows) == MacroFileText(wanted.repeat, wanted.rows));
    }
    for (const QString& file : filesBelow(home))
        FUZZ_CHECK(expected.contains(file));
    FUZZ_CHECK(filesBelow(fuzzenv::homeDir()).subtract(filesBelow(home)) == outside);
    // The texts are done with; the saves are still owed.
    if (!read.texts.isEmpty()) {
        const UnsentMacrosRead after = readFile(path);
        FUZZ_CHECK(after.saves == read.saves && after.texts.isEmpty());
    }
    UnsentMacros::unload();
    return 0;
}
