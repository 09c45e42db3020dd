#include "pages/macro/MacroFileChoice.h"

#include <QDir>
#include <QFileDialog>

namespace {
std::function<QString(bool)>& replacement()
{
    static std::function<QString(bool)> chooser;
    return chooser;
}
}  // namespace

QString chooseMacroExchangeFile(QWidget* parent, bool save)
{
    if (replacement())
        return replacement()(save);
    const QString filter = QStringLiteral("File(*.ini)");
    return save ? QFileDialog::getSaveFileName(parent, QStringLiteral("FileSave"), QDir::homePath(), filter)
                : QFileDialog::getOpenFileName(parent, QStringLiteral("SelectFile"), QDir::homePath(), filter);
}

void setMacroExchangeFileChooser(std::function<QString(bool save)> chooser)
{
    replacement() = std::move(chooser);
}
