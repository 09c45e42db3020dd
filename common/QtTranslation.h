#pragma once

// Qt's own texts (the colour dialog's labels and buttons, standard buttons) follow the
// program's language: Qt's translation of the language is installed where the system has one
// (Debian: qttranslations5-l10n); English needs none. Installing or removing it sends a
// language-change event to every window. GUI thread only.
void InstallQtTranslation(int languageIndex);
