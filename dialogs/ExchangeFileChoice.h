#pragma once
#include <QString>

#include <functional>

class QWidget;

// Asks the user for an exchange file (macros, profiles): one to write (`save`, caption
// "FileSave") or one to read ("SelectFile"), starting in the home folder with `filter`. A name
// to write typed without an extension gets the filter's. Empty when the user cancels.
QString chooseExchangeFile(QWidget* parent, bool save, const QString& filter);

// Replaces the file dialogs (tests give a path); an empty function restores them.
void setExchangeFileChooser(std::function<QString(bool save)> chooser);
