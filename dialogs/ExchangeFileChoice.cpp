#include "dialogs/ExchangeFileChoice.h"

#include <QDir>
#include <QFileDialog>

namespace {
std::function<QString(bool)>& replacement()
{
    static std::function<QString(bool)> chooser;
    return chooser;
}
}  // namespace

QString chooseExchangeFile(QWidget* parent, bool save, const QString& filter)
{
    if (replacement())
        return replacement()(save);
    return save ? QFileDialog::getSaveFileName(parent, QStringLiteral("FileSave"), QDir::homePath(), filter)
                : QFileDialog::getOpenFileName(parent, QStringLiteral("SelectFile"), QDir::homePath(), filter);
}

void setExchangeFileChooser(std::function<QString(bool save)> chooser)
{
    replacement() = std::move(chooser);
}
