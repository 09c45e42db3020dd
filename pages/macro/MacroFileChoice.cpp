#include "pages/macro/MacroFileChoice.h"

#include "dialogs/ExchangeFileChoice.h"

QString chooseMacroExchangeFile(QWidget* parent, bool save)
{
    return chooseExchangeFile(parent, save, QStringLiteral("File(*.ini)"));
}

void setMacroExchangeFileChooser(std::function<QString(bool save)> chooser)
{
    setExchangeFileChooser(std::move(chooser));
}
