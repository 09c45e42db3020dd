#pragma once
#include <QString>

#include <functional>

class QWidget;

// Asks the user for a macro exchange file: one to write (`save`) or one to read. Empty when
// the user cancels. The file dialogs start in the home folder with the filter "File(*.ini)";
// no extension is added.
QString chooseMacroExchangeFile(QWidget* parent, bool save);

// Replaces the file dialogs (tests give a path); an empty function restores them. The one
// replacement serves every exchange file (dialogs/ExchangeFileChoice.h).
void setMacroExchangeFileChooser(std::function<QString(bool save)> chooser);
