#include "common/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Qt's language code of each language index; English has no translation file.
const char* const QtLanguageCodes[] = {"", "uk", "pl", "ko", "ru", "ja"};

}  // namespace

void InstallQtTranslation(int languageIndex)
{
    static QTranslator* translator = nullptr;
    static int installed = 0;
    if (languageIndex < 0 || languageIndex >= int(sizeof QtLanguageCodes / sizeof QtLanguageCodes[0]))
        languageIndex = 0;
    if (languageIndex == installed || !QCoreApplication::instance())
        return;
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    installed = languageIndex;
    if (languageIndex == 0)
        return;
    auto* next = new QTranslator(QCoreApplication::instance());
    if (next->load(QStringLiteral("qtbase_") + QLatin1String(QtLanguageCodes[languageIndex]),
                   QLibraryInfo::location(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(next);
        translator = next;
    } else {
        delete next;
    }
}
